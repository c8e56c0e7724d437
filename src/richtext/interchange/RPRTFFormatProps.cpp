// Character, paragraph, border, numbering, section and row properties: their resets,
// copies and the steps that finish them.
#include <algorithm>

#include "richtext/interchange/RPRTFProperties.h"

// --- Character formatting -------------------------------------------------------------

void TRPRTFCharProperties::Reset(int32_t defLanguage, int32_t defFontIndex) {
  Hidden = false;
  Size = 12;
  Color = clWindowText;
  BackColor = clNone;
  FontIndex = defFontIndex;
  Style = TFontStyles();
  AllCaps = false;
  CharScaleX = 100;
  SubSuperScript = 0;
  CharSpacing = 0;
  Language = defLanguage;
  FontNameOverride.clear();
}

void TRPRTFCharProperties::Assign(const TRPRTFCharProperties& source) {
  Hidden = source.Hidden;
  Size = source.Size;
  Color = source.Color;
  BackColor = source.BackColor;
  FontIndex = source.FontIndex;
  Style = source.Style;
  AllCaps = source.AllCaps;
  CharScaleX = source.CharScaleX;
  SubSuperScript = source.SubSuperScript;
  CharSpacing = source.CharSpacing;
}

// --- Borders --------------------------------------------------------------------------

void TRPRTFBorderSide::Reset() {
  BorderType = 0;
  Width = 0;
  Color = clNone;
  Spacing = 0;
}

TRPRTFBorderSide& TRPRTFParaBorder::Side(uint8_t side) {
  std::unique_ptr<TRPRTFBorderSide>& slot = FSides[side & 3];
  if (!slot) slot = std::make_unique<TRPRTFBorderSide>();
  return *slot;
}

bool TRPRTFParaBorder::IsPresent() const {
  return std::any_of(FSides.begin(), FSides.end(), [](const auto& side) { return side && side->BorderType != 0; });
}

void TRPRTFParaBorder::Assign(const TRPRTFParaBorder& source) {
  if (&source == this) return;
  for (size_t i = 0; i < FSides.size(); ++i) {
    if (source.FSides[i])
      FSides[i] = std::make_unique<TRPRTFBorderSide>(*source.FSides[i]);
    else
      FSides[i].reset();
  }
}

void TRPRTFParaBorder::Reset() {
  for (auto& side : FSides)
    if (side) side->Reset();
}

// --- Numbering ------------------------------------------------------------------------

void TRPRTFCustomMarkerProperties::Reset() {
  ListType = 0;
  FontIndex = -1;
  Indent = 0;
  Space = 0;
  Start = 0;
  FontStyle = TFontStyles();
  Color = clWindowText;
  Alignment = 0;
  FixedProperties = 0;
  FontSize = 12;
}

void TRPRTFCustomMarkerProperties::UpdateFrom(const TRPRTFCharProperties& charProps) {
  if (!(FixedProperties & rtf_mf_Color)) Color = charProps.Color;
  if (!(FixedProperties & rtf_mf_Font)) FontIndex = charProps.FontIndex;
  if (!(FixedProperties & rtf_mf_Size)) FontSize = charProps.Size;
  const struct {
    TRPRTFMarkerFixed Fixed;
    TFontStyle Style;
  } followed[] = {{rtf_mf_Bold, fsBold}, {rtf_mf_Italic, fsItalic}, {rtf_mf_StrikeOut, fsStrikeOut}};
  for (const auto& f : followed) {
    if (FixedProperties & f.Fixed) continue;
    if (charProps.Style.Contains(f.Style))
      FontStyle = FontStyle + TFontStyles{f.Style};
    else
      FontStyle = FontStyle - TFontStyles{f.Style};
  }
}

void TRPRTFMarkerProperties::Reset() {
  TRPRTFCustomMarkerProperties::Reset();
  Level = 0;
  Hanging = false;
  TextAfter.clear();
  TextBefore.clear();
}

void TRPRTFListLevel97::Reset() {
  TRPRTFCustomMarkerProperties::Reset();
  OldStyle = false;
  Legal = false;
  NoRestart = false;
  Text.clear();
  Numbers.clear();
  TextW.clear();
  Follow = 0;
  LeftIndent = 0;
  FirstIndent = 0;
  TabPosition = 0;
  FontSizeDefined = false;
  IndentsUpdated = false;
}

