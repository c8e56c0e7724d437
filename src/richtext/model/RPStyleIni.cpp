#include "richtext/model/RPStyleIni.h"

#include <utility>
#include <vector>

#include "platform/base/Format.h"
#include "platform/base/TextUtils.h"
#include "platform/base/UpdateBracket.h"
#include "platform/graphics/ColorText.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPListInfo.h"
#include "richtext/model/RPParaInfo.h"
#include "richtext/model/RPStyleLimits.h"

namespace {

constexpr char errRPLongString[] = "Invalid long string value %s";
constexpr char errRPTabCount[] = "Too many tab stops in %s";
constexpr char errRPLevelCount[] = "Too many list levels in %s";

AnsiString LongStringPieceKey(const AnsiString& key, int32_t piece) { return key + "_" + IntToStr(piece); }

}  // namespace

// --- Helpers -----------------------------------------------------------------------------

AnsiString RPIniKey(const AnsiString& pattern, const AnsiString& word) { return Format(pattern, {word}); }

void IniWriteInteger(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, int32_t defaultValue,
                     int32_t value) {
  if (value != defaultValue)
    ini.WriteInteger(section, key, value);
  else
    ini.DeleteKey(section, key);
}

void IniWriteBool(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, bool defaultValue,
                  bool value) {
  if (value != defaultValue)
    ini.WriteString(section, key, value ? "Yes" : "No");
  else
    ini.DeleteKey(section, key);
}

bool IniReadBool(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, bool defaultValue) {
  return UpperCase(ini.ReadString(section, key, defaultValue ? "Yes" : "No")) == "YES";
}

int32_t IniReadOrdinal(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, int32_t defaultValue,
                       int32_t maxValue) {
  const int32_t value = ini.ReadInteger(section, key, defaultValue);
  return value >= 0 && value <= maxValue ? value : defaultValue;
}

void WriteLongString(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, const AnsiString& value) {
  int32_t piece = 0;
  for (size_t at = 0; at < value.size(); at += RPIniLongStringPieceChars, ++piece)
    ini.WriteString(section, LongStringPieceKey(key, piece), value.substr(at, RPIniLongStringPieceChars));
  // A longer value saved here before left pieces that reading would join.
  for (;; ++piece) {
    const AnsiString stale = LongStringPieceKey(key, piece);
    if (ini.ReadString(section, stale, AnsiString()).empty()) break;
    ini.DeleteKey(section, stale);
  }
}

AnsiString ReadLongString(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key) {
  AnsiString result;
  bool lastWasShort = false;
  for (int32_t piece = 0;; ++piece) {
    AnsiString text = ini.ReadString(section, LongStringPieceKey(key, piece), AnsiString());
    if (text.empty()) break;
    // Pieces are checked before they are joined: only what WriteLongString writes is
    // taken, so a damaged or hostile file cannot make the value grow without bound.
    if (lastWasShort || text.size() > RPIniLongStringPieceChars || piece >= RPStyleLimits().MaxLongStringPieces)
      throw ERichPaneError(Format(errRPLongString, {key}));
    lastWasShort = text.size() < RPIniLongStringPieceChars;
    result += text;
  }
  return result;
}

// --- Every style ---------------------------------------------------------------------------

void TCustomRPInfo::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  if (!HasInfoFields()) return;
  ini.WriteString(section, RPIniKey(pattern, "StyleName"), StyleName);
  IniWriteInteger(ini, section, RPIniKey(pattern, "BaseStyleNo"), -1, BaseStyleNo);
  IniWriteInteger(ini, section, RPIniKey(pattern, "Standard"), 1, Standard ? 1 : 0);
  IniWriteInteger(ini, section, RPIniKey(pattern, "StyleTemplateId"), -1, StyleTemplateId);
}

