// The record of a problem found in parsing or validation: an error-type code with its
// severity, the offending text, a hint and where it lies. The DOM implementation's error
// handling decides what to make of it.
#pragma once

#include <memory>

#include "xml/parser/XmlErrorKinds.h"
#include "xml/parser/XmlLocation.h"

class TDomError : public TXmlLocationRecord {
public:
  // Stores everything as passed.
  TDomError(TXmlErrorKind kind, const TXmlTextPos& start, const TXmlTextPos& end, WideStringView entityUri,
            TDtdObject* targetDtdObject, TDomNode* targetNode, WideStringView offendingText, WideStringView hint)
      : TXmlLocationRecord(start, end, entityUri, targetDtdObject, targetNode),
        FHint(hint),
        FOffendingText(offendingText),
        FKind(kind) {}
  // Takes the location of `location` (typically the signal in error); none: no location.
  TDomError(TXmlErrorKind kind, const IXmlLocation* location, WideStringView offendingText, WideStringView hint)
      : TXmlLocationRecord(location), FHint(hint), FOffendingText(offendingText), FKind(kind) {}

  virtual TXmlErrorSeverity GetSeverity() const { return ErrorSeverityOf(FKind); }
  virtual std::unique_ptr<TDomError> Clone() const { return std::make_unique<TDomError>(*this); }

  TXmlErrorKind Kind() const { return FKind; }
  const WideString& Hint() const { return FHint; }
  const WideString& OffendingText() const { return FOffendingText; }

private:
  WideString FHint;
  WideString FOffendingText;
  TXmlErrorKind FKind;
};
