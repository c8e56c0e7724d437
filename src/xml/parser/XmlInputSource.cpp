#include "xml/parser/XmlInputSource.h"

#include "platform/base/Exception.h"
#include "xml/codecs/CodecAliases.h"
#include "xml/codecs/SingleByteCodecs.h"
#include "xml/codecs/Ucs4Codecs.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/codecs/Utf8Codec.h"
#include "xml/dom/DomExceptions.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

bool IsVersionChar(UCS4Char c) { return Ucs4IsVersionNumChar(c); }
bool IsEncNameStart(UCS4Char c) { return Ucs4IsAsciiLetter(c); }
bool IsEncNameChar(UCS4Char c) { return Ucs4IsEncNameChar(c); }

bool SameIgnoringAsciiCase(WideStringView a, WideStringView b) {
  const auto lower = [](WideChar c) { return c >= u'A' && c <= u'Z' ? WideChar(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

}  // namespace

TXmlSimpleInputSource::TXmlSimpleInputSource(TStream* stream, const TXmlSourceStart& start,
                                             TUnicodeCodecClass codecClass, int32_t bufferSize, WideStringView systemId,
                                             WideStringView publicId)
    : TUtilsUCS4Reader(stream, codecClass, bufferSize, start.ByteNumber, start.CharNumber, start.Column,
                       start.TabsInLine, start.Line),
      FPublicId(publicId),
      FSystemId(systemId) {}

WideString TXmlSimpleInputSource::EncodingName() const {
  const TUnicodeCodecClass codecClass = GetCodecClass();
  if (!codecClass) return {};
  try {
    const AnsiString name = GetCodecAlias(codecClass);
    return WideString(name.begin(), name.end());
  } catch (const Exception&) {
    return {};
  }
}

TXmlInputSource::TXmlInputSource(TStream* stream, const TXmlSourceStart& start, TUnicodeCodecClass codecClass,
                                 int32_t bufferSize, WideStringView systemId, WideStringView publicId, bool declFlag)
    : TXmlSimpleInputSource(stream, start, codecClass, bufferSize, systemId, publicId) {
  const TUnicodeCodecClass signatureClass = HasSignature() ? GetCodecClass() : nullptr;
  if (!codecClass && !signatureClass) FHasUndetectedEncoding = StartsWithZeroByte();
  FHasMalformedDeclaration = !ParseXmlDeclaration();
  if (!codecClass && !FXmlEncoding.empty()) SettleCodec(signatureClass);
  if (!declFlag && FDeclarationEnd) {
    // Positions go on from the declaration's ">".
    FStartPos.ByteNumber = FDeclarationEnd->ByteNumber;
    FStartPos.CharNumber = FDeclarationEnd->CharNumber;
    FStartPos.Column = FDeclarationEnd->Column;
    FStartPos.Line = FDeclarationEnd->Line;
    FStartPos.TabsInLine = FDeclarationEnd->TabsInLine;
  }
  Reset();
}

// Read as UTF-8 (the default without mark), a zero byte is the character U+0000, which
// no XML text holds; among the first two it marks UTF-16 or UCS-4 text.
bool TXmlInputSource::StartsWithZeroByte() {
  bool zero = false;
  try {
    Next();
    zero = CurrentPos().Char == 0 || NextPos().Char == 0;
  } catch (const Exception&) {
    zero = false;  // undecodable bytes are the tokenizer's to report
  }
  Reset();
  return zero;
}

// The declaration state machine: the reader's current character is the one under
// test; SkipChars and Match advance before they test. Pseudo-attributes are taken only
// in the order version, encoding, standalone; a fault keeps what was read before it.
bool TXmlInputSource::ParseXmlDeclaration() {
  try {
    if (!Match(u"<?xml")) {
      Reset();
      return true;
    }
    const bool spaceBefore = SkipChars(XmlWhiteSpaceText()) > 0;
    // "<?xml" followed by a name character begins a processing instruction such as
    // "<?xml-stylesheet", not a declaration.
    if (!spaceBefore && CurrentPos().Char != u'?' && Ucs4IsNameChar(CurrentPos().Char)) {
      Reset();
      return true;
    }
    FDeclarationKind = dkXmlOrTextDeclaration;
    if (!ReadPseudoAttributes(spaceBefore)) return false;
    // ">" is tested as the look-ahead, so nothing behind the declaration is decoded with
    // a codec that the declared encoding may yet replace.
    if (CurrentPos().Char != u'?' || NextPos().Char != u'>') return false;
    SetStartOffset(GetStreamPosition());  // every later restart begins just behind ">"
    FDeclarationEnd = NextPos();
    return true;
  } catch (const EConvertError&) {
    return false;
  } catch (const EUnicodeCodecException&) {
    return false;
  }
}

bool TXmlInputSource::ReadPseudoAttributes(bool spaceBefore) {
  const WideString whiteSpace = XmlWhiteSpaceText();
  // name "=" delimiter: the name's first letter is current; leaves the delimiter current.
  const auto readEquals = [&](WideStringView restOfName, WideChar& delimiter) {
    if (!spaceBefore || !Match(restOfName)) return false;
    SkipChars(whiteSpace);
    if (CurrentPos().Char != u'=') return false;
    SkipChars(whiteSpace);
    if (CurrentPos().Char != u'"' && CurrentPos().Char != u'\'') return false;
    delimiter = static_cast<WideChar>(CurrentPos().Char);
    return true;
  };
  WideChar delimiter = 0;

  if (CurrentPos().Char == u'v') {
    WideString version;
    if (!readEquals(u"ersion", delimiter)) return false;
    const bool ok = ReadValue(IsVersionChar, IsVersionChar, version);
    if (!version.empty()) FXmlVersion = version;
    if (!ok || CurrentPos().Char != delimiter) return false;
    spaceBefore = SkipChars(whiteSpace) > 0;
  } else {
    FDeclarationKind = dkTextDeclaration;
  }

  if (CurrentPos().Char == u'e') {
    if (!readEquals(u"ncoding", delimiter)) return false;
    const bool ok = ReadValue(IsEncNameStart, IsEncNameChar, FXmlEncoding);
    if (!ok || CurrentPos().Char != delimiter) return false;
    spaceBefore = SkipChars(whiteSpace) > 0;
  } else {
    if (FDeclarationKind == dkTextDeclaration) return false;
    FDeclarationKind = dkXmlDeclaration;
  }

  if (CurrentPos().Char == u's') {
    if (!readEquals(u"tandalone", delimiter)) return false;
    Next();
    if (CurrentPos().Char == u'n' && Match(u"o"))
      FXmlStandalone = sdNo;
    else if (CurrentPos().Char == u'y' && Match(u"es"))
      FXmlStandalone = sdYes;
    else
      return false;
    Next();
    if (CurrentPos().Char != delimiter) return false;
    SkipChars(whiteSpace);
    if (FDeclarationKind == dkTextDeclaration) return false;
    FDeclarationKind = dkXmlDeclaration;
  }
  return true;
}

// Reads a quoted value after its opening delimiter: a first character passing `first`,
// then any number passing `rest`. Leaves the first other character current.
bool TXmlInputSource::ReadValue(bool (*first)(UCS4Char), bool (*rest)(UCS4Char), WideString& value) {
  value.clear();
  Next();
  if (!first(CurrentPos().Char)) return false;
  do {
    value += static_cast<WideChar>(CurrentPos().Char);
    Next();
  } while (rest(CurrentPos().Char));
  return true;
}

void TXmlInputSource::SettleCodec(TUnicodeCodecClass signatureClass) {
  TUnicodeCodecClass declared = nullptr;
  try {
    declared = ResolveCodecClass(EncodeWithCodecClass(CodecClassOf<TUSASCIICodec>(), FXmlEncoding));
  } catch (const Exception&) {
    declared = nullptr;
  }
  // A UCS-4 mark fixes the byte order, which no label can tell: its codec stays.
  for (const TUnicodeCodecClass ucs4 : {CodecClassOf<TUCS4BECodec>(), CodecClassOf<TUCS4LECodec>(),
                                        CodecClassOf<TUCS4_2143Codec>(), CodecClassOf<TUCS4_3412Codec>()})
    if (signatureClass == ucs4) return;
  const TUnicodeCodecClass utf16BE = CodecClassOf<TUTF16BECodec>(), utf16LE = CodecClassOf<TUTF16LECodec>();
  if (declared) {
    const bool mismatch =
        (signatureClass == utf16BE && declared != utf16BE && declared != CodecClassOf<TUCS2Codec>()) ||
        (signatureClass == utf16LE && declared != utf16LE) ||
        (signatureClass == CodecClassOf<TUTF8Codec>() && declared != signatureClass);
    if (mismatch) throw EConvertError(SDeclaredEncodingMismatch);
    SetCodecClass(declared);
    return;
  }
  if (!SameIgnoringAsciiCase(FXmlEncoding, u"UTF-16")) throw ENot_Supported_Err(SEncodingNotSupported);
  if (!signatureClass)
    SetCodecClass(utf16BE);
  else if (signatureClass != utf16BE && signatureClass != utf16LE)
    throw EConvertError(SDeclaredEncodingMismatch);
}
