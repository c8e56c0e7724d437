// Sets of style properties and options as the style classes store them: one bit per
// member, the member's ordinal counted from the set's stored base. A set whose members
// start at ordinal L is stored from ordinal L rounded down to a multiple of 8, in as many
// little-endian bytes as its range needs (so the set of ordinals 27..35 stores ordinal 27
// as bit 3 of two bytes). The stored bytes are what style files and templates keep.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

template <typename E, int Low, int High>
class TRPSet {
public:
  static_assert(0 <= Low && Low <= High && High < 64, "a set holds at most 64 members");
  static constexpr int StoredBase = Low / 8 * 8;
  static constexpr size_t StoredBytes = static_cast<size_t>((High - StoredBase) / 8 + 1);

  constexpr TRPSet() = default;
  constexpr TRPSet(std::initializer_list<E> members) {
    for (E m : members) FBits |= Bit(m);
  }
  static constexpr TRPSet All() {
    TRPSet s;
    for (int i = Low; i <= High; ++i) s.FBits |= uint64_t{1} << i;
    return s;
  }
  constexpr bool Contains(E m) const noexcept { return (FBits & Bit(m)) != 0; }
  constexpr bool Empty() const noexcept { return FBits == 0; }
  constexpr void Include(E m) noexcept { FBits |= Bit(m); }
  constexpr void Exclude(E m) noexcept { FBits &= ~Bit(m); }
  constexpr void Set(E m, bool on) noexcept { on ? Include(m) : Exclude(m); }
  constexpr TRPSet operator+(TRPSet o) const noexcept { return FromOrdinals(FBits | o.FBits); }
  constexpr TRPSet operator-(TRPSet o) const noexcept { return FromOrdinals(FBits & ~o.FBits); }
  constexpr TRPSet operator*(TRPSet o) const noexcept { return FromOrdinals(FBits & o.FBits); }
  friend constexpr bool operator==(TRPSet, TRPSet) = default;

  // One bit per ordinal (bit n for ordinal n), whatever the stored base.
  constexpr uint64_t Ordinals() const noexcept { return FBits; }
  static constexpr TRPSet FromOrdinals(uint64_t bits) noexcept {
    TRPSet s;
    s.FBits = bits & All().FBits;
    return s;
  }
  // The stored bytes as one little-endian number (bit 0: ordinal StoredBase), as
  // settings and component streams keep a set; FromStoredValue drops bits past the set.
  constexpr uint64_t StoredValue() const noexcept { return FBits >> StoredBase; }
  static constexpr TRPSet FromStoredValue(uint64_t value) noexcept {
    return FromOrdinals((value & (All().FBits >> StoredBase)) << StoredBase);
  }
  std::array<uint8_t, StoredBytes> ToStored() const noexcept {
    std::array<uint8_t, StoredBytes> bytes{};
    const uint64_t stored = FBits >> StoredBase;
    for (size_t i = 0; i < StoredBytes; ++i) bytes[i] = static_cast<uint8_t>(stored >> (8 * i));
    return bytes;
  }
  static TRPSet FromStored(const std::array<uint8_t, StoredBytes>& bytes) noexcept {
    uint64_t stored = 0;
    for (size_t i = 0; i < StoredBytes; ++i) stored |= uint64_t{bytes[i]} << (8 * i);
    return FromOrdinals(stored << StoredBase);
  }

private:
  static constexpr uint64_t Bit(E m) noexcept { return uint64_t{1} << static_cast<int>(m); }
  uint64_t FBits = 0;
};
