// Single-byte code pages: the common codec and the two shapes its 46 pages take.
//
// A code page answers `DecodeByte` (U+FFFF for a byte it leaves undefined; only
// US-ASCII raises) and `EncodeChar` (EConvertError "Unicode code point $%x has no
// equivalent in %s" for a unit it lacks). The buffer operations apply the failure mode
// to whatever those raise; the per-character operations let it propagate.
#pragma once

#include <algorithm>

#include "xml/codecs/CodePageTable.h"
#include "xml/codecs/UnicodeCodec.h"

class TCustomSingleByteCodec : public TCustomUnicodeCodec {
public:
  virtual WideChar DecodeByte(uint8_t byte) const = 0;
  virtual uint8_t EncodeChar(WideChar unit) const = 0;
  // DecodeByte widened.
  virtual UCS4Char DecodeByteUCS4(uint8_t byte) const { return DecodeByte(byte); }
  // EncodeChar for values below 0x10000; larger values raise EConvertError
  // "$%x is not a valid  code point" (the name is left empty, as the message always was).
  virtual uint8_t EncodeUCS4Char(UCS4Char ch) const;

  void ReadChar(UCS4Char& ch, int32_t& byteCount) override;
  void WriteChar(UCS4Char ch, int32_t& byteCount) override;

  // Written in place of an unencodable unit under cfReplace; a blank after creation.
  uint8_t EncodeSubstitute() const { return FEncodeSubstitute; }
  void SetEncodeSubstitute(uint8_t substitute) { FEncodeSubstitute = substitute; }

protected:
  void DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                   int32_t capacityUnits, WideChar* output, bool inputEnds) override;
  void EncodeUnits(const WideChar* units, int32_t unitCount, AnsiString& result, int32_t& unitsConsumed) override;
  [[noreturn]] void RaiseNoEquivalent(WideChar unit) const;
  // The byte of unit in table: the first position holding it (U+FFFF is never found).
  // Raises as EncodeChar when the table lacks it.
  uint8_t EncodeByTable(const TCodePageTable& table, WideChar unit) const;

private:
  uint8_t FEncodeSubstitute = 0x20;
};

// A code page whose DecodeByte never raises: buffers decode without per-byte virtual
// calls or failure handling.
template <class TDerived>
class TNonFailingSingleByteCodec : public TCodecClassImpl<TDerived, TCustomSingleByteCodec> {
protected:
  void DecodeUnits(const uint8_t* bytes, int32_t byteCount, int32_t& unitsProduced, int32_t& bytesConsumed,
                   int32_t capacityUnits, WideChar* output, bool) override {
    const int32_t count = std::min(byteCount, capacityUnits);
    const TDerived& self = static_cast<const TDerived&>(*this);
    for (int32_t i = 0; i < count; ++i) output[i] = self.TDerived::DecodeByte(bytes[i]);
    unitsProduced = count;
    bytesConsumed = count;
  }
};

// A code page given by one table over its upper bytes (128 entries from 0x80, 96 from
// 0xA0, 219 from 0x25) or over all 256 bytes (EBCDIC pages).
template <class TDerived, const TCodePageTable& Table>
class TTableSingleByteCodec : public TNonFailingSingleByteCodec<TDerived> {
public:
  const char* CodecName() const override { return Table.Name; }
  WideChar DecodeByte(uint8_t byte) const override {
    return byte < Table.FirstByte ? WideChar(byte) : WideChar(Table.Chars[byte - Table.FirstByte]);
  }
  uint8_t EncodeChar(WideChar unit) const override {
    if (unit < Table.FirstByte) return static_cast<uint8_t>(unit);
    return this->EncodeByTable(Table, unit);
  }
};
