// Graphic objects of the picture framework and the registry of graphic classes.
//
// A graphic class is described by a `TGraphicClassInfo` (its class name and a factory
// that makes an empty instance), which stands in for the class reference of the class
// library: pictures are created by class name through the registry (readers of stored
// documents) and copies of a graphic are made through its class (`ClassType()->Create`).
// The name is the one `ClassName()` gives for the class.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/ClipboardFormats.h"
#include "platform/base/Exception.h"
#include "platform/base/Object.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Palette.h"

// Invalid image data (EInvalidGraphic) and an operation a graphic cannot do in its
// present state (EInvalidGraphicOperation).
class EInvalidGraphic : public Exception {
public:
  using Exception::Exception;
};
class EInvalidGraphicOperation : public Exception {
public:
  using Exception::Exception;
};

inline constexpr char SScanLine[] = "Scan line index out of range";
inline constexpr char SInvalidBitmap[] = "Bitmap image is not valid";
inline constexpr char SInvalidPixelFormat[] = "Invalid pixel format";
inline constexpr char SUnknownClipboardFormat[] = "Unsupported clipboard format";

class TGraphic;
class TBitmap;
class TCanvas;
struct TRect;

struct TGraphicClassInfo {
  const char* ClassName;
  std::unique_ptr<TGraphic> (*Create)();
  // The extension of the class's own file format, without the dot ("bmp").
  const char* DefaultExtension = "";
};
using TGraphicClass = const TGraphicClassInfo*;

class TGraphic : public TPersistent {
public:
  TGraphic() = default;
  ~TGraphic() override;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual TGraphicClass ClassType() const = 0;

  virtual bool Empty() const = 0;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual void SetWidth(int32_t value) = 0;
  virtual void SetHeight(int32_t value) = 0;

  // Assign(const TPersistent&) copies what this class knows of source, or lets source
  // assign itself (AssignTo); otherwise EConvertError "Cannot assign a %s to a %s".
  using TPersistent::Assign;
  // The same with a source that may be null; null empties the graphic (Clear).
  void Assign(const TGraphic* source);
  // Drops the image: the graphic becomes empty.
  virtual void Clear() = 0;

  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;

  // Graphics without a palette answer an empty handle and ignore a new one.
  virtual HPALETTE Palette() const { return {}; }
  virtual void SetPalette(HPALETTE palette) { (void)palette; }

  // Paints the graphic into rect of the canvas, stretched (nearest pixel); the canvas's
  // Draw and StretchDraw come here for every graphic that is not a bitmap. This class
  // paints a bitmap copy of itself (raising what that assignment raises); a graphic with
  // transparency the copy cannot keep composites itself over what the canvas holds.
  virtual void Draw(TCanvas& canvas, const TRect& rect) const;

  // The graphic as the clipboard takes it: a format and its data. This class gives
  // CF_BITMAP, a bitmap of the picture (raising what drawing it raises); no palette, as
  // every device of this platform is true-colour.
  virtual void SaveToClipboardFormat(uint16_t& format, std::unique_ptr<TBitmap>& data, HPALETTE& palette) const;
  // The picture of clipboard data of a format (for CF_BITMAP data is the bitmap). This
  // class takes none: EInvalidGraphic "Unsupported clipboard format".
  virtual void LoadFromClipboardFormat(uint16_t format, const TBitmap& data, HPALETTE palette);

  // Whether parts of the picture let what lies below show through. This class answers the
  // flag last set; a graphic that knows its own transparency answers that instead.
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value) { FTransparent = value; }

private:
  bool FTransparent = false;
};

// Registers a class under its name (again: no change); names compare ignoring ASCII case.
void RegisterGraphicClass(TGraphicClass graphicClass);
void UnRegisterGraphicClass(TGraphicClass graphicClass);
// The registered class of that name, or null.
TGraphicClass FindGraphicClass(AnsiStringView className);
// The class that reads files of that extension (without the dot, any case): the
// bitmap's for "bmp", else a registered class whose own format it is; null for none.
TGraphicClass FindGraphicClassOfExtension(AnsiStringView extension);
