// The metafile player's life and its saved drawing states.
#include "platform/graphics/MetafilePlayer.h"

#include "platform/graphics/MetafileRecorder.h"
#include "platform/graphics/TextDraw.h"

TMetafilePlayer::TMetafilePlayer(TDeviceContext& dc, const TXForm& output, double unitsPerMm,
                                 const TMetafileLimits& limits, int64_t metafileBytes)
    : FDc(dc),
      FOutput(output),
      FUnitsPerMm(unitsPerMm > 0 ? unitsPerMm : 96 / 25.4),
      FLimits(limits),
      FWork(BudgetForBytes(limits.PlayWorkAllowance, limits.PlayWorkPerByte, metafileBytes, limits.MaxPlayWork)) {
  FSavedDc = ::SaveDC(&FDc);
  FBaseClip = FDc.State.Clip;
  State.Pen = TMfPen{PS_SOLID, 0, 0};
  State.Brush = TMfBrush{BS_SOLID, 0xFFFFFF, 0, nullptr};
}

TMetafilePlayer::~TMetafilePlayer() { ::RestoreDC(&FDc, FSavedDc); }

bool TMetafilePlayer::Afford(int64_t units) {
  if (FWork.Exhausted()) return false;
  if (FWork.Spend(units)) return true;
  ++Skipped;  // the record that ran out; the ones after it are skipped unplayed
  return false;
}

void TMetafilePlayer::SaveState() {
  if (static_cast<int32_t>(FSaved.size()) >= FLimits.MaxSavedStates) {
    ++Skipped;
    return;
  }
  FSaved.push_back(State);
}

void TMetafilePlayer::RestoreState(int32_t relative) {
  // Negative: that many levels back; positive: the state saved at that depth.
  const int64_t depth = static_cast<int64_t>(FSaved.size());
  const int64_t target = relative < 0 ? depth + relative : int64_t{relative} - 1;
  if (target < 0 || target >= depth) {
    ++Skipped;
    return;
  }
  State = FSaved[static_cast<size_t>(target)];
  FSaved.resize(static_cast<size_t>(target));
  ApplyClip();
}

TMfState TMetafilePlayer::RecordedState() const {
  TMfState state = State;
  state.Pen.Width = State.Pen.Width <= 0 ? 0 : State.Pen.Width * ScaleX();
  state.Clip = FDc.State.Clip;
  return state;
}
