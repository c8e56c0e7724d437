// Charset labels ("UTF-8", "windows-1251", "latin1") to codec classes and back.
#pragma once

#include "platform/base/Types.h"
#include "xml/codecs/UnicodeCodec.h"

// The class of the first alias-table label equal to label, compared without regard to
// case by the locale's rule; nullptr when no label matches.
TUnicodeCodecClass FindCodecClassByAlias(AnsiStringView label);
// The first label of the first alias-table row of codecClass; empty when none has it.
AnsiString GetCodecAlias(TUnicodeCodecClass codecClass);
// text encoded by a fresh codec of codecClass (raising under its default cfRaise); empty
// for nullptr.
AnsiString EncodeWithCodecClass(TUnicodeCodecClass codecClass, WideStringView text);
// The codec class of a MIBenum; nullptr for a MIBenum without a codec.
TUnicodeCodecClass CodecClassOfMIBenum(int32_t mibEnum);
// The alias table first, then every name of the charset registry (TCSMIB); nullptr for
// an unknown label or a charset without a codec. "Mac" and "Macintosh" name Mac Latin 2
// here, as the alias table wins over the registry.
TUnicodeCodecClass ResolveCodecClass(AnsiStringView label);
