// The character codecs of the XML library: the abstract codec, the single-byte code
// pages, UTF-8, UTF-16, UCS-2 and UCS-4, and the lookup of codecs by charset label.
#pragma once

#include "xml/codecs/CodecAliases.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/Ucs4Codecs.h"
#include "xml/codecs/UnicodeCodec.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/codecs/Utf8Codec.h"