void TCustomRPInfo::ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                                const TRPIniDefaults&) {
  if (!HasInfoFields()) return;
  StyleName = ini.ReadString(section, RPIniKey(pattern, "StyleName"), DefaultStyleName());
  BaseStyleNo = ini.ReadInteger(section, RPIniKey(pattern, "BaseStyleNo"), -1);
  Standard = ini.ReadInteger(section, RPIniKey(pattern, "Standard"), 1) != 0;
  StyleTemplateId = ini.ReadInteger(section, RPIniKey(pattern, "StyleTemplateId"), -1);
}

void TCustomRPInfo::LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                                const TRPIniDefaults& defaults) {
  const std::unique_ptr<TCustomRPInfo> before = CloneDetached();
  try {
    ReadFromINI(ini, section, pattern, defaults);
  } catch (...) {
    RestoreFrom(*before);
    throw;
  }
}

// --- Text styles -----------------------------------------------------------------------------

namespace {

// The text style's flags with their keys, in writing order.
struct TFontFlag {
  const char* Key;
  bool (*Get)(const TCustomRPFontInfo& f);
  void (*Set)(TCustomRPFontInfo& f);
};

const TFontFlag FontFlags[] = {
    {"Bold", [](const TCustomRPFontInfo& f) { return f.Style.Contains(fsBold); },
     [](TCustomRPFontInfo& f) { f.Style = f.Style + TFontStyles{fsBold}; }},
    {"Underline", [](const TCustomRPFontInfo& f) { return f.Style.Contains(fsUnderline); },
     [](TCustomRPFontInfo& f) { f.Style = f.Style + TFontStyles{fsUnderline}; }},
    {"StrikeOut", [](const TCustomRPFontInfo& f) { return f.Style.Contains(fsStrikeOut); },
     [](TCustomRPFontInfo& f) { f.Style = f.Style + TFontStyles{fsStrikeOut}; }},
    {"Italic", [](const TCustomRPFontInfo& f) { return f.Style.Contains(fsItalic); },
     [](TCustomRPFontInfo& f) { f.Style = f.Style + TFontStyles{fsItalic}; }},
    {"Overline", [](const TCustomRPFontInfo& f) { return f.StyleEx.Contains(rpfsOverline); },
     [](TCustomRPFontInfo& f) { f.StyleEx.Include(rpfsOverline); }},
    {"Caps", [](const TCustomRPFontInfo& f) { return f.StyleEx.Contains(rpfsAllCaps); },
     [](TCustomRPFontInfo& f) { f.StyleEx.Include(rpfsAllCaps); }},
};

}  // namespace

void TCustomRPFontInfo::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  TCustomRPInfo::SaveToINI(ini, section, pattern);
  auto key = [&](const char* word) { return RPIniKey(pattern, word); };
  ini.WriteString(section, key("Name"), FontName);
  ini.WriteString(section, key("Jump"), Jump ? "Yes" : "No");
  IniWriteInteger(ini, section, key("Size"), 10, Size);
  IniWriteInteger(ini, section, key("Color"), clWindowText, Color);
  IniWriteInteger(ini, section, key("BackColor"), clNone, BackColor);
  IniWriteInteger(ini, section, key("HoverBackColor"), clNone, HoverBackColor);
  IniWriteInteger(ini, section, key("HoverColor"), clNone, HoverColor);
  IniWriteInteger(ini, section, key("JumpCursor"), crJump, JumpCursor);
  IniWriteInteger(ini, section, key("Charset"), DEFAULT_CHARSET, Charset);
  IniWriteInteger(ini, section, key("CharScale"), 100, CharScale);
  IniWriteInteger(ini, section, key("CharSpacing"), 0, CharSpacing);
  IniWriteInteger(ini, section, key("BiDiMode"), rpbdUnspecified, BiDiMode);
  for (const TFontFlag& flag : FontFlags) IniWriteBool(ini, section, key(flag.Key), false, flag.Get(*this));
  IniWriteInteger(ini, section, key("Protection"), 0, RPIniSetValue(Protection));
  IniWriteBool(ini, section, key("RTFCode"), false, Options.Contains(rpteoRTFCode));
  IniWriteBool(ini, section, key("HTMLCode"), false, Options.Contains(rpteoHTMLCode));
  IniWriteInteger(ini, section, key("VShift"), 0, VShift);
}

