// The decryption engine of the legacy decoders: checks an entry's 12-byte encryption
// header, asking for new passwords as the tries allow, then decrypts the data in place.
#pragma once

#include <cstdint>
#include <functional>

#include "archive/ArDfCryS.h"

class TArZDecoder : public TObject {
public:
  // checkValue: the entry's CRC-32, or its DOS time << 16 when a data descriptor
  // follows. With oneByteCheck only the header's last byte must match the check value's
  // high byte; otherwise the byte before it must match the next byte too.
  TArZDecoder(AnsiString password, TStream& source, uint32_t checkValue, bool oneByteCheck = true);

  // Reads and checks the header at the source's position with the password, then with
  // each new password the hook gives, Tries times in all; leaves the source after a
  // header that passes. Without a hook a failed check raises EArZipInvalidPassword at
  // once; so does running out of tries. A failed check puts the source back at the
  // header.
  void CheckHeader();
  // Decrypts count bytes in place, continuing the keys of the header that passed.
  void Decode(uint8_t* bytes, size_t count);

  const AnsiString& Password() const { return FPassword; }
  int32_t Tries = 3;
  // Asked for a new password after a failed check; its answer replaces the password.
  std::function<void(AnsiString& newPassword)> OnNeedPassword;

protected:
  virtual void RequestNewPassword(AnsiString& password);

private:
  AnsiString FPassword;
  TStream& FSource;
  uint32_t FCheckValue;
  bool FOneByteCheck;
  TArZipKeys FKeys;
};
