// What the style storage tests share: an ini file in memory that keeps its keys in the
// order they were written (and can be told to fail), styles with every field away from
// its default, and field-by-field comparisons of styles, templates and style sheets.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/base/IniFiles.h"
#include "platform/base/TextUtils.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"

// Runs call and expects ERichPaneError with exactly that message.
template <typename TCall>
void ExpectRichPaneError(TCall call, const std::string& message) {
  try {
    call();
    ADD_FAILURE() << "no ERichPaneError";
  } catch (const ERichPaneError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

// Sections and keys match ignoring ASCII case, as in every ini file.
class TMapIniFile : public TCustomIniFile {
public:
  TMapIniFile() : TCustomIniFile("memory.ini") {}

  // Reading this key (any section) raises EIniFileException.
  std::string FailOnKey;

  AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) override {
    if (!FailOnKey.empty() && SameText(ident, FailOnKey)) throw EIniFileException("cannot read " + ident);
    const auto* keys = Find(section);
    if (!keys) return defaultValue;
    for (const auto& [key, value] : *keys)
      if (SameText(key, ident)) return value;
    return defaultValue;
  }
  void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override {
    auto& keys = FSections[UpperCase(section)];
    for (auto& [key, old] : keys)
      if (SameText(key, ident)) {
        old = value;
        return;
      }
    keys.emplace_back(ident, value);
  }
  bool SectionExists(const AnsiString& section) override {
    const auto* keys = Find(section);
    return keys && !keys->empty();
  }
  void EraseSection(const AnsiString& section) override { FSections.erase(UpperCase(section)); }
  void DeleteKey(const AnsiString& section, const AnsiString& ident) override {
    auto it = FSections.find(UpperCase(section));
    if (it == FSections.end()) return;
    std::erase_if(it->second, [&](const auto& kv) { return SameText(kv.first, ident); });
  }
  void UpdateFile() override {}

  // The section's keys and values in writing order.
  std::vector<std::pair<std::string, std::string>> Section(const AnsiString& section) const {
    const auto* keys = Find(section);
    return keys ? *keys : std::vector<std::pair<std::string, std::string>>{};
  }
  // The whole file as an ini file's text, sections in name order.
  std::string Text() const {
    std::string text;
    for (const auto& [name, keys] : FSections) {
      text += "[" + name + "]\r\n";
      for (const auto& [key, value] : keys) text += key + "=" + value + "\r\n";
    }
    return text;
  }
  std::vector<std::string> Keys(const AnsiString& section) const {
    std::vector<std::string> names;
    for (const auto& kv : Section(section)) names.push_back(kv.first);
    return names;
  }

private:
  const std::vector<std::pair<std::string, std::string>>* Find(const AnsiString& section) const {
    auto it = FSections.find(UpperCase(section));
    return it == FSections.end() ? nullptr : &it->second;
  }

  std::map<std::string, std::vector<std::pair<std::string, std::string>>> FSections;
};

// Every field of a text style away from its default (n varies the values).
inline void FillTextStyle(TCustomRPFontInfo& f, int32_t n) {
  f.Charset = static_cast<uint8_t>(204);
  f.FontName = "Times New Roman";
  f.Size = 12 + n;
  f.Style = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
  f.VShift = -30;
  f.Color = 0x123456 + n;
  f.BackColor = clYellow;
  f.HoverBackColor = clAqua;
  f.HoverColor = clFuchsia;
  f.StyleEx = {rpfsOverline, rpfsAllCaps};
  f.Jump = true;
  f.JumpCursor = 250 + n;
  f.CharScale = 80;
  f.CharSpacing = 3;
  f.BiDiMode = rpbdRightToLeft;
  f.Protection = {rpprStyleProtect, rpprDeleteProtect, rpprSticking, rpprStickToBottom};
  f.Options = {rpteoHTMLCode, rpteoRTFCode};
}

inline void FillTextStyle(TFontInfo& f, int32_t n) {
  FillTextStyle(static_cast<TCustomRPFontInfo&>(f), n);
  f.StyleName = "Style " + std::to_string(n);
  f.BaseStyleNo = n % 3;
  f.Standard = false;
  f.StyleTemplateId = 1000 + n;
  f.NextStyleNo = n + 1;
  f.Unicode = true;
  f.ModifiedProperties = {rpfiSize, rpfiColor, rpfiCustom};
}

inline void FillParaStyle(TCustomRPParaInfo& p, int32_t n) {
  p.FirstIndent = -12 + n;
  p.LeftIndent = 24;
  p.RightIndent = 6;
  p.SpaceBefore = 4;
  p.SpaceAfter = 8;
  p.Alignment = rpaJustify;
  p.Border.Width = 2;
  p.Border.InternalWidth = 3;
  p.Border.Color = clNavy;
  p.Border.Style = rpbThickInside;
  p.Border.VisibleBorders.SetValues(false, true, false, true);
  p.Border.BorderOffsets = TRPRect{};
  p.Border.BorderOffsets.Left = 1;
  p.Border.BorderOffsets.Top = 2;
  p.Border.BorderOffsets.Right = 3;
  p.Border.BorderOffsets.Bottom = 4;
  p.Background.Color = clSilver;
  p.Background.BorderOffsets.SetAll(5);
  p.Background.BorderOffsets.Bottom = 7;
  p.LineSpacing = 150;
  p.LineSpacingType = rplsSpaceBetween;
  p.Options = TRPParaOptions::All();
  p.BiDiMode = rpbdLeftToRight;
  p.Tabs.Clear();
  p.Tabs.AddTab(100 + n, rptaRight, "-.");
  p.Tabs.AddTab(40, rptaCenter);
}

inline void FillParaStyle(TParaInfo& p, int32_t n) {
  FillParaStyle(static_cast<TCustomRPParaInfo&>(p), n);
  p.StyleName = "Para " + std::to_string(n);
  p.BaseStyleNo = 0;
  p.Standard = false;
  p.StyleTemplateId = 2000 + n;
  p.NextParaNo = 1;
  p.DefStyleNo = 2;
  p.ModifiedProperties1 = {rppiLeftIndent, rppiBorder_Vis_Bottom};
  p.ModifiedProperties2 = {rppiNoWrap, rppiCustom};
}

inline void ExpectSameTextStyle(const TCustomRPFontInfo& a, const TCustomRPFontInfo& b) {
  EXPECT_EQ(a.StyleName, b.StyleName);
  EXPECT_EQ(a.BaseStyleNo, b.BaseStyleNo);
  EXPECT_EQ(a.Standard, b.Standard);
  EXPECT_EQ(a.StyleTemplateId, b.StyleTemplateId);
  EXPECT_EQ(a.Charset, b.Charset);
  EXPECT_EQ(a.FontName, b.FontName);
  EXPECT_EQ(a.Size, b.Size);
  EXPECT_EQ(a.Style, b.Style);
  EXPECT_EQ(a.VShift, b.VShift);
  EXPECT_EQ(a.Color, b.Color);
  EXPECT_EQ(a.BackColor, b.BackColor);
  EXPECT_EQ(a.HoverBackColor, b.HoverBackColor);
  EXPECT_EQ(a.HoverColor, b.HoverColor);
  EXPECT_EQ(a.StyleEx, b.StyleEx);
  EXPECT_EQ(a.Jump, b.Jump);
  EXPECT_EQ(a.JumpCursor, b.JumpCursor);
  EXPECT_EQ(a.CharScale, b.CharScale);
  EXPECT_EQ(a.CharSpacing, b.CharSpacing);
  EXPECT_EQ(a.BiDiMode, b.BiDiMode);
  EXPECT_EQ(a.Protection, b.Protection);
  EXPECT_EQ(a.Options, b.Options);
  const auto *fa = dynamic_cast<const TFontInfo*>(&a), *fb = dynamic_cast<const TFontInfo*>(&b);
  ASSERT_EQ(fa == nullptr, fb == nullptr);
  if (!fa) return;
  EXPECT_EQ(fa->NextStyleNo, fb->NextStyleNo);
  EXPECT_EQ(fa->Unicode, fb->Unicode);
  EXPECT_EQ(fa->ModifiedProperties, fb->ModifiedProperties);
}

inline void ExpectSameParaStyle(const TCustomRPParaInfo& a, const TCustomRPParaInfo& b) {
  EXPECT_EQ(a.StyleName, b.StyleName);
  EXPECT_EQ(a.BaseStyleNo, b.BaseStyleNo);
  EXPECT_EQ(a.Standard, b.Standard);
  EXPECT_EQ(a.StyleTemplateId, b.StyleTemplateId);
  EXPECT_EQ(a.FirstIndent, b.FirstIndent);
  EXPECT_EQ(a.LeftIndent, b.LeftIndent);
  EXPECT_EQ(a.RightIndent, b.RightIndent);
  EXPECT_EQ(a.SpaceBefore, b.SpaceBefore);
  EXPECT_EQ(a.SpaceAfter, b.SpaceAfter);
  EXPECT_EQ(a.Alignment, b.Alignment);
  EXPECT_TRUE(a.Border == b.Border);
  EXPECT_EQ(a.Background.Color, b.Background.Color);
  EXPECT_TRUE(a.Background.BorderOffsets.IsEqual(b.Background.BorderOffsets));
  EXPECT_EQ(a.LineSpacing, b.LineSpacing);
  EXPECT_EQ(a.LineSpacingType, b.LineSpacingType);
  EXPECT_EQ(a.Options, b.Options);
  EXPECT_EQ(a.BiDiMode, b.BiDiMode);
  EXPECT_TRUE(a.Tabs == b.Tabs);
  const auto *pa = dynamic_cast<const TParaInfo*>(&a), *pb = dynamic_cast<const TParaInfo*>(&b);
  ASSERT_EQ(pa == nullptr, pb == nullptr);
  if (!pa) return;
  EXPECT_EQ(pa->NextParaNo, pb->NextParaNo);
  EXPECT_EQ(pa->DefStyleNo, pb->DefStyleNo);
  EXPECT_EQ(pa->ModifiedProperties1, pb->ModifiedProperties1);
  EXPECT_EQ(pa->ModifiedProperties2, pb->ModifiedProperties2);
}

// A 3 x 2 picture of two colours, for list levels.
inline std::unique_ptr<TBitmap> LevelPicture() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(3, 2);
  bitmap->Canvas()->Brush().SetColor(clRed);
  bitmap->Canvas()->FillRect(TRect{0, 0, 3, 2});
  bitmap->Canvas()->Brush().SetColor(clBlue);
  bitmap->Canvas()->FillRect(TRect{0, 0, 1, 1});
  return bitmap;
}

