#include "richtext/edit/RPDropTarget.h"

#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPClipboardFormats.h"

TRPDropTarget::~TRPDropTarget() { FControl.ReleaseDropTarget(); }

int32_t TRPDropTarget::ChosenEffect(TShiftState keyState, int32_t allowedEffects) const {
  if ((keyState & ssCtrl) == 0 && (allowedEffects & DROPEFFECT_MOVE) != 0 && FControl.IsDragFromThisControl())
    return DROPEFFECT_MOVE;
  return (allowedEffects & DROPEFFECT_COPY) != 0 ? DROPEFFECT_COPY : DROPEFFECT_LINK;
}

int32_t TRPDropTarget::DragEnter(const IDataObject& data, TShiftState keyState, const TPoint& point,
                                 int32_t allowedEffects) {
  FAccepting = false;
  // Every format is asked, as the editor may count them.
  bool acceptable = false;
  for (const uint32_t format : data.Formats())
    if (FControl.OleCanAcceptFormat(format)) acceptable = true;
  int32_t effect = acceptable ? ChosenEffect(keyState, allowedEffects) : DROPEFFECT_NONE;
  FControl.DoOleDragEnter(data, keyState, point, allowedEffects, effect);
  if (effect != DROPEFFECT_NONE) {
    FAccepting = FControl.OleDragEnter(point.X, point.Y);
    if (!FAccepting) effect = DROPEFFECT_NONE;
  }
  return effect;
}

int32_t TRPDropTarget::DragOver(TShiftState keyState, const TPoint& point, int32_t allowedEffects) {
  if (!FAccepting || !FControl.OleDragOver(point.X, point.Y)) return DROPEFFECT_NONE;
  int32_t effect = ChosenEffect(keyState, allowedEffects);
  FControl.DoOleDragOver(keyState, point, allowedEffects, effect);
  return effect;
}

void TRPDropTarget::DragLeave() {
  FAccepting = false;
  FControl.OleDragLeave();
}

int32_t TRPDropTarget::Drop(const IDataObject& data, TShiftState keyState, const TPoint& point,
                            int32_t allowedEffects) {
  FAccepting = false;
  const bool move = ChosenEffect(keyState, allowedEffects) == DROPEFFECT_MOVE;
  const int32_t effect = FControl.OleDrop(data, move, keyState, point, allowedEffects);
  if (effect == DROPEFFECT_COPY && (allowedEffects & DROPEFFECT_COPY) == 0) return DROPEFFECT_LINK;
  return effect;
}

std::unique_ptr<TMemoryStream> TRPDropTarget::GetDataStream(const IDataObject& data, uint32_t format) {
  const std::optional<AnsiString> bytes = data.GetData(format);
  if (!bytes) return nullptr;
  std::string_view content = *bytes;
  if (format == RPClipboardFormats().RichPane) content = RPNativeBlockDocument(content);
  auto stream = std::make_unique<TMemoryStream>();
  if (!content.empty()) stream->WriteBuffer(content.data(), static_cast<int32_t>(content.size()));
  stream->SetPosition(0);
  return stream;
}

bool TRPDropTarget::GetDataString(const IDataObject& data, uint32_t format, AnsiString& text) {
  const std::optional<AnsiString> bytes = data.GetData(format);
  if (!bytes) return false;
  text = bytes->substr(0, bytes->find('\0'));
  return true;
}

bool TRPDropTarget::GetUnicodeText(const IDataObject& data, WideString& text) {
  const std::optional<AnsiString> bytes = data.GetData(CF_UNICODETEXT);
  if (!bytes) return false;
  text.clear();
  for (size_t i = 0; i + 1 < bytes->size(); i += 2) {
    const auto unit =
        static_cast<WideChar>(static_cast<uint8_t>((*bytes)[i]) | (static_cast<uint8_t>((*bytes)[i + 1]) << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return true;
}

std::unique_ptr<TMetafile> TRPDropTarget::GetMetafile(const IDataObject& data) {
  for (const uint32_t format : {uint32_t{CF_ENHMETAFILE}, uint32_t{CF_METAFILEPICT}}) {
    const std::optional<AnsiString> bytes = data.GetData(format);
    if (!bytes) continue;
    auto metafile = std::make_unique<TMetafile>();
    try {
      metafile->LoadFromBytes({reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()});
      return metafile;
    } catch (const EInvalidGraphic&) {
      // A damaged picture: the other form may still be there.
    }
  }
  return nullptr;
}

std::unique_ptr<TBitmap> TRPDropTarget::GetBitmap(const IDataObject& data, bool tryDIB) {
  auto bitmap = std::make_unique<TBitmap>();
  if (tryDIB) {
    if (const std::optional<AnsiString> file = data.GetData(CF_DIB)) {
      TMemoryStream stream;
      if (!file->empty()) stream.WriteBuffer(file->data(), static_cast<int32_t>(file->size()));
      stream.SetPosition(0);
      try {
        bitmap->LoadFromStream(stream);
        return bitmap;
      } catch (const Exception&) {
        // A file the reader refuses or that ends early: the plain picture may still be there.
      }
    }
  }
  if (data.GetBitmap(*bitmap)) return bitmap;
  return nullptr;
}