// --- Paragraph ------------------------------------------------------------------------

TRPRTFParaProperties::TRPRTFParaProperties(const TRPRTFParaProperties& source) : TObject() { *this = source; }

TRPRTFParaProperties& TRPRTFParaProperties::operator=(const TRPRTFParaProperties& source) {
  if (&source == this) return *this;
  LeftIndent = source.LeftIndent;
  RightIndent = source.RightIndent;
  FirstIndent = source.FirstIndent;
  SpaceBefore = source.SpaceBefore;
  SpaceAfter = source.SpaceAfter;
  Alignment = source.Alignment;
  CurBorderSide = source.CurBorderSide;
  LineSpacing = source.LineSpacing;
  LineSpacingMulti = source.LineSpacingMulti;
  Color = source.Color;
  NestingLevel = source.NestingLevel;
  InTable = source.InTable;
  Shading = source.Shading;
  ForeColor = source.ForeColor;
  ListOverrideIndex = source.ListOverrideIndex;
  ListLevel = source.ListLevel;
  KeepLinesTogether = source.KeepLinesTogether;
  KeepWithNext = source.KeepWithNext;
  NoOverlap = source.NoOverlap;
  KeepNesting = source.KeepNesting;
  TabsFinalized = source.TabsFinalized;
  FBorder = source.FBorder ? std::make_unique<TRPRTFParaBorder>(*source.FBorder) : nullptr;
  FMarkerProps = source.FMarkerProps ? std::make_unique<TRPRTFMarkerProperties>(*source.FMarkerProps) : nullptr;
  FTabs = source.FTabs;  // shared until one side changes them (MutableTabs)
  return *this;
}

void TRPRTFParaProperties::Reset() {
  LeftIndent = 0;
  RightIndent = 0;
  FirstIndent = 0;
  SpaceBefore = 0;
  SpaceAfter = 0;
  Alignment = 0;
  CurBorderSide = rtf_side_Left;
  LineSpacing = 240;
  LineSpacingMulti = true;
  Color = clNone;
  if (!KeepNesting) {
    NestingLevel = 1;
    InTable = false;
  }
  Shading = 0;
  ForeColor = clBlack;
  ListOverrideIndex = -1;
  ListLevel = 0;
  KeepLinesTogether = false;
  KeepWithNext = false;
  NoOverlap = false;
  TabsFinalized = false;
  if (FBorder) FBorder->Reset();
  FMarkerProps.reset();
  FTabs.reset();
}

TRPRTFParaBorder& TRPRTFParaProperties::Border() {
  if (!FBorder) FBorder = std::make_unique<TRPRTFParaBorder>();
  return *FBorder;
}

TRPRTFMarkerProperties& TRPRTFParaProperties::MarkerProps() {
  if (!FMarkerProps) FMarkerProps = std::make_unique<TRPRTFMarkerProperties>();
  return *FMarkerProps;
}

void TRPRTFParaProperties::SetMarkerProps(const TRPRTFMarkerProperties& source) { MarkerProps() = source; }

const TRPRTFTabList& TRPRTFParaProperties::Tabs() const {
  static const TRPRTFTabList none;
  return FTabs ? *FTabs : none;
}

TRPRTFTabList& TRPRTFParaProperties::MutableTabs() {
  if (!FTabs)
    FTabs = std::make_shared<TRPRTFTabList>();
  else if (FTabs.use_count() > 1)
    FTabs = std::make_shared<TRPRTFTabList>(*FTabs);
  return *FTabs;
}

TColor BlendRTFShading(TColor back, TColor fore, int32_t shading) {
  const int32_t s = std::clamp(shading, 0, 10000);
  const uint32_t b = back == clNone ? 0xFFFFFFu : (back == clWindowText ? 0u : static_cast<uint32_t>(back) & 0xFFFFFFu);
  const uint32_t f = (fore == clNone || fore == clWindowText) ? 0u : static_cast<uint32_t>(fore) & 0xFFFFFFu;
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t channel =
        (((b >> shift) & 0xFF) * static_cast<uint32_t>(10000 - s) + ((f >> shift) & 0xFF) * s) / 10000;
    result |= channel << shift;
  }
  return static_cast<TColor>(result);
}

