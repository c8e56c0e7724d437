qf_add_fuzz_target(rpf_item_lines LABEL richtext-model DEPS qf_richtext_model)
qf_add_fuzz_target(marker_records LABEL richtext-model DEPS qf_richtext_model)
qf_add_fuzz_target(style_ini LABEL richtext-model DEPS qf_richtext_model)