// Every field of a list style away from its default: a numbered level with a font, a
// picture level, and a Unicode bullet.
inline void FillListStyle(TRPListInfo& list, int32_t n) {
  list.OneLevelPreview = true;
  list.SetListID(5000 + n);
  list.Levels().Clear();
  TRPListLevel& numbered = *list.Levels().Add();
  numbered.ListType = rplstUpperRoman;
  numbered.StartFrom = 3 + n;
  numbered.ImageIndex = 2;
  numbered.FormatString = "%0:s.";
  numbered.LeftIndent = 24;
  numbered.FirstIndent = -12;
  numbered.MarkerIndent = 6;
  numbered.MarkerAlignment = rpmaRight;
  numbered.Options = {rploLegalStyleNumbering};
  TRPMarkerFont& font = numbered.GetFont();
  font.SetName("Times New Roman");
  font.SetSize(12);
  font.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
  font.SetColor(clMaroon);
  font.SetCharset(204);
  TRPListLevel& picture = *list.Levels().Add();
  picture.ListType = rplstPicture;
  picture.SetPicture(LevelPicture().get());
  TRPListLevel& unicode = *list.Levels().Add();
  unicode.ListType = rplstUnicodeBullet;
  unicode.FormatStringW = u"\u2022\u00B6x";
  unicode.GetFont().SetName("Symbol, Bold");  // a comma in the name
}

