#include "platform/graphics/PenBrush.h"

#include "platform/graphics/Font.h"

HPEN CreatePen(int32_t style, int32_t width, COLORREF color) {
  return static_cast<HPEN>(RegisterGdiObject(std::make_shared<TPenObject>(style, width, color)));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(RegisterGdiObject(std::make_shared<TBrushObject>(BS_SOLID, color)));
}

HGDIOBJ GetStockObject(int32_t index) {
  static HGDIOBJ white = RegisterStockObject(std::make_shared<TBrushObject>(BS_SOLID, 0xFFFFFF));
  static HGDIOBJ black = RegisterStockObject(std::make_shared<TBrushObject>(BS_SOLID, 0));
  static HGDIOBJ nullBrush = RegisterStockObject(std::make_shared<TBrushObject>(BS_NULL, 0));
  static HGDIOBJ whitePen = RegisterStockObject(std::make_shared<TPenObject>(PS_SOLID, 1, 0xFFFFFF));
  static HGDIOBJ blackPen = RegisterStockObject(std::make_shared<TPenObject>(PS_SOLID, 1, 0));
  static HGDIOBJ nullPen = RegisterStockObject(std::make_shared<TPenObject>(PS_NULL, 1, 0));
  switch (index) {
    case WHITE_BRUSH:
      return white;
    case BLACK_BRUSH:
      return black;
    case NULL_BRUSH:
      return nullBrush;
    case WHITE_PEN:
      return whitePen;
    case BLACK_PEN:
      return blackPen;
    case NULL_PEN:
      return nullPen;
    case DEFAULT_GUI_FONT: {
      static HGDIOBJ guiFont = [] {
        LOGFONTW lf;
        lf.lfHeight = -11;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        std::u16string_view name = u"Arial";
        std::copy(name.begin(), name.end(), lf.lfFaceName);
        HFONT font = CreateFontIndirectW(&lf);
        std::shared_ptr<TGdiObject> shared = SharedGdiObject(font);
        DeleteObject(font);
        return RegisterStockObject(std::move(shared));
      }();
      return guiFont;
    }
    default:
      return nullptr;
  }
}

COLORREF ColorToRGB(TColor color) noexcept {
  if ((static_cast<COLORREF>(color) & 0xFF000000u) == 0) return static_cast<COLORREF>(color);
  if ((color & ~0xFF) == clSystemColor) return GetSysColor(color & 0xFF);
  return 0;
}

TPen::~TPen() { DeleteObject(FHandle); }

void TPen::Changed() {
  DeleteObject(FHandle);
  FHandle = nullptr;
  if (OnChange) OnChange();
}

void TPen::SetColor(TColor value) {
  if (ChangeProperty(FColor, value)) Changed();
}

void TPen::SetWidth(int32_t value) {
  if (value >= 0 && ChangeProperty(FWidth, value)) Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (ChangeProperty(FStyle, value)) Changed();
}

void TPen::SetMode(TPenMode value) {
  if (ChangeProperty(FMode, value) && OnChange) OnChange();
}

void TPen::Assign(const TPen& source) {
  FColor = source.FColor;
  FWidth = source.FWidth;
  FStyle = source.FStyle;
  FMode = source.FMode;
  Changed();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    int32_t style = FStyle == psClear         ? PS_NULL
                    : FStyle == psDot         ? PS_DOT
                    : FStyle == psInsideFrame ? PS_INSIDEFRAME
                                              : PS_SOLID;
    FHandle = CreatePen(style, FWidth, ColorToRGB(FColor));
  }
  return FHandle;
}

int32_t TPen::Rop2() const noexcept {
  switch (FMode) {
    case pmBlack:
      return R2_BLACK;
    case pmWhite:
      return R2_WHITE;
    case pmNop:
      return R2_NOP;
    case pmNot:
      return R2_NOT;
    case pmNotCopy:
      return R2_NOTCOPYPEN;
    case pmXor:
      return R2_XORPEN;
    default:
      return R2_COPYPEN;
  }
}

TBrush::~TBrush() { DeleteObject(FHandle); }

void TBrush::Changed() {
  DeleteObject(FHandle);
  FHandle = nullptr;
  if (OnChange) OnChange();
}

void TBrush::SetColor(TColor value) {
  if (value == FColor && (value == clNone) == (FStyle == bsClear)) return;
  FColor = value;
  if (value == clNone)
    FStyle = bsClear;
  else if (FStyle == bsClear)
    FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (ChangeProperty(FStyle, value)) Changed();
}

void TBrush::Assign(const TBrush& source) {
  FColor = source.FColor;
  FStyle = source.FStyle;
  Changed();
}

HBRUSH TBrush::Handle() {
  if (!FHandle)
    FHandle =
        FStyle == bsClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : CreateSolidBrush(ColorToRGB(FColor));
  return FHandle;
}
