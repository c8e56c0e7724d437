qf_add_fuzz_target(lang_file LABEL l10n DEPS qf_l10n)
