// What the document and its items ask of a style sheet. The style sheet (TRPStyle)
// answers these from its text, paragraph and list styles; a style or paragraph number outside
// its collections reads the collection's fallback style and never fails.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

class TGraphic;
class TRPListInfos;

// Text direction of a style, a paragraph or a document.
enum TRPBiDiMode : uint8_t { rpbdUnspecified, rpbdLeftToRight, rpbdRightToLeft };

class IRPStyleSheet {
public:
  virtual ~IRPStyleSheet() = default;

  // The paragraph style's default text style (negative: none).
  virtual int32_t GetParaDefStyleNo(int32_t paraNo) const = 0;
  // The text style's Unicode property: its items store UTF-16.
  virtual bool IsTextStyleUnicode(int32_t styleNo) const = 0;
  // The text style's font character set (DEFAULT_CHARSET is 1).
  virtual int32_t GetTextStyleCharset(int32_t styleNo) const = 0;
  // True when the text style's protection holds rpprModifyProtect or rpprConcateProtect,
  // so that its text items are never joined.
  virtual bool IsTextStyleMergeProtected(int32_t styleNo) const = 0;
  // The text style's Jump property: its runs are hyperlinks.
  virtual bool IsTextStyleJump(int32_t styleNo) const = 0;
  // Whether the text style looks different under the mouse.
  virtual bool IsTextStyleHoverSensitive(int32_t styleNo) const = 0;
  virtual TRPBiDiMode GetTextStyleBiDiMode(int32_t styleNo) const = 0;
  virtual TRPBiDiMode GetParaStyleBiDiMode(int32_t paraNo) const = 0;
  // False only for a style of RTF code that is not HTML code as well.
  virtual bool IsTextStyleHTMLWritable(int32_t styleNo) const = 0;
  // The style sheet's DefCodePage and SpacesInTab.
  virtual uint32_t GetDefCodePage() const = 0;
  virtual int32_t GetSpacesInTab() const = 0;
  // The list styles that list markers refer to (nullptr: none).
  virtual const TRPListInfos* GetListStyles() const = 0;
  // The text styles' PixelsPerInch (0: the canvas font's resolution).
  virtual int32_t GetTextStylesPixelsPerInch() const = 0;
  // The styles' names by index (the fallback style's beyond the collections), in the
  // native format's style fields.
  virtual int32_t GetTextStyleCount() const = 0;
  virtual AnsiString GetTextStyleName(int32_t styleNo) const = 0;
  virtual int32_t GetParaStyleCount() const = 0;
  virtual AnsiString GetParaStyleName(int32_t paraNo) const = 0;
  // The cursor of hyperlinks (JumpCursor); whether refused actions beep (UseSound).
  virtual int32_t GetJumpCursor() const = 0;
  virtual bool GetUseSound() const = 0;
  // The picture shown for one that could not be read (InvalidPicture); the style sheet
  // makes it on first use.
  virtual const TGraphic* GetInvalidPicture() const = 0;
};
