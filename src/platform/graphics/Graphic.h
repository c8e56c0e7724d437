// Graphic objects of the picture framework and the registry of graphic classes.
//
// A graphic class is described by a `TGraphicClassInfo` (its class name and a factory
// that makes an empty instance), which stands in for the class reference of the class
// library: pictures are created by class name through the registry (readers of stored
// documents) and copies of a graphic are made through its class (`ClassType()->Create`).
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Exception.h"
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

class TGraphic;

struct TGraphicClassInfo {
  const char* ClassName;
  std::unique_ptr<TGraphic> (*Create)();
};
using TGraphicClass = const TGraphicClassInfo*;

class TGraphic {
public:
  TGraphic() = default;
  virtual ~TGraphic();
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual TGraphicClass ClassType() const = 0;
  const char* ClassName() const { return ClassType()->ClassName; }

  virtual bool Empty() const = 0;
  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;
  virtual void SetWidth(int32_t value) = 0;
  virtual void SetHeight(int32_t value) = 0;

  // Takes the content of source; the default asks source to assign itself to this
  // graphic (AssignTo). A null source raises the assignment error here; a class that
  // can be cleared overrides.
  virtual void Assign(const TGraphic* source);
  // Raises EConvertError "Cannot assign a <this class> to a <dest class>".
  virtual void AssignTo(TGraphic& dest) const;

  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;

  // Graphics without a palette answer an empty handle and ignore a new one.
  virtual HPALETTE Palette() const { return {}; }
  virtual void SetPalette(HPALETTE palette) { (void)palette; }

  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool value) { FTransparent = value; }

protected:
  // Raises the assignment error for copying from source (or nothing) into this graphic.
  [[noreturn]] void RaiseAssignError(const TGraphic* source) const;

private:
  bool FTransparent = false;
};

// Registers a class under its name (again: no change); names compare ignoring ASCII case.
void RegisterGraphicClass(TGraphicClass graphicClass);
void UnRegisterGraphicClass(TGraphicClass graphicClass);
// The registered class of that name, or null.
TGraphicClass FindGraphicClass(AnsiStringView className);
