// The editor's end of drag and drop: TRPDropTarget turns the drags that reach the
// editor's window into the editor's questions (IRPDropTargetControl), and reads the
// formats of dropped data for the editor's drop handling.
//
// The effect of a drag: a move when Ctrl is not held, the drag allows moving and it
// started in this same editor; otherwise a copy when the drag allows copying, else a
// link. A drag whose data offers no format the editor accepts gets none and never
// reaches OleDragEnter.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/base/UserInput.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Metafile.h"
#include "platform/gui/Clipbrd.h"

class TBitmap;

// What the drop target asks of the editor it serves. Points are client coordinates.
class IRPDropTargetControl {
public:
  virtual ~IRPDropTargetControl() = default;
  // Whether the editor takes data of a format (its AcceptDragDropFormats).
  virtual bool OleCanAcceptFormat(uint32_t format) = 0;
  // A drag enters: true when it may drop here (the drop caret is shown).
  virtual bool OleDragEnter(int32_t x, int32_t y) = 0;
  // A drag moves: true when text may go where the drop caret now stands.
  virtual bool OleDragOver(int32_t x, int32_t y) = 0;
  virtual void OleDragLeave() = 0;
  // Inserts the drop; answers the effect it had (DROPEFFECT_NONE: nothing inserted).
  virtual int32_t OleDrop(const IDataObject& data, bool move, TShiftState keyState, const TPoint& point,
                          int32_t allowedEffects) = 0;
  // Whether the drag under way started in this editor.
  virtual bool IsDragFromThisControl() const = 0;
  // The editor's OnOleDragEnter and OnOleDragOver events, which may change the effect.
  virtual void DoOleDragEnter(const IDataObject& /*data*/, TShiftState /*keyState*/, const TPoint& /*point*/,
                              int32_t /*allowedEffects*/, int32_t& /*effect*/) {}
  virtual void DoOleDragOver(TShiftState /*keyState*/, const TPoint& /*point*/, int32_t /*allowedEffects*/,
                             int32_t& /*effect*/) {}
  // The drop target goes away: the editor forgets it.
  virtual void ReleaseDropTarget() {}
};

class TRPDropTarget {
public:
  explicit TRPDropTarget(IRPDropTargetControl& control) : FControl(control) {}
  ~TRPDropTarget();
  TRPDropTarget(const TRPDropTarget&) = delete;
  TRPDropTarget& operator=(const TRPDropTarget&) = delete;

  // The drag's calls; each answers the effect (DROPEFFECT_ values).
  int32_t DragEnter(const IDataObject& data, TShiftState keyState, const TPoint& point, int32_t allowedEffects);
  int32_t DragOver(TShiftState keyState, const TPoint& point, int32_t allowedEffects);
  void DragLeave();
  int32_t Drop(const IDataObject& data, TShiftState keyState, const TPoint& point, int32_t allowedEffects);
  bool Accepting() const { return FAccepting; }

  // --- Reading dropped data ------------------------------------------------------------
  static bool HasFormat(const IDataObject& data, uint32_t format) { return data.HasFormat(format); }
  // The bytes of a format in a new stream at position 0; nullptr when the data has none.
  // A native-format block gives the document bytes its length field announces, never
  // more than the block holds (nothing for a block shorter than the field).
  static std::unique_ptr<TMemoryStream> GetDataStream(const IDataObject& data, uint32_t format);
  // The bytes of a format up to the first zero byte; false when the data has none.
  static bool GetDataString(const IDataObject& data, uint32_t format, AnsiString& text);
  // The UTF-16 text up to the first zero code unit; false when the data has none.
  static bool GetUnicodeText(const IDataObject& data, WideString& text);
  // A picture: with tryDIB the bitmap file (CF_DIB) first, read by the platform's bitmap
  // reader as its headers describe it (a file it refuses counts as none); then the plain
  // picture (CF_BITMAP). nullptr when neither gives one.
  static std::unique_ptr<TBitmap> GetBitmap(const IDataObject& data, bool tryDIB);
  // A metafile picture: the enhanced metafile (CF_ENHMETAFILE) first, then a Windows
  // metafile file (CF_METAFILEPICT); nullptr when neither holds one the reader takes.
  static std::unique_ptr<TMetafile> GetMetafile(const IDataObject& data);
  static std::vector<WideString> GetFileList(const IDataObject& data) { return data.GetFileList(); }

private:
  int32_t ChosenEffect(TShiftState keyState, int32_t allowedEffects) const;
  IRPDropTargetControl& FControl;
  bool FAccepting = false;
};
