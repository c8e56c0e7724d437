// JPEG encoding through libjpeg-turbo, for pictures saved as files. Fatal errors jump
// back to the setjmp in EncodeJpeg (JpegErrors.h), which then raises EJPEG.
#include <cstdlib>

#include "platform/graphics/JpegErrors.h"
#include "platform/graphics/JpegImage.h"

namespace {

struct TJpegEncoder {
  jpeg_compress_struct Info{};
  TJpegErrorState Error;
  bool Created = false;
  unsigned char* Output = nullptr;  // libjpeg's, grown with malloc
  unsigned long OutputBytes = 0;

  ~TJpegEncoder() {
    if (Created) jpeg_destroy_compress(&Info);
    std::free(Output);
  }
};

}  // namespace

std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, int32_t quality) {
  TBitmap pixels;
  pixels.Assign(&bitmap);
  pixels.SetPixelFormat(pf24bit);
  TJpegEncoder encoder;
  encoder.Info.err = JpegErrorManager(encoder.Error);
  if (setjmp(encoder.Error.Jump) != 0) throw EJPEG(encoder.Error.Message);

  jpeg_create_compress(&encoder.Info);
  encoder.Created = true;
  jpeg_mem_dest(&encoder.Info, &encoder.Output, &encoder.OutputBytes);
  encoder.Info.image_width = static_cast<JDIMENSION>(pixels.Width());
  encoder.Info.image_height = static_cast<JDIMENSION>(pixels.Height());
  encoder.Info.input_components = 3;
  // The bitmap's rows hold blue, green, red.
  encoder.Info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&encoder.Info);
  jpeg_set_quality(&encoder.Info, quality, TRUE);
  // Every pixel keeps its own colour: small pictures (icons, rules, diagrams) would blur
  // with the colour halved in each direction.
  for (int i = 0; i < encoder.Info.num_components; ++i)
    encoder.Info.comp_info[i].h_samp_factor = encoder.Info.comp_info[i].v_samp_factor = 1;
  jpeg_start_compress(&encoder.Info, TRUE);
  while (encoder.Info.next_scanline < encoder.Info.image_height) {
    auto* row = const_cast<JSAMPROW>(pixels.ScanLine(static_cast<int32_t>(encoder.Info.next_scanline)));
    jpeg_write_scanlines(&encoder.Info, &row, 1);
  }
  jpeg_finish_compress(&encoder.Info);
  return std::vector<uint8_t>(encoder.Output, encoder.Output + encoder.OutputBytes);
}
