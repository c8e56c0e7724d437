// The library's own Deflate (RFC 1951) and deflate64 decoder.
#pragma once

#include <cstdint>

#include "archive/ArDfBase.h"
#include "platform/base/Streams.h"

class TArDfInBitStream;
class TArDfOutputWindow;
class TArDfDecodeHuffmanTree;

// Inflates source from its position into destination and returns the checksum of the
// output (CRC-32, or Adler-32 with dfc_UseAdler32); 0 when the run stopped at the part
// size or on an abort of the progress step (EArAbortProgress). With options, their
// NormalSize and CompressedSize receive the sizes of the run; afterwards source stands
// right after the compressed data.
// Corrupt data raises EArInflateError; producing more than options->MaxNormalSize is
// corrupt data. A passphrase decrypts the source first (traditional zip encryption);
// when its header check fails, EArInflatePasswordError. The bytes decoded before a
// failure are written to destination.
uint32_t InflateStream(TStream& source, TStream* destination, TArDeflateHelper* options);

// The block decoders.
void InflateStoredBlock(TArDfInBitStream& in, TArDfOutputWindow& out);
// Reads a dynamic block's header into the two trees (reused from block to block).
void ReadDynamicTrees(TArDfInBitStream& in, bool deflate64, TArDfDecodeHuffmanTree& literals,
                      TArDfDecodeHuffmanTree& distances);
// Decodes symbols until the end of the block (the hot loop, ArDfDecData.cpp).
void DecodeData(TArDfInBitStream& in, TArDfOutputWindow& out, const TArDfDecodeHuffmanTree& literals,
                const TArDfDecodeHuffmanTree& distances, bool deflate64);
