// UTF-16 text between our strings and Qt's, unit for unit.
#pragma once

#include <QString>

#include "platform/base/Types.h"

inline QString ToQString(WideStringView text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline WideString FromQString(const QString& text) {
  return WideString(reinterpret_cast<const WideChar*>(text.utf16()), static_cast<size_t>(text.size()));
}