inline void ExpectSameListStyle(const TRPListInfo& a, const TRPListInfo& b) {
  EXPECT_EQ(a.StyleName, b.StyleName);
  EXPECT_EQ(a.BaseStyleNo, b.BaseStyleNo);
  EXPECT_EQ(a.Standard, b.Standard);
  EXPECT_EQ(a.StyleTemplateId, b.StyleTemplateId);
  EXPECT_EQ(a.StoredListID(), b.StoredListID());
  EXPECT_EQ(a.OneLevelPreview, b.OneLevelPreview);
  EXPECT_TRUE(a.IsSimpleEqual(b, false, false));
  ASSERT_EQ(a.Levels().Count(), b.Levels().Count());
  for (int32_t i = 0; i < a.Levels().Count(); ++i) {
    SCOPED_TRACE("level " + std::to_string(i));
    const TRPListLevel &x = *a.Levels()[i], &y = *b.Levels()[i];
    EXPECT_EQ(x.FormatString, y.FormatString);
    EXPECT_EQ(x.FormatStringW, y.FormatStringW);
    EXPECT_EQ(x.StartFrom, y.StartFrom);
    EXPECT_EQ(x.Options, y.Options);
    EXPECT_EQ(x.HasPicture(), y.HasPicture());
    ASSERT_EQ(x.FindFont() == nullptr, y.FindFont() == nullptr);
    if (!x.FindFont()) continue;
    EXPECT_EQ(x.FindFont()->Name(), y.FindFont()->Name());
    EXPECT_EQ(x.FindFont()->Height(), y.FindFont()->Height());
    EXPECT_EQ(x.FindFont()->Style(), y.FindFont()->Style());
    EXPECT_EQ(x.FindFont()->Color(), y.FindFont()->Color());
    EXPECT_EQ(x.FindFont()->Charset(), y.FindFont()->Charset());
  }
}

