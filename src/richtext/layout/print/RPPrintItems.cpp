#include "richtext/layout/print/RPPrintItems.h"

#include "richtext/layout/RPFormattedData.h"

std::unique_ptr<TRPDrawLineInfo> CreateLayoutDrawItem(TCustomRPFormattedData& data, int32_t itemNo,
                                                      const TRPResolution& resolution) {
  if (data.IsPrintable())
    if (auto* printable = dynamic_cast<IRPPrintableItem*>(data.GetItem(itemNo)))
      return printable->CreatePrintingDrawItem(data, resolution);
  return std::make_unique<TRPDrawLineInfo>();
}
