// What the items and the native rich-text format (RPF) share to write and read values:
// text lines, hexadecimal forms of bytes, strings, wide strings, pictures and components,
// length-prefixed binary blocks, and the field readers and writers of RPF header lines
// (numbers, quoted strings, tags, style numbers by name).
//
// Strings are byte strings unless they are called wide. A reader takes a cursor, the
// rest of a header line, and moves it past what it read; a reader that fails leaves the
// cursor where it was. Every length read from a stream is checked against what is left
// of it before anything is allocated for it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Components.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"
#include "richtext/model/RPTag.h"

class TCustomRPData;
class IRPStyleSheet;

// --- Writing ------------------------------------------------------------------------------

// The bytes of s.
void RPFWrite(TStream& stream, AnsiStringView s);
// s and CR LF.
void RPFWriteLine(TStream& stream, AnsiStringView s);
// A line of item text: stored UTF-16 as hexadecimal digits and CR LF (unicode and hex),
// or as it is and the two bytes of U+2029, ") " (unicode, not hex); 8-bit text and CR LF.
void RPFWriteTextLine(TStream& stream, AnsiStringView s, bool unicode, bool hex);

// --- Hexadecimal ------------------------------------------------------------------------
// Two upper-case digits per byte, high nibble first; four per UTF-16 code unit, most
// significant first. Reading takes digits of either case.

AnsiString RPFStreamToHex(TMemoryStream& stream);
AnsiString RPFStrToHex(AnsiStringView s);
AnsiString RPFWideStrToHex(WideStringView w);
// The bytes of the digit pairs into stream (its size becomes half the length, its
// position 0). False for an odd length (stream untouched) or at the first pair with
// another character (the bytes before it are kept); true for an empty text.
bool RPFHexToStream(AnsiStringView s, TMemoryStream& stream);
// The bytes of the digit pairs; empty for an odd length. Conversion stops at the first
// pair with another character: what came before it is the result.
AnsiString RPFHexToStr(AnsiStringView s);
// The code units of the groups of four digits; empty unless the length is a multiple of
// 4. Conversion stops at the first invalid digit: what came before it is the result.
WideString RPFHexToWideStr(AnsiStringView s);

// --- Pictures (any graphic, in its own stream format) -------------------------------------

// The graphic saved to a memory stream, as hexadecimal text.
AnsiString RPFSavePictureToHex(const TGraphic& graphic);
// The bytes of the hexadecimal text loaded into graphic; the hexadecimal conversion's
// answer (false: nothing is loaded). Raises what the graphic raises on its data.
bool RPFLoadPictureFromHex(AnsiStringView s, TGraphic& graphic);
// The bytes of s loaded into graphic; raises what the graphic raises.
void RPFLoadPictureFromBinaryStr(AnsiStringView s, TGraphic& graphic);
// A 4-byte little-endian length, then the graphic's stream: the length is written as a
// placeholder, the graphic saved, then the real length (end - start - 4) written in place
// and the stream left at the end.
void RPFSavePictureBinary(TStream& stream, const TGraphic& graphic);
// Reads the 4-byte length and that many bytes, and loads graphic from them. A length
// beyond the end of stream raises EReadError "Stream read error" before anything is
// allocated for it.
void RPFLoadPictureBinary(TStream& stream, TGraphic& graphic);
// The length-prefixed block at the stream's position (as RPFSavePictureBinary wrote it),
// checked as in RPFLoadPictureBinary; the stream is left after it.
AnsiString RPFReadBinaryBlock(TStream& stream);

// --- Components (the platform's component streaming, Filer.h) ----------------------------

// Puts a control read from a stream into its window (and is called again after reading);
// empty when there is none to put it into.
using TRPControlParentSetter = std::function<void(TComponent& component)>;