void TCustomRPFontInfo::ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                                    const TRPIniDefaults& defaults) {
  TCustomRPInfo::ReadFromINI(ini, section, pattern, defaults);
  auto key = [&](const char* word) { return RPIniKey(pattern, word); };
  auto integer = [&](const char* word, int32_t defaultValue) {
    return ini.ReadInteger(section, key(word), defaultValue);
  };
  FontName = ini.ReadString(section, key("Name"), "Arial");
  const AnsiString jump = ini.ReadString(section, key("Jump"), AnsiString());
  if (jump.empty()) {
    Jump = defaults.Jump;
    JumpCursor = defaults.JumpCursor;
  } else {
    Jump = UpperCase(jump) == "YES";
    JumpCursor = integer("JumpCursor", crJump);
  }
  Size = integer("Size", 10);
  Color = integer("Color", clWindowText);
  BackColor = integer("BackColor", clNone);
  HoverBackColor = integer("HoverBackColor", clNone);
  HoverColor = integer("HoverColor", clNone);
  Charset = static_cast<uint8_t>(IniReadOrdinal(ini, section, key("Charset"), DEFAULT_CHARSET, 255));
  CharScale = integer("CharScale", 100);
  CharSpacing = integer("CharSpacing", 0);
  BiDiMode = static_cast<TRPBiDiMode>(IniReadOrdinal(ini, section, key("BiDiMode"), rpbdUnspecified, rpbdRightToLeft));
  Style = {};
  StyleEx = {};
  Options = {};
  for (const TFontFlag& flag : FontFlags)
    if (IniReadBool(ini, section, key(flag.Key), false)) flag.Set(*this);
  Protection = RPIniSetFromValue<TRPProtectOptions>(integer("Protection", 0));
  if (IniReadBool(ini, section, key("SingleSymbols"), false)) {
    Protection.Include(rpprStyleProtect);
    Protection.Include(rpprDoNotAutoSwitch);
  }
  Options.Set(rpteoRTFCode, IniReadBool(ini, section, key("RTFCode"), false));
  Options.Set(rpteoHTMLCode, IniReadBool(ini, section, key("HTMLCode"), false));
  VShift = integer("VShift", 0);
}

void TFontInfo::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  TCustomRPFontInfo::SaveToINI(ini, section, pattern);
  IniWriteInteger(ini, section, RPIniKey(pattern, "NextStyleNo"), -1, NextStyleNo);
  IniWriteBool(ini, section, RPIniKey(pattern, "Unicode"), false, Unicode);
  IniWriteInteger(ini, section, RPIniKey(pattern, "ModifiedProperties"), 0, RPIniSetValue(ModifiedProperties));
}

void TFontInfo::ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                            const TRPIniDefaults& defaults) {
  TCustomRPFontInfo::ReadFromINI(ini, section, pattern, defaults);
  NextStyleNo = ini.ReadInteger(section, RPIniKey(pattern, "NextStyleNo"), -1);
  Unicode = IniReadBool(ini, section, RPIniKey(pattern, "Unicode"), false);
  ModifiedProperties =
      RPIniSetFromValue<TRPFontInfoProperties>(ini.ReadInteger(section, RPIniKey(pattern, "ModifiedProperties"), 0));
}

// --- Paragraph styles --------------------------------------------------------------------------

