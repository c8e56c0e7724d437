// JPEG decoding through libjpeg-turbo.
//
// Fatal errors jump back to the setjmp in DecodeJpeg (JpegErrors.h), which then raises
// EJPEG. Warnings are ignored, except a file that ends early: libjpeg would fill the
// rest of the image with gray, and a half image is worse than none.
#include <cstring>

#include <jerror.h>

#include "platform/graphics/JpegErrors.h"
#include "platform/graphics/JpegImage.h"

namespace {

struct TJpegSession {
  jpeg_decompress_struct Info{};
  TJpegErrorState Error;
  jpeg_progress_mgr Progress{};
  int32_t MaxScans = 0;
  bool Created = false;

  ~TJpegSession() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

void EmitMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) JpegErrorExit(info);
}

void CheckScans(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  auto* session = reinterpret_cast<TJpegSession*>(decompress);  // Info is the first member
  if (decompress->input_scan_number > session->MaxScans) JpegJumpBack(info, SJPEGTooManyScans);
}

}  // namespace

void JpegJumpBack(j_common_ptr info, const char* message) {
  auto* error = reinterpret_cast<TJpegErrorState*>(info->err);
  std::snprintf(error->Message, sizeof error->Message, "%s", message);
  std::longjmp(error->Jump, 1);
}

void JpegErrorExit(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  info->err->format_message(info, message);
  JpegJumpBack(info, message);
}

jpeg_error_mgr* JpegErrorManager(TJpegErrorState& state) {
  jpeg_error_mgr* manager = jpeg_std_error(&state.Manager);
  manager->error_exit = JpegErrorExit;
  return manager;
}

std::unique_ptr<TBitmap> DecodeJpeg(std::span<const uint8_t> data, const TJpegLimits& limits) {
  auto image = std::make_unique<TBitmap>();
  TJpegSession session;
  static_assert(offsetof(TJpegSession, Info) == 0, "the progress monitor finds the session from Info");
  session.MaxScans = limits.MaxScans;
  session.Info.err = JpegErrorManager(session.Error);
  session.Error.Manager.emit_message = EmitMessage;
  if (setjmp(session.Error.Jump) != 0) throw EJPEG(session.Error.Message);

  jpeg_create_decompress(&session.Info);
  session.Created = true;
  session.Info.mem->max_memory_to_use = static_cast<long>(limits.MaxDecoderBytes);
  session.Progress.progress_monitor = CheckScans;
  session.Info.progress = &session.Progress;
  jpeg_mem_src(&session.Info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&session.Info, TRUE);

  const int64_t width = session.Info.image_width;
  const int64_t height = session.Info.image_height;
  if (width > limits.MaxWidthPx || height > limits.MaxHeightPx ||
      BytesPerScanLineOf(width, 24) * height > limits.MaxImageBytes)
    throw EJPEG(SJPEGImageTooLarge);
  // libjpeg-turbo writes blue, green, red, as the bitmap's rows hold them; gray images
  // come out as equal triples. CMYK images have no such conversion and fail here.
  session.Info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&session.Info);

  image->SetPixelFormat(pf24bit);
  image->SetSize(static_cast<int32_t>(session.Info.output_width), static_cast<int32_t>(session.Info.output_height));
  while (session.Info.output_scanline < session.Info.output_height) {
    JSAMPROW row = image->ScanLine(static_cast<int32_t>(session.Info.output_scanline));
    jpeg_read_scanlines(&session.Info, &row, 1);
  }
  jpeg_finish_decompress(&session.Info);
  return image;
}
