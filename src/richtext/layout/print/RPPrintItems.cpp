#include "richtext/layout/print/RPPrintItems.h"

#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/print/RPModelItemPrinting.h"

std::unique_ptr<TRPDrawLineInfo> CreateLayoutDrawItem(TCustomRPFormattedData& data, int32_t itemNo,
                                                      const TRPResolution& resolution) {
  if (data.IsPrintable()) {
    TCustomRPItemInfo& item = *data.GetItem(itemNo);
    if (auto* printable = dynamic_cast<IRPPrintableItem*>(&item)) return printable->CreatePrintingDrawItem(data, resolution);
    if (auto modelItem = CreateModelItemPrintingDrawItem(item, resolution)) return modelItem;
  }
  return std::make_unique<TRPDrawLineInfo>();
}
