find_package(ZLIB REQUIRED)
qf_add_fuzz_target(inflate_stream LABEL archive DEPS qf_archive ZLIB::ZLIB)
qf_add_fuzz_target(zip_archive LABEL archive DEPS qf_archive)
