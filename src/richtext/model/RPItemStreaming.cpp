#include "richtext/model/RPItemStreaming.h"

#include <string>

void WriteRPFLine(TStream& stream, const AnsiString& line) {
  const AnsiString withEnd = line + "\r\n";
  stream.WriteBuffer(withEnd.data(), static_cast<int32_t>(withEnd.size()));
}

void WriteRPFItemHeader(TStream& stream, const TCustomRPItemInfo& item, int32_t lineCount, int32_t paraNo,
                        bool forceSameAsPrev, TRPFBodyMode mode, const IRPFStreaming& streaming) {
  AnsiString extra;
  item.GetRPFHeaderExtra(nullptr, extra);
  const int32_t options = SetContinuesLineInOptions(item.ItemOptions, forceSameAsPrev) & rpioStoredMask;
  WriteRPFLine(stream, std::to_string(item.StyleNo) + " " + std::to_string(lineCount) + " " +
                           streaming.ParaNoText(paraNo, forceSameAsPrev) + " " + std::to_string(options) + " " +
                           std::to_string(static_cast<int32_t>(mode)) + " " + streaming.TagText(item.Tag) + " " +
                           extra);
}
