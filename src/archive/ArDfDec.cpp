#include "archive/ArDfDec.h"

#include <array>
#include <memory>

#include "archive/ArDfCryS.h"
#include "archive/ArDfFault.h"
#include "archive/ArDfHufD.h"
#include "archive/ArDfOutW.h"
#include "archive/ArDfStrm.h"
#include "archive/ArDfTbls.h"
#include "archive/ArExcept.h"
#include "archive/ArLogger.h"

void InflateStoredBlock(TArDfInBitStream& in, TArDfOutputWindow& out) {
  in.AlignToByte();
  uint32_t length = in.ReadBits(16);
  uint32_t notLength = in.ReadBits(16);
  if (notLength != (~length & 0xFFFF)) InflateFault(TArInflateFault::StoredLength);
  std::array<uint8_t, 16384> piece;
  while (length > 0) {
    uint32_t n = std::min<uint32_t>(length, piece.size());
    in.ReadBuffer(piece.data(), n);
    out.AddBlock(piece.data(), n);
    length -= n;
  }
}

void ReadDynamicTrees(TArDfInBitStream& in, bool deflate64, TArDfDecodeHuffmanTree& literals,
                      TArDfDecodeHuffmanTree& distances) {
  uint32_t literalCount = in.ReadBits(5) + 257;
  uint32_t distanceCount = in.ReadBits(5) + 1;
  uint32_t codeLengthCount = in.ReadBits(4) + 4;
  if (literalCount > DfMaxLiteralCodes) InflateFault(TArInflateFault::LiteralCount);
  if (!deflate64 && distanceCount > DfMaxDistanceCodes) InflateFault(TArInflateFault::DistanceCount);

  std::array<uint8_t, DfCodeLengthCodes> codeLengthLengths{};
  for (uint32_t i = 0; i < codeLengthCount; ++i)
    codeLengthLengths[DfCodeLengthOrder[i]] = static_cast<uint8_t>(in.ReadBits(3));
  TArDfDecodeHuffmanTree codeLengthTree(DfCodeLengthCodes, DfMaxCodeLengthBits);
  codeLengthTree.Build(codeLengthLengths);

  // Literal/length and distance lengths form one run: repeats may cross from one to the
  // other.
  std::array<uint8_t, DfMaxLiteralCodes + 32> lengths{};
  uint32_t total = literalCount + distanceCount;
  uint32_t n = 0;
  while (n < total) {
    in.EnsureBits();
    uint32_t entry = codeLengthTree.Lookup(in.Bits);
    uint32_t codeLength = TArDfDecodeHuffmanTree::CodeLength(entry);
    if (codeLength == 0 || codeLength > static_cast<uint32_t>(codeLengthTree.LongestLength()))
      InflateFault(TArInflateFault::CodeLength);
    in.Consume(codeLength, TArInflateFault::InputEndBits);
    uint32_t symbol = TArDfDecodeHuffmanTree::Symbol(entry);
    if (symbol < 16) {
      lengths[n++] = static_cast<uint8_t>(symbol);
      continue;
    }
    uint8_t value = 0;
    uint32_t repeat;
    if (symbol == 16) {
      if (n == 0) InflateFault(TArInflateFault::RepeatWithoutLength);
      value = lengths[n - 1];
      repeat = 3 + in.ReadBits(2);
    } else if (symbol == 17) {
      repeat = 3 + in.ReadBits(3);
    } else {
      repeat = 11 + in.ReadBits(7);
    }
    if (n + repeat > total) InflateFault(TArInflateFault::CodeLengthOverflow);
    for (; repeat > 0; --repeat) lengths[n++] = value;
  }
  literals.Build(std::span<const uint8_t>(lengths.data(), literalCount));
  distances.Build(std::span<const uint8_t>(lengths.data() + literalCount, distanceCount));
}

namespace {

void InflateBlocks(TArDfInBitStream& in, TArDfOutputWindow& out, bool deflate64) {
  TArDfDecodeHuffmanTree literals(DfMaxLiteralCodes, DfMaxCodeBits, DfLengthExtra, DfFirstLengthSymbol);
  TArDfDecodeHuffmanTree distances(deflate64 ? 32 : DfMaxDistanceCodes, DfMaxCodeBits, DfDistanceExtra, 0);
  bool finalBlock;
  do {
    finalBlock = in.ReadBits(1) != 0;
    switch (in.ReadBits(2)) {
      case 0:
        InflateStoredBlock(in, out);
        break;
      case 1:
        DecodeData(in, out, TArDfDecodeHuffmanTree::FixedLiteralTree(), TArDfDecodeHuffmanTree::FixedDistanceTree(),
                   deflate64);
        break;
      case 2:
        ReadDynamicTrees(in, deflate64, literals, distances);
        DecodeData(in, out, literals, distances, deflate64);
        break;
      default:
        InflateFault(TArInflateFault::BlockType);
    }
  } while (!finalBlock);
  if (out.Pos >= out.Stop) out.Service();
}

// Writes what was decoded before a failure; a failure of that write gives way to the
// first one.
void FinishQuietly(TArDfOutputWindow& out) {
  try {
    out.Finish();
  } catch (...) {
  }
}

}  // namespace

uint32_t InflateStream(TStream& source, TStream* destination, TArDeflateHelper* options) {
  TArDeflateHelper helper = TArDeflateHelper::WorkingCopy(options, source);

  std::unique_ptr<TArLogger> log = OpenEngineLog(helper, "INFLATING STREAM...");
  int64_t sourceStart = source.Position();
  int64_t destinationStart = destination ? destination->Position() : 0;
  bool testOnly = (helper.Options() & dfc_TestOnly) != 0 || !destination;

  std::unique_ptr<TArDfDecryptStream> decrypting;
  TStream* input = &source;
  if (!helper.Passphrase.empty()) {
    decrypting = std::make_unique<TArDfDecryptStream>(source, helper.Passphrase, helper.CheckValue);
    if (!decrypting->CheckHeader())
      throw EArInflatePasswordError("Inflate: stream is encrypted but passphrase is wrong");
    input = decrypting.get();
  }

  TArDfInBitStream in(*input, helper.StreamSize, helper.ProgressStep);
  TArDfOutputWindow out(testOnly ? nullptr : destination, testOnly, helper.PartSize, helper.MaxNormalSize,
                        (helper.Options() & dfc_UseAdler32) != 0, (helper.Options() & dfc_UseDeflate64) != 0);
  uint32_t result = 0;
  try {
    InflateBlocks(in, out, (helper.Options() & dfc_UseDeflate64) != 0);
    result = out.Finish();
  } catch (const EArPartSizedInflate&) {
    FinishQuietly(out);
  } catch (const EArAbortProgress&) {
    FinishQuietly(out);
  } catch (const EArInternalInflateError& e) {
    if (log) log->WriteLine(AnsiString("Internal exception raised: ") + e.what());
    int64_t position = out.Produced();
    FinishQuietly(out);
    in.ReturnUnusedBytes();
    throw EArInflateError(e, position);
  } catch (...) {
    FinishQuietly(out);
    in.ReturnUnusedBytes();
    throw;
  }
  in.ReturnUnusedBytes();
  if (options) {
    options->NormalSize = testOnly ? out.Produced() : destination->Position() - destinationStart;
    options->CompressedSize = source.Position() - sourceStart;
  }
  return result;
}
