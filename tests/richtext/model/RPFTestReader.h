// A test-side reader of item records in the native format, as the document reader takes
// them: each header is parsed with the field readers, the item is made by its style
// number and reads the rest of the header and its lines itself. Text lines end at CR,
// LF (CR LF as one) or NUL; Unicode text of the binary form ends at U+2029; a binary
// block is a 4-byte length and that many bytes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/base/Streams.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPItemInfo.h"

// One item read back: the item with its header fields applied, and its text (a text
// item's stored text, another item's name line).
struct TRPFReadItem {
  std::unique_ptr<TCustomRPItemInfo> Item;
  AnsiString Text;
  TRPFHeaderRec Header;
};

class TRPFTestReader {
public:
  TRPFTestReader(TCustomRPData& rpData, IRPFStreaming& streaming) : FRPData(rpData), FStreaming(streaming) {}

  // Every record of bytes into items; false at the first record refused (the items read
  // before stay). Item records only: document records are no business of the items.
  bool ReadAll(const std::string& bytes, std::vector<TRPFReadItem>& items) {
    FBytes = bytes;
    FAt = 0;
    while (FAt < FBytes.size())
      if (!ReadRecord(items)) return false;
    return true;
  }

private:
  bool ReadRecord(std::vector<TRPFReadItem>& items) {
    AnsiString header;
    if (!ReadTextLine(header)) return false;
    AnsiStringView cursor = header;
    TRPFHeaderRec rec;
    TRPTag tag;
    if (!RPFReadStyleNumberRec(cursor, FRPData.GetRPStyle(), rec) || !RPFReadInteger(cursor, rec.LineCount) ||
        !RPFReadStyleNumber(cursor, FRPData.GetRPStyle(), rec.ParaNo) || !RPFReadInteger(cursor, rec.ItemOptions) ||
        !RPFReadInteger(cursor, rec.ReadMode) || !RPFReadStringField(cursor, FRPData.TagsArePChars(), true, rec.Tag))
      return false;
    // The line count comes from the stream: each line needs at least a byte.
    if (rec.LineCount < 0 || static_cast<size_t>(rec.LineCount) > FBytes.size() - FAt + 1) return false;
    std::unique_ptr<TCustomRPItemInfo> prototype = CreateItemByStyleNo(rec.StyleNo, &FRPData);
    if (!prototype) return false;
    prototype->ItemOptions = static_cast<TRPItemOptions>(rec.ItemOptions & rpioStoredMask);
    prototype->Tag = rec.Tag;
    prototype->ParaNo = rec.ParaNo;
    if (!prototype->ReadRPFHeaderExtra(cursor, FStreaming)) return false;
    const auto readType = static_cast<TRPFBodyMode>(rec.ReadMode);
    if (rec.StyleNo >= 0) return ReadTextLines(rec, std::move(prototype), readType, items);
    AnsiString name;
    TRPFLineMode lineMode = rpflmText;
    TRPFReadState state = rpfrsReading;
    for (int32_t lineNo = 0; lineNo < rec.LineCount; ++lineNo) {
      AnsiString line;
      if (!(lineMode == rpflmBinaryBlock ? ReadBlock(line) : ReadTextLine(line))) return false;
      if (!prototype->ReadRPFLine(line, FStreaming, readType, lineNo, rec.LineCount, name, lineMode, state))
        return false;
    }
    items.push_back(TRPFReadItem{std::move(prototype), name, rec});
    return true;
  }

  // A text record: one item per line, each a copy of the header's item. UTF-16 text of
  // the binary form (plain lines with the Unicode bit) ends at U+2029.
  bool ReadTextLines(const TRPFHeaderRec& rec, std::unique_ptr<TCustomRPItemInfo> prototype, TRPFBodyMode readType,
                     std::vector<TRPFReadItem>& items) {
    const bool unicodeLines = readType == rpfbmHex && prototype->IsUnicode();
    for (int32_t lineNo = 0; lineNo < rec.LineCount; ++lineNo) {
      AnsiString line;
      if (!(unicodeLines ? ReadUnicodeLine(line) : ReadTextLine(line))) return false;
      std::unique_ptr<TCustomRPItemInfo> item = CreateItemCopy(*prototype, &FRPData, false);
      AnsiString text;
      TRPFLineMode lineMode = rpflmText;
      TRPFReadState state = rpfrsReading;
      if (!item->ReadRPFLine(line, FStreaming, readType, lineNo, rec.LineCount, text, lineMode, state)) return false;
      items.push_back(TRPFReadItem{std::move(item), text, rec});
    }
    return true;
  }

  bool ReadTextLine(AnsiString& line) {
    if (FAt >= FBytes.size()) return false;
    const size_t end = FBytes.find_first_of(std::string("\r\n\0", 3), FAt);
    const size_t stop = end == std::string::npos ? FBytes.size() : end;
    line = FBytes.substr(FAt, stop - FAt);
    FAt = stop;
    if (FAt < FBytes.size() && FBytes[FAt] == '\r') ++FAt;
    if (FAt < FBytes.size() && (FBytes[FAt] == '\n' || FBytes[FAt] == '\0')) ++FAt;
    return true;
  }

  bool ReadUnicodeLine(AnsiString& line) {
    if (FAt >= FBytes.size()) return false;
    line.clear();
    while (FAt + 1 < FBytes.size()) {
      const char low = FBytes[FAt], high = FBytes[FAt + 1];
      FAt += 2;
      if ((low == ')' && high == ' ') || (low == 0 && high == 0)) return true;
      line += low;
      line += high;
    }
    FAt = FBytes.size();  // an odd byte at the end is no code unit
    return true;
  }

  bool ReadBlock(AnsiString& block) {
    TStringStream stream(FBytes);
    stream.SetPosition(static_cast<int64_t>(FAt));
    try {
      block = RPFReadBinaryBlock(stream);
    } catch (const Exception&) {
      return false;
    }
    FAt = static_cast<size_t>(stream.Position());
    // A block may be followed by the line end the writer put after it.
    if (FBytes.compare(FAt, 2, "\r\n") == 0) FAt += 2;
    return true;
  }

  TCustomRPData& FRPData;
  IRPFStreaming& FStreaming;
  std::string FBytes;
  size_t FAt = 0;
};
