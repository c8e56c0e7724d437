// Handles of drawing objects (fonts, pens, brushes) as the drawing calls pass them.
//
// A handle is the address of a shared object. Creating one registers it; DeleteObject
// drops the registration, and a device context that still has the object selected
// keeps it alive until it selects another, so a deleted handle never dangles inside a
// context. Stock objects live for the whole process and ignore DeleteObject.
#pragma once

#include <memory>

class TGdiObject : public std::enable_shared_from_this<TGdiObject> {
public:
  TGdiObject();
  virtual ~TGdiObject();
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;
};

using HGDIOBJ = TGdiObject*;

// Registers a new object and returns its handle.
HGDIOBJ RegisterGdiObject(std::shared_ptr<TGdiObject> object);
// Registers a stock object (never deleted).
HGDIOBJ RegisterStockObject(std::shared_ptr<TGdiObject> object);
// True while the object behind a handle exists (registered, or still selected somewhere).
bool IsGdiObject(HGDIOBJ handle);
// The shared owner of a handle; empty for nullptr or a handle whose object is gone.
std::shared_ptr<TGdiObject> SharedGdiObject(HGDIOBJ handle);
// False for a handle that is not (or no longer) registered.
bool DeleteObject(HGDIOBJ handle);

// Stores a property of a handle's owner (TFont, TPen, TBrush); true when the value
// differs from the stored one, so that the owner drops its handle and reports the change.
template <typename T>
bool ChangeProperty(T& field, const T& value) {
  if (field == value) return false;
  field = value;
  return true;
}