// The component written as a component stream, as hexadecimal text.
AnsiString RPFSaveControlToHex(TComponent& component);
// The component stream length-prefixed, as RPFSavePictureBinary writes a picture.
void RPFSaveControlBinary(TStream& stream, TComponent& component);
// Reads a component stream (hexadecimal text / its bytes) into component. With a class
// name, component first becomes a new component of that registered class (none when the
// name is not registered); parent (when given) is called before reading and after it.
// With no component the stream creates one of the class it names. When reading raises,
// component becomes none and the answer is false; the hexadecimal form also answers
// false for invalid text.
bool RPFLoadControlFromHex(AnsiStringView s, std::unique_ptr<TComponent>& component, const AnsiString& className,
                           const TRPControlParentSetter& parent);
bool RPFLoadControlFromBinaryStr(AnsiStringView s, std::unique_ptr<TComponent>& component, const AnsiString& className,
                                 const TRPControlParentSetter& parent);

// --- Field readers ------------------------------------------------------------------------

// Past the blanks at the cursor (the header extras of items take numbers after any
// number of blanks).
void RPFSkipBlanks(AnsiStringView& cursor);

// Characters up to a NUL or a space (or the end); one space after them is skipped. True
// when the word is not empty.
bool RPFReadWord(AnsiStringView& cursor, AnsiString& s);
// An optional "-" and decimal digits ended by a NUL, a space (one is skipped) or the end
// of the line (a CR or LF too).
// False when the first character is neither "-" nor a digit, when another character comes
// before the end, or when the number does not fit 32 bits.
bool RPFReadInteger(AnsiStringView& cursor, int32_t& n);
// A double-quoted string (a doubled quote inside stands for one); one space after it is
// skipped. False without an opening or a closing quote.
bool RPFReadQuotedString(AnsiStringView& cursor, AnsiString& s);
// A quoted string when allowQuoted and the cursor is at a double quote, else a word
// (false when empty). asString: a string tag, except that an unquoted "0" is none (the
// empty string tag); otherwise the text as a number tag (false when it is no number).
bool RPFReadStringField(AnsiStringView& cursor, bool asString, bool allowQuoted, TRPTag& value);
// A paragraph style number: an integer, or a quoted name looked up exactly, in order,
// among the names of the style sheet's paragraph styles (the first match; 0 when none
// matches or there is no style sheet). False when neither an integer nor a quoted
// string stands there.
bool RPFReadStyleNumber(AnsiStringView& cursor, const IRPStyleSheet* rpStyle, int32_t& n);

// The fields of an RPF record header line, as the document reader fills them.
struct TRPFHeaderRec {
  int32_t StyleNo = 0;
  int32_t LineCount = 0;
  int32_t ParaNo = 0;
  int32_t ItemOptions = 0;
  int32_t ReadMode = 0;
  TRPTag Tag;
};
// The same for a text style number, into the record's StyleNo.
bool RPFReadStyleNumberRec(AnsiStringView& cursor, const IRPStyleSheet* rpStyle, TRPFHeaderRec& rec);

// --- Field writers ------------------------------------------------------------------------

// The number; with string tags the tag's text in double quotes (quotes inside doubled),
// or "0" for an empty one.
AnsiString RPFTagToText(bool tagsArePChars, const TRPTag& tag);
// The style's name in double quotes (quotes inside doubled, so that the field reads back)
// with useNames, for a style of the style sheet; otherwise the number (MaxInt, the
// paragraph's default text style, among them: a name would read back as another style).
AnsiString RPFTextStyleNoToText(const IRPStyleSheet* rpStyle, bool useNames, int32_t n);
AnsiString RPFParaNoToText(const IRPStyleSheet* rpStyle, bool useNames, int32_t n);
// RPFParaNoToText with the document's rpfoUseStyleNames option, of -1 when forceMinusOne.
AnsiString RPFItemParaNoToText(int32_t n, const TCustomRPData& rpData, bool forceMinusOne);

// CR becomes byte 1 and LF byte 2 (a line of a record may hold neither); and back.
AnsiString RPFEncodeLineBreaks(AnsiStringView s);
AnsiString RPFDecodeLineBreaks(AnsiStringView s);
