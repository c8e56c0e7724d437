// The editor's clipboard: pasting in the richest format the clipboard has, cutting, and
// the shortcuts of both.
#include "platform/base/CodePages.h"
#include "platform/base/ScopeExit.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

bool IsUnicodeStyle(const TRPStyle* style, int32_t styleNo) {
  return style && styleNo >= 0 && styleNo < style->TextStyles().Count() && style->TextStyles()[styleNo]->Unicode;
}

}  // namespace

bool TCustomRichPaneEdit::HasRPFFormat() { return Clipboard().HasFormat(RPClipboardFormats().RichPane); }

bool TCustomRichPaneEdit::HasRTFFormat() { return Clipboard().HasFormat(RPClipboardFormats().RTF); }

bool TCustomRichPaneEdit::CanPaste() {
  const std::unique_ptr<IDataObject> contents = Clipboard().Contents();
  for (const uint32_t format :
       {uint32_t{CF_TEXT}, uint32_t{CF_UNICODETEXT}, uint32_t{CF_BITMAP}, uint32_t{CF_DIB}, uint32_t{CF_METAFILEPICT},
        uint32_t{CF_ENHMETAFILE}, RPClipboardFormats().RTF, RPClipboardFormats().RichPane})
    if (contents->HasFormat(format)) return true;
  return false;
}

void TCustomRichPaneEdit::Paste() {
  if (!CanChangeDoc(false)) return;
  bool doDefault = true;
  if (OnPaste) OnPaste(&RootEditor(), doDefault);
  if (!doDefault) return;
  try {
    const std::unique_ptr<IDataObject> contents = Clipboard().Contents();
    if (contents->HasFormat(RPClipboardFormats().RichPane)) {
      PasteRPF();
      return;
    }
    if (contents->HasFormat(RPClipboardFormats().RTF) && PasteRTF()) return;
    const bool hasUnicode = contents->HasFormat(CF_UNICODETEXT);
    const bool hasAnsi = contents->HasFormat(CF_TEXT);
    bool unicodeFirst =
        hasUnicode && (!hasAnsi || IsUnicodeStyle(Style(), InnermostEditor().EditData().CurTextStyleNo));
    if (hasUnicode && !unicodeFirst) {
      // Text the current 8-bit style cannot hold goes in as UTF-16 rather than losing
      // characters.
      WideString text;
      TRPDropTarget::GetUnicodeText(*contents, text);
      bool lost = false;
      TRPEditRPData& inner = InnermostEditor().EditData();
      WideToAnsi(text, inner.GetStyleCodePage(inner.CurTextStyleNo), &lost);
      unicodeFirst = lost;
    }
    if (unicodeFirst)
      PasteTextW();
    else if (hasAnsi)
      PasteText();
    else if (contents->HasFormat(CF_DIB) || contents->HasFormat(CF_BITMAP))
      PasteBitmap(false);
    else if (contents->HasFormat(CF_ENHMETAFILE) || contents->HasFormat(CF_METAFILEPICT))
      PasteMetafile(false);
  } catch (const std::exception&) {
    EditData().Beep();
  }
}

void TCustomRichPaneEdit::PasteText() {
  if (!CanChangeDoc(false)) return;
  AnsiString text;
  if (TRPDropTarget::GetDataString(*Clipboard().Contents(), CF_TEXT, text)) InsertText(text);
}

void TCustomRichPaneEdit::PasteTextW() {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.PasteTextW();
  if (!CanChangeDoc(false)) return;
  WideString text;
  if (TRPDropTarget::GetUnicodeText(*Clipboard().Contents(), text)) InsertTextW(text);
}

void TCustomRichPaneEdit::PasteBitmap(bool textAsName) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.PasteBitmap(textAsName);
  if (!CanChangeDoc(false)) return;
  const std::unique_ptr<IDataObject> contents = Clipboard().Contents();
  std::unique_ptr<TBitmap> bitmap = TRPDropTarget::GetBitmap(*contents, true);
  if (!bitmap || bitmap->Empty()) return;
  AnsiString name;
  if (textAsName) TRPDropTarget::GetDataString(*contents, CF_TEXT, name);
  InsertPicture(name, std::move(bitmap), rpvaBaseline);
}

