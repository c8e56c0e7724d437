qf_add_fuzz_target(scheme_file LABEL convert DEPS qf_convert)
