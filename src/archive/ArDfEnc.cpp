#include "archive/ArDfEnc.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <vector>

#include "archive/ArDfCryS.h"
#include "archive/ArDfEncBlock.h"
#include "archive/ArDfInW.h"
#include "archive/ArDfStrm.h"
#include "archive/ArDfTbls.h"
#include "archive/ArExcept.h"
#include "archive/ArLogger.h"
#include "archive/ArUtils.h"

namespace {

int32_t Unbounded(int32_t value) { return value == -1 ? 2147483647 : value; }

// Stored method: pieces of up to 65535 bytes, each its own block; nothing for an empty
// source.
uint32_t DeflateStored(TStream& source, TStream& destination, const TArDeflateHelper& helper) {
  int64_t length = helper.StreamSize > 0 ? helper.StreamSize : source.Size() - source.Position();
  bool adler = (helper.Options() & dfc_UseAdler32) != 0;
  uint32_t check = adler ? 1 : 0xFFFFFFFF;
  std::vector<uint8_t> piece;
  int64_t done = 0;
  while (done < length) {
    uint32_t n = static_cast<uint32_t>(std::min<int64_t>(length - done, 65535));
    piece.resize(n + 5);
    source.ReadBuffer(piece.data() + 5, static_cast<int32_t>(n));
    std::span<const uint8_t> bytes(piece.data() + 5, n);
    if (adler)
      UpdateAdler32(check, bytes);
    else
      check = UpdateCrc32(check, bytes);
    done += n;
    piece[0] = done == length ? 1 : 0;
    piece[1] = static_cast<uint8_t>(n);
    piece[2] = static_cast<uint8_t>(n >> 8);
    piece[3] = static_cast<uint8_t>(~n);
    piece[4] = static_cast<uint8_t>(~n >> 8);
    destination.WriteBuffer(piece.data(), static_cast<int32_t>(piece.size()));
    if (helper.ProgressStep) helper.ProgressStep(Percentage(done, length));
  }
  return adler ? check : ~check;
}

/* The compression loop, lazy matching.

   State: the window's current position is the next byte to code. `pending` is a match
   found at the previous position and not yet coded (length 0 for none): a match at the
   current position only replaces it when longer, and then the previous byte goes out as
   a literal. A pending match that reaches the lazy limit is coded at once, so with a
   limit of 0 (no lazy matching) every match is coded where it is found. */
uint32_t DeflateCoded(TStream& source, TStream& destination, TArDeflateHelper& helper, uint32_t method) {
  bool deflate64 = (helper.Options() & dfc_UseDeflate64) != 0;
  // Windows are powers of two (the chains are indexed by offset modulo the size).
  uint32_t windowSize = std::bit_floor(std::clamp<uint32_t>(helper.WindowSize, 256, deflate64 ? 65536 : 32768));
  uint32_t maxMatch = deflate64 ? 65536 : DfMaxMatch;
  bool defaults = helper.AmpleLength() == 8 && helper.ChainLength() == 32 && helper.MaxLazyLength() == 16;
  int32_t lazyLimit = (helper.Options() & dfc_UseLazyMatch) != 0 ? Unbounded(helper.MaxLazyLength()) : 0;
  int32_t ampleLength = Unbounded(helper.AmpleLength());

  int64_t sourceStart = source.Position();
  TArDfInputWindow window(source, windowSize, maxMatch, Unbounded(helper.ChainLength()),
                          (helper.Options() & dfc_UseAdler32) != 0, helper.StreamSize, helper.ProgressStep);
  TArDfOutBitStream out(destination);
  TArDfBlockWriter writer(out, source, sourceStart, method);
  TArDfLZStream block(deflate64);
  bool tuningChecked = false;

  uint32_t pending = 0, pendingDistance = 0;
  auto codePending = [&] {
    block.AddMatch(pending, pendingDistance);
    window.Advance(pending - 1);
    pending = 0;
  };
  while (window.LookAhead() >= 3) {
    if (!tuningChecked && block.CoveredBytes() == 1024) {
      tuningChecked = true;
      // Text without zero bytes is worth a longer search.
      if (defaults && !block.CodedZero()) {
        helper.SetAmpleLength(helper.AmpleLength() * 2);
        helper.SetMaxLazyLength(helper.MaxLazyLength() * 2);
        helper.SetChainLength(helper.ChainLength() * 2);
        ampleLength = helper.AmpleLength();
        if (lazyLimit > 0) lazyLimit = helper.MaxLazyLength();
        window.SetChainLength(helper.ChainLength());
      }
    }
    if (block.IsFull()) {
      writer.WriteBlock(block, false);
      block.Clear(block.StartOffset() + block.CoveredBytes());
    }
    uint32_t distance = 0;
    uint32_t length = window.LongestMatch(pending, ampleLength, distance);
    if (length == 3 && distance > 4096) length = 0;
    if (length > 0) {
      if (pending > 0) block.AddLiteral(window.ByteAt(window.Offset() - 1));
      pending = length;
      pendingDistance = distance;
      window.Advance(1);
      if (pending >= static_cast<uint32_t>(lazyLimit)) codePending();
    } else if (pending > 0) {
      codePending();
    } else {
      block.AddLiteral(window.Current());
      window.Advance(1);
    }
  }
  if (pending > 0) codePending();
  while (window.LookAhead() > 0) {
    block.AddLiteral(window.Current());
    window.Advance(1);
  }
  writer.WriteBlock(block, true);
  out.Flush();
  return window.Checksum();
}

}  // namespace

uint32_t DeflateStream(TStream& source, TStream& destination, TArDeflateHelper* options) {
  TArDeflateHelper helper = TArDeflateHelper::WorkingCopy(options, source);

  std::unique_ptr<TArLogger> log = OpenEngineLog(helper, "DEFLATING STREAM...");
  int64_t sourceStart = source.Position();
  int64_t destinationStart = destination.Position();
  std::unique_ptr<TArDfEncryptStream> encrypting;
  TStream* output = &destination;
  if (!helper.Passphrase.empty()) {
    encrypting = std::make_unique<TArDfEncryptStream>(destination, helper.Passphrase, helper.CheckValue);
    output = encrypting.get();
  }

  uint32_t result = 0;
  try {
    uint32_t method = helper.Options() & dfc_MethodMask;
    if (method == dfc_Stored)
      result = DeflateStored(source, *output, helper);
    else
      result = DeflateCoded(source, *output, helper, method);
  } catch (const EArAbortProgress&) {
    result = 0;
  } catch (const EArInternalDeflateError& e) {
    throw EArDeflateError(e.what());
  }
  if (options) {
    options->NormalSize = source.Position() - sourceStart;
    options->CompressedSize = destination.Position() - destinationStart;
  }
  return result;
}
