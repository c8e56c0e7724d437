qf_add_fuzz_target(scheme_file LABEL convert DEPS qf_convert)
qf_add_fuzz_target(fb2_builder LABEL convert DEPS qf_convert)
qf_add_fuzz_target(fb2_zip LABEL convert DEPS qf_convert)
qf_add_fuzz_target(book_conversion LABEL convert DEPS qf_convert
  SOURCES ${PROJECT_SOURCE_DIR}/tests/wolf/WolfFileReader.cpp)
