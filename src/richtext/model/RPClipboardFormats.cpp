#include "richtext/model/RPClipboardFormats.h"

#include "platform/base/ClipboardFormats.h"

const TRPClipboardFormats& RPClipboardFormats() {
  static const TRPClipboardFormats formats{RegisterClipboardFormatA(RPFormatRichPane),
                                           RegisterClipboardFormatA(RPFormatRTF), RegisterClipboardFormatA(RPFormatURL),
                                           RegisterClipboardFormatA(RPFormatHTML)};
  return formats;
}
