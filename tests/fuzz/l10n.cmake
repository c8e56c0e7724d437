qf_add_fuzz_target(lang_file LABEL l10n DEPS qf_l10n)
qf_add_fuzz_target(lang_constants LABEL l10n DEPS qf_l10n)
qf_add_fuzz_target(lang_manager LABEL l10n DEPS qf_l10n)
