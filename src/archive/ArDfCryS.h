// Traditional zip encryption (PKWARE's): three 32-bit keys driven by the password give
// one keystream byte per data byte; every encrypted entry starts with a 12-byte header
// whose last byte checks the password.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/Streams.h"

class TArZipKeys {
public:
  // The initial keys, then one update per password byte.
  explicit TArZipKeys(AnsiStringView password);
  uint8_t KeystreamByte() const;
  void Update(uint8_t plain);
  uint8_t Encrypt(uint8_t plain) {
    uint8_t cipher = plain ^ KeystreamByte();
    Update(plain);
    return cipher;
  }
  uint8_t Decrypt(uint8_t cipher) {
    uint8_t plain = cipher ^ KeystreamByte();
    Update(plain);
    return plain;
  }
  const std::array<uint32_t, 3>& Keys() const { return FKeys; }

private:
  std::array<uint32_t, 3> FKeys{0x12345678, 0x23456789, 0x34567890};
};

inline constexpr int32_t ArZipCryptHeaderBytes = 12;

// A read-only stream that decrypts an entry's data from source. `CheckHeader` reads the
// 12-byte header; it passes when the last decrypted byte equals bits 24-31 of the check
// value (the entry's CRC-32, or its DOS time << 16 when a data descriptor follows); a
// failed check seeks source back over the header so that another password can try.
class TArDfDecryptStream : public TStream {
public:
  TArDfDecryptStream(TStream& source, AnsiString passphrase, uint32_t checkValue);
  bool CheckHeader();

  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void*, int32_t) override { return 0; }
  // Passed to the source unchanged; the keys do not follow.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override { return FSource.Seek(offset, origin); }

private:
  TStream& FSource;
  AnsiString FPassphrase;
  uint32_t FCheckValue;
  TArZipKeys FKeys;
};

// Ten random bytes and bits 16-31 of the check value, encrypted: the header an entry
// encrypted with password starts with. keys are left as they stand after it, ready for
// the entry's data.
using TArRandomByte = std::function<uint8_t()>;
std::array<uint8_t, ArZipCryptHeaderBytes> MakeEncryptionHeader(AnsiStringView password, uint32_t checkValue,
                                                                const TArRandomByte& random, TArZipKeys& keys);

// A write-only stream that encrypts what it is given into destination; creating it
// writes the 12-byte header there at once. random (a seeded generator when empty) gives
// the header's ten random bytes.
class TArDfEncryptStream : public TStream {
public:
  TArDfEncryptStream(TStream& destination, AnsiStringView passphrase, uint32_t checkValue,
                     const TArRandomByte& random = {});

  int32_t Read(void*, int32_t) override { return 0; }
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override { return FDestination.Seek(offset, origin); }

private:
  TStream& FDestination;
  TArZipKeys FKeys;
  std::vector<uint8_t> FBuffer;
};
