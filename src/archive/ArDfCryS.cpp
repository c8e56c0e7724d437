#include "archive/ArDfCryS.h"

#include "archive/ArUtils.h"

TArZipKeys::TArZipKeys(AnsiStringView password) {
  for (char c : password) Update(static_cast<uint8_t>(c));
}

uint8_t TArZipKeys::KeystreamByte() const {
  uint32_t t = (FKeys[2] & 0xFFFF) | 2;
  return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
}

void TArZipKeys::Update(uint8_t plain) {
  FKeys[0] = Crc32Byte(FKeys[0], plain);
  FKeys[1] = (FKeys[1] + (FKeys[0] & 0xFF)) * 134775813u + 1;
  FKeys[2] = Crc32Byte(FKeys[2], static_cast<uint8_t>(FKeys[1] >> 24));
}

TArDfDecryptStream::TArDfDecryptStream(TStream& source, AnsiString passphrase, uint32_t checkValue)
    : FSource(source), FPassphrase(std::move(passphrase)), FCheckValue(checkValue), FKeys(FPassphrase) {}

bool TArDfDecryptStream::CheckHeader() {
  FKeys = TArZipKeys(FPassphrase);
  std::array<uint8_t, ArZipCryptHeaderBytes> header{};
  int32_t got = FSource.Read(header.data(), ArZipCryptHeaderBytes);
  for (uint8_t& b : header) b = FKeys.Decrypt(b);
  if (got == ArZipCryptHeaderBytes && header[11] == static_cast<uint8_t>(FCheckValue >> 24)) return true;
  if (got > 0) FSource.Seek(-got, soCurrent);
  return false;
}

int32_t TArDfDecryptStream::Read(void* buffer, int32_t count) {
  int32_t got = FSource.Read(buffer, count);
  auto* bytes = static_cast<uint8_t*>(buffer);
  for (int32_t i = 0; i < got; ++i) bytes[i] = FKeys.Decrypt(bytes[i]);
  return got;
}
