#pragma once
// A set of the members of a small enumeration, kept as a bit mask (bit n = member with ordinal n).

#include <cstdint>
#include <initializer_list>

template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> members) {
    for (E member : members) Include(member);
  }
  static constexpr TSet FromBits(std::uint32_t bits) {
    TSet set;
    set.bits_ = bits;
    return set;
  }

  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool Contains(E member) const { return (bits_ & Bit(member)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet& Include(E member) {
    bits_ |= Bit(member);
    return *this;
  }
  constexpr TSet& Exclude(E member) {
    bits_ &= ~Bit(member);
    return *this;
  }

  friend constexpr bool operator==(TSet, TSet) = default;
  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }

 private:
  static constexpr std::uint32_t Bit(E member) {
    return std::uint32_t{1} << static_cast<unsigned>(member);
  }
  std::uint32_t bits_ = 0;
};