namespace {

// The four sides in writing order, as (key, member) pairs of both per-side classes.
template <typename TRect, typename TValue>
struct TSide {
  const char* Key;
  TValue TRect::*Member;
};

constexpr TSide<TRPRect, int32_t> RectSides[] = {
    {"Left", &TRPRect::Left}, {"Right", &TRPRect::Right}, {"Top", &TRPRect::Top}, {"Bottom", &TRPRect::Bottom}};
constexpr TSide<TRPBooleanRect, bool> BooleanSides[] = {{"Left", &TRPBooleanRect::Left},
                                                        {"Right", &TRPBooleanRect::Right},
                                                        {"Top", &TRPBooleanRect::Top},
                                                        {"Bottom", &TRPBooleanRect::Bottom}};

const std::pair<const char*, TRPParaOption> ParaFlags[] = {
    {"NoWrap", rppaoNoWrap},
    {"ReadOnly", rppaoReadOnly},
    {"StyleProtect", rppaoStyleProtect},
    {"DoNotWantReturns", rppaoDoNotWantReturns},
    {"KeepLinesTogether", rppaoKeepLinesTogether},
    {"KeepWithNext", rppaoKeepWithNext},
};

}  // namespace

void TRPRect::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  for (const auto& side : RectSides) IniWriteInteger(ini, section, RPIniKey(pattern, side.Key), 0, this->*side.Member);
}

void TRPRect::LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) {
  for (const auto& side : RectSides) this->*side.Member = ini.ReadInteger(section, RPIniKey(pattern, side.Key), 0);
}

void TRPBooleanRect::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  for (const auto& side : BooleanSides)
    IniWriteBool(ini, section, RPIniKey(pattern, side.Key), true, this->*side.Member);
}

void TRPBooleanRect::LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) {
  for (const auto& side : BooleanSides)
    this->*side.Member = IniReadBool(ini, section, RPIniKey(pattern, side.Key), true);
}

void TRPBorder::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  IniWriteInteger(ini, section, RPIniKey(pattern, "Width"), 1, Width);
  IniWriteInteger(ini, section, RPIniKey(pattern, "Style"), rpbNone, Style);
  IniWriteInteger(ini, section, RPIniKey(pattern, "Color"), clWindowText, Color);
  IniWriteInteger(ini, section, RPIniKey(pattern, "InternalWidth"), 1, InternalWidth);
  BorderOffsets.SaveToINI(ini, section, RPIniKey(pattern, "Offsets%s"));
  VisibleBorders.SaveToINI(ini, section, RPIniKey(pattern, "Visible%s"));
}

void TRPBorder::LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) {
  Width = ini.ReadInteger(section, RPIniKey(pattern, "Width"), 1);
  Style =
      static_cast<TRPBorderStyle>(IniReadOrdinal(ini, section, RPIniKey(pattern, "Style"), rpbNone, rpbThickOutside));
  Color = ini.ReadInteger(section, RPIniKey(pattern, "Color"), clWindowText);
  InternalWidth = ini.ReadInteger(section, RPIniKey(pattern, "InternalWidth"), 1);
  BorderOffsets.LoadFromINI(ini, section, RPIniKey(pattern, "Offsets%s"));
  VisibleBorders.LoadFromINI(ini, section, RPIniKey(pattern, "Visible%s"));
}

void TRPBackgroundRect::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  IniWriteInteger(ini, section, RPIniKey(pattern, "Color"), clNone, Color);
  BorderOffsets.SaveToINI(ini, section, RPIniKey(pattern, "Offsets%s"));
}

void TRPBackgroundRect::LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) {
  Color = ini.ReadInteger(section, RPIniKey(pattern, "Color"), clNone);
  BorderOffsets.LoadFromINI(ini, section, RPIniKey(pattern, "Offsets%s"));
}

