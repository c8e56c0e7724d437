qf_add_fuzz_target(unicode_text LABEL unicode DEPS qf_unicode)
qf_add_fuzz_target(ini_typed LABEL unicode DEPS qf_unicode)
qf_add_fuzz_target(ansi_text LABEL unicode DEPS qf_unicode)
