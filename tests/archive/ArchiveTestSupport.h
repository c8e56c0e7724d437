// Helpers of the archive tests: raw deflate by zlib (the peer), a bit writer for
// hand-built deflate streams, and zlib's own inflate of the same bytes.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/ArArcTyp.h"
#include "platform/base/Streams.h"

using Bytes = std::vector<uint8_t>;

// One call of an archive's item-failure event.
struct TFailure {
  AnsiString Name;
  TArProcessType Type;
  TArErrorClass Class;
  int32_t Code;
};

// Raw deflate (no zlib header) of data by zlib.
inline Bytes ZlibDeflate(const Bytes& data, int level, int strategy = Z_DEFAULT_STRATEGY, int windowBits = 15,
                         int memLevel = 8) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -windowBits, memLevel, strategy) != Z_OK)
    throw std::runtime_error("deflateInit2");
  Bytes out(deflateBound(&z, static_cast<uLong>(data.size())) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int rc = deflate(&z, Z_FINISH);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(z.total_out);
  return out;
}

// Whether zlib's raw inflate accepts the whole stream (the peer's verdict on hand-built
// malformed streams).
inline bool ZlibAccepts(const Bytes& stream) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) throw std::runtime_error("inflateInit2");
  Bytes out(1 << 20);
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  int rc;
  do {
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    rc = inflate(&z, Z_NO_FLUSH);
  } while (rc == Z_OK && z.avail_in > 0);
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

inline uint32_t ZlibCrc(const Bytes& data) {
  return static_cast<uint32_t>(crc32(0, data.data(), static_cast<uInt>(data.size())));
}

// Writes a deflate stream bit by bit: fields least significant bit first, Huffman codes
// most significant bit first, as RFC 1951 packs them.
class TBitWriter {
public:
  void Bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  void Code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  // The fixed literal/length code of symbol.
  void FixedLiteral(uint32_t symbol) {
    if (symbol < 144)
      Code(0x30 + symbol, 8);
    else if (symbol < 256)
      Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
      Code(symbol - 256, 7);
    else
      Code(0xC0 + symbol - 280, 8);
  }
  void FixedDistance(uint32_t symbol) { Code(symbol, 5); }
  // A stored block's header: its two header bits, the byte alignment, LEN and NLEN.
  void StoredHeader(bool finalBlock, uint16_t length, uint16_t notLength) {
    Bits(finalBlock, 1);  // BFINAL
    Bits(0, 2);           // BTYPE stored
    AlignByte();
    Bits(length, 16);     // LEN
    Bits(notLength, 16);  // NLEN, the one's complement of LEN when sound
  }
  void AlignByte() {
    while (FBit) Bit(0);
  }
  void Byte(uint8_t b) { Bits(b, 8); }
  const Bytes& Data() const { return FBytes; }

private:
  void Bit(uint32_t b) {
    if (FBit == 0) FBytes.push_back(0);
    FBytes.back() |= static_cast<uint8_t>(b << FBit);
    FBit = (FBit + 1) & 7;
  }
  Bytes FBytes;
  int FBit = 0;
};

// Text with the repetitions of a book: words from a small vocabulary in random order.
inline Bytes BookLikeText(size_t bytes, uint32_t seed) {
  static const char* words[] = {"the ",  "river ", "was ",     "cold ",   "and ",      "Anna ",  "said ",
                                "that ", "night ", "he ",      "knew ",   "\xD0\xB8 ", "snow, ", "light. ",
                                "\n",    "of ",    "quietly ", "window ", "road ",     "never "};
  Bytes out;
  uint32_t x = seed * 2654435761u + 1;
  while (out.size() < bytes) {
    x = x * 1664525u + 1013904223u;
    const char* w = words[(x >> 16) % (sizeof(words) / sizeof(words[0]))];
    out.insert(out.end(), w, w + std::char_traits<char>::length(w));
  }
  out.resize(bytes);
  return out;
}

inline Bytes RandomBytes(size_t bytes, uint32_t seed, uint32_t alphabet = 256) {
  Bytes out(bytes);
  uint32_t x = seed + 12345;
  for (auto& b : out) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>((x >> 16) % alphabet);
  }
  return out;
}

inline void LoadBytes(TMemoryStream& stream, const Bytes& data) {
  stream.SetSize(0);
  if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
  stream.SetPosition(0);
}

inline Bytes StreamBytes(TMemoryStream& stream) {
  const auto* p = static_cast<const uint8_t*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

// A folder of its own for one test, removed with everything in it afterwards.
class TTempFolder {
public:
  TTempFolder() {
    char pattern[] = "/tmp/qf_archive_XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) throw std::runtime_error("mkdtemp");
    FPath = made;
  }
  ~TTempFolder() { std::system(("rm -rf '" + FPath + "'").c_str()); }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
  std::string FPath;
};

// Runs a shell command in folder (the peers: zip, 7z, python3); raises when it fails.
inline void RunIn(const TTempFolder& folder, const std::string& command) {
  std::string line = "cd '" + folder.Path() + "' && (" + command + ") >/dev/null 2>&1";
  if (std::system(line.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

inline Bytes ReadFileBytes(const std::string& path) {
  Bytes bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
  }
  return bytes;
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// zlib's raw inflate of a whole stream (window bits 15); raises when zlib refuses it.
inline Bytes ZlibInflateAll(const Bytes& stream) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) throw std::runtime_error("inflateInit2");
  Bytes out, chunk(1 << 16);
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  int rc;
  do {
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
    rc = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), chunk.data(), chunk.data() + (chunk.size() - z.avail_out));
  } while (rc == Z_OK);
  bool whole = rc == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  if (!whole) throw std::runtime_error("zlib refused the stream");
  return out;
}
