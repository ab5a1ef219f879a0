// The class library's "set of" an enumeration: members 0..63, kept as one bit each.
#pragma once

#include <cstdint>
#include <initializer_list>

template <typename E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Items) {
    for (E i : Items) FBits |= bit(i);
  }
  constexpr bool Contains(E i) const { return (FBits & bit(i)) != 0; }
  constexpr void Include(E i) { FBits |= bit(i); }
  constexpr void Exclude(E i) { FBits &= ~bit(i); }
  constexpr bool Empty() const { return FBits == 0; }

  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.FBits | b.FBits); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.FBits & ~b.FBits); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.FBits & b.FBits); }
  friend constexpr bool operator==(TSet, TSet) = default;

 private:
  static constexpr uint64_t bit(E i) { return uint64_t(1) << static_cast<int>(i); }
  static constexpr TSet FromBits(uint64_t Bits) {
    TSet s;
    s.FBits = Bits;
    return s;
  }
  uint64_t FBits = 0;
};
