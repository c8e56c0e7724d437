// Writing one block of the deflate engine: fixed, dynamic or stored, or whichever of
// the three is smallest.
#pragma once

#include <cstdint>

#include "archive/ArDfStrm.h"

class TArDfBlockWriter {
public:
  // method: dfc_FixedHuffman, dfc_DynamicHuffman, or anything else to compare sizes.
  // Stored blocks read their bytes from source at sourceStart + the block's offset.
  TArDfBlockWriter(TArDfOutBitStream& out, TStream& source, int64_t sourceStart, uint32_t method)
      : FOut(out), FSource(source), FSourceStart(sourceStart), FMethod(method) {}

  void WriteBlock(const TArDfLZStream& block, bool final);

private:
  void WriteStored(const TArDfLZStream& block, bool final);

  TArDfOutBitStream& FOut;
  TStream& FSource;
  int64_t FSourceStart;
  uint32_t FMethod;
};
