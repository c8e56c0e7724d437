// UTF-16 text as UTF-8, converted by Qt as the editor's clipboard and peers see it.
#pragma once

#include <QString>

#include <string>

#include "platform/base/Types.h"

inline std::string Utf8(const WideString& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}
