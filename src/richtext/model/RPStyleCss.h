// Writing text to a stream for the CSS style sheet, and making names safe inside it.
#pragma once

#include "platform/base/Streams.h"
#include "platform/base/Types.h"

// The bytes of s.
void WriteStringToStream(TStream& stream, AnsiStringView s);
// s and CR LF.
void WriteLineToStream(TStream& stream, AnsiStringView s);
// s, then CR LF when multiline.
void WriteStringToStreamEx(TStream& stream, AnsiStringView s, bool multiline);

// s as a CSS string in single quotes: quotes, backslashes, control characters and the
// characters that end a declaration, a rule or an HTML style element (; { } < >) are
// escaped, so that no name can end the string early. Bytes from 0x80 stay as they are.
AnsiString CssQuotedString(AnsiStringView s);
// s made safe inside a CSS comment: "*/" cannot close it and "</" cannot close an HTML
// style element around it; control characters become spaces.
AnsiString CssCommentText(AnsiStringView s);
