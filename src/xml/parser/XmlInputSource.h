// The character stream every tokenizer of the parser reads: a UCS-4 reader over a byte
// stream that carries the entity's public and system identifiers. `TXmlInputSource`
// also reads the XML or text declaration at the start of the stream, settles the codec
// from the caller's choice, the byte-order mark and the declared encoding, and stands
// behind the declaration, so that the tokenizers never see it.
#pragma once

#include <optional>

#include "xml/codecs/UCS4Reader.h"
#include "xml/dom/DomStandalone.h"

enum TXmlDeclarationKind {
  dkXmlDeclaration,        // has standalone, or lacks the encoding: only an XML declaration
  dkTextDeclaration,       // no version: only at the start of an external entity
  dkXmlOrTextDeclaration,  // version and encoding, no standalone: valid as either
  dkNoDeclaration,
};

inline constexpr char SEncodingNotSupported[] = "Encoding not supported error.";
inline constexpr char SDeclaredEncodingMismatch[] = "Declared encoding does not match byte order mark.";

// The start of a reader: the position before the first character.
struct TXmlSourceStart {
  int64_t Line = 1;
  int64_t TabsInLine = 0;
  int64_t Column = 0;
  int64_t CharNumber = 0;
  int64_t ByteNumber = 0;
};

class TXmlSimpleInputSource : public TUtilsUCS4Reader {
public:
  // The stream is not owned. codecClass nullptr: the byte-order mark's codec, else UTF-8.
  TXmlSimpleInputSource(TStream* stream, const TXmlSourceStart& start, TUnicodeCodecClass codecClass,
                        int32_t bufferSize, WideStringView systemId, WideStringView publicId);

  // The charset name of the codec in use; empty without codec or known name.
  virtual WideString EncodingName() const;

  const WideString& PublicId() const { return FPublicId; }
  const WideString& SystemId() const { return FSystemId; }

private:
  WideString FPublicId, FSystemId;
};

class TXmlInputSource : public TXmlSimpleInputSource {
public:
  // Reads the declaration and settles the codec (a caller's codec class is kept as it
  // is). declFlag true: positions after the declaration restart at `start`; false:
  // they go on from the declaration's end. Raises ENot_Supported_Err "Encoding not
  // supported error." for a declared encoding without codec and EConvertError
  // "Declared encoding does not match byte order mark." when label and mark disagree.
  // A malformed declaration raises nothing: HasMalformedDeclaration says so.
  TXmlInputSource(TStream* stream, const TXmlSourceStart& start, TUnicodeCodecClass codecClass, int32_t bufferSize,
                  WideStringView systemId, WideStringView publicId, bool declFlag);

  const WideString& XmlVersion() const { return FXmlVersion; }
  const WideString& XmlEncoding() const { return FXmlEncoding; }
  TDomStandalone XmlStandalone() const { return FXmlStandalone; }
  TXmlDeclarationKind DeclarationKind() const { return FDeclarationKind; }
  bool HasMalformedDeclaration() const { return FHasMalformedDeclaration; }
  // No caller's codec and no byte-order mark, and a zero byte among the first two: the
  // text is UTF-16 or UCS-4 without a mark, which nothing here can tell apart.
  bool HasUndetectedEncoding() const { return FHasUndetectedEncoding; }

private:
  bool StartsWithZeroByte();
  bool ParseXmlDeclaration();
  bool ReadPseudoAttributes(bool spaceBefore);
  bool ReadValue(bool (*first)(UCS4Char), bool (*rest)(UCS4Char), WideString& value);
  void SettleCodec(TUnicodeCodecClass signatureClass);

  WideString FXmlVersion = u"1.0";
  WideString FXmlEncoding;
  TDomStandalone FXmlStandalone = sdUnspecified;
  TXmlDeclarationKind FDeclarationKind = dkNoDeclaration;
  bool FHasMalformedDeclaration = false;
  bool FHasUndetectedEncoding = false;
  std::optional<TUtilsCharPosition> FDeclarationEnd;  // the ">" of a well-formed declaration
};
