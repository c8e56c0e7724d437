// The places of an RTF or HTML export at which the host may add text of its own (the
// control's OnSaveRTFExtra and OnSaveHTMLExtra), and the format of each answer: RTF code
// or HTML code, written as it is.
#pragma once

#include <cstdint>

enum TRPRTFSaveArea : uint8_t {
  rp_rtfs_TextStyle,  // after a text style's character formatting
  rp_rtfs_ParaStyle,  // after a paragraph style's formatting
  rp_rtfs_CellProps,  // after a table cell's properties
  rp_rtfs_RowProps,   // after a table row's properties
  rp_rtfs_Doc,        // at the end of the header
};

enum TRPHTMLSaveArea : uint8_t {
  rp_thms_Head,           // at the end of the head
  rp_thms_BodyAttribute,  // inside the body tag, after a blank
  rp_thms_Body,           // right after the body tag
  rp_thms_End,            // before the closing tags
};
