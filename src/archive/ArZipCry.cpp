#include "archive/ArZipCry.h"

#include <array>

#include "archive/ArExcept.h"

TArZDecoder::TArZDecoder(AnsiString password, TStream& source, uint32_t checkValue, bool oneByteCheck)
    : FPassword(std::move(password)),
      FSource(source),
      FCheckValue(checkValue),
      FOneByteCheck(oneByteCheck),
      FKeys(FPassword) {}

void TArZDecoder::RequestNewPassword(AnsiString& password) {
  if (OnNeedPassword) OnNeedPassword(password);
}

void TArZDecoder::CheckHeader() {
  for (int32_t attempt = 0; attempt < Tries; ++attempt) {
    FKeys = TArZipKeys(FPassword);
    std::array<uint8_t, ArZipCryptHeaderBytes> header{};
    int32_t got = FSource.Read(header.data(), ArZipCryptHeaderBytes);
    Decode(header.data(), header.size());
    bool passes = got == ArZipCryptHeaderBytes && header[11] == static_cast<uint8_t>(FCheckValue >> 24) &&
                  (FOneByteCheck || header[10] == static_cast<uint8_t>(FCheckValue >> 16));
    if (passes) return;
    // Relative, so that a header split over two volumes is found again.
    if (got > 0) FSource.Seek(-got, soCurrent);
    if (!OnNeedPassword) break;
    RequestNewPassword(FPassword);
  }
  throw EArZipInvalidPassword();
}

void TArZDecoder::Decode(uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) bytes[i] = FKeys.Decrypt(bytes[i]);
}
