// The whole style sheet in a settings file (TRPStyle::SaveToINI, LoadFromINI) and the
// style templates' keys.
#include <iterator>

#include "platform/base/Format.h"
#include "platform/base/IniFiles.h"
#include "platform/base/TextUtils.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPStyleIni.h"
#include "richtext/model/RPStyleLimits.h"

namespace {

constexpr char errRPStyleCount[] = "Too many styles in %s";

// The sheet's own numbers and flags with their keys and defaults.
struct TSheetValue {
  const char* Key;
  int32_t Default;
  int32_t (*Get)(const TRPStyle& s);
  void (*Set)(TRPStyle& s, int32_t v);
  bool Flag;    // written as "Yes" / "No"
  int32_t Max;  // the largest ordinal of an enumeration (a value past it reads as the default); -1: any number
};

#define QF_SHEET_VALUE(field, def, flag, max)                                                                \
  TSheetValue {                                                                                              \
#field, static_cast<int32_t>(def), [](const TRPStyle& s) { return static_cast<int32_t>(s.field); },        \
        [](TRPStyle& s, int32_t v) { s.field = static_cast<decltype(TRPStyle::field)>(flag ? v != 0 : v); }, \
        flag, max \
  }
#define QF_SHEET_INT(field, def) QF_SHEET_VALUE(field, def, false, -1)
#define QF_SHEET_FLAG(field, def) QF_SHEET_VALUE(field, def, true, -1)
#define QF_SHEET_ENUM(field, def, max) QF_SHEET_VALUE(field, def, false, max)

const TSheetValue SheetValues[] = {
    QF_SHEET_INT(SpacesInTab, 0),
    QF_SHEET_INT(DefTabWidth, 48),
    QF_SHEET_INT(JumpCursor, crJump),
    QF_SHEET_INT(LineSelectCursor, crLineSelect),
    QF_SHEET_FLAG(FullRedraw, false),
    QF_SHEET_FLAG(UseSound, true),
    QF_SHEET_INT(Color, clWindow),
    QF_SHEET_INT(HoverColor, clNone),
    QF_SHEET_INT(CurrentItemColor, clNone),
    QF_SHEET_INT(SelColor, clHighlight),
    QF_SHEET_INT(SelTextColor, clHighlightText),
    QF_SHEET_INT(InactiveSelColor, clHighlight),
    QF_SHEET_INT(InactiveSelTextColor, clHighlightText),
    QF_SHEET_INT(CheckpointColor, clGreen),
    QF_SHEET_INT(CheckpointEvColor, clLime),
    QF_SHEET_INT(PageBreakColor, clBtnShadow),
    QF_SHEET_INT(SoftPageBreakColor, clBtnFace),
    QF_SHEET_INT(LiveSpellingColor, clRed),
    QF_SHEET_ENUM(SelectionMode, rpsmWord, rpsmParagraph),
    QF_SHEET_ENUM(SelectionStyle, rpssItems, rpssLines),
    QF_SHEET_INT(DefUnicodeStyle, -1),
    QF_SHEET_INT(DefCodePage, 0),
};

#undef QF_SHEET_VALUE
#undef QF_SHEET_INT
#undef QF_SHEET_FLAG
#undef QF_SHEET_ENUM

// The kinds of sections below the sheet's own, with their count keys.
struct TStyleKind {
  const char* CountKey;
  const char* Suffix;
};
constexpr TStyleKind TextKind{"TextStyleCount", ".Text"};
constexpr TStyleKind ParaKind{"ParaStyleCount", ".Para"};
constexpr TStyleKind ListKind{"ListStyleCount", ".List"};
constexpr TStyleKind TemplateKind{"StyleTemplateCount", ".Template"};

AnsiString StyleSection(const AnsiString& section, const TStyleKind& kind, int32_t index) {
  return section + kind.Suffix + IntToStr(index);
}

// Writes the count, erases and fills each style's section, and erases the sections left
// from a larger count saved before.
template <typename TSave>
void SaveKind(TCustomIniFile& ini, const AnsiString& section, const TStyleKind& kind, int32_t count, TSave save) {
  const int32_t before = ini.ReadInteger(section, kind.CountKey, 0);
  IniWriteInteger(ini, section, kind.CountKey, 0, count);
  for (int32_t i = 0; i < count; ++i) {
    const AnsiString styleSection = StyleSection(section, kind, i);
    ini.EraseSection(styleSection);
    save(styleSection, i);
  }
  for (int32_t i = count; i < before && i < RPStyleLimits().MaxStyles; ++i)
    ini.EraseSection(StyleSection(section, kind, i));
}

// The styles of a kind the file holds: its count, cut before the first style whose
// section holds no key (every saved style writes its name), so that a count with nothing
// behind it costs nothing.
int32_t ReadCount(TCustomIniFile& ini, const AnsiString& section, const TStyleKind& kind) {
  const int32_t count = ini.ReadInteger(section, kind.CountKey, 0);
  if (count > RPStyleLimits().MaxStyles) throw ERichPaneError(Format(errRPStyleCount, {section}));
  int32_t held = 0;
  while (held < count && ini.SectionExists(StyleSection(section, kind, held))) ++held;
  return held;
}

// A template: "Name", "Id", "ParentId", the valid sets, then its text style under
// "Text%s", its paragraph style under "Para%s" and its list style under "List%s".
void SaveTemplate(TCustomIniFile& ini, const AnsiString& section, TRPStyleTemplate& t) {
  ini.WriteString(section, "Name", t.Name());
  ini.WriteInteger(section, "Id", t.GetId());
  IniWriteInteger(ini, section, "ParentId", -1, t.ParentId());
  IniWriteInteger(ini, section, "ValidTextProperties", 0, RPIniSetValue(t.ValidTextProperties));
  IniWriteInteger(ini, section, "ValidParaProperties1", 0, RPIniSetValue(t.ValidParaProperties1));
  IniWriteInteger(ini, section, "ValidParaProperties2", 0, RPIniSetValue(t.ValidParaProperties2));
  t.TextStyle().SaveToINI(ini, section, "Text%s");
  t.ParaStyle().SaveToINI(ini, section, "Para%s");
  t.ListStyle().SaveToINI(ini, section, "List%s");
}

void LoadTemplate(TCustomIniFile& ini, const AnsiString& section, TRPStyleTemplate& t) {
  t.SetName(ini.ReadString(section, "Name", t.Name()));
  t.SetId(ini.ReadInteger(section, "Id", 0));
  t.SetParentId(ini.ReadInteger(section, "ParentId", -1));
  t.ValidTextProperties = RPIniSetFromValue<TRPFontInfoProperties>(ini.ReadInteger(section, "ValidTextProperties", 0));
  t.ValidParaProperties1 =
      RPIniSetFromValue<TRPParaInfoProperties1>(ini.ReadInteger(section, "ValidParaProperties1", 0));
  t.ValidParaProperties2 =
      RPIniSetFromValue<TRPParaInfoProperties2>(ini.ReadInteger(section, "ValidParaProperties2", 0));
  t.TextStyle().LoadFromINI(ini, section, "Text%s");
  t.ParaStyle().LoadFromINI(ini, section, "Para%s");
  t.ListStyle().LoadFromINI(ini, section, "List%s");
}

}  // namespace