void TRPTabInfos::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  const AnsiString countKey = RPIniKey(pattern, "TabCount");
  const int32_t before = ini.ReadInteger(section, countKey, 0);
  IniWriteInteger(ini, section, countKey, 0, Count());
  const AnsiString prefix = RPIniKey(pattern, AnsiString());
  for (int32_t i = 0; i < Count() || (i < before && i < RPStyleLimits().MaxTabs); ++i) {
    const AnsiString tabPattern = prefix + "Tab%s" + IntToStr(i);
    // The tabs of an older save past this count are removed with the defaults.
    const TRPTabInfo* tab = i < Count() ? Tab(i) : nullptr;
    IniWriteInteger(ini, section, RPIniKey(tabPattern, "Pos"), 0, tab ? tab->Position() : 0);
    IniWriteInteger(ini, section, RPIniKey(tabPattern, "Align"), rptaLeft, tab ? tab->Align : rptaLeft);
    if (tab && !tab->Leader.empty())
      ini.WriteString(section, RPIniKey(tabPattern, "Leader"), tab->Leader);
    else
      ini.DeleteKey(section, RPIniKey(tabPattern, "Leader"));
  }
}

void TRPTabInfos::LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) {
  const int32_t count = ini.ReadInteger(section, RPIniKey(pattern, "TabCount"), 0);
  if (count > RPStyleLimits().MaxTabs) throw ERichPaneError(Format(errRPTabCount, {section}));
  const AnsiString prefix = RPIniKey(pattern, AnsiString());
  WithinUpdate(*this, [&] {
    Clear();
    for (int32_t i = 0; i < count; ++i) {
      const AnsiString tabPattern = prefix + "Tab%s" + IntToStr(i);
      AddTab(
          ini.ReadInteger(section, RPIniKey(tabPattern, "Pos"), 0),
          static_cast<TRPTabAlign>(IniReadOrdinal(ini, section, RPIniKey(tabPattern, "Align"), rptaLeft, rptaCenter)),
          ini.ReadString(section, RPIniKey(tabPattern, "Leader"), AnsiString()));
    }
  });
}

void TCustomRPParaInfo::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  TCustomRPInfo::SaveToINI(ini, section, pattern);
  auto key = [&](const char* word) { return RPIniKey(pattern, word); };
  IniWriteInteger(ini, section, key("SpaceBefore"), 0, SpaceBefore);
  IniWriteInteger(ini, section, key("SpaceAfter"), 0, SpaceAfter);
  IniWriteInteger(ini, section, key("LeftIndent"), 0, LeftIndent);
  IniWriteInteger(ini, section, key("RightIndent"), 0, RightIndent);
  IniWriteInteger(ini, section, key("FirstIndent"), 0, FirstIndent);
  IniWriteInteger(ini, section, key("LineSpacing"), 100, LineSpacing);
  IniWriteInteger(ini, section, key("LSType"), rplsPercent, LineSpacingType);
  IniWriteInteger(ini, section, key("Alignment"), rpaLeft, Alignment);
  IniWriteInteger(ini, section, key("BiDiMode"), rpbdUnspecified, BiDiMode);
  for (const auto& [word, option] : ParaFlags) IniWriteBool(ini, section, key(word), false, Options.Contains(option));
  Border.SaveToINI(ini, section, key("Border%s"));
  Background.SaveToINI(ini, section, key("Background%s"));
  Tabs.SaveToINI(ini, section, key("Tab%s"));
}

void TCustomRPParaInfo::ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                                    const TRPIniDefaults& defaults) {
  TCustomRPInfo::ReadFromINI(ini, section, pattern, defaults);
  auto key = [&](const char* word) { return RPIniKey(pattern, word); };
  auto integer = [&](const char* word, int32_t defaultValue) {
    return ini.ReadInteger(section, key(word), defaultValue);
  };
  SpaceBefore = integer("SpaceBefore", 0);
  SpaceAfter = integer("SpaceAfter", 0);
  LeftIndent = integer("LeftIndent", 0);
  RightIndent = integer("RightIndent", 0);
  FirstIndent = integer("FirstIndent", 0);
  LineSpacing = integer("LineSpacing", 100);
  LineSpacingType =
      static_cast<TRPLineSpacingType>(IniReadOrdinal(ini, section, key("LSType"), rplsPercent, rplsSpaceBetween));
  Alignment = static_cast<TRPAlignment>(IniReadOrdinal(ini, section, key("Alignment"), rpaLeft, rpaJustify));
  BiDiMode = static_cast<TRPBiDiMode>(IniReadOrdinal(ini, section, key("BiDiMode"), rpbdUnspecified, rpbdRightToLeft));
  Options = {};
  for (const auto& [word, option] : ParaFlags)
    if (IniReadBool(ini, section, key(word), false)) Options.Include(option);
  Border.LoadFromINI(ini, section, key("Border%s"));
  Background.LoadFromINI(ini, section, key("Background%s"));
  Tabs.LoadFromINI(ini, section, key("Tab%s"));
}

