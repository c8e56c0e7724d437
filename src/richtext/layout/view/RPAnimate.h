// Image animation: a picture whose image is a strip of frames plays them in the rich view
// control. Each animated picture owns an animator; the control's document keeps the
// animators in a list (not owning them), and the control's animation timer advances them
// all, drawing the new frame of each picture that is in view.
//
// Timing: every animator counts down its Interval (milliseconds to its next frame); the
// list's MinInterval is the smallest of them, the delay of the next timer step. A step
// takes MinInterval off every animator; those that reach 0 change frame.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "platform/base/Object.h"
#include "richtext/model/RPPictureItems.h"

class TCanvas;
class TCustomRPData;
class TCustomRPFormattedData;
class TRPAnimatorList;
class TCustomRichPane;

// What a control's animation does with its documents.
enum TRPAnimationMode : uint8_t { rpaniDisabled, rpaniManualStart, rpaniOnFormat };

// The timer id of the control's animation (its host's timers).
inline constexpr uint32_t RPAnimationTimerId = 2;

class TRPAnimator : public TObject, public IRPPictureAnimator {
public:
  // Bound to item of data (Update).
  TRPAnimator(TCustomRPFormattedData* data, TRPGraphicItemInfo& item);
  // Leaves its list; an emptied list stops being active.
  ~TRPAnimator() override;

  TRPAnimatorList* List = nullptr;
  TRPGraphicItemInfo* Item = nullptr;
  int32_t Frame = 0;
  // Milliseconds until the next change of frame.
  int32_t Interval = 0;
  TCustomRPFormattedData* Data = nullptr;

  // Data (when given) and item.
  void Update(TCustomRPFormattedData* data, TRPGraphicItemInfo& item);
  void Rebind(TRPGraphicItemInfo& item) override { Item = &item; }
  // The next frame, after the last one the first.
  void AdvanceFrame();
  // Whether the picture's first draw item stands in the control's client area
  // vertically; false while the picture has no draw item.
  bool IsInView() const;
  // Draws the current frame where the picture stands on the control's window.
  void PaintCurrentFrame();

  virtual int32_t GetFrameCount() const = 0;
  // The picture went out of view while its frame changed; nothing in this class.
  virtual void Suspend() {}
  // Back to the first frame and the full interval.
  virtual void Reset() = 0;
  virtual void ChangeFrame() = 0;

protected:
  // The picture's first draw item and the control that shows the document; false when
  // either is missing.
  bool Placement(int32_t& drawNo, TCustomRichPane*& control) const;
};

// A bitmap strip: the picture's bitmap (its palette copy when it has one) cut into cells
// of the picture's image size, the frames running left to right, then top to bottom.
class TRPBitmapAnimator : public TRPAnimator {
public:
  using TRPAnimator::TRPAnimator;
  int32_t GetFrameCount() const override;
  // Interval: the picture's frame delay (hundredths of a second) in milliseconds.
  void Reset() override;
  void ChangeFrame() override;
  // The current frame's cell copied to (x, y).
  void Draw(TCanvas& canvas, int32_t x, int32_t y) override;

private:
  const TBitmap* Strip() const;
};

class TRPAnimatorList {
public:
  // At most this many animators play in one control; more are freed at once.
  static constexpr int32_t MaxAnimators = 300;

  TRPAnimatorList() = default;
  // The animators left stay with their pictures, out of the list.
  ~TRPAnimatorList() { Clear(); }
  TRPAnimatorList(const TRPAnimatorList&) = delete;
  TRPAnimatorList& operator=(const TRPAnimatorList&) = delete;

  int32_t MinInterval = std::numeric_limits<int32_t>::max();
  int32_t LastMinInterval = std::numeric_limits<int32_t>::max();
  // The control's timer runs for the list.
  bool Active = false;

  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  TRPAnimator* Items(int32_t index) const { return FItems[static_cast<size_t>(index)]; }
  // Takes the animator that animator holds (a TRPAnimator) into the list, reset, and
  // lowers MinInterval to its interval; when the list is full the animator is freed and
  // animator cleared.
  void AddAnimator(std::unique_ptr<IRPPictureAnimator>& animator);
  // Takes an animator out of the list (its destructor does).
  void Remove(TRPAnimator& animator);
  // Every animator leaves the list, which goes inactive.
  void Clear();
  // Every animator leaves the list and its picture frees it; the list goes inactive.
  void FreeAnimators();
  void SuspendAnimators();
  // One step of the timer, MinInterval milliseconds after the last: every interval loses
  // the old MinInterval; those that reach 0 change frame and are drawn when in view (else
  // suspended); MinInterval becomes the smallest interval now.
  void TimerStep();

private:
  std::vector<TRPAnimator*> FItems;
};

// The picture's animator for its document: a strip animator when the document animates
// (its control's animation runs), the picture's frame delay is positive, its image is a
// bitmap and the strip has more than one frame (a new animator goes into the control's
// list); otherwise the picture loses its animator. Installed as the pictures' animator
// updater by RegisterRPAnimation.
void CreateStripAnimator(TRPGraphicItemInfo& item, TCustomRPData& rpData);
// Makes the pictures of every document call CreateStripAnimator; the rich view control
// does it when it is created.
void RegisterRPAnimation();
