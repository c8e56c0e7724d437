// Form-file streaming of the UTF-16 string lists.
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrings.h"

void TWideStrings::ReadStringsData(TReader& reader) {
  WithinUpdate([&] {
    Clear();
    const TValueType next = reader.NextValue();
    if (next == vaString || next == vaLString || next == vaWString || next == vaUTF8String) {
      SetText(reader.ReadWideString());
      return;
    }
    reader.ReadListBegin();
    while (!reader.EndOfList()) Add(reader.ReadWideString());
    reader.ReadListEnd();
  });
}

void TWideStrings::DefineProperties(TFiler& filer) {
  const auto* ancestor = dynamic_cast<const TWideStrings*>(filer.Ancestor());
  const bool hasData = ancestor ? !Equals(*ancestor) : Count() > 0;
  filer.DefineProperty(
      "Strings", [this](TReader& reader) { ReadStringsData(reader); },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int32_t i = 0; i < Count(); ++i) writer.WriteWideString(Strings(i));
        writer.WriteListEnd();
      },
      hasData);
}

void TUniStrings::DefineProperties(TFiler& filer) {
  TWideStrings::DefineProperties(filer);
  filer.DefineProperty(
      "WideStrings", [this](TReader& reader) { ReadStringsData(reader); }, {}, false);
  filer.DefineProperty(
      "WideStringsW",
      [this](TReader& reader) {
        const bool take = Count() == 0;
        reader.ReadListBegin();
        WithinUpdate([&] {
          if (take) Clear();
          while (!reader.EndOfList()) {
            const AnsiString item = reader.ReadString();
            if (take) Add(Utf8ToWide(item));
          }
        });
        reader.ReadListEnd();
      },
      {}, false);
  filer.DefineProperty(
      "WideStrings_UTF7",
      [](TReader& reader) {
        reader.ReadListBegin();
        while (!reader.EndOfList()) reader.ReadString();
        reader.ReadListEnd();
      },
      {}, false);
}
