#include "richtext/interchange/RPFStyleCollections.h"

#include "platform/base/Filer.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPData.h"

AnsiString WriteStyleCollection(const TCollection& collection) {
  TStringStream stream;
  TWriter writer(stream);
  writer.WriteCollection(const_cast<TCollection&>(collection));
  return stream.DataString();
}

void ReadStyleCollection(AnsiStringView bytes, TCollection& collection, const std::function<void()>& unknownProperty) {
  TStringStream stream{AnsiString(bytes)};
  TReader reader(stream);
  reader.OnError = [&unknownProperty](const AnsiString&, bool& handled) {
    if (unknownProperty) unknownProperty();
    handled = true;
  };
  reader.ReadCollection(collection);
}

TCustomImageList* TRPFImageListContext::FindImageListByTag(int32_t tag) const { return FData.RPFImageListNeeded(tag); }

void AssignListStyles(TRPListInfos& target, const TRPListInfos& source) {
  target.Assign(source);
  for (int32_t i = 0; i < source.Count(); ++i) target[i]->SetListID(source[i]->GetListID());
}
