#include "platform/base/Filer.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Collections.h"
#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/TextUtils.h"
#include "platform/base/UpdateBracket.h"

namespace {

constexpr char SInvalidImage[] = "Invalid stream format";
constexpr char SInvalidPropertyValue[] = "Invalid property value";
constexpr char SComponentNotFound[] = "Component %s not found";
constexpr char SPropertyDoesNotExist[] = "Error reading %s.%s: Property %s does not exist";
constexpr char SStrTooLong[] = "String too long for a short string value";
constexpr char SClassNotFound[] = "Class %s not found";

struct TComponentClass {
  AnsiString Name;
  TComponentFactory Factory;
};

std::vector<TComponentClass>& ComponentClasses() {
  static std::vector<TComponentClass> classes;
  return classes;
}

}  // namespace

TFiler::~TFiler() = default;

// ---- Writer ------------------------------------------------------------------------

void TWriter::WriteRootComponent(TComponent& root) {
  FRoot = &root;
  WriteBytes(FilerSignature, 4);
  WriteComponent(root);
}

void TWriter::WriteComponent(TComponent& component) {
  WriteStr(component.ClassProps() ? component.ClassProps()->ClassName() : component.ClassName());
  WriteStr(component.Name());
  component.SetComponentState(component.ComponentState() | csWriting);
  WriteProperties(component);
  component.SetComponentState(component.ComponentState() & ~csWriting);
  WriteListEnd();
  for (int32_t i = 0; i < component.ComponentCount(); ++i)
    if (!component.Components(i)->Name().empty()) WriteComponent(*component.Components(i));
  WriteListEnd();
}

void TWriter::WriteProperties(TPersistent& instance) { WritePropertiesWithPrefix(instance, {}); }

void TWriter::WritePropertiesWithPrefix(TPersistent& instance, const AnsiString& prefix) {
  AnsiString saved = std::exchange(FPropPath, prefix);
  const TScopeExit restore([&] { FPropPath = std::move(saved); });
  for (const TPropInfo* info : PublishedPropList(instance))
    if (info->Kind != tkMethod && info->IsStored(instance) && !IsDefaultPropValue(instance, *info))
      WriteProperty(instance, *info);
  instance.DefineProperties(*this);
}

bool TWriter::IsDefaultPropValue(const TPersistent& instance, const TPropInfo& info) const {
  if (!info.HasGetter() || (!info.HasSetter() && info.Kind != tkClass)) return true;
  const TPropValue value = info.Get(instance);
  if (FAncestor && FAncestor->ClassProps() == instance.ClassProps() && info.Kind != tkClass)
    return value == info.Get(*FAncestor);
  switch (info.Kind) {
    case tkInteger:
    case tkBoolean:
    case tkWChar:
      return info.Default && std::get<int64_t>(value) == *info.Default;
    case tkLString:
      return std::get<AnsiString>(value).empty();
    case tkWString:
      return std::get<WideString>(value).empty();
    default:
      return false;  // objects decide through their own properties
  }
}

void TWriter::WriteProperty(TPersistent& instance, const TPropInfo& info) {
  const TPropValue value = info.Get(instance);
  if (info.Kind == tkClass) {
    TPersistent* object = std::get<TPersistent*>(value);
    if (!object) return;
    if (auto* collection = dynamic_cast<TCollection*>(object)) {
      if (collection->Count() > 0) {
        WriteStr(FPropPath + info.Name);
        WriteCollection(*collection);
      }
      // The collection's own published properties follow its items, by their path.
      WritePropertiesWithPrefix(*collection, FPropPath + info.Name + ".");
      return;
    }
    WritePropertiesWithPrefix(*object, FPropPath + info.Name + ".");
    return;
  }
  WriteStr(FPropPath + info.Name);
  switch (info.Kind) {
    case tkBoolean:
      WriteBoolean(std::get<int64_t>(value) != 0);
      break;
    case tkLString:
      WriteString(std::get<AnsiString>(value));
      break;
    case tkWString:
      WriteWideString(std::get<WideString>(value));
      break;
    default:
      WriteInteger(std::get<int64_t>(value));
      break;
  }
}

void TWriter::WriteCollection(TCollection& collection) {
  WriteValue(vaCollection);
  for (int32_t i = 0; i < collection.Count(); ++i) {
    WriteListBegin();
    WritePropertiesWithPrefix(*collection.Items(i), {});
    WriteListEnd();
  }
  WriteListEnd();
}

void TWriter::DefineProperty(const AnsiString& name, const TReaderProc&, const TWriterProc& writeData, bool hasData) {
  if (!hasData || !writeData) return;
  WriteStr(FPropPath + name);
  writeData(*this);
}

