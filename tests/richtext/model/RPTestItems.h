// Stand-ins for the item kinds and the style sheet that later parts of the engine
// provide: just enough behaviour for the document's own rules to show.
#pragma once

#include <string>
#include <vector>

#include "RPSavedItemClasses.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPStyleSheetQueries.h"

class TFakeTextItem : public TCustomRPItemInfo {
public:
  using TCustomRPItemInfo::TCustomRPItemInfo;
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
};
inline const TRPItemClassInfo TFakeTextItem::ClassInfo{"TFakeTextItem", &CreateRPItem<TFakeTextItem>};

// A whole-line item, as breaks and tables are; its plain text is a row of "-".
class TFakeBreakItem : public TRPFullLineItemInfo {
public:
  using TRPFullLineItemInfo::TRPFullLineItemInfo;
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  AnsiString AsPlainText(int32_t lineWidth, TCustomRPData*, bool& textIsUnicode) const override {
    textIsUnicode = false;
    return AnsiString(static_cast<size_t>(std::max(lineWidth, 1)), '-');
  }
};
inline const TRPItemClassInfo TFakeBreakItem::ClassInfo{"TFakeBreakItem", &CreateRPItem<TFakeBreakItem>};

// A rectangular item with an associated text style, as tabs are.
class TFakeTabItem : public TRPRectItemInfo {
public:
  using TRPRectItemInfo::TRPRectItemInfo;
  static const TRPItemClassInfo ClassInfo;
  int32_t TextStyleNo = 0;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t GetAssociatedTextStyleNo() const override { return TextStyleNo; }
  void SetAssociatedTextStyleNo(int32_t styleNo) override { TextStyleNo = styleNo; }
};
inline const TRPItemClassInfo TFakeTabItem::ClassInfo{"TFakeTabItem", &CreateRPItem<TFakeTabItem>};

// Any other rectangular item (a marker, a control, a picture: by style number).
class TFakeRectItem : public TRPRectItemInfo {
public:
  using TRPRectItemInfo::TRPRectItemInfo;
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
};
inline const TRPItemClassInfo TFakeRectItem::ClassInfo{"TFakeRectItem", &CreateRPItem<TFakeRectItem>};

// Text styles by index: Unicode flag, charset, protection; paragraph styles: their
// default text style. Numbers outside the lists read entry 0, as a fallback style does.
class TFakeStyleSheet : public IRPStyleSheet {
public:
  struct TTextStyle {
    bool Unicode = false;
    int32_t Charset = 1;
    bool MergeProtected = false;
    TRPBiDiMode BiDiMode = rpbdUnspecified;
    bool RtfCodeOnly = false;
  };
  std::vector<TRPBiDiMode> ParaBiDiModes{rpbdUnspecified};
  std::vector<TTextStyle> TextStyles{TTextStyle{}};
  std::vector<int32_t> ParaDefStyles{-1};
  uint32_t DefCodePage = 1251;
  int32_t SpacesInTab = 8;

  int32_t GetParaDefStyleNo(int32_t paraNo) const override { return Pick(ParaDefStyles, paraNo); }
  bool IsTextStyleUnicode(int32_t styleNo) const override { return Pick(TextStyles, styleNo).Unicode; }
  int32_t GetTextStyleCharset(int32_t styleNo) const override { return Pick(TextStyles, styleNo).Charset; }
  bool IsTextStyleMergeProtected(int32_t styleNo) const override { return Pick(TextStyles, styleNo).MergeProtected; }
  bool IsTextStyleJump(int32_t) const override { return false; }
  bool IsTextStyleHoverSensitive(int32_t) const override { return false; }
  TRPBiDiMode GetTextStyleBiDiMode(int32_t styleNo) const override { return Pick(TextStyles, styleNo).BiDiMode; }
  TRPBiDiMode GetParaStyleBiDiMode(int32_t paraNo) const override { return Pick(ParaBiDiModes, paraNo); }
  bool IsTextStyleHTMLWritable(int32_t styleNo) const override { return !Pick(TextStyles, styleNo).RtfCodeOnly; }
  uint32_t GetDefCodePage() const override { return DefCodePage; }
  int32_t GetSpacesInTab() const override { return SpacesInTab; }
  const TRPListInfos* GetListStyles() const override { return nullptr; }
  int32_t GetTextStylesPixelsPerInch() const override { return 0; }
  int32_t GetTextStyleCount() const override { return static_cast<int32_t>(TextStyles.size()); }
  AnsiString GetTextStyleName(int32_t styleNo) const override { return "Text " + std::to_string(styleNo); }
  int32_t GetParaStyleCount() const override { return static_cast<int32_t>(ParaDefStyles.size()); }
  AnsiString GetParaStyleName(int32_t paraNo) const override { return "Para " + std::to_string(paraNo); }
  int32_t GetJumpCursor() const override { return 101; }
  bool GetUseSound() const override { return UseSound; }
  const TGraphic* GetInvalidPicture() const override { return nullptr; }
  bool UseSound = true;

private:
  template <typename T>
  static const T& Pick(const std::vector<T>& list, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < list.size() ? list[static_cast<size_t>(index)] : list[0];
  }
};

// A document bound to a style sheet, recording what it is told about its items.
class TTestRPData : public TCustomRPData {
public:
  const IRPStyleSheet* Sheet = nullptr;
  AnsiString Delimiters;
  std::vector<TRPItemAction> Actions;
  std::vector<int32_t> DestroyedControls;

  const IRPStyleSheet* GetRPStyle() const override { return Sheet; }
  AnsiString GetDelimiters() const override { return Delimiters; }
  void ItemAction(TRPItemAction action, TCustomRPItemInfo*, AnsiString&) override { Actions.push_back(action); }
  void ControlAction(TRPControlAction action, int32_t itemNo, TCustomRPItemInfo*) override {
    if (action == rpcaDestroy) DestroyedControls.push_back(itemNo);
  }
};

// Installs the stand-in classes for the kinds the document creates by itself (text,
// tab) and the ones the tests add; puts the real ones back at the end of the test.
class TFakeItemClasses {
public:
  TFakeItemClasses() {
    SetTextItemClass(&TFakeTextItem::ClassInfo);
    SetBuiltInItemClass(rpkindTab, &TFakeTabItem::ClassInfo);
    SetBuiltInItemClass(rpkindBreak, &TFakeBreakItem::ClassInfo);
    SetBuiltInItemClass(rpkindListMarker, &TFakeRectItem::ClassInfo);
    SetBuiltInItemClass(rpkindControl, &TFakeRectItem::ClassInfo);
  }

private:
  TSavedItemClasses FSaved;  // first made, last undone
};