bool TCustomRichPaneEdit::PasteMetafile(bool textAsName) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.PasteMetafile(textAsName);
  if (!CanChangeDoc(false)) return false;
  const std::unique_ptr<IDataObject> contents = Clipboard().Contents();
  std::unique_ptr<TMetafile> metafile = TRPDropTarget::GetMetafile(*contents);
  if (!metafile) return false;
  if (!metafile->Enhanced() && metafile->Inch() == 0) metafile->SetInch(1440);
  const int32_t width = metafile->Width(), height = metafile->Height();
  AnsiString name;
  if (textAsName) TRPDropTarget::GetDataString(*contents, CF_TEXT, name);
  if (!InsertPicture(name, std::move(metafile), rpvaBaseline)) return false;
  // The inserted picture is shown at the metafile's size (properties 3 and 4), set in
  // the insertion's undo group so that one undo takes the whole paste back.
  constexpr int32_t kImageWidthProperty = 3, kImageHeightProperty = 4;
  const int32_t itemNo = GetCaretItemNo();
  if (const auto* item = dynamic_cast<const TRPGraphicItemInfo*>(EditData().GetItem(itemNo));
      item && dynamic_cast<const TMetafile*>(item->Image.get())) {
    EditData().SetUndoGroupMode(true);
    const TScopeExit joined([this] { EditData().SetUndoGroupMode(false); });
    SetItemExtraIntPropertyEd(itemNo, kImageWidthProperty, width, false);
    SetItemExtraIntPropertyEd(itemNo, kImageHeightProperty, height, true);
  }
  return true;
}

bool TCustomRichPaneEdit::PasteRPF() {
  const std::optional<AnsiString> block = Clipboard().Contents()->GetData(RPClipboardFormats().RichPane);
  if (!block) return false;
  const std::string_view document = RPNativeBlockDocument(*block);
  TMemoryStream stream;
  if (!document.empty()) stream.WriteBuffer(document.data(), static_cast<int32_t>(document.size()));
  stream.SetPosition(0);
  return InsertRPFFromStream(stream);
}

bool TCustomRichPaneEdit::PasteRTF() {
  const std::optional<AnsiString> rtf = Clipboard().Contents()->GetData(RPClipboardFormats().RTF);
  if (!rtf || rtf->empty()) return false;
  TMemoryStream stream;
  stream.WriteBuffer(rtf->data(), static_cast<int32_t>(rtf->size()));
  stream.SetPosition(0);
  return InsertForeignRTF(stream, GetSourceURLFromClipboard());
}

bool TCustomRichPaneEdit::InsertForeignRTF(TStream& stream, const WideString& basePath) {
  // Inserted RTF reads no local files (InsertRTFFromStream): only the base path changes.
  auto* props = dynamic_cast<TRPRTFReaderProperties*>(InnermostEditor().GetRTFReadProperties());
  if (!props) return InsertRTFFromStream(stream);
  const AnsiString oldBasePath = props->BasePath;
  props->BasePath = WideToAnsi(basePath);
  const TScopeExit restore([&] { props->BasePath = oldBasePath; });
  return InsertRTFFromStream(stream);
}

void TCustomRichPaneEdit::CutSelection() {
  if (!CanChangeDoc(false) || !CopySelection()) return;
  DeleteSelection();
}

WideString TCustomRichPaneEdit::GetSourceURLFromClipboard() {
  const std::optional<AnsiString> html = Clipboard().Contents()->GetData(RPClipboardFormats().HTML);
  if (!html) return WideString();
  static constexpr std::string_view Key = "SourceURL:";
  const size_t at = html->find(Key);
  if (at == AnsiString::npos) return WideString();
  const size_t start = at + Key.size();
  const size_t end = html->find_first_of(AnsiString("\0\r\n", 3), start);
  WideString url = AnsiToWide(std::string_view(*html).substr(start, end - start), CP_UTF8);
  static constexpr std::u16string_view File = u"file://", Http = u"http://", Https = u"https://";
  WideString scheme;
  if (url.starts_with(File)) {
    url.erase(0, File.size());
  } else if (url.starts_with(Http) || url.starts_with(Https)) {
    scheme = url.starts_with(Http) ? WideString(Http) : WideString(Https);
    url.erase(0, scheme.size());
  }
  // Paths and URLs both separate with "/": the folder is everything up to the last one.
  const size_t slash = url.rfind(u'/');
  url.erase(slash == WideString::npos ? 0 : slash + 1);
  return url.empty() ? WideString() : scheme + url;
}

bool TCustomRichPaneEdit::ClipboardKeyDown(uint16_t key, TShiftState shift) {
  const TShiftState keys = shift & (ssShift | ssCtrl | ssAlt);
  const bool cut =
      (keys == ssCtrl && key == 'X') || (keys == ssShift && key == VK_DELETE && EditData().SelectionExists(false));
  const bool paste = (keys == ssCtrl && key == 'V') || (keys == ssShift && key == VK_INSERT);
  if (cut) CutSelection();
  if (paste) Paste();
  return cut || paste;
}