void TWriter::DefineBinaryProperty(const AnsiString& name, const TStreamProc&, const TStreamProc& writeData,
                                   bool hasData) {
  if (!hasData || !writeData) return;
  WriteStr(FPropPath + name);
  TMemoryStream data;
  writeData(data);
  WriteValue(vaBinary);
  uint8_t size[4];
  StoreLE32(size, static_cast<uint32_t>(data.Size()));
  WriteBytes(size, 4);
  if (data.Size() > 0) WriteBytes(data.Memory(), static_cast<int32_t>(data.Size()));
}

void TWriter::WriteInteger(int64_t value) {
  if (value >= -128 && value <= 127) {
    WriteValue(vaInt8);
    const auto byte = static_cast<uint8_t>(static_cast<int8_t>(value));
    WriteBytes(&byte, 1);
  } else if (value >= -32768 && value <= 32767) {
    WriteValue(vaInt16);
    uint8_t bytes[2];
    StoreLE16(bytes, static_cast<uint16_t>(static_cast<int16_t>(value)));
    WriteBytes(bytes, 2);
  } else {
    WriteValue(vaInt32);
    uint8_t bytes[4];
    StoreLE32(bytes, static_cast<uint32_t>(static_cast<int32_t>(value)));
    WriteBytes(bytes, 4);
  }
}

void TWriter::WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }

void TWriter::WriteString(AnsiStringView value) {
  if (value.size() <= 255) {
    WriteValue(vaString);
    WriteStr(value);
    return;
  }
  WriteValue(vaLString);
  uint8_t size[4];
  StoreLE32(size, static_cast<uint32_t>(value.size()));
  WriteBytes(size, 4);
  WriteBytes(value.data(), static_cast<int32_t>(value.size()));
}

void TWriter::WriteWideString(WideStringView value) {
  WriteValue(vaWString);
  std::vector<uint8_t> bytes;
  AppendLE32(bytes, static_cast<uint32_t>(value.size()));
  for (WideChar c : value) AppendLE16(bytes, c);
  WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void TWriter::WriteValue(TValueType type) {
  const auto byte = static_cast<uint8_t>(type);
  WriteBytes(&byte, 1);
}

void TWriter::WriteStr(AnsiStringView value) {
  if (value.size() > 255) throw EWriteError(SStrTooLong);
  const auto length = static_cast<uint8_t>(value.size());
  WriteBytes(&length, 1);
  if (length) WriteBytes(value.data(), length);
}

// ---- Reader ------------------------------------------------------------------------

void TReader::ReadSignature() {
  char signature[4];
  ReadBytes(signature, 4);
  if (std::memcmp(signature, FilerSignature, 4) != 0) throw EReadError(SInvalidImage);
}

void TReader::ReadRootComponent(TComponent& root) {
  ReadSignature();
  ReadStr();  // the class name: the root exists already
  ReadRootBody(root);
}

std::unique_ptr<TComponent> TReader::ReadNewRootComponent() {
  ReadSignature();
  const AnsiString className = ReadStr();
  const TComponentFactory factory = FindComponentClass(className);
  if (!factory) throw EClassNotFound(Format(SClassNotFound, {className}));
  std::unique_ptr<TComponent> root = factory();
  ReadRootBody(*root);
  return root;
}

void TReader::ReadRootBody(TComponent& root) {
  FRoot = &root;
  std::vector<TComponent*> loaded;
  // Loaded runs once everything is read, so that each component sees its siblings'
  // values; the loading state is ended even when reading fails.
  bool done = false;
  const TScopeExit endLoading([&] {
    if (done) return;
    for (TComponent* c : loaded) c->SetComponentState(c->ComponentState() & ~(csLoading | csReading));
  });
  ReadStr();  // its name, which the program gave it
  auto begin = [&](TComponent& component) {
    component.SetComponentState(component.ComponentState() | csLoading | csReading);
    loaded.push_back(&component);
    while (!EndOfList()) ReadProperty(component);
    ReadValue();
  };
  begin(root);
  // Components nest as they are owned: an explicit stack of the open ones.
  std::vector<TComponent*> stack{&root};
  while (!stack.empty()) {
    if (EndOfList()) {
      ReadValue();
      stack.pop_back();
      continue;
    }
    ReadStr();
    const AnsiString name = ReadStr();
    TComponent* child = stack.back()->FindComponent(name);
    if (!child) throw EReadError(Format(SComponentNotFound, {name}));
    begin(*child);
    stack.push_back(child);
  }
  done = true;
  for (TComponent* c : loaded) c->SetComponentState(c->ComponentState() & ~csReading);
  for (TComponent* c : loaded) c->Loaded();
}

void TReader::ReadProperty(TPersistent& instance) {
  const AnsiString path = ReadStr();
  TPersistent* target = &instance;
  size_t start = 0;
  for (size_t dot = path.find('.'); dot != AnsiString::npos; dot = path.find('.', start)) {
    const TPropInfo* info = FindPublishedProp(*target, std::string_view(path).substr(start, dot - start));
    TPersistent* inner = info && info->Kind == tkClass ? std::get<TPersistent*>(info->Get(*target)) : nullptr;
    if (!inner) break;
    target = inner;
    start = dot + 1;
  }
  const AnsiString name = path.substr(start);
  const TPropInfo* info = FindPublishedProp(*target, name);
  if (info && info->Kind != tkMethod && info->HasSetter()) {
    ReadPropValue(*target, *info);
    return;
  }
  FPropName = name;
  FFound = false;
  target->DefineProperties(*this);
  FPropName.clear();
  if (!FFound) {
    const auto* component = dynamic_cast<const TComponent*>(&instance);
    const AnsiString message =
        Format(SPropertyDoesNotExist, {component ? component->Name() : AnsiString(), path, name});
    bool handled = false;
    if (OnError) OnError(message, handled);
    if (!handled) throw EReadError(message);
    SkipValue();
  }
}

void TReader::ReadPropValue(TPersistent& instance, const TPropInfo& info) {
  switch (info.Kind) {
    case tkInteger:
      info.Set(instance, ReadInteger());
      break;
    case tkBoolean:
      info.Set(instance, static_cast<int64_t>(ReadBoolean()));
      break;
    case tkWChar: {
      // Written as its ordinal; a one-character string is taken too.
      const TValueType next = NextValue();
      if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
        info.Set(instance, ReadInteger() & 0xFFFF);
        break;
      }
      const WideString text = ReadWideString();
      if (text.size() > 1) PropValueError();
      info.Set(instance, static_cast<int64_t>(text.empty() ? 0 : text[0]));
      break;
    }
    case tkLString:
      info.Set(instance, NextValue() == vaWString ? WideToAnsi(ReadWideString()) : ReadString());
      break;
    case tkWString:
      info.Set(instance, ReadWideString());
      break;
    case tkClass:
      if (NextValue() != vaCollection) PropValueError();
      ReadCollectionValue(*std::get<TPersistent*>(info.Get(instance)));
      break;
    default:
      PropValueError();
  }
}

