// The editor control's commands: the insertion frame and the insertion commands, deleting
// the selection, the style commands and item properties.
#include <utility>

#include "platform/base/CodePages.h"
#include "platform/base/Streams.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStringHelpers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

// The folder part of a file name, its last separator included (empty without one).
WideString FolderOf(const WideString& fileName) {
  const size_t slash = fileName.find_last_of(u"/\\");
  return slash == WideString::npos ? WideString() : fileName.substr(0, slash + 1);
}

// The file opened for reading; nullptr when it cannot be.
std::unique_ptr<TFileStream> OpenForReading(const WideString& fileName) {
  try {
    return std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyWrite);
  } catch (const Exception&) {
    return nullptr;
  }
}

}  // namespace

// --- The insertion frame ----------------------------------------------------------------------------

bool TCustomRichPaneEdit::InsertFrame(const std::function<void()>& insert) {
  TRPEditRPData& data = EditData();
  if (data.InplaceEditedItem || GetInplaceEditor()) {
    data.Beep();
    return false;
  }
  const int32_t caretItem = data.GetCaretItemNo();
  if (caretItem >= 0 && !data.CanInsertAt(caretItem, data.GetCaretOffset())) {
    data.Beep();
    return false;
  }
  if (!CanChangeDoc(false)) return false;
  data.BeginUndoGroup(rpukInsert, true);
  data.SetUndoGroupMode(true);
  try {
    const int32_t textStyle = data.CurTextStyleNo;
    data.DeleteSelection();
    data.Deselect(true);
    SetCurTextStyleNo(textStyle);
    insert();
  } catch (...) {
    CloseInsertFrame();
    throw;
  }
  CloseInsertFrame();
  return true;
}

void TCustomRichPaneEdit::CloseInsertFrame() {
  TRPEditRPData& data = EditData();
  data.SetUndoGroupMode(false);
  // An insertion that put nothing in leaves no empty undo step.
  data.UndoList->RemoveEmptyLastGroup();
  data.InvalidateControl();
  ChangeDoc(true);
}

// --- Insertion commands -----------------------------------------------------------------------------

void TCustomRichPaneEdit::InsertText(const AnsiString& text, bool caretBefore) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.InsertText(text, caretBefore);
  InsertFrame([&] { EditData().InsertAnsiText(text, caretBefore); });
}

bool TCustomRichPaneEdit::EnsureUnicodeStyle() {
  TRPEditRPData& data = InnermostEditor().EditData();
  const TRPStyle* style = Style();
  if (!style) return false;
  const auto isUnicode = [&](int32_t styleNo) {
    return styleNo >= 0 && styleNo < style->TextStyles().Count() && style->TextStyles()[styleNo]->Unicode;
  };
  if (isUnicode(data.CurTextStyleNo)) return true;
  if (!isUnicode(style->DefUnicodeStyle)) return false;
  SetCurTextStyleNo(style->DefUnicodeStyle);
  return true;
}

void TCustomRichPaneEdit::InsertTextW(const AnsiString& rawText) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.InsertTextW(rawText);
  EnsureUnicodeStyle();
  TRPEditRPData& data = EditData();
  const TRPStyle* style = Style();
  const bool unicode = style && data.CurTextStyleNo >= 0 && data.CurTextStyleNo < style->TextStyles().Count() &&
                       style->TextStyles()[data.CurTextStyleNo]->Unicode;
  InsertFrame([&] {
    if (unicode)
      data.InsertUnicodeText(rawText, false);
    else
      data.InsertAnsiText(RawUnicodeToAnsi(data.GetStyleCodePage(data.CurTextStyleNo), rawText), false);
  });
}

void TCustomRichPaneEdit::InsertTextW(const WideString& text) { InsertTextW(WideToRawUnicode(text)); }

bool TCustomRichPaneEdit::InsertTextFromFile(const WideString& fileName) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.InsertTextFromFile(fileName);
  bool result = true;
  InsertFrame([&] { result = EditData().InsertTextFromFile(fileName, false, false); });
  return result;
}

bool TCustomRichPaneEdit::InsertStringTag(const AnsiString& text, const TRPTag& tag) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.InsertStringTag(text, tag);
  TRPEditRPData& data = EditData();
  bool result = false;
  InsertFrame([&] {
    const int32_t styleNo = data.CurTextStyleNo;
    const TRPStyle* style = Style();
    const bool unicode =
        style && styleNo >= 0 && styleNo < style->TextStyles().Count() && style->TextStyles()[styleNo]->Unicode;
    AnsiString stored = ReplaceTabsWithSpaces(text, style ? style->SpacesInTab : 0);
    if (unicode) stored = AnsiToRawUnicode(data.GetStyleCodePage(styleNo), stored);
    auto item = data.CreateTextItem(data.CurParaStyleNo, false, false, styleNo);
    item->Tag = tag;
    if (unicode) item->ItemOptions |= rpioUnicode;
    result = data.InsertItemAtCaret(std::move(item), stored, false);
  });
  return result;
}