void TParaInfo::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  TCustomRPParaInfo::SaveToINI(ini, section, pattern);
  IniWriteInteger(ini, section, RPIniKey(pattern, "NextParaNo"), -1, NextParaNo);
  IniWriteInteger(ini, section, RPIniKey(pattern, "DefStyleNo"), -1, DefStyleNo);
  IniWriteInteger(ini, section, RPIniKey(pattern, "ModifiedProperties1"), 0, RPIniSetValue(ModifiedProperties1));
  IniWriteInteger(ini, section, RPIniKey(pattern, "ModifiedProperties2"), 0, RPIniSetValue(ModifiedProperties2));
}

void TParaInfo::ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                            const TRPIniDefaults& defaults) {
  TCustomRPParaInfo::ReadFromINI(ini, section, pattern, defaults);
  NextParaNo = ini.ReadInteger(section, RPIniKey(pattern, "NextParaNo"), -1);
  DefStyleNo = ini.ReadInteger(section, RPIniKey(pattern, "DefStyleNo"), -1);
  ModifiedProperties1 =
      RPIniSetFromValue<TRPParaInfoProperties1>(ini.ReadInteger(section, RPIniKey(pattern, "ModifiedProperties1"), 0));
  ModifiedProperties2 =
      RPIniSetFromValue<TRPParaInfoProperties2>(ini.ReadInteger(section, RPIniKey(pattern, "ModifiedProperties2"), 0));
}

// --- List styles -----------------------------------------------------------------------------

