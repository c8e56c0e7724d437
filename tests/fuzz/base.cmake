qf_add_fuzz_target(number_text LABEL platform-base DEPS qf_platform_base)
