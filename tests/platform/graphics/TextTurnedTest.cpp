// Text of a font with an escapement: drawn along the turned baseline, glyphs turned with it.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/CanvasShapes.h"
#include "platform/graphics/TextDraw.h"

namespace {

// A white square bitmap whose context draws black 20-pixel Arial text with an escapement.
struct TTurnedSurface {
  explicit TTurnedSurface(int32_t escapement, int32_t size = 120, TPixelFormat format = pf24bit)
      : Bitmap(std::make_unique<TBitmap>()) {
    Bitmap->SetPixelFormat(format);
    Bitmap->SetSize(size, size);
    Dc = Bitmap->Canvas()->Handle();
    LOGFONTW lf;
    lf.lfHeight = -20;
    lf.lfEscapement = lf.lfOrientation = escapement;
    const std::u16string face = u"Arial";
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    Font = CreateFontIndirectW(&lf);
    SelectObject(Dc, Font);
    SetBkMode(Dc, TRANSPARENT);
    SetTextColor(Dc, 0);
  }
  ~TTurnedSurface() { DeleteObject(Font); }
  void Out(int32_t x, int32_t y, WideStringView text, uint32_t options = 0, const TRect* rect = nullptr) const {
    ExtTextOutW(Dc, x, y, options, rect, text.data(), static_cast<uint32_t>(text.size()), nullptr);
  }
  bool Inked(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < Bitmap->Width() && y < Bitmap->Height() && Bitmap->PixelColor(x, y) != clWhite;
  }
  TColor At(int32_t x, int32_t y) const { return Bitmap->PixelColor(x, y); }
  // The box of the pixels that are not white.
  TRect InkBox() const {
    TRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t y = 0; y < Bitmap->Height(); ++y)
      for (int32_t x = 0; x < Bitmap->Width(); ++x)
        if (Inked(x, y))
          box = TRect{std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                      std::max(box.Bottom, y + 1)};
    return box;
  }
  std::unique_ptr<TBitmap> Bitmap;
  HDC Dc = nullptr;
  HFONT Font = nullptr;
};

// The centre and main axis of a surface's ink, each pixel weighed by its darkness.
struct TInkMoments {
  explicit TInkMoments(const TTurnedSurface& surface) {
    for (int32_t y = 0; y < surface.Bitmap->Height(); ++y)
      for (int32_t x = 0; x < surface.Bitmap->Width(); ++x) {
        const double w = 255 - GetRValue(surface.At(x, y));
        N += w, Sx += w * x, Sy += w * y, Sxx += w * x * x, Syy += w * y * y, Sxy += w * x * y;
      }
  }
  // Of pixel centres: pixel (x, y) spans x..x+1, y..y+1.
  double X() const { return Sx / N + 0.5; }
  double Y() const { return Sy / N + 0.5; }
  // Counter-clockwise as seen, in radians.
  double Axis() const {
    const double x = Sx / N, y = Sy / N;
    const double cxx = Sxx / N - x * x, cyy = Syy / N - y * y, cxy = Sxy / N - x * y;
    return -0.5 * std::atan2(2 * cxy, cxx - cyy);
  }
  double N = 0, Sx = 0, Sy = 0, Sxx = 0, Syy = 0, Sxy = 0;
};

}  // namespace

// Turned by a right angle, text is the level text's pixels turned about the reference
// point, exactly (at every depth and alignment).
TEST(TextTurnedTest, RightAnglesTurnTheLevelTextExactly) {
  struct TCase {
    int32_t Escapement;
    // Where the turned pixel of level pixel (dx, dy) from the reference lies.
    int32_t (*X)(int32_t dx, int32_t dy);
    int32_t (*Y)(int32_t dx, int32_t dy);
  } cases[] = {
      {900, [](int32_t, int32_t dy) { return dy; }, [](int32_t dx, int32_t) { return -dx - 1; }},
      {1800, [](int32_t dx, int32_t) { return -dx - 1; }, [](int32_t, int32_t dy) { return -dy - 1; }},
      {2700, [](int32_t, int32_t dy) { return -dy - 1; }, [](int32_t dx, int32_t) { return dx; }},
      {-900, [](int32_t, int32_t dy) { return -dy - 1; }, [](int32_t dx, int32_t) { return dx; }},
  };
  constexpr int32_t kRef = 60;
  for (const TPixelFormat format : {pf24bit, pf1bit})
    for (const uint32_t align : {TA_LEFT | TA_BASELINE, TA_CENTER | TA_TOP, TA_RIGHT | TA_BOTTOM})
      for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Escapement << " align " << align << (format == pf1bit ? " 1 bit" : ""));
        TTurnedSurface level(0, 120, format), turned(c.Escapement, 120, format);
        SetTextAlign(level.Dc, align);
        SetTextAlign(turned.Dc, align);
        level.Out(kRef, kRef, u"Wolf");
        turned.Out(kRef, kRef, u"Wolf");
        int64_t inked = 0, wrong = 0;
        for (int32_t y = 0; y < 120; ++y)
          for (int32_t x = 0; x < 120; ++x) {
            const int32_t tx = kRef + c.X(x - kRef, y - kRef), ty = kRef + c.Y(x - kRef, y - kRef);
            if (!level.Inked(x, y)) continue;
            ++inked;
            if (tx < 0 || ty < 0 || tx >= 120 || ty >= 120 || turned.At(tx, ty) != level.At(x, y)) ++wrong;
          }
        EXPECT_GT(inked, 100);
        EXPECT_EQ(wrong, 0);
        const TRect a = level.InkBox(), b = turned.InkBox();
        EXPECT_EQ(c.Escapement % 1800 == 0 ? a.Width() : a.Height(), b.Width());
      }
}

