// Where in the input a parse signal or an error lies: start and end positions, the URI
// of the entity, and the node or declaration it concerns.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "xml/codecs/UCS4Reader.h"

class TDomNode;
class TDtdObject;

// Counters of a reader position; -1 in all five means "no location".
struct TXmlTextPos {
  int64_t ByteNumber = -1;
  int64_t CharNumber = -1;
  int64_t Column = -1;
  int64_t Line = -1;
  int64_t TabsInLine = -1;

  static TXmlTextPos Of(const TUtilsCharPosition& p) {
    return {p.ByteNumber, p.CharNumber, p.Column, p.Line, p.TabsInLine};
  }
  bool operator==(const TXmlTextPos&) const = default;
};

// The location queries shared by signals, error records and tokenizers.
class IXmlLocation {
public:
  virtual ~IXmlLocation() = default;
  virtual int64_t EndByte() const = 0;
  virtual int64_t EndChar() const = 0;
  virtual int64_t EndColumn() const = 0;
  virtual int64_t EndLine() const = 0;
  virtual int64_t EndTabs() const = 0;
  virtual TDtdObject* TargetDtdObject() const = 0;
  virtual TDomNode* TargetNode() const = 0;
  virtual int64_t StartByte() const = 0;
  virtual int64_t StartChar() const = 0;
  virtual int64_t StartColumn() const = 0;
  virtual int64_t StartLine() const = 0;
  virtual int64_t StartTabs() const = 0;
  virtual WideString EntityUri() const = 0;
};

// A stored location: the base of signals and error records. Targets are not owned.
class TXmlLocationRecord : public IXmlLocation {
public:
  TXmlLocationRecord() = default;
  TXmlLocationRecord(const TXmlTextPos& start, const TXmlTextPos& end, WideStringView entityUri,
                     TDtdObject* targetDtdObject, TDomNode* targetNode)
      : FEnd(end), FTargetDtdObject(targetDtdObject), FTargetNode(targetNode), FStart(start), FEntityUri(entityUri) {}
  // Copies another location; none leaves every counter at -1, no URI and no targets.
  explicit TXmlLocationRecord(const IXmlLocation* location) {
    if (!location) return;
    FStart = {location->StartByte(), location->StartChar(), location->StartColumn(), location->StartLine(),
              location->StartTabs()};
    FEnd = {location->EndByte(), location->EndChar(), location->EndColumn(), location->EndLine(), location->EndTabs()};
    FEntityUri = location->EntityUri();
    FTargetDtdObject = location->TargetDtdObject();
    FTargetNode = location->TargetNode();
  }

  int64_t EndByte() const override { return FEnd.ByteNumber; }
  int64_t EndChar() const override { return FEnd.CharNumber; }
  int64_t EndColumn() const override { return FEnd.Column; }
  int64_t EndLine() const override { return FEnd.Line; }
  int64_t EndTabs() const override { return FEnd.TabsInLine; }
  TDtdObject* TargetDtdObject() const override { return FTargetDtdObject; }
  TDomNode* TargetNode() const override { return FTargetNode; }
  int64_t StartByte() const override { return FStart.ByteNumber; }
  int64_t StartChar() const override { return FStart.CharNumber; }
  int64_t StartColumn() const override { return FStart.Column; }
  int64_t StartLine() const override { return FStart.Line; }
  int64_t StartTabs() const override { return FStart.TabsInLine; }
  WideString EntityUri() const override { return FEntityUri; }

private:
  TXmlTextPos FEnd;
  TDtdObject* FTargetDtdObject = nullptr;
  TDomNode* FTargetNode = nullptr;
  TXmlTextPos FStart;
  WideString FEntityUri;
};