void TReader::ReadCollectionValue(TPersistent& object) {
  auto* collection = dynamic_cast<TCollection*>(&object);
  if (!collection) PropValueError();
  ReadCollection(*collection);
}

void TReader::ReadCollection(TCollection& collection) {
  CheckValue(vaCollection);
  WithinUpdate(collection, [&] {
    collection.Clear();
    while (!EndOfList()) {
      ReadListBegin();
      TCollectionItem* item = collection.Add();
      ReadProperties(*item);
    }
    ReadListEnd();
  });
}

void TReader::ReadProperties(TPersistent& instance) {
  while (!EndOfList()) ReadProperty(instance);
  ReadListEnd();
}

void TReader::DefineProperty(const AnsiString& name, const TReaderProc& readData, const TWriterProc&, bool) {
  if (FFound || !readData || !SameText(name, FPropName)) return;
  FFound = true;
  readData(*this);
}

void TReader::DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData, const TStreamProc&, bool) {
  if (FFound || !readData || !SameText(name, FPropName)) return;
  FFound = true;
  CheckValue(vaBinary);
  uint8_t size[4];
  ReadBytes(size, 4);
  const uint32_t count = LoadLE32(size);
  // The count comes from the stream: refuse one larger than what is left before
  // allocating for it.
  if (count > static_cast<uint64_t>(FStream.Size() - FStream.Position())) throw EReadError(SReadError);
  TMemoryStream data;
  data.SetSize(count);
  if (count) ReadBytes(data.Memory(), static_cast<int32_t>(count));
  data.SetPosition(0);
  readData(data);
}

TValueType TReader::NextValue() {
  const TValueType type = ReadValue();
  FStream.Seek(-1, soCurrent);
  return type;
}

TValueType TReader::ReadValue() {
  uint8_t byte;
  ReadBytes(&byte, 1);
  return static_cast<TValueType>(byte);
}

void TReader::CheckValue(TValueType expected) {
  if (ReadValue() != expected) {
    FStream.Seek(-1, soCurrent);
    PropValueError();
  }
}

void TReader::PropValueError() { throw EReadError(SInvalidPropertyValue); }

int64_t TReader::ReadInteger() {
  uint8_t bytes[4];
  switch (ReadValue()) {
    case vaInt8:
      ReadBytes(bytes, 1);
      return static_cast<int8_t>(bytes[0]);
    case vaInt16:
      ReadBytes(bytes, 2);
      return static_cast<int16_t>(LoadLE16(bytes));
    case vaInt32:
      ReadBytes(bytes, 4);
      return static_cast<int32_t>(LoadLE32(bytes));
    default:
      FStream.Seek(-1, soCurrent);
      PropValueError();
  }
}

