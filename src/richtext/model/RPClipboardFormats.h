// The clipboard formats of the rich-text engine: the native format, RTF, URLs, HTML and
// the file descriptor of a dropped link,
// registered by name with the platform's registry of named formats (ClipboardFormats.h)
// once, when first asked for. The editor copies, pastes, drags and drops with them.
#pragma once

#include <cstdint>
#include <string_view>

inline constexpr char RPFormatRichPane[] = "RichPane Format";
inline constexpr char RPFormatRTF[] = "Rich Text Format";
inline constexpr char RPFormatURL[] = "UniformResourceLocator";
inline constexpr char RPFormatHTML[] = "HTML Format";
inline constexpr char RPFormatFileGroupDescriptor[] = "FileGroupDescriptor";

struct TRPClipboardFormats {
  uint32_t RichPane;
  uint32_t RTF;
  uint32_t URL;
  uint32_t HTML;
  uint32_t FileGroupDescriptor;
};

const TRPClipboardFormats& RPClipboardFormats();

// The document bytes of a native-format block as the clipboard and drops carry it: a
// 32-bit little-endian length, then that many bytes. A length beyond the block is cut
// to what the block holds, so a block that claims more is read as far as it goes; a
// block shorter than the length field holds nothing.
std::string_view RPNativeBlockDocument(std::string_view block);

// The first file name of a "FileGroupDescriptor" block (a 4-byte count, then
// descriptors whose 8-bit name field of 260 bytes ends at byte 332 of each), up to its
// first zero byte; empty when the block holds no descriptor.
std::string_view RPFileGroupDescriptorName(std::string_view block);
