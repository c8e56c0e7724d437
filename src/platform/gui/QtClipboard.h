// Gathered formats (Clipbrd.h) as Qt's MIME data, for the clipboard and for drags.
#pragma once

#include <QMimeData>

#include "platform/gui/Clipbrd.h"

// A new MIME data object; the caller owns it.
QMimeData* ToMimeData(const TDataObject& data);
