qf_add_fuzz_target(base64_text LABEL fb2 DEPS qf_fb2)
qf_add_fuzz_target(fb2_book LABEL fb2 DEPS qf_fb2)
