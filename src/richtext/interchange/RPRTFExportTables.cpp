// The tables of an RTF export: fonts, colours and list overrides, and the twips factor.
#include "platform/base/TextUtils.h"
#include "richtext/interchange/RPRTFExport.h"
#include "richtext/interchange/RPRTFWriter.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPStyle.h"

namespace {

// The colours every colour table starts with, in this order; index 0 is the automatic
// colour (the table's empty entry).
constexpr TColor FixedColors[] = {
    clWindowText,
    0x000000,  // black
    0xFF0000,  // blue
    0xFFFF00,  // cyan
    0x00FF00,  // green
    0xFF00FF,  // magenta
    0x0000FF,  // red
    0x00FFFF,  // yellow
    0xFFFFFF,  // white
    0x800000,  // dark blue
    0x808000,  // dark cyan
    0x008000,  // dark green
    0x800080,  // dark magenta
    0x000080,  // dark red
    0x008080,  // dark yellow
    0x808080,  // gray
    0xC0C0C0,  // light gray
};
static_assert(sizeof FixedColors / sizeof FixedColors[0] == 17);

}  // namespace

const TFont& RTFMarkerFont(const TRPListLevel& level) {
  static const TRPMarkerFont defaults;
  const TRPMarkerFont* font = level.FindFont();
  return font ? *font : defaults;
}

int32_t TRPRTFFontTable::Find(const AnsiString& fontName, uint8_t charset) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].Charset == charset && AnsiSameText(FItems[i].FontName, fontName)) return static_cast<int32_t>(i);
  return -1;
}

int32_t TRPRTFFontTable::Add(const AnsiString& fontName, uint8_t charset) {
  const int32_t index = Find(fontName, charset);
  if (index >= 0) return index;
  FItems.push_back({fontName, charset});
  return Count() - 1;
}

double GetRTFTwipsFactor() { return 1440.0 / GetScreenPixelsPerInch(); }

void MakeRTFTables(TCustomRPData& data, TRPColorList& colors, TRPIntegerList& listOverrideCounts, bool initialize) {
  if (initialize) {
    colors.Clear();
    listOverrideCounts.Clear();
    for (TColor color : FixedColors) colors.Add(color);
    if (const auto* style = dynamic_cast<const TRPStyle*>(data.GetRPStyle())) {
      const TFontInfos& textStyles = style->TextStyles();
      for (int32_t i = 0; i < textStyles.Count(); ++i) {
        const TFontInfo& text = *textStyles[i];
        for (TColor color : {text.Color, text.BackColor, text.HoverColor, text.HoverBackColor})
          colors.AddUniqueColor(color);
      }
      const TParaInfos& paraStyles = style->ParaStyles();
      for (int32_t i = 0; i < paraStyles.Count(); ++i) {
        const TParaInfo& para = *paraStyles[i];
        if (para.Border.Style != rpbNone) colors.AddUniqueColor(para.Border.Color);
        colors.AddUniqueColor(para.Background.Color);
      }
      const TRPListInfos& listStyles = style->ListStyles();
      for (int32_t i = 0; i < listStyles.Count(); ++i) {
        const TRPListLevelCollection& levels = listStyles[i]->Levels();
        for (int32_t l = 0; l < levels.Count(); ++l)
          if (levels[l]->HasTextMarker()) colors.AddUniqueColor(RTFMarkerFont(*levels[l]).Color());
        listOverrideCounts.Add(1);
      }
    }
  }
  for (int32_t i = 0; i < data.GetItemCount(); ++i) data.GetItem(i)->FillRTFTables(colors, listOverrideCounts, &data);
}

void TRPRTFWriter::BuildTables(TCustomRPData& data, TColor color) {
  FTables.FontTable.Clear();
  FTables.StyleFonts.Clear();
  const TFontInfos& textStyles = FStyle.TextStyles();
  for (int32_t i = 0; i < textStyles.Count(); ++i)
    FTables.StyleFonts.Add(FTables.FontTable.Add(textStyles[i]->FontName, textStyles[i]->Charset));
  const TRPListInfos& listStyles = FStyle.ListStyles();
  for (int32_t i = 0; i < listStyles.Count(); ++i) {
    const TRPListLevelCollection& levels = listStyles[i]->Levels();
    for (int32_t l = 0; l < levels.Count(); ++l)
      if (levels[l]->HasTextMarker()) {
        const TFont& font = RTFMarkerFont(*levels[l]);
        FTables.FontTable.Add(font.Name(), font.Charset());
      }
  }
  MakeRTFTables(data, FTables.Colors, FTables.ListOverrideCounts, true);
  if (color != clWindow) FTables.Colors.AddUniqueColor(color);
}