void TRPStyle::SaveToINI(TCustomIniFile& ini, const AnsiString& section) const {
  for (const TSheetValue& v : SheetValues) {
    if (v.Flag)
      IniWriteBool(ini, section, v.Key, v.Default != 0, v.Get(*this) != 0);
    else
      IniWriteInteger(ini, section, v.Key, v.Default, v.Get(*this));
  }
  if (StyleTemplates().DefStyleName != DefaultStyleNameFormat)
    ini.WriteString(section, "DefStyleName", StyleTemplates().DefStyleName);
  else
    ini.DeleteKey(section, "DefStyleName");
  SaveKind(ini, section, TextKind, TextStyles().Count(),
           [&](const AnsiString& s, int32_t i) { TextStyles()[i]->SaveToINI(ini, s, "%s"); });
  SaveKind(ini, section, ParaKind, ParaStyles().Count(),
           [&](const AnsiString& s, int32_t i) { ParaStyles()[i]->SaveToINI(ini, s, "%s"); });
  SaveKind(ini, section, ListKind, ListStyles().Count(),
           [&](const AnsiString& s, int32_t i) { ListStyles()[i]->SaveToINI(ini, s, "%s"); });
  // Saving draws the ids of templates that have none yet.
  TRPStyleTemplateCollection& templates = const_cast<TRPStyleTemplateCollection&>(StyleTemplates());
  SaveKind(ini, section, TemplateKind, templates.Count(),
           [&](const AnsiString& s, int32_t i) { SaveTemplate(ini, s, *templates.Template(i)); });
}

void TRPStyle::LoadFromINI(TCustomIniFile& ini, const AnsiString& section) {
  // A file read through the profile calls would be read again for every key: it is
  // read once into memory instead.
  if (auto* file = dynamic_cast<TIniFile*>(&ini)) {
    TMemIniFile memory(file->FileName());
    LoadFromINI(memory, section);
    return;
  }
  // Everything is read into new collections first; the sheet changes only once all of
  // it has been read.
  TFontInfos text(this, FTextStyleClass);
  for (int32_t i = 0, n = ReadCount(ini, section, TextKind); i < n; ++i)
    text.Add()->LoadFromINI(ini, StyleSection(section, TextKind, i), "%s");
  TParaInfos paras(this, FParaStyleClass);
  for (int32_t i = 0, n = ReadCount(ini, section, ParaKind); i < n; ++i)
    paras.Add()->LoadFromINI(ini, StyleSection(section, ParaKind, i), "%s");
  TRPListInfos lists(this, FListStyleClass);
  for (int32_t i = 0, n = ReadCount(ini, section, ListKind); i < n; ++i)
    lists.Add()->LoadFromINI(ini, StyleSection(section, ListKind, i), "%s");
  // A collection of no sheet resolves no parents: ids and parent ids are kept as read.
  TRPStyleTemplateCollection templates(nullptr);
  for (int32_t i = 0, n = ReadCount(ini, section, TemplateKind); i < n; ++i)
    LoadTemplate(ini, StyleSection(section, TemplateKind, i), *templates.Add());
  int32_t values[std::size(SheetValues)];
  for (size_t i = 0; i < std::size(SheetValues); ++i) {
    const TSheetValue& v = SheetValues[i];
    values[i] = v.Flag ? IniReadBool(ini, section, v.Key, v.Default != 0) : ini.ReadInteger(section, v.Key, v.Default);
    if (v.Max >= 0 && (values[i] < 0 || values[i] > v.Max)) values[i] = v.Default;
  }
  const AnsiString defStyleName = ini.ReadString(section, "DefStyleName", DefaultStyleNameFormat);

  TextStyles().Assign(text);
  ParaStyles().Assign(paras);
  // Copies keep the identifiers of the lists read.
  ListStyles().Clear();
  for (int32_t i = 0; i < lists.Count(); ++i) ListStyles().Add()->AssignMerged(*lists[i]);
  for (size_t i = 0; i < std::size(SheetValues); ++i) SheetValues[i].Set(*this, values[i]);
  StyleTemplates().DefStyleName = defStyleName;
  // Parents link again by their ids here; a loop that the file holds is cut.
  StyleTemplates().AssignStyleTemplates(templates, true);
}
