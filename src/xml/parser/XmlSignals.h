// Parse signals: what the readers find in the XML text, one object per start tag, end
// tag, attribute, text run, comment, declaration and so on. Each carries its location
// and its own data (public fields, filled by the reader after construction), checks its
// data against the well-formedness productions, and is passed down the handler chain.
// The reader frees a signal after the chain returns; a handler that wants to keep one
// keeps a Clone.
#pragma once

#include <memory>

#include "xml/parser/XmlErrorKinds.h"
#include "xml/parser/XmlLocation.h"
#include "xml/utils/WideStringUtils.h"

class TXmlCustomReader;

// A set over the parts of a parse a signal may occur in.
using TXmlSignalScope = uint8_t;
inline constexpr TXmlSignalScope ScopeDocument = 1;
inline constexpr TXmlSignalScope ScopeDtd = 2;

class TXmlSignal : public TXmlLocationRecord {
public:
  TXmlSignal(TXmlCustomReader* reader, const TXmlTextPos& start, const TXmlTextPos& end, WideStringView entityUri,
             TDtdObject* targetDtdObject, TDomNode* targetNode)
      : TXmlLocationRecord(start, end, entityUri, targetDtdObject, targetNode), FEmittingReader(reader) {}
  // Takes the location of `location`; none: no location.
  TXmlSignal(TXmlCustomReader* reader, const IXmlLocation* location)
      : TXmlLocationRecord(location), FEmittingReader(reader) {}

  // Checks the signal's own data: kind 0 when well-formed, else the error type with the
  // offending text and hint (both cleared first). Never raises for bad data.
  void CheckWellformedness(TXmlErrorKind& kind, WideString& offendingText, WideString& hint) const;
  // A copy with the same location, targets and data, emitted by `reader`.
  virtual std::unique_ptr<TXmlSignal> Clone(TXmlCustomReader* reader) const = 0;
  virtual TXmlSignalScope GetScope() const = 0;
  // One address per signal class, for telling classes apart without RTTI lookups.
  virtual const void* ClassTag() const = 0;

  TXmlCustomReader* EmittingReader() const { return FEmittingReader; }

protected:
  virtual TXmlErrorKind Check(WideString& /*offendingText*/, WideString& /*hint*/) const { return 0; }
  void SetEmittingReader(TXmlCustomReader* reader) { FEmittingReader = reader; }

private:
  TXmlCustomReader* FEmittingReader;
};

// Clone and scope for each signal class.
template <typename Derived, TXmlSignalScope Scope>
class TXmlSignalOf : public TXmlSignal {
public:
  using TXmlSignal::TXmlSignal;
  std::unique_ptr<TXmlSignal> Clone(TXmlCustomReader* reader) const override {
    auto copy = std::make_unique<Derived>(static_cast<const Derived&>(*this));
    copy->SetEmittingReader(reader);
    return copy;
  }
  TXmlSignalScope GetScope() const override { return Scope; }
  const void* ClassTag() const override { return &Tag; }
  static inline const char Tag = 0;
};

#define QF_SIGNAL_CLASS(Name, Scope) class Name final : public TXmlSignalOf<Name, Scope>

// The input is finished.
QF_SIGNAL_CLASS(TXmlCompletedSignal, ScopeDocument | ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
};
// The reader gave up.
QF_SIGNAL_CLASS(TXmlAbortedSignal, ScopeDocument | ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
};
QF_SIGNAL_CLASS(TXmlPEReferenceFoundSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
};

QF_SIGNAL_CLASS(TXmlAttributeSignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  uint8_t AttrDataType = 0;  // the declared type as known to the reader
  WideString AttrName;
  WideString AttrValue;  // unnormalized, as written between the quotes
protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlCDATASignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString Text;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlDoctypeSignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString SubsetText;
  WideString DeclaredRootName;
  int64_t SubsetByteNumber = 0, SubsetCharNumber = 0, SubsetColumn = 0, SubsetLine = 0;
  WideString PublicLiteral;
  WideString SystemLiteral;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlEndElementSignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString QualifiedName;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlEntityRefSignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString RefName;  // without "&" and ";"
protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlPCDATASignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  bool FromCharRef = false;  // the text came from a character reference
  WideString Text;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlStartDocumentSignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString DeclEncoding;    // as the declaration names it
  WideString ActualEncoding;  // the encoding in use
  uint8_t StandaloneValue = 0;
  WideString DeclVersion;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlStartDocumentFragmentSignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString DeclEncoding;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlStartElementSignal, ScopeDocument) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString QualifiedName;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlCommentSignal, ScopeDocument | ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString Text;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlProcessingInstructionSignal, ScopeDocument | ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString Text;  // the data
  WideString PITarget;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

// AttrType 1 is an enumeration of notation names.
QF_SIGNAL_CLASS(TXmlAttributeDefinitionSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString AttrName;
  uint8_t AttrType = 0;
  uint8_t AttrConstraint = 0;
  WideString DefaultText;
  TUtilsWideStringList EnumValues;
  WideString ElementName;
  bool InPERef = false;  // declared inside a parameter-entity replacement
protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlElementTypeDeclarationSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString ContentSpec;
  WideString ElementName;
  bool InPERef = false;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlEntityDeclarationSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString BaseUri;
  WideString EntityValue;
  WideString PublicLiteral;
  WideString NotationName;
  WideString EntityName;
  WideString SystemLiteral;
  bool InPERef = false;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlExternalPEReferenceSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString PEName;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlNotationDeclarationSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString NotationName;
  WideString PublicLiteral;
  WideString SystemLiteral;
  bool InPERef = false;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlParameterEntityDeclarationSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString BaseUri;
  WideString EntityName;
  WideString EntityValue;
  WideString PublicLiteral;
  WideString SystemLiteral;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlStartExtDtdSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString DeclEncoding;
  WideString ActualEncoding;
  WideString PublicLiteral;
  WideString SystemLiteral;
  WideString DeclVersion;

protected:
  TXmlErrorKind Check(WideString & offendingText, WideString & hint) const override;
};

QF_SIGNAL_CLASS(TXmlStartIntDtdSignal, ScopeDtd) {
public:
  using TXmlSignalOf::TXmlSignalOf;
  WideString SystemLiteral;
  uint8_t StandaloneValue = 0;
};

#undef QF_SIGNAL_CLASS

// The signal as its class T, or none when it is of another class.
template <typename T>
const T* SignalAs(const TXmlSignal& signal) {
  return signal.ClassTag() == &T::Tag ? static_cast<const T*>(&signal) : nullptr;
}

// The checks the signals share, for the readers and the DTD code as well.
// An attribute or default value: "<" gives 73, a non-Char 57, a bad character
// reference 60, a bad entity name 64, an unterminated reference 92 or 96.
TXmlErrorKind CheckAttributeValue(WideStringView value, WideString& offendingText);
// A contentspec text against contentspec, Mixed and children of XML 1.0: a
// misplaced ANY 126, EMPTY 127 or #PCDATA 128, anything else 129; a fatal error of the
// tokenizer is passed on with its hint.
TXmlErrorKind CheckContentSpec(WideStringView contentSpec, WideString& offendingText, WideString& hint);
