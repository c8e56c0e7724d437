#include "richtext/model/RPItemStreaming.h"

#include <string>

#include "richtext/model/RPControlItems.h"
#include "richtext/model/RPFStreamHelpers.h"

void WriteRPFItemHeader(TStream& stream, const TCustomRPItemInfo& item, int32_t lineCount, int32_t paraNo,
                        bool forceSameAsPrev, TRPFBodyMode mode, const IRPFStreaming& streaming) {
  AnsiString extra;
  item.GetRPFHeaderExtra(nullptr, extra);
  const int32_t options = SetContinuesLineInOptions(item.ItemOptions, forceSameAsPrev) & rpioStoredMask;
  RPFWriteLine(stream, std::to_string(item.StyleNo) + " " + std::to_string(lineCount) + " " +
                           streaming.ParaNoText(paraNo, forceSameAsPrev) + " " + std::to_string(options) + " " +
                           std::to_string(static_cast<int32_t>(mode)) + " " + streaming.TagText(item.Tag) + " " +
                           extra);
}

std::unique_ptr<IRPItemControl> IRPFStreaming::RequestControl(const AnsiString&, const TRPTag&) { return nullptr; }