void TRPRTFParaProperties::Finalize() {
  if (Shading != 0) {
    Color = BlendRTFShading(Color, ForeColor, Shading);
    Shading = 0;
  }
  if (TabsFinalized) return;
  TabsFinalized = true;
  if (!FTabs || FTabs->empty()) return;
  TRPRTFTabList& tabs = MutableTabs();
  tabs.pop_back();  // the spare that no \tx completed
  std::erase_if(tabs, [](const TRPRTFTab& tab) { return tab.IsListTab; });
}

// --- Section --------------------------------------------------------------------------

TRPRTFMarkerDefaults::TRPRTFMarkerDefaults() {
  for (int32_t level = 1; level <= 11; ++level) AddNew();
}

TRPRTFMarkerProperties* TRPRTFMarkerDefaults::Level(int32_t level) const {
  return level >= 1 && level <= Count() ? Items(level - 1) : nullptr;
}

TRPRTFSectionProperties::TRPRTFSectionProperties() : FMarkerDefaults(std::make_shared<TRPRTFMarkerDefaults>()) {}

void TRPRTFSectionProperties::Reset() {
  ColumnCount = 1;
  SectionBreak = 4;
  PageNumberX = 720;
  PageNumberY = 720;
  PageNumberFormat = 0;
  FMarkerDefaults = std::make_shared<TRPRTFMarkerDefaults>();
}

void TRPRTFSectionProperties::Assign(const TRPRTFSectionProperties& source) {
  ColumnCount = source.ColumnCount;
  SectionBreak = source.SectionBreak;
  PageNumberX = source.PageNumberX;
  PageNumberY = source.PageNumberY;
  PageNumberFormat = source.PageNumberFormat;
  FMarkerDefaults = source.FMarkerDefaults;
}

// --- Rows -----------------------------------------------------------------------------

void TRPRTFCellPropsList::AssignDeep(const TRPRTFCellPropsList& source) {
  Clear();
  for (int32_t i = 0; i < source.Count(); ++i) Add(std::make_unique<TRPRTFCellProperties>(*source.Items(i)));
}

TRPRTFRowProperties::TRPRTFRowProperties(const TRPRTFRowProperties& source)
    : TObject(),
      PercentWidth(source.PercentWidth),
      Heading(source.Heading),
      GapH(source.GapH),
      Left(source.Left),
      Height(source.Height),
      BestWidth(source.BestWidth),
      Border(source.Border),
      CurBorderSide(source.CurBorderSide),
      NeedsFinishing(source.NeedsFinishing),
      HasSpareCell(source.HasSpareCell),
      SizesInPixels(source.SizesInPixels),
      Padding(source.Padding),
      Spacing(source.Spacing),
      PaddingInTwips(source.PaddingInTwips),
      SpacingInTwips(source.SpacingInTwips) {
  Cells.AssignDeep(source.Cells);
}

void TRPRTFRowProperties::Reset() {
  Padding.fill(0);
  Spacing.fill(0);
  PaddingInTwips.fill(false);
  SpacingInTwips.fill(false);
  Border.Reset();
  Cells.Clear();
  Cells.AddNew();
  NeedsFinishing = true;
  HasSpareCell = true;
  Heading = false;
  SizesInPixels = false;
}

TRPRTFCellProperties& TRPRTFRowProperties::CurrentCell() {
  if (Cells.Count() == 0) {
    Cells.AddNew();
    HasSpareCell = true;
  }
  return *Cells.Last();
}

void TRPRTFRowProperties::AddCellBoundary(int32_t twips, int32_t maxCells) {
  CurrentCell().RightBoundary = twips;
  if (Cells.Count() < maxCells) {
    Cells.AddNew();
    HasSpareCell = true;
  } else {
    // Full: the last cell stays a real cell, later \cellx words move its boundary.
    HasSpareCell = false;
  }
}

void TRPRTFRowProperties::Finish() {
  if (!NeedsFinishing) return;
  NeedsFinishing = false;
  if (HasSpareCell && Cells.Count() > 0) Cells.Delete(Cells.Count() - 1);
  HasSpareCell = false;
  for (int32_t i = 0; i < Cells.Count(); ++i) {
    TRPRTFCellProperties& cell = *Cells.Items(i);
    if (cell.Shading > 0) cell.Color = BlendRTFShading(cell.Color, cell.ForeColor, cell.Shading);
  }
}
