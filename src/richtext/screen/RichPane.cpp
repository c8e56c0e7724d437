// The rich view on screen.
#include "richtext/screen/RichPane.h"

TRichPane::TRichPane(TComponent* owner)
    : TCustomRichPane(owner), FWindow(std::make_unique<TRPWindow>(nullptr, *this)) {}

TRichPane::~TRichPane() { FWindow.reset(); }
