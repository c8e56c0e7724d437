// A character reader over text already in memory: the UTF-16 units go through a string
// stream and the UTF-16LE codec, so line ends arrive normalised as in every reader.
#pragma once

#include "xml/codecs/UCS4Reader.h"
#include "xml/utils/WideStringUtils.h"

struct TWideStringCharReader {
  explicit TWideStringCharReader(WideStringView text);

  TUtilsWideStringStream Stream;
  TUtilsUCS4Reader Reader;
};
