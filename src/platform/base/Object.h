// The roots of the class library's object model.
//
// `TObject` is the base of everything that owning lists and components hold and free
// through a base pointer. `TPersistent` adds `Assign`, which copies the state of another
// object of a class that the target (or the source, through `AssignTo`) knows.
#pragma once

#include <functional>

#include "platform/base/Types.h"

class TClassProps;
class TFiler;

class TObject {
public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject();

  // The class name as the program's code spells it ("TStringList").
  AnsiString ClassName() const;
};

// An event without arguments beyond its sender.
using TNotifyEvent = std::function<void(TObject* sender)>;

class TPersistent : public TObject {
public:
  // Copies source into this object; raises EConvertError "Cannot assign a %s to a %s"
  // (source's class, this class) when neither side knows the other.
  virtual void Assign(const TPersistent& source);
  // The object that owns this one (a component's owner, an item's collection), or
  // nullptr.
  virtual TPersistent* GetOwner() const;
  // The published properties of the object's class (PublishedProperties.h); nullptr for
  // a class that publishes none.
  virtual const TClassProps* ClassProps() const { return nullptr; }
  // Defines the properties that a window definition holds beyond the published ones
  // (Filer.h); the base defines none.
  virtual void DefineProperties(TFiler& filer);

protected:
  // Copies this object into dest; the base raises as Assign does.
  virtual void AssignTo(TPersistent& dest) const;
};