bool TReader::ReadBoolean() {
  const TValueType type = ReadValue();
  if (type != vaTrue && type != vaFalse) {
    FStream.Seek(-1, soCurrent);
    PropValueError();
  }
  return type == vaTrue;
}

AnsiString TReader::ReadStr() {
  uint8_t length;
  ReadBytes(&length, 1);
  AnsiString text(length, '\0');
  if (length) ReadBytes(text.data(), length);
  return text;
}

AnsiString TReader::ReadString() {
  const TValueType type = ReadValue();
  if (type == vaString) return ReadStr();
  if (type != vaLString && type != vaUTF8String) {
    FStream.Seek(-1, soCurrent);
    PropValueError();
  }
  uint8_t size[4];
  ReadBytes(size, 4);
  const uint32_t count = LoadLE32(size);
  if (count > static_cast<uint64_t>(FStream.Size() - FStream.Position())) throw EReadError(SReadError);
  AnsiString text(count, '\0');
  if (count) ReadBytes(text.data(), static_cast<int32_t>(count));
  return text;
}

WideString TReader::ReadWideString() {
  if (NextValue() != vaWString) return AnsiToWide(ReadString());
  ReadValue();
  uint8_t size[4];
  ReadBytes(size, 4);
  const uint32_t count = LoadLE32(size);
  if (count > static_cast<uint64_t>(FStream.Size() - FStream.Position()) / 2) throw EReadError(SReadError);
  std::vector<uint8_t> bytes(size_t{count} * 2);
  if (count) ReadBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
  WideString text(count, u'\0');
  for (uint32_t i = 0; i < count; ++i) text[i] = LoadLE16(&bytes[size_t{i} * 2]);
  return text;
}

void TReader::SkipBytes(int64_t count) {
  if (count > FStream.Size() - FStream.Position()) throw EReadError(SReadError);
  FStream.Seek(count, soCurrent);
}

void TReader::SkipValue() {
  // Lists and collections nest; the open ones are kept on a stack of their own, so that a
  // stream of nested lists cannot exhaust the call stack.
  enum TOpen : uint8_t { opList, opCollection, opItem };
  std::vector<TOpen> open;
  do {
    if (!open.empty()) {
      if (EndOfList()) {
        ReadValue();
        open.pop_back();
        continue;
      }
      if (open.back() == opCollection) {
        ReadListBegin();
        open.push_back(opItem);
        continue;
      }
      if (open.back() == opItem) ReadStr();  // the property's name before its value
    }
    uint8_t size[4];
    switch (NextValue()) {
      case vaNull:
      case vaFalse:
      case vaTrue:
      case vaNil:
        ReadValue();
        break;
      case vaList:
        ReadValue();
        open.push_back(opList);
        break;
      case vaCollection:
        ReadValue();
        open.push_back(opCollection);
        break;
      case vaSet:
        ReadValue();
        while (!ReadStr().empty()) {
        }
        break;
      case vaBinary:
        ReadValue();
        ReadBytes(size, 4);
        SkipBytes(LoadLE32(size));
        break;
      case vaSingle:
        ReadValue();
        SkipBytes(4);
        break;
      case vaCurrency:
      case vaDate:
      case vaInt64:
        ReadValue();
        SkipBytes(8);
        break;
      case vaExtended:
        ReadValue();
        SkipBytes(10);
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
        ReadInteger();
        break;
      case vaString:
      case vaLString:
      case vaUTF8String:
        ReadString();
        break;
      case vaWString:
        ReadWideString();
        break;
      case vaIdent:
        ReadValue();
        ReadStr();
        break;
      default:
        PropValueError();
    }
  } while (!open.empty());
}

// ---- Component classes and stream forms ---------------------------------------------

void RegisterComponentClass(const AnsiString& className, TComponentFactory factory) {
  for (TComponentClass& known : ComponentClasses())
    if (SameText(known.Name, className)) {
      known.Factory = std::move(factory);
      return;
    }
  ComponentClasses().push_back({className, std::move(factory)});
}

void UnRegisterComponentClass(const AnsiString& className) {
  std::erase_if(ComponentClasses(), [&](const TComponentClass& known) { return SameText(known.Name, className); });
}

TComponentFactory FindComponentClass(AnsiStringView className) {
  for (const TComponentClass& known : ComponentClasses())
    if (SameText(known.Name, className)) return known.Factory;
  return {};
}

void WriteComponent(TStream& stream, TComponent& component) { TWriter(stream).WriteRootComponent(component); }

void ReadComponent(TStream& stream, std::unique_ptr<TComponent>& component) {
  TReader reader(stream);
  if (component)
    reader.ReadRootComponent(*component);
  else
    component = reader.ReadNewRootComponent();
}
