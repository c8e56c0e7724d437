#include "archive/ArDfFault.h"

#include <array>

namespace {

constexpr std::array<const char*, 16> FaultMessages{
    "starting new block, but invalid block type [Inflate]",
    "invalid stored block (length and NOT length do not match) [InflateStoredBlock]",
    "count of literal codes in dynamic block is greater than 286 [InflateDynamicBlock]",
    "count of distance codes in dynamic block is greater than 30 [InflateDynamicBlock]",
    "decoded a code length out of range {ReadLitDistCodeLengths}",
    "repeated a code length before any was given {ReadLitDistCodeLengths}",
    "code lengths run past the count of codes {ReadLitDistCodeLengths}",
    "decoded an invalid length symbol: greater than 285 [DecodeData]",
    "decoded an invalid distance symbol: greater than 29 [DecodeData]",
    "code lengths describe more codes than bits allow [BuildHuffmanTree]",
    "decoded bits that match no code [DecodeData]",
    "distance reaches before the start of the output [DecodeData]",
    "decoded more bytes than announced [DecodeData]",
    "no more compressed data in stream [TArDfInBitStream.DiscardBits]",
    "no more compressed data in stream [TArDfInBitStream.ReadBits]",
    "no more compressed data in stream [TArDfInBitStream.ReadBuffer]",
};
static_assert(FaultMessages.size() == static_cast<size_t>(TArInflateFault::InputEndBuffer) + 1);

}  // namespace

void InflateFault(TArInflateFault fault) {
  throw EArInternalInflateError(FaultMessages[static_cast<size_t>(fault)], fault);
}
