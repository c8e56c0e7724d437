// One table of a table-driven single-byte code page: bytes below FirstByte stand for
// themselves, bytes FirstByte..LastByte for the table's characters, U+FFFF marking a
// byte the code page leaves undefined.
#pragma once

#include <cstdint>

struct TCodePageTable {
  const char* Name;  // the code page's name in messages
  uint8_t FirstByte;
  uint8_t LastByte;
  const char16_t* Chars;  // LastByte - FirstByte + 1 entries

  static constexpr char16_t Undefined = 0xFFFF;
};
