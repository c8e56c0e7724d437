#include "archive/ArDfCryS.h"

#include "archive/ArUtils.h"

#include <random>

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

std::array<uint8_t, ArZipCryptHeaderBytes> MakeEncryptionHeader(AnsiStringView password, uint32_t checkValue,
                                                                const TArRandomByte& random, TArZipKeys& keys) {
  // The random bytes are themselves passed through the keys once, so that the header
  // does not show the generator's output.
  std::array<uint8_t, ArZipCryptHeaderBytes> header{};
  TArZipKeys scramble(password);
  for (size_t i = 0; i < 10; ++i) header[i] = scramble.Encrypt(random());
  header[10] = static_cast<uint8_t>(checkValue >> 16);
  header[11] = static_cast<uint8_t>(checkValue >> 24);
  keys = TArZipKeys(password);
  for (uint8_t& b : header) b = keys.Encrypt(b);
  return header;
}

TArDfEncryptStream::TArDfEncryptStream(TStream& destination, AnsiStringView passphrase, uint32_t checkValue,
                                       const TArRandomByte& random)
    : FDestination(destination), FKeys(passphrase) {
  TArRandomByte source = random;
  if (!source) {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    source = [engine] { return static_cast<uint8_t>((*engine)() >> 24); };
  }
  auto header = MakeEncryptionHeader(passphrase, checkValue, source, FKeys);
  FDestination.WriteBuffer(header.data(), ArZipCryptHeaderBytes);
}

int32_t TArDfEncryptStream::Write(const void* buffer, int32_t count) {
  if (count <= 0) return 0;
  if (FBuffer.size() < static_cast<size_t>(count)) FBuffer.resize(static_cast<size_t>(count));
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  for (int32_t i = 0; i < count; ++i) FBuffer[static_cast<size_t>(i)] = FKeys.Encrypt(bytes[i]);
  return FDestination.Write(FBuffer.data(), count);
}