// At any other angle the ink lies along the turned baseline, and the current position
// moves along it by the text's width.
TEST(TextTurnedTest, OtherAnglesFollowTheBaseline) {
  for (const int32_t escapement : {300, 450, 1350, 3300}) {
    SCOPED_TRACE(escapement);
    TTurnedSurface level(0, 200), turned(escapement, 200);
    SetTextAlign(level.Dc, TA_LEFT | TA_BASELINE | TA_UPDATECP);
    SetTextAlign(turned.Dc, TA_LEFT | TA_BASELINE | TA_UPDATECP);
    MoveToEx(level.Dc, 100, 100, nullptr);
    MoveToEx(turned.Dc, 100, 100, nullptr);
    level.Out(0, 0, u"\u2014\u2014\u2014\u2014");  // em dashes: a bar along the baseline
    turned.Out(0, 0, u"\u2014\u2014\u2014\u2014");
    TPoint levelEnd, turnedEnd;
    MoveToEx(level.Dc, 0, 0, &levelEnd);
    MoveToEx(turned.Dc, 0, 0, &turnedEnd);
    const double angle = escapement * std::numbers::pi / 1800, width = levelEnd.X - 100;
    EXPECT_NEAR(turnedEnd.X, 100 + width * std::cos(angle), 1);
    EXPECT_NEAR(turnedEnd.Y, 100 - width * std::sin(angle), 1);
    // The ink's main axis (from its second moments) is the baseline's direction, and its
    // centre is the level ink's centre turned about the reference point.
    const TInkMoments ink(turned), flat(level);
    ASSERT_GT(ink.N, 50 * 255);
    double off = std::fmod(std::abs(ink.Axis() - angle), std::numbers::pi);
    off = std::min(off, std::numbers::pi - off);
    EXPECT_LT(off, 3 * std::numbers::pi / 180) << "axis " << ink.Axis() * 180 / std::numbers::pi;
    const double u = flat.X() - 100, v = flat.Y() - 100;
    EXPECT_NEAR(ink.X(), 100 + u * std::cos(angle) + v * std::sin(angle), 0.3);
    EXPECT_NEAR(ink.Y(), 100 - u * std::sin(angle) + v * std::cos(angle), 0.3);
  }
}

// An opaque background fills the turned text cell, and a clip rectangle still cuts.
TEST(TextTurnedTest, BackgroundAndClipFollowTheTurn) {
  TTurnedSurface turned(900);
  SetBkMode(turned.Dc, OPAQUE);
  SetBkColor(turned.Dc, RGB(255, 0, 0));
  SetTextAlign(turned.Dc, TA_LEFT | TA_TOP);
  turned.Out(40, 100, u"IIII");
  // The cell runs up from (40, 100) and right from x = 40 by the line height.
  EXPECT_NE(turned.At(45, 98), clWhite);
  EXPECT_EQ(turned.At(35, 98), clWhite);   // left of the cell
  EXPECT_EQ(turned.At(45, 102), clWhite);  // below the reference point
  EXPECT_EQ(turned.At(80, 98), clWhite);   // beyond the line height

  TTurnedSurface clipped(900);
  const TRect rect{0, 60, 120, 120};
  SetTextAlign(clipped.Dc, TA_LEFT | TA_TOP);
  clipped.Out(40, 100, u"IIIIIIII", ETO_CLIPPED, &rect);
  const TRect box = clipped.InkBox();
  EXPECT_GE(box.Top, 60);
  EXPECT_LE(box.Bottom, 100);
  EXPECT_LT(box.Top, 66);
}