// Fills a sheet with styles and templates of every field: three text styles, two
// paragraph styles, two list styles, a template chain Normal <- Heading <- Title and a loose template,
// and sheet values away from their defaults.
inline void FillSheet(TRPStyle& sheet) {
  sheet.TextStyles().Clear();
  for (int32_t i = 0; i < 3; ++i) FillTextStyle(*sheet.TextStyles().Add(), i);
  sheet.TextStyles()[2]->FontName = "Face; with } and 'quotes'";
  sheet.ParaStyles().Clear();
  for (int32_t i = 0; i < 2; ++i) FillParaStyle(*sheet.ParaStyles().Add(), i);
  sheet.ListStyles().Clear();
  for (int32_t i = 0; i < 2; ++i) FillListStyle(*sheet.ListStyles().Add(), i);
  sheet.ListStyles()[1]->StyleName = "Second list";
  sheet.ListStyles()[1]->Standard = false;
  sheet.SpacesInTab = 4;
  sheet.DefTabWidth = 60;
  sheet.JumpCursor = 300;
  sheet.LineSelectCursor = 301;
  sheet.FullRedraw = true;
  sheet.UseSound = false;
  sheet.Color = clBtnHighlight;
  sheet.HoverColor = clRed;
  sheet.CurrentItemColor = clGray;
  sheet.SelColor = clNavy;
  sheet.SelTextColor = clWhite;
  sheet.InactiveSelColor = clGray;
  sheet.InactiveSelTextColor = clBlack;
  sheet.CheckpointColor = clPurple;
  sheet.CheckpointEvColor = clTeal;
  sheet.PageBreakColor = clOlive;
  sheet.SoftPageBreakColor = clSilver;
  sheet.LiveSpellingColor = clFuchsia;
  sheet.SelectionMode = rpsmParagraph;
  sheet.SelectionStyle = rpssLines;
  sheet.DefUnicodeStyle = 1;
  sheet.DefCodePage = 1252;
  TRPStyleTemplateCollection& templates = sheet.StyleTemplates();
  templates.Clear();
  templates.DefStyleName = "Template %d";
  TRPStyleTemplate& normal = *templates.Add();
  normal.SetName("Normal");
  normal.ValidTextProperties = {rpfiFontName, rpfiSize};
  normal.TextStyle().FontName = "Georgia";
  normal.ValidParaProperties1 = {rppiSpaceAfter};
  normal.ParaStyle().SpaceAfter = 6;
  TRPStyleTemplate& heading = *templates.Add();
  heading.SetName("Heading");
  heading.SetParentId(normal.GetId());
  heading.ValidTextProperties = RPAllFontInfoProperties;
  FillTextStyle(static_cast<TCustomRPFontInfo&>(heading.TextStyle()), 7);
  heading.ValidParaProperties1 = TRPParaInfoProperties1::All();
  heading.ValidParaProperties2 = TRPParaInfoProperties2::All();
  FillParaStyle(static_cast<TCustomRPParaInfo&>(heading.ParaStyle()), 7);
  FillListStyle(heading.ListStyle(), 7);
  TRPStyleTemplate& title = *templates.Add();
  title.SetParentId(heading.GetId());
  title.ValidTextProperties = {rpfiColor};
  title.TextStyle().Color = clMaroon;
  templates.Add();  // a loose template with an automatic name
}

