// Component streaming: the binary form-file format in which a window definition stores
// the published properties of a form and of the components it owns.
//
// A stream starts with the signature "TPF0". A component is its class name and its name
// (each a length byte and 8-bit characters), its properties, a vaNull, the components it
// owns in the same way, and a vaNull. A property is its name (a short string; a nested
// object's properties are "Object.Property") and one value: a value-type byte followed by
// the value, little-endian. What is written follows the property registry
// (PublishedProperties.h) and each class's DefineProperties; properties at their default
// (or at the ancestor's value) and those whose stored rule says no are left out.
//
// Windows are built in code, so reading fills the components that exist: an owned
// component is found by name, and a name that the form does not own raises.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Collections.h"

#include "platform/base/Components.h"
#include "platform/base/PublishedProperties.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"

enum TValueType : uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
};

inline constexpr char FilerSignature[] = "TPF0";

class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

// What a class's DefineProperties talks to: a property that the registry does not know,
// read or written by the class's own procedures.
class TFiler {
public:
  explicit TFiler(TStream& stream) : FStream(stream) {}
  virtual ~TFiler();
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;

  // hasData: the writer writes the property only when true.
  virtual void DefineProperty(const AnsiString& name, const TReaderProc& readData, const TWriterProc& writeData,
                              bool hasData) = 0;
  // A vaBinary value: a 32-bit byte count and the bytes, handed to the procedures as a
  // stream.
  virtual void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData, const TStreamProc& writeData,
                                    bool hasData) = 0;

  TComponent* Root() const { return FRoot; }
  // The object whose values count as defaults (an inherited form), or nullptr.
  TPersistent* Ancestor() const { return FAncestor; }
  void SetAncestor(TPersistent* ancestor) { FAncestor = ancestor; }

protected:
  TStream& FStream;
  TComponent* FRoot = nullptr;
  TPersistent* FAncestor = nullptr;
};

class TWriter : public TFiler {
public:
  using TFiler::TFiler;

  // The signature and the component with everything it owns.
  void WriteRootComponent(TComponent& root);
  // The stored properties of instance (published ones, then its defined ones), without
  // the list end that closes them.
  void WriteProperties(TPersistent& instance);
  // A collection value: vaCollection, each item's properties in a list, a list end.
  void WriteCollection(TCollection& collection);
  // True when the property of instance has its default: the ancestor's value when an
  // ancestor of the same class is set, else the declared default (ordinals) or empty
  // text. A property without getter or setter always counts as default.
  bool IsDefaultPropValue(const TPersistent& instance, const TPropInfo& info) const;

  void DefineProperty(const AnsiString& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;

  // The smallest of vaInt8, vaInt16 and vaInt32 that holds the value.
  void WriteInteger(int64_t value);
  void WriteBoolean(bool value);
  // vaString up to 255 bytes, else vaLString.
  void WriteString(AnsiStringView value);
  // vaWString: a 32-bit count of UTF-16 units and the units.
  void WriteWideString(WideStringView value);
  void WriteValue(TValueType type);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  // A length byte and the characters; raises EWriteError beyond 255.
  void WriteStr(AnsiStringView value);

private:
  void WriteComponent(TComponent& component);
  void WritePropertiesWithPrefix(TPersistent& instance, const AnsiString& prefix);
  void WriteProperty(TPersistent& instance, const TPropInfo& info);
  void WriteBytes(const void* data, int32_t count) { FStream.WriteBuffer(data, count); }

  AnsiString FPropPath;
};

class TReader : public TFiler {
public:
  using TFiler::TFiler;

  // Checks the signature and reads into root and the components it owns, which are in
  // the loading state meanwhile; each then hears Loaded. Raises EReadError "Invalid
  // stream format" for another signature, "Component %s not found" for a name the root
  // does not own, and "Error reading %s.%s: Property %s does not exist" for an unknown
  // property. Values of the wrong type raise "Invalid property value".
  void ReadRootComponent(TComponent& root);
  // The same into a new component of the class the stream names (a registered component
  // class, RegisterComponentClass), which the caller owns; raises EClassNotFound "Class
  // %s not found" for a class nobody registered.
  std::unique_ptr<TComponent> ReadNewRootComponent();

  void DefineProperty(const AnsiString& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData, const TStreamProc& writeData,
                            bool hasData) override;

  TValueType NextValue();
  TValueType ReadValue();
  bool EndOfList() { return NextValue() == vaNull; }
  void ReadListBegin() { CheckValue(vaList); }
  void ReadListEnd() { CheckValue(vaNull); }
  int64_t ReadInteger();
  bool ReadBoolean();
  // vaString, vaLString or vaUTF8String (as its bytes).
  AnsiString ReadString();
  // vaWString, or an 8-bit string widened by the process's ANSI code page.
  WideString ReadWideString();
  AnsiString ReadStr();
  // Properties into instance up to the list end that closes them (which is read).
  void ReadProperties(TPersistent& instance);
  // A collection value into collection, which is emptied first.
  void ReadCollection(TCollection& collection);
  // Reads past one value of any type; a count or length passing the end of the stream
  // raises EReadError "Stream read error" before anything is read for it.
  void SkipValue();

  // Told of a property that neither the registry nor DefineProperties knows, with the
  // message that would be raised; setting handled passes over the property's value
  // instead of raising.
  std::function<void(const AnsiString& message, bool& handled)> OnError;
  [[noreturn]] static void PropValueError();

private:
  void ReadSignature();
  // The root's name and everything after it, into root.
  void ReadRootBody(TComponent& root);
  void ReadProperty(TPersistent& instance);
  void ReadPropValue(TPersistent& instance, const TPropInfo& info);
  void ReadCollectionValue(TPersistent& collection);
  void CheckValue(TValueType expected);
  // Passes count bytes; raises EReadError when fewer are left.
  void SkipBytes(int64_t count);
  void ReadBytes(void* data, int32_t count) { FStream.ReadBuffer(data, count); }

  // The property being looked for among the defined ones, and whether one matched.
  AnsiString FPropName;
  bool FFound = false;
};

// Component classes by name, for streams that create their root: each class registers
// its factory (a component without owner) once at start-up; a second registration of a
// name replaces the first. Names compare without regard to ASCII case.
using TComponentFactory = std::function<std::unique_ptr<TComponent>()>;
void RegisterComponentClass(const AnsiString& className, TComponentFactory factory);
void UnRegisterComponentClass(const AnsiString& className);
// The factory of a registered class; empty for an unknown name.
TComponentFactory FindComponentClass(AnsiStringView className);

// The class library's stream forms: the signature and the component with what it owns;
// and the reverse into component, or, when component is empty, into a new component of
// the class the stream names (TReader::ReadNewRootComponent). Both raise what the filers
// raise.
void WriteComponent(TStream& stream, TComponent& component);
void ReadComponent(TStream& stream, std::unique_ptr<TComponent>& component);
