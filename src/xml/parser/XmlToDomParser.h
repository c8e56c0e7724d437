// The component through which XML text becomes a DOM document: it accepts a file, a
// stream, an 8-bit or UTF-16 string, source pieces, a system identifier or a ready
// input source, and drives the chain it owns: document reader -> well-formedness test
// handler -> DOM builder. Every parse failure other than a bad argument ends in
// EParserException "Parser error." after the DOM implementation has heard the error;
// the partly built document is freed first. Two failures that no XML rule names are
// reported with a hint that says what happened: memory that ran out (OutOfMemory,
// reported once the partly built document is freed) and text that starts as UTF-16 or
// UCS-4 without a byte-order mark (UndetectedEncoding).
#pragma once

#include <vector>

#include "platform/base/Components.h"
#include "platform/base/Streams.h"
#include "xml/XmlLimits.h"
#include "xml/codecs/UnicodeCodec.h"
#include "xml/parser/XmlErrorKinds.h"

class TDomDocument;
class TDomDocumentFragment;
class TDomImplementation;
class TXmlDomBuilder;
class TXmlInputSource;
class TXmlSimpleInputSource;
class TXmlStandardDocReader;
class TXmlWFTestHandler;

inline constexpr char SBufferSizeTooSmall[] = "BufferSize must not be less than 1024.";
inline constexpr char SFilenameNotSpecified[] = "Filename not specified.";
inline constexpr char SSourceCodeNotSpecified[] = "Source code not specified.";
inline constexpr char SStreamNotSpecified[] = "Stream not specified.";
inline constexpr char SEmptyString[] = "Empty string.";
inline constexpr char SInputSourceNotSpecified[] = "Input source not specified.";
inline constexpr char SDomImplNotSpecified[] = "DOM implementation not specified.";
inline constexpr char SFragmentNotSpecified[] = "Reference document fragment not specified.";
// Hints of the errors that have no XML rule behind them.
inline constexpr char16_t SHintOutOfMemory[] = u"Out of memory: the document is too large to be read.";
inline constexpr char16_t SHintUndetectedEncoding[] =
    u"The encoding could not be detected: UTF-16 or UCS-4 text needs a byte-order mark.";

// The texts of source-code pieces joined in order, without separators; nothing stands
// before the first piece.
WideString JoinSourceCodePieces(const std::vector<WideString>& pieces);

class TXmlCustomParser : public TComponent {
public:
  using TComponent::TComponent;

  TDomImplementation* DOMImpl() const { return FDomImpl; }
  // Cleared when the implementation is freed.
  virtual void SetDOMImpl(TDomImplementation* impl);
  int32_t BufferSize() const { return FBufferSize; }
  // Below 1024 raises ENot_Supported_Err "BufferSize must not be less than 1024.".
  void SetBufferSize(int32_t value);
  // Lets the DOM implementation hear an error without location, with a hint that says
  // what happened where the kind alone does not; whether it would go on.
  bool ReportParseError(TXmlErrorKind errorType, WideStringView hint = {});

protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Reports the error, then raises EParserException "Parser error.".
  [[noreturn]] void FailWith(TXmlErrorKind errorType, WideStringView hint = {});

private:
  TDomImplementation* FDomImpl = nullptr;
  int32_t FBufferSize = 4096;
};

class TXmlToDomParser : public TXmlCustomParser {
public:
  explicit TXmlToDomParser(TComponent* owner);

  void SetDOMImpl(TDomImplementation* impl) override;

  // The entry points answer the new document, which the DOM implementation owns.
  // Argument faults raise EAccessViolation with the messages above.
  TDomDocument* ParseFile(const AnsiString& fileName);
  // The pieces' texts joined, parsed as UTF-16.
  TDomDocument* ParseSourceCode(const std::vector<WideString>* source, WideStringView systemId);
  TDomDocument* ParseStream(TStream* stream, WideStringView systemId, TUnicodeCodecClass codecClass, bool declFlag);
  TDomDocument* ParseString(const AnsiString& source, WideStringView systemId, TUnicodeCodecClass codecClass,
                            bool declFlag);
  // None when the resolver finds no stream.
  TDomDocument* ParseSystemId(WideStringView systemId, TUnicodeCodecClass codecClass, bool declFlag);
  TDomDocument* ParseWideString(WideStringView source, WideStringView systemId, TUnicodeCodecClass codecClass,
                                bool declFlag);
  TDomDocument* ParseInputSource(TXmlInputSource* inputSource);
  // Parses a fragment into `fragment`; true, or EParserException "Parser error.".
  bool ParseIntoFragment(TXmlSimpleInputSource* inputSource, TDomDocumentFragment* fragment);

  bool KeepCDATASections() const;
  bool KeepComments() const;
  bool KeepEntityRefs() const;
  void SetKeepCDATASections(bool value);
  void SetKeepComments(bool value);
  void SetKeepEntityRefs(bool value);
  // The limits of the reader, the handlers and the validation agent of each document
  // this parser makes.
  const TXmlLimits& Limits() const { return FLimits; }
  void SetLimits(const TXmlLimits& limits);

  TXmlStandardDocReader& Reader() const { return *FReader; }
  TXmlWFTestHandler& WFTestHandler() const { return *FWFTestHandler; }
  TXmlDomBuilder& DomBuilder() const { return *FDomBuilder; }

private:
  void BuildPipeline();

  TXmlDomBuilder* FDomBuilder = nullptr;  // owned as components
  TXmlStandardDocReader* FReader = nullptr;
  TXmlWFTestHandler* FWFTestHandler = nullptr;
  TXmlLimits FLimits = DefaultXmlLimits();
};
