#include "xml/parser/WideStringCharReader.h"

#include "xml/codecs/Utf16Codecs.h"

TWideStringCharReader::TWideStringCharReader(WideStringView text)
    : Stream(text), Reader(&Stream, CodecClassOf<TUTF16LECodec>(), 4096, 0, 0, 0, 0, 1) {}