namespace {

// A marker font as one string: name, height, style letters (B, I, U, S), pitch (the
// fonts here have none: 0), colour as ColorToString writes it, charset.
AnsiString MarkerFontText(const TRPMarkerFont& font) {
  AnsiString letters;
  const std::pair<TFontStyle, char> styles[] = {{fsBold, 'B'}, {fsItalic, 'I'}, {fsUnderline, 'U'}, {fsStrikeOut, 'S'}};
  for (const auto& [style, letter] : styles)
    if (font.Style().Contains(style)) letters += letter;
  return Format("%s,%d,%s,%d,%s,%d", {font.Name(), font.Height(), letters, 0, ColorToString(font.Color()),
                                      static_cast<int32_t>(font.Charset())});
}

// Fields that are missing or do not read leave the font's values. A name holding commas
// is kept whole: the fields past the sixth belong to it.
void ReadMarkerFont(TRPMarkerFont& font, const AnsiString& text) {
  std::vector<AnsiString> fields;
  for (size_t start = 0;;) {
    const size_t comma = text.find(',', start);
    fields.push_back(text.substr(start, comma == AnsiString::npos ? AnsiString::npos : comma - start));
    if (comma == AnsiString::npos) break;
    start = comma + 1;
  }
  while (fields.size() > 6) {
    fields[0] += "," + fields[1];
    fields.erase(fields.begin() + 1);
  }
  font.SetName(fields[0]);
  int32_t number;
  if (fields.size() > 1 && TryStrToInt(fields[1], number)) font.SetHeight(number);
  if (fields.size() > 2) {
    TFontStyles style;
    const AnsiString letters = UpperCase(fields[2]);
    const std::pair<char, TFontStyle> styles[] = {
        {'B', fsBold}, {'I', fsItalic}, {'U', fsUnderline}, {'S', fsStrikeOut}};
    for (const auto& [letter, fontStyle] : styles)
      if (letters.find(letter) != AnsiString::npos) style = style + TFontStyles{fontStyle};
    font.SetStyle(style);
  }
  if (fields.size() > 4) {
    try {
      font.SetColor(StringToColor(fields[4]));
    } catch (const EConvertError&) {
    }
  }
  if (fields.size() > 5 && TryStrToInt(fields[5], number) && number >= 0 && number <= 255)
    font.SetCharset(static_cast<uint8_t>(number));
}

AnsiString WideToLittleEndianHex(const WideString& text) {
  AnsiString bytes;
  for (const WideChar c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return RPFStrToHex(bytes);
}

WideString WideFromLittleEndianHex(const AnsiString& hex) {
  const AnsiString bytes = RPFHexToStr(hex);
  WideString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<WideChar>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
  return text;
}

// The graphic of a registered class loaded from hexadecimal bytes; none when the class
// is unknown or the bytes do not load.
std::unique_ptr<TGraphic> LoadLevelPicture(const AnsiString& className, const AnsiString& hex) {
  const TGraphicClass graphicClass = className.empty() ? nullptr : FindGraphicClass(className);
  if (!graphicClass) return nullptr;
  try {
    std::unique_ptr<TGraphic> graphic = RPCreateGraphic(graphicClass);
    if (graphic && RPFLoadPictureFromHex(hex, *graphic) && !graphic->Empty()) return graphic;
  } catch (const Exception&) {
  }
  return nullptr;
}

AnsiString LevelPattern(const AnsiString& pattern, int32_t index) {
  return RPIniKey(pattern, AnsiString()) + "Lvl%s" + IntToStr(index);
}

}  // namespace

void TRPListLevel::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  auto key = [&](const char* word) { return RPIniKey(pattern, word); };
  IniWriteInteger(ini, section, key("ListType"), rplstBullet, ListType);
  IniWriteInteger(ini, section, key("StartFrom"), 1, StartFrom);
  IniWriteInteger(ini, section, key("ImageIndex"), 0, ImageIndex);
  ini.WriteString(section, key("FormatString"), FormatString);
  IniWriteInteger(ini, section, key("LeftIndent"), 0, LeftIndent);
  IniWriteInteger(ini, section, key("FirstIndent"), 10, FirstIndent);
  IniWriteInteger(ini, section, key("MarkerIndent"), 0, MarkerIndent);
  IniWriteInteger(ini, section, key("MarkerAlignment"), rpmaLeft, MarkerAlignment);
  if (HasPicture()) {
    ini.WriteString(section, key("GraphicClass"), GetPicture()->ClassName());
    WriteLongString(ini, section, key("Picture"), RPFSavePictureToHex(*GetPicture()));
  } else {
    ini.DeleteKey(section, key("GraphicClass"));
    WriteLongString(ini, section, key("Picture"), AnsiString());
  }
  if (const TRPMarkerFont* font = FindFont())
    ini.WriteString(section, key("Font"), MarkerFontText(*font));
  else
    ini.DeleteKey(section, key("Font"));
  IniWriteBool(ini, section, key("Continuous"), true, Options.Contains(rploContinuous));
  IniWriteBool(ini, section, key("LevelReset"), true, Options.Contains(rploLevelReset));
  IniWriteBool(ini, section, key("LegalStyleNumbering"), false, Options.Contains(rploLegalStyleNumbering));
  if (!FormatStringW.empty())
    ini.WriteString(section, key("FormatStringW"), WideToLittleEndianHex(FormatStringW));
  else
    ini.DeleteKey(section, key("FormatStringW"));
}

