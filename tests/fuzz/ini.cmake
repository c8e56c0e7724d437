qf_add_fuzz_target(ini_text LABEL unicode DEPS qf_unicode)
