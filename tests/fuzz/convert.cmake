qf_add_fuzz_target(scheme_file LABEL convert DEPS qf_convert)
qf_add_fuzz_target(fb2_builder LABEL convert DEPS qf_convert)
qf_add_fuzz_target(fb2_zip LABEL convert DEPS qf_convert)
