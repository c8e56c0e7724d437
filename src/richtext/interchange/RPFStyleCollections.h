// Style collections in the native format: a collection value of the component stream
// (its first byte 14, vaCollection), the styles' published properties item by item.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base/Collections.h"
#include "platform/base/Types.h"
#include "richtext/model/RPListInfo.h"

class TCustomRPData;

// The collection as the bytes of one collection value.
AnsiString WriteStyleCollection(const TCollection& collection);

// Reads bytes (a collection value) into collection, which is emptied first. A property
// the styles do not know is passed over after unknownProperty is told; anything else
// malformed raises EReadError (collection then holds what was read before it).
void ReadStyleCollection(AnsiStringView bytes, TCollection& collection, const std::function<void()>& unknownProperty);

// The image lists of a document by their tags (its host's RPFImageListNeeded), for the
// list levels of a collection written from or read into it.
class TRPFImageListContext : public IRPImageListContext {
public:
  explicit TRPFImageListContext(TCustomRPData& data) : FData(data) {}
  TCustomImageList* FindImageListByTag(int32_t tag) const override;

private:
  TCustomRPData& FData;
};

// target becomes a copy of source, the lists' identifiers included (which Assign leaves
// behind).
void AssignListStyles(TRPListInfos& target, const TRPListInfos& source);