bool TCustomRichPaneEdit::InsertTab() {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.InsertTab();
  TRPEditRPData& data = EditData();
  bool result = false;
  InsertFrame([&] {
    auto item = CreateItemByStyleNo(rpkindTab, &data);
    item->SetAssociatedTextStyleNo(data.CurTextStyleNo);
    AnsiString none;
    result = data.InsertItemAtCaret(std::move(item), none, false);
  });
  return result;
}

bool TCustomRichPaneEdit::InsertPicture(const AnsiString& name, std::unique_ptr<TGraphic> graphic, TRPVAlign vAlign) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.InsertPicture(name, std::move(graphic), vAlign);
  TRPEditRPData& data = EditData();
  bool result = false;
  InsertFrame([&] {
    auto item = std::make_unique<TRPGraphicItemInfo>(&data, std::move(graphic), vAlign);
    item->UpdatePaletteInfo(DoInPaletteMode, false, data.GetRPPalette(), data.GetRPLogPalette());
    AnsiString text = name;
    result = data.InsertItemAtCaret(std::move(item), text, false);
  });
  return result;
}

bool TCustomRichPaneEdit::InsertRPFFromStream(TStream& stream) { return InsertDocument(stream, false); }

bool TCustomRichPaneEdit::InsertRPFFromFile(const WideString& fileName) {
  const std::unique_ptr<TFileStream> stream = OpenForReading(fileName);
  return stream && InsertRPFFromStream(*stream);
}

bool TCustomRichPaneEdit::InsertRTFFromStream(TStream& stream) { return InsertDocument(stream, true); }

bool TCustomRichPaneEdit::InsertDocument(TStream& stream, bool rtf) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.InsertDocument(stream, rtf);
  bool result = false;
  InsertFrame([&] { result = rtf ? EditData().InsertRTFFromStream(stream) : EditData().InsertRPFFromStream(stream); });
  return result;
}

bool TCustomRichPaneEdit::InsertRTFFromFile(const WideString& fileName) {
  const std::unique_ptr<TFileStream> stream = OpenForReading(fileName);
  if (!stream) return false;
  auto* props = dynamic_cast<TRPRTFReaderProperties*>(InnermostEditor().GetRTFReadProperties());
  if (!props) return false;
  const AnsiString oldBasePath = props->BasePath;
  props->BasePath = WideToAnsi(FolderOf(fileName));
  bool result = false;
  try {
    result = InsertRTFFromStream(*stream);
  } catch (...) {
    props->BasePath = oldBasePath;
    throw;
  }
  props->BasePath = oldBasePath;
  return result && props->ErrorCode() == rtf_ec_OK;
}

void TCustomRichPaneEdit::DeleteSelection() {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.DeleteSelection();
  TRPEditRPData& data = EditData();
  if (!data.SelectionExists(false) || !CanChangeDoc(false)) return;
  data.DeleteSelection();
  data.InvalidateControl();
}

// --- Style commands ---------------------------------------------------------------------------------

void TCustomRichPaneEdit::ApplyParaStyle(int32_t paraNo) {
  if (!CanChangeDoc(false)) return;
  TCustomRichPaneEdit& inner = InnermostEditor();
  TRPEditRPData& data = inner.EditData();
  data.BeginUndoGroup(rpukParaStyle, true);
  data.ApplyParaStyleConversion(paraNo, 0);
}

void TCustomRichPaneEdit::ApplyTextStyle(int32_t styleNo) {
  if (!CanChangeDoc(false)) return;
  TCustomRichPaneEdit& inner = InnermostEditor();
  const TRPStyle* style = Style();
  inner.FTextConversion = [style, styleNo](int32_t oldStyle, bool appliedToText, int32_t, int32_t, int32_t& newStyle) {
    const bool isProtected = style && oldStyle >= 0 && oldStyle < style->TextStyles().Count() &&
                             style->TextStyles()[oldStyle]->Protection.Contains(rpprStyleProtect);
    newStyle = appliedToText && isProtected ? oldStyle : styleNo;
    return true;
  };
  try {
    inner.EditData().ApplyTextStyleConversion(styleNo, 0, false);
  } catch (...) {
    inner.FTextConversion = nullptr;
    throw;
  }
  inner.FTextConversion = nullptr;
}

void TCustomRichPaneEdit::ApplyStyleConversion(int32_t userData) {
  if (!OnStyleConversion) return;
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (inner.EditData().SelectionExists(false) && !CanChangeDoc(false)) return;
  inner.EditData().ApplyTextStyleConversion(userData, 1, false);
}

void TCustomRichPaneEdit::ApplyParaStyleConversion(int32_t userData) {
  if (!OnParaStyleConversion || !CanChangeDoc(false)) return;
  TRPEditRPData& data = InnermostEditor().EditData();
  data.BeginUndoGroup(rpukParaStyle, true);
  data.ApplyParaStyleConversion(userData, 1);
}

