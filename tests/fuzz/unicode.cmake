qf_add_fuzz_target(unicode_text LABEL unicode DEPS qf_unicode)
