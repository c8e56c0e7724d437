// The clipboard formats of the rich-text engine: the native format, RTF, URLs and HTML,
// registered by name with the platform's registry of named formats (ClipboardFormats.h)
// once, when first asked for. The editor copies, pastes, drags and drops with them.
#pragma once

#include <cstdint>

inline constexpr char RPFormatRichPane[] = "RichPane Format";
inline constexpr char RPFormatRTF[] = "Rich Text Format";
inline constexpr char RPFormatURL[] = "UniformResourceLocator";
inline constexpr char RPFormatHTML[] = "HTML Format";

struct TRPClipboardFormats {
  uint32_t RichPane;
  uint32_t RTF;
  uint32_t URL;
  uint32_t HTML;
};

const TRPClipboardFormats& RPClipboardFormats();