void TCustomRichPaneEdit::ApplyParaStyleTemplate(int32_t templateNo) {
  if (!Style() || !CanChangeDoc(false)) return;
  TCustomRichPaneEdit& inner = InnermostEditor();
  inner.FParaConversion = [this, templateNo](int32_t paraNo, int32_t, int32_t& newParaNo) {
    newParaNo = ParaStyleFromTemplate(paraNo, templateNo);
    return true;
  };
  try {
    TRPEditRPData& data = inner.EditData();
    data.BeginUndoGroup(rpukParaStyle, true);
    data.ApplyParaStyleConversion(templateNo, 1);
  } catch (...) {
    inner.FParaConversion = nullptr;
    throw;
  }
  inner.FParaConversion = nullptr;
}

void TCustomRichPaneEdit::ApplyTextStyleTemplate(int32_t templateNo, bool toWholeParagraphs) {
  if (!Style() || !CanChangeDoc(false)) return;
  TCustomRichPaneEdit& inner = InnermostEditor();
  const TRPStyle* style = Style();
  inner.FTextConversion = [this, style, templateNo](int32_t oldStyle, bool, int32_t, int32_t paraNo,
                                                    int32_t& newStyle) {
    const bool isProtected = oldStyle >= 0 && oldStyle < style->TextStyles().Count() &&
                             style->TextStyles()[oldStyle]->Protection.Contains(rpprStyleProtect);
    newStyle = isProtected ? oldStyle : TextStyleFromTemplate(oldStyle, templateNo, paraNo);
    return true;
  };
  try {
    inner.EditData().ApplyTextStyleConversion(templateNo, 1, toWholeParagraphs);
  } catch (...) {
    inner.FTextConversion = nullptr;
    throw;
  }
  inner.FTextConversion = nullptr;
}

int32_t TCustomRichPaneEdit::TextStyleFromTemplate(int32_t styleNo, int32_t templateNo, int32_t paraNo) {
  TRPStyle& style = *Style();
  TFontInfos& styles = style.TextStyles();
  if (styleNo < 0 || styleNo >= styles.Count()) return styleNo;
  const std::unique_ptr<TCustomRPInfo> copy = styles[styleNo]->CloneDetached();
  auto& font = static_cast<TCustomRPFontInfo&>(*copy);
  TRPStyleTemplateCollection& templates = style.StyleTemplates();
  const TCustomRPParaInfo* para =
      paraNo >= 0 && paraNo < style.ParaStyles().Count() ? style.ParaStyles()[paraNo] : nullptr;
  if (templateNo < 0 || templateNo >= templates.Count())
    font.StyleTemplateId = -1;
  else
    templates.Template(templateNo)->ApplyToTextStyle(font, para, true);
  for (int32_t i = 0; i < styles.Count(); ++i)
    if (styles[i]->StyleTemplateId == font.StyleTemplateId && styles[i]->IsEqual(font, {})) return i;
  TFontInfo* added = styles.Add();
  added->Assign(font);
  added->Standard = false;
  return added->Index();
}

int32_t TCustomRichPaneEdit::ParaStyleFromTemplate(int32_t paraNo, int32_t templateNo) {
  TRPStyle& style = *Style();
  TParaInfos& styles = style.ParaStyles();
  if (paraNo < 0 || paraNo >= styles.Count()) return paraNo;
  const std::unique_ptr<TCustomRPInfo> copy = styles[paraNo]->CloneDetached();
  auto& para = static_cast<TCustomRPParaInfo&>(*copy);
  TRPStyleTemplateCollection& templates = style.StyleTemplates();
  if (templateNo < 0 || templateNo >= templates.Count())
    para.StyleTemplateId = -1;
  else
    templates.Template(templateNo)->ApplyToParaStyle(para, true);
  for (int32_t i = 0; i < styles.Count(); ++i)
    if (styles[i]->StyleTemplateId == para.StyleTemplateId && styles[i]->IsEqual(para, {})) return i;
  TParaInfo* added = styles.Add();
  added->Assign(para);
  added->Standard = false;
  return added->Index();
}

// --- Item properties --------------------------------------------------------------------------------

void TCustomRichPaneEdit::SetItemExtraIntPropertyEd(int32_t itemNo, int32_t prop, int32_t value, bool autoReformat) {
  TRPEditRPData& data = EditData();
  if (itemNo < 0 || itemNo >= data.GetItemCount()) return;
  int32_t oldValue = 0;
  if (!data.GetItem(itemNo)->GetIntProperty(prop, oldValue) || oldValue == value || !CanChangeDoc(false)) return;
  data.BeginUndoGroup(rpukModifyItem, true);
  data.SetUndoGroupMode(true);
  int32_t oldWidth = 0;
  if (autoReformat) data.PrepareItemChange(itemNo, oldWidth);
  data.SetExtraIntPropertyUndoable(itemNo, prop, value);
  if (autoReformat) data.CompleteItemChange(itemNo, oldWidth);
  data.SetUndoGroupMode(false);
  data.InvalidateControl();
  ChangeDoc(true);
}
