qf_add_fuzz_target(base64_text LABEL fb2 DEPS qf_fb2)