void TRPListLevel::LoadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) {
  auto key = [&](const char* word) { return RPIniKey(pattern, word); };
  ListType = static_cast<TRPListType>(IniReadOrdinal(ini, section, key("ListType"), rplstBullet, rplstUnicodeBullet));
  StartFrom = ini.ReadInteger(section, key("StartFrom"), 1);
  ImageIndex = ini.ReadInteger(section, key("ImageIndex"), 0);
  FormatString = ini.ReadString(section, key("FormatString"), "\xB7");
  LeftIndent = ini.ReadInteger(section, key("LeftIndent"), 0);
  FirstIndent = ini.ReadInteger(section, key("FirstIndent"), 10);
  MarkerIndent = ini.ReadInteger(section, key("MarkerIndent"), 0);
  MarkerAlignment =
      static_cast<TRPMarkerAlignment>(IniReadOrdinal(ini, section, key("MarkerAlignment"), rpmaLeft, rpmaCenter));
  // The long string is read (and checked) whatever its class is.
  const AnsiString pictureHex = ReadLongString(ini, section, key("Picture"));
  const std::unique_ptr<TGraphic> picture =
      LoadLevelPicture(ini.ReadString(section, key("GraphicClass"), AnsiString()), pictureHex);
  SetPicture(picture.get());
  const AnsiString font = ini.ReadString(section, key("Font"), AnsiString());
  SetFont(nullptr);  // the fields missing from the text take the defaults
  if (!font.empty()) ReadMarkerFont(GetFont(), font);
  Options = {};
  Options.Set(rploContinuous, IniReadBool(ini, section, key("Continuous"), true));
  Options.Set(rploLevelReset, IniReadBool(ini, section, key("LevelReset"), true));
  Options.Set(rploLegalStyleNumbering, IniReadBool(ini, section, key("LegalStyleNumbering"), false));
  FormatStringW = WideFromLittleEndianHex(ini.ReadString(section, key("FormatStringW"), AnsiString()));
}

void TRPListInfo::SaveToINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern) const {
  TCustomRPInfo::SaveToINI(ini, section, pattern);
  ini.WriteInteger(section, RPIniKey(pattern, "ListID"), GetListID());
  const AnsiString countKey = RPIniKey(pattern, "LevelsCount");
  const int32_t before = ini.ReadInteger(section, countKey, 0);
  IniWriteInteger(ini, section, countKey, 0, Levels().Count());
  IniWriteBool(ini, section, "OneLevelPreview", false, OneLevelPreview);
  for (int32_t i = 0; i < Levels().Count(); ++i) Levels()[i]->SaveToINI(ini, section, LevelPattern(pattern, i));
  // The keys of the levels of an older save past this count are removed: a default
  // level writes no key but its format string, which is removed with it.
  if (before > Levels().Count()) {
    TRPListLevelCollection stale(nullptr);
    TRPListLevel& level = *stale.Add();
    for (int32_t i = Levels().Count(); i < before && i < RPStyleLimits().MaxListLevels; ++i) {
      level.SaveToINI(ini, section, LevelPattern(pattern, i));
      ini.DeleteKey(section, RPIniKey(LevelPattern(pattern, i), "FormatString"));
    }
  }
}

void TRPListInfo::ReadFromINI(TCustomIniFile& ini, const AnsiString& section, const AnsiString& pattern,
                              const TRPIniDefaults& defaults) {
  TCustomRPInfo::ReadFromINI(ini, section, pattern, defaults);
  const int32_t count = ini.ReadInteger(section, RPIniKey(pattern, "LevelsCount"), 0);
  if (count > RPStyleLimits().MaxListLevels) throw ERichPaneError(Format(errRPLevelCount, {section}));
  SetListID(ini.ReadInteger(section, RPIniKey(pattern, "ListID"), 0));
  OneLevelPreview = IniReadBool(ini, section, "OneLevelPreview", false);
  WithinUpdate(Levels(), [&] {
    Levels().Clear();
    for (int32_t i = 0; i < count; ++i) Levels().Add()->LoadFromINI(ini, section, LevelPattern(pattern, i));
  });
}
