// libjpeg's fatal errors for the decoder and the encoder: libjpeg calls the error
// manager's error_exit, which must not return; ours formats the message and jumps back to
// the caller's setjmp, which then raises EJPEG. Only libjpeg's C frames and the callbacks
// lie between the two, so every object with a destructor must be made before the setjmp.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// The manager must come first in the record: libjpeg hands back its address.
struct TJpegErrorState {
  jpeg_error_mgr Manager{};
  std::jmp_buf Jump{};
  char Message[JMSG_LENGTH_MAX]{};
};

// Keeps message and jumps back to the session's setjmp.
[[noreturn]] void JpegJumpBack(j_common_ptr info, const char* message);
// libjpeg's own message for its error code, then the jump.
[[noreturn]] void JpegErrorExit(j_common_ptr info);
// The error manager of state, with the jump for fatal errors.
jpeg_error_mgr* JpegErrorManager(TJpegErrorState& state);
