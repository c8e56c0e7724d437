// Readers turn XML text into parse signals for a handler chain. `TXmlCustomReader`
// holds what every reader shares: the DOM implementation that judges errors and
// resolves resources, the next handler, and the one path every error takes.
// `TXmlStandardDocReader` drives the document tokenizer over an input source: it splits
// start tags into the element name and attributes, turns character references into
// text, splits processing instructions and takes the document type declaration apart.
// It checks neither nesting nor names: that is the handlers' work.
#pragma once

#include <functional>

#include "platform/base/Components.h"
#include "xml/XmlLimits.h"
#include "xml/parser/DomError.h"
#include "xml/parser/XmlInputSource.h"
#include "xml/parser/XmlSignals.h"

class TDomImplementation;
class TXmlCustomHandler;
class TXmlDocTokenizer;

class TXmlCustomReader : public TComponent {
public:
  using TXmlErrorNotifyEvent = std::function<void(TXmlCustomReader* sender, const TDomError& error)>;

  using TComponent::TComponent;

  // Reads an external resource through the DOM implementation: errorType 148 without
  // one, else the implementation's answer.
  virtual void ResolveResourceAsWideString(WideStringView baseUri, WideStringView publicId, WideStringView systemId,
                                           TXmlErrorKind& errorType, WideString& text);
  // Reports an error at the locator's place: OnError hears it, then the DOM
  // implementation (or, without one, the rule that only fatal errors stop) decides;
  // a stop raises EParserException "Signal Processing Exception".
  virtual void NotifyError(TXmlErrorKind kind, const IXmlLocation* locator, WideStringView code, WideStringView clue);

  TDomImplementation* DOMImpl() const { return FDomImpl; }
  void SetDOMImpl(TDomImplementation* impl);
  // The handler that receives the signals; without one no signal is made.
  TXmlCustomHandler* NextHandler() const { return FNextHandler; }
  void SetNextHandler(TXmlCustomHandler* handler);

  TXmlErrorNotifyEvent OnError;

protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Hands the signal to the next handler.
  void Send(const TXmlSignal& signal);

private:
  TDomImplementation* FDomImpl = nullptr;
  TXmlCustomHandler* FNextHandler = nullptr;
};

class TXmlStandardDocReader : public TXmlCustomReader {
public:
  using TXmlCustomReader::TXmlCustomReader;

  virtual void ParseTokens(TXmlDocTokenizer& tokenizer);
  virtual void WriteAborted(const IXmlLocation* locator);
  virtual void WriteAttribute(const IXmlLocation* locator, WideStringView name, WideStringView value);
  virtual void WriteCDATA(const IXmlLocation* locator, WideStringView data);
  virtual void WriteDecimalCharRef(const IXmlLocation* locator, WideStringView digits);
  virtual void WriteHexCharRef(const IXmlLocation* locator, WideStringView digits);
  virtual void WriteComment(const IXmlLocation* locator, WideStringView data);
  virtual void WritePCDATA(const IXmlLocation* locator, WideStringView data);
  // The target runs to the first white space; the data is the rest after the white
  // space that follows it (trailing white space kept).
  virtual void WriteProcessingInstruction(const IXmlLocation* locator, WideStringView content);
  virtual void WriteStartDocument(const IXmlLocation* locator, WideStringView inputEncoding, TDomStandalone standalone,
                                  WideStringView declaredEncoding, WideStringView version);
  virtual void WriteStartDocumentFragment(const IXmlLocation* locator, WideStringView inputEncoding);
  virtual void WriteStartElement(const IXmlLocation* locator, WideStringView tagName);
  // Sends the start element and its attributes; answers the element name. An error in
  // the attributes (77, 78, 80, 49) ends the tag there.
  virtual WideString WriteStartTag(const IXmlLocation* locator, WideStringView tagContent);
  virtual void WriteEndElement(const IXmlLocation* locator, WideStringView tagName);
  virtual void WriteEmptyElementTag(const IXmlLocation* locator, WideStringView tagContent);
  virtual void WriteEntityRef(const IXmlLocation* locator, WideStringView name);
  // Takes the declaration apart; the first error stops it and no signal is sent.
  virtual void WriteDoctypeDecl(const IXmlLocation* locator, WideStringView declaration);
  virtual void WriteCompleted(const IXmlLocation* locator);
  // False when the parse was stopped or failed; no exception leaves these.
  virtual bool ParseDocument(TXmlInputSource& inputSource);
  virtual bool ParseDocumentFragment(TXmlSimpleInputSource* inputSource);
  // The last parse failed because memory ran out: the caller reports it once it has
  // freed what the parse built.
  bool RanOutOfMemory() const { return FRanOutOfMemory; }

  // The limits that the tokenizers of this reader keep to.
  const TXmlLimits& Limits() const { return FLimits; }
  void SetLimits(const TXmlLimits& limits) { FLimits = limits; }

private:
  void WriteCharRef(const IXmlLocation* locator, WideStringView digits, bool hex);
  // Runs steps with a tokenizer over the source, then ParseTokens and the completed
  // signal; any exception sends the aborted signal and answers false.
  template <typename Start>
  bool Parse(TXmlSimpleInputSource& inputSource, Start start);

  TXmlLimits FLimits = DefaultXmlLimits();
  bool FRanOutOfMemory = false;
};
