qf_add_fuzz_target(xml_codecs LABEL xml DEPS qf_xml)
