// Small helpers shared by the codec tests: byte strings, a byte source over a fixed
// block and a sink that collects what a codec writes.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>
#include <vector>

#include "xml/codecs/UnicodeCodec.h"

using TBytes = std::vector<uint8_t>;

inline TBytes BytesOf(const AnsiString& s) { return TBytes(s.begin(), s.end()); }

// Hands out the bytes in order; a read that the rest cannot fill fails.
class TTestByteSource final : public ICodecByteSource {
public:
  explicit TTestByteSource(TBytes bytes) : FBytes(std::move(bytes)) {}
  bool ReadCodecBytes(TCustomUnicodeCodec&, uint8_t* buffer, int32_t count) override {
    if (FBytes.size() - FPos < static_cast<size_t>(count)) return false;
    for (int32_t i = 0; i < count; ++i) buffer[i] = FBytes[FPos++];
    return true;
  }

private:
  TBytes FBytes;
  size_t FPos = 0;
};

class TTestByteSink final : public ICodecByteSink {
public:
  void WriteCodecBytes(TCustomUnicodeCodec&, const uint8_t* buffer, int32_t count) override {
    Bytes.insert(Bytes.end(), buffer, buffer + count);
  }
  TBytes Bytes;
};

using TWriteCharMethod = void (TCustomUnicodeCodec::*)(UCS4Char, int32_t&);

// The bytes that write (WriteChar unless given) hands the byte sink for ch; the byte
// count it reports must be their number.
inline TBytes BytesWritten(TCustomUnicodeCodec& codec, UCS4Char ch,
                           TWriteCharMethod write = &TCustomUnicodeCodec::WriteChar) {
  TTestByteSink sink;
  codec.SetByteSink(&sink);
  int32_t count = 0;
  (codec.*write)(ch, count);
  codec.SetByteSink(nullptr);
  EXPECT_EQ(count, static_cast<int32_t>(sink.Bytes.size()));
  return sink.Bytes;
}

// Reads characters until the end marker.
inline std::vector<std::pair<UCS4Char, int32_t>> ReadAllChars(TCustomUnicodeCodec& codec, const TBytes& bytes) {
  TTestByteSource source(bytes);
  codec.SetByteSource(&source);
  std::vector<std::pair<UCS4Char, int32_t>> result;
  for (;;) {
    UCS4Char ch = 0;
    int32_t count = 0;
    codec.ReadCharNormalised(ch, count);
    if (ch == UCS4EndOfInput) break;
    result.emplace_back(ch, count);
  }
  codec.SetByteSource(nullptr);
  return result;
}

inline WideString DecodeAll(TCustomUnicodeCodec& codec, const TBytes& bytes) {
  return codec.DecodeToWideString(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// Runs f and returns the EUnicodeCodecException it raises (failing the test when none).
template <class F>
EUnicodeCodecException CatchCodecException(F f) {
  try {
    f();
  } catch (const EUnicodeCodecException& e) {
    return e;
  }
  ADD_FAILURE() << "no EUnicodeCodecException";
  return EUnicodeCodecException("", -1);
}

// What decoding an input whole gives under each failure mode: the exception of
// cfRaise, then the text of cfStop, cfPassThrough, cfSkip and cfReplace.
struct TDecodeFailureResults {
  AnsiString Message;
  int32_t Position;
  WideString Stop;
  WideString PassThrough;
  WideString Skip;
  WideString Replace;
};

// Decodes bytes whole under each failure mode in turn (codec starts in cfRaise and is
// left in cfReplace) and checks the results.
inline void ExpectDecodeFailureModes(TCustomUnicodeCodec& codec, const TBytes& bytes,
                                     const TDecodeFailureResults& expected) {
  const EUnicodeCodecException e = CatchCodecException([&] { DecodeAll(codec, bytes); });
  EXPECT_EQ(e.Message(), expected.Message);
  EXPECT_EQ(e.Position(), expected.Position);
  const std::pair<TCodecFailureMode, const WideString*> modes[] = {{cfStop, &expected.Stop},
                                                                   {cfPassThrough, &expected.PassThrough},
                                                                   {cfSkip, &expected.Skip},
                                                                   {cfReplace, &expected.Replace}};
  for (const auto& [mode, text] : modes) {
    codec.SetFailureMode(mode);
    EXPECT_EQ(DecodeAll(codec, bytes), *text) << "failure mode " << int(mode);
  }
}

// Runs f and checks that it raises EConvertError with message.
template <class F>
void ExpectConvertError(F f, const AnsiString& message) {
  try {
    f();
    ADD_FAILURE() << "no EConvertError, expected \"" << message << "\"";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

// The first ReadChar over bytes raises EConvertError with message.
inline void ExpectReadCharFails(TCustomUnicodeCodec& codec, const TBytes& bytes, const AnsiString& message) {
  TTestByteSource source(bytes);
  codec.SetByteSource(&source);
  UCS4Char ch = 0;
  int32_t count = 0;
  ExpectConvertError([&] { codec.ReadChar(ch, count); }, message);
  codec.SetByteSource(nullptr);
}

// glibc's reading of bytes in converter's encoding into UTF-16; nothing when it finds
// them malformed or cut short.
inline std::optional<WideString> PeerDecode(const char* converter, const TBytes& bytes) {
  iconv_t cd = iconv_open("UTF-16LE", converter);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "glibc has no converter " << converter;
    return std::nullopt;
  }
  std::vector<char> in(bytes.begin(), bytes.end());
  std::vector<char> out(bytes.size() * 2 + 8);
  char* inPtr = in.data();
  char* outPtr = out.data();
  size_t inLeft = in.size();
  size_t outLeft = out.size();
  const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  WideString result;
  for (char* p = out.data(); p < outPtr; p += 2)
    result.push_back(static_cast<WideChar>(static_cast<uint8_t>(p[0]) | static_cast<uint8_t>(p[1]) << 8));
  return result;
}

// Decodes each input whole with a fresh codec of codecClass (failure mode cfRaise) and
// with glibc: both must accept it and agree on the text, or both refuse it. Returns how
// many inputs were accepted.
inline int32_t ExpectSameDecodingAsGlibc(TUnicodeCodecClass codecClass, const char* converter,
                                         const std::vector<TBytes>& inputs) {
  int32_t accepted = 0;
  for (const TBytes& bytes : inputs) {
    auto codec = codecClass->Create();
    std::optional<WideString> ours;
    try {
      ours = DecodeAll(*codec, bytes);
    } catch (const EUnicodeCodecException&) {
    }
    EXPECT_EQ(ours, PeerDecode(converter, bytes)) << ::testing::PrintToString(bytes);
    accepted += ours.has_value();
  }
  return accepted;
}
