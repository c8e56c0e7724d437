qf_add_fuzz_target(png_image LABEL imaging-png DEPS qf_imaging_png)
