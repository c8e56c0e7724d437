qf_add_fuzz_target(xml_codecs LABEL xml DEPS qf_xml)
qf_add_fuzz_target(xml_input_source LABEL xml DEPS qf_xml)
qf_add_fuzz_target(xml_xpath LABEL xml DEPS qf_xml)
qf_add_fuzz_target(xml_dtd_validation LABEL xml DEPS qf_xml)