// alsoUnpublished: what component streams do not hold as well, the collection's format
// of automatic names (a collection streams its items only) and the templates' list
// styles.
inline void ExpectSameSheet(TRPStyle& a, TRPStyle& b, bool alsoUnpublished = true) {
  ASSERT_EQ(a.TextStyles().Count(), b.TextStyles().Count());
  for (int32_t i = 0; i < a.TextStyles().Count(); ++i) {
    SCOPED_TRACE("text style " + std::to_string(i));
    ExpectSameTextStyle(*a.TextStyles()[i], *b.TextStyles()[i]);
  }
  ASSERT_EQ(a.ParaStyles().Count(), b.ParaStyles().Count());
  for (int32_t i = 0; i < a.ParaStyles().Count(); ++i) {
    SCOPED_TRACE("paragraph style " + std::to_string(i));
    ExpectSameParaStyle(*a.ParaStyles()[i], *b.ParaStyles()[i]);
  }
  ASSERT_EQ(a.ListStyles().Count(), b.ListStyles().Count());
  for (int32_t i = 0; i < a.ListStyles().Count(); ++i) {
    SCOPED_TRACE("list style " + std::to_string(i));
    ExpectSameListStyle(*a.ListStyles()[i], *b.ListStyles()[i]);
  }
  EXPECT_EQ(a.SpacesInTab, b.SpacesInTab);
  EXPECT_EQ(a.DefTabWidth, b.DefTabWidth);
  EXPECT_EQ(a.JumpCursor, b.JumpCursor);
  EXPECT_EQ(a.LineSelectCursor, b.LineSelectCursor);
  EXPECT_EQ(a.FullRedraw, b.FullRedraw);
  EXPECT_EQ(a.UseSound, b.UseSound);
  for (auto colour : {&TRPStyle::Color, &TRPStyle::HoverColor, &TRPStyle::CurrentItemColor, &TRPStyle::SelColor,
                      &TRPStyle::SelTextColor, &TRPStyle::InactiveSelColor, &TRPStyle::InactiveSelTextColor,
                      &TRPStyle::CheckpointColor, &TRPStyle::CheckpointEvColor, &TRPStyle::PageBreakColor,
                      &TRPStyle::SoftPageBreakColor, &TRPStyle::LiveSpellingColor})
    EXPECT_EQ(a.*colour, b.*colour);
  EXPECT_EQ(a.SelectionMode, b.SelectionMode);
  EXPECT_EQ(a.SelectionStyle, b.SelectionStyle);
  EXPECT_EQ(a.DefUnicodeStyle, b.DefUnicodeStyle);
  EXPECT_EQ(a.DefCodePage, b.DefCodePage);
  const TRPStyleTemplateCollection &ta = a.StyleTemplates(), &tb = b.StyleTemplates();
  ASSERT_EQ(ta.Count(), tb.Count());
  for (int32_t i = 0; i < ta.Count(); ++i) {
    SCOPED_TRACE("template " + std::to_string(i));
    TRPStyleTemplate &x = *ta.Template(i), &y = *tb.Template(i);
    EXPECT_EQ(x.Name(), y.Name());
    EXPECT_EQ(x.GetId(), y.GetId());
    EXPECT_EQ(x.ParentId(), y.ParentId());
    EXPECT_EQ(x.Parent() ? x.Parent()->Index() : -1, y.Parent() ? y.Parent()->Index() : -1);
    EXPECT_EQ(x.Children().size(), y.Children().size());
    EXPECT_EQ(x.ValidTextProperties, y.ValidTextProperties);
    EXPECT_EQ(x.ValidParaProperties1, y.ValidParaProperties1);
    EXPECT_EQ(x.ValidParaProperties2, y.ValidParaProperties2);
    ExpectSameTextStyle(x.TextStyle(), y.TextStyle());
    ExpectSameParaStyle(x.ParaStyle(), y.ParaStyle());
    if (alsoUnpublished) ExpectSameListStyle(x.ListStyle(), y.ListStyle());
  }
  if (alsoUnpublished) {
    EXPECT_EQ(ta.DefStyleName, tb.DefStyleName);
  }
  EXPECT_EQ(ta.DefaultTemplate() ? ta.DefaultTemplate()->Index() : -1,
            tb.DefaultTemplate() ? tb.DefaultTemplate()->Index() : -1);
}
