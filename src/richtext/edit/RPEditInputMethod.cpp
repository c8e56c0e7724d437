// The editor and input methods: the text they settle on goes in at the caret, their
// composition shows in the current text style at the caret; and the switch of the text
// style's character set when the user changes input languages.
#include "platform/base/CodePages.h"
#include "platform/base/Numbers.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

// The language of Korean keyboards, whose composition stands one pixel lower.
constexpr uint16_t KoreanLanguageId = 1042;
constexpr int32_t PointsPerInch = 72;

}  // namespace

void TCustomRichPaneEdit::InputMethodResult(const WideString& commit, const WideString& preedit) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  inner.FPreedit = preedit;
  if (commit.empty() || !inner.CanChangeDoc(false)) return;
  inner.InsertTextW(commit);
}

bool TCustomRichPaneEdit::GetCompositionFont(WideString& name, int32_t& heightPx) {
  const TRPStyle* style = Style();
  const int32_t styleNo = InnermostEditor().EditData().CurTextStyleNo;
  if (!style || styleNo < 0 || styleNo >= style->TextStyles().Count()) return false;
  const TFontInfo& font = *style->TextStyles()[styleNo];
  name = AnsiToWide(font.FontName);
  heightPx = MulDiv(font.Size, ScreenPixelsPerInch, PointsPerInch);
  return true;
}

TRect TCustomRichPaneEdit::GetCompositionArea() {
  TRect area{LeftMargin, 0, ClientWidth() - RightMargin, ClientHeight()};
  const TRPStyle* style = Style();
  const int32_t paraNo = InnermostEditor().EditData().CurParaStyleNo;
  if (style && paraNo >= 0 && paraNo < style->ParaStyles().Count()) {
    area.Left += style->ParaStyles()[paraNo]->LeftIndent;
    area.Right -= style->ParaStyles()[paraNo]->RightIndent;
  }
  return area;
}

TRect TCustomRichPaneEdit::GetCompositionCursor(const TRect& caret) {
  if (GetKeyboardLanguageId() != KoreanLanguageId) return caret;
  return TRect{caret.Left, caret.Top + 1, caret.Right, caret.Bottom + 1};
}

bool TCustomRichPaneEdit::InputLanguageChanged(uint8_t charset) {
  TRPStyle* style = Style();
  TRPEditRPData& data = InnermostEditor().EditData();
  const int32_t styleNo = data.CurTextStyleNo;
  if ((EditorOptions & rpoAutoSwitchLang) == 0 || !style || data.GetItemCount() == 0 || styleNo < 0 ||
      styleNo >= style->TextStyles().Count() || style->TextStyles()[styleNo]->Unicode)
    return false;
  TFontInfos& styles = style->TextStyles();
  const std::unique_ptr<TCustomRPInfo> copy = styles[styleNo]->CloneDetached();
  auto& font = static_cast<TCustomRPFontInfo&>(*copy);
  font.Charset = charset;
  int32_t found = -1;
  for (int32_t i = 0; i < styles.Count() && found < 0; ++i)
    if (styles[i]->IsEqual(font, {})) found = i;
  if (found < 0) {
    TFontInfo* added = styles.Add();
    added->Assign(font);
    added->Standard = false;
    found = added->Index();
  }
  InnermostEditor().SetCurTextStyleNo(found);
  return true;
}
