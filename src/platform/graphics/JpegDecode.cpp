// JPEG decoding through libjpeg-turbo.
//
// libjpeg reports a fatal error by calling the error manager's error_exit, which must not
// return; ours formats the message and jumps back to the setjmp in DecodeJpeg, which then
// raises EJPEG. Only libjpeg's C frames and the callbacks lie between the two, and every
// object with a destructor in DecodeJpeg is made before the setjmp, so the jump skips no
// destructor. Warnings are ignored, except a file that ends early: libjpeg would fill the
// rest of the image with gray, and a half image is worse than none.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

#include "platform/graphics/JpegImage.h"

namespace {

struct TJpegSession {
  jpeg_decompress_struct Info{};
  // The manager must come first in the record: libjpeg hands back its address.
  struct TErrorState {
    jpeg_error_mgr Manager{};
    std::jmp_buf Jump{};
    char Message[JMSG_LENGTH_MAX]{};
  } Error;
  jpeg_progress_mgr Progress{};
  int32_t MaxScans = 0;
  bool Created = false;

  ~TJpegSession() {
    if (Created) jpeg_destroy_decompress(&Info);
  }
};

[[noreturn]] void JumpBack(j_common_ptr info, const char* message) {
  auto* error = reinterpret_cast<TJpegSession::TErrorState*>(info->err);
  std::snprintf(error->Message, sizeof error->Message, "%s", message);
  std::longjmp(error->Jump, 1);
}

[[noreturn]] void ErrorExit(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  info->err->format_message(info, message);
  JumpBack(info, message);
}

void EmitMessage(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) ErrorExit(info);
}

void CheckScans(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  auto* session = reinterpret_cast<TJpegSession*>(decompress);  // Info is the first member
  if (decompress->input_scan_number > session->MaxScans) JumpBack(info, SJPEGTooManyScans);
}

}  // namespace

std::unique_ptr<TBitmap> DecodeJpeg(std::span<const uint8_t> data, const TJpegLimits& limits) {
  auto image = std::make_unique<TBitmap>();
  TJpegSession session;
  static_assert(offsetof(TJpegSession, Info) == 0, "the progress monitor finds the session from Info");
  session.MaxScans = limits.MaxScans;
  session.Info.err = jpeg_std_error(&session.Error.Manager);
  session.Error.Manager.error_exit = ErrorExit;
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
