// Whole numbers as little-endian arrays of 64-bit limbs: addition and
// subtraction in place, modulo 2^(64 n) for an array of n limbs, and the
// division by 10^19 that turns one into decimal. Each operation exists in a
// portable form and, where the compiler offers it, a fast one; both give the
// same results.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#define PARTITION_LIMBS_CARRY_INTRINSICS 1
#endif

namespace partition::limbs {

// The type the carry intrinsics take, 64 bits everywhere.
using Limb = unsigned long long;
static_assert(sizeof(Limb) * 8 == 64);

// The base of the decimal digits DivideBy1e19 gives: 10^19, the largest
// power of ten below 2^64.
inline constexpr Limb kDecimalBase = 10000000000000000000ULL;
inline constexpr int kDecimalBaseDigits = 19;

// a[0..n) += b[0..m) for m <= n, the carry running through the rest of a
// and the last one dropped.
inline void AddPortable(Limb* a, std::size_t n, const Limb* b, std::size_t m) {
  Limb carry = 0;
  std::size_t i = 0;
  for (; i < m; ++i) {
    const Limb sum = a[i] + b[i];
    const Limb withCarry = sum + carry;
    carry = static_cast<Limb>(sum < a[i]) | static_cast<Limb>(withCarry < sum);
    a[i] = withCarry;
  }
  for (; carry != 0 && i < n; ++i) {
    carry = static_cast<Limb>(++a[i] == 0);
  }
}

// a[0..n) -= b[0..m) for m <= n, the borrow running through the rest of a
// and the last one dropped.
inline void SubtractPortable(Limb* a, std::size_t n, const Limb* b, std::size_t m) {
  Limb borrow = 0;
  std::size_t i = 0;
  for (; i < m; ++i) {
    const Limb difference = a[i] - b[i];
    const Limb withBorrow = difference - borrow;
    borrow = static_cast<Limb>(a[i] < b[i]) | static_cast<Limb>(difference < borrow);
    a[i] = withBorrow;
  }
  for (; borrow != 0 && i < n; ++i) {
    borrow = static_cast<Limb>(a[i]-- == 0);
  }
}

// out[0..n) = x[0..n) + y[0..n), and out[0..n) = x[0..m) - y[0..n) with x
// zero above m <= n, modulo 2^(64 n).
inline void AddToPortable(Limb* out, const Limb* x, const Limb* y, std::size_t n) {
  Limb carry = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Limb sum = x[i] + y[i];
    const Limb withCarry = sum + carry;
    carry = static_cast<Limb>(sum < x[i]) | static_cast<Limb>(withCarry < sum);
    out[i] = withCarry;
  }
}
inline void SubtractToPortable(Limb* out, const Limb* x, std::size_t m, const Limb* y,
                               std::size_t n) {
  Limb borrow = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Limb xi = i < m ? x[i] : 0;
    const Limb difference = xi - y[i];
    const Limb withBorrow = difference - borrow;
    borrow = static_cast<Limb>(xi < y[i]) | static_cast<Limb>(difference < borrow);
    out[i] = withBorrow;
  }
}

// x[0..n) /= divisor, rounding down, for a divisor below 2^32; returns the
// remainder. In halves of 32 bits, each a division of a 64-bit number by a
// constant.
template <Limb divisor>
Limb DivideBySmall(Limb* x, std::size_t n) {
  static_assert(divisor > 0 && divisor < (Limb{1} << 32));
  Limb remainder = 0;
  for (std::size_t i = n; i-- > 0;) {
    const Limb high = (remainder << 32) | (x[i] >> 32);
    const Limb low = ((high % divisor) << 32) | (x[i] & 0xFFFFFFFFU);
    x[i] = ((high / divisor) << 32) | (low / divisor);
    remainder = low % divisor;
  }
  return remainder;
}

// x[0..n) /= 10^19, rounding down; returns the remainder: by 10^9, 10^9 and
// 10 in turn.
inline Limb DivideBy1e19Portable(Limb* x, std::size_t n) {
  constexpr Limb kBillion = 1000000000;
  const Limb first = DivideBySmall<kBillion>(x, n);
  const Limb second = DivideBySmall<kBillion>(x, n);
  const Limb third = DivideBySmall<10>(x, n);
  return first + kBillion * (second + kBillion * third);
}

#ifdef PARTITION_LIMBS_CARRY_INTRINSICS
// Four limbs a step, so that the carry stays in the flags between them.
inline void Add(Limb* a, std::size_t n, const Limb* b, std::size_t m) {
  unsigned char carry = 0;
  std::size_t i = 0;
  for (; i + 4 <= m; i += 4) {
    carry = _addcarry_u64(carry, a[i], b[i], &a[i]);
    carry = _addcarry_u64(carry, a[i + 1], b[i + 1], &a[i + 1]);
    carry = _addcarry_u64(carry, a[i + 2], b[i + 2], &a[i + 2]);
    carry = _addcarry_u64(carry, a[i + 3], b[i + 3], &a[i + 3]);
  }
  for (; i < m; ++i) {
    carry = _addcarry_u64(carry, a[i], b[i], &a[i]);
  }
  for (; carry != 0 && i < n; ++i) {
    carry = static_cast<unsigned char>(++a[i] == 0);
  }
}

inline void Subtract(Limb* a, std::size_t n, const Limb* b, std::size_t m) {
  unsigned char borrow = 0;
  std::size_t i = 0;
  for (; i + 4 <= m; i += 4) {
    borrow = _subborrow_u64(borrow, a[i], b[i], &a[i]);
    borrow = _subborrow_u64(borrow, a[i + 1], b[i + 1], &a[i + 1]);
    borrow = _subborrow_u64(borrow, a[i + 2], b[i + 2], &a[i + 2]);
    borrow = _subborrow_u64(borrow, a[i + 3], b[i + 3], &a[i + 3]);
  }
  for (; i < m; ++i) {
    borrow = _subborrow_u64(borrow, a[i], b[i], &a[i]);
  }
  for (; borrow != 0 && i < n; ++i) {
    borrow = static_cast<unsigned char>(a[i]-- == 0);
  }
}
inline void AddTo(Limb* out, const Limb* x, const Limb* y, std::size_t n) {
  unsigned char carry = 0;
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    carry = _addcarry_u64(carry, x[i], y[i], &out[i]);
    carry = _addcarry_u64(carry, x[i + 1], y[i + 1], &out[i + 1]);
    carry = _addcarry_u64(carry, x[i + 2], y[i + 2], &out[i + 2]);
    carry = _addcarry_u64(carry, x[i + 3], y[i + 3], &out[i + 3]);
  }
  for (; i < n; ++i) {
    carry = _addcarry_u64(carry, x[i], y[i], &out[i]);
  }
}

inline void SubtractTo(Limb* out, const Limb* x, std::size_t m, const Limb* y, std::size_t n) {
  unsigned char borrow = 0;
  std::size_t i = 0;
  for (; i + 4 <= m; i += 4) {
    borrow = _subborrow_u64(borrow, x[i], y[i], &out[i]);
    borrow = _subborrow_u64(borrow, x[i + 1], y[i + 1], &out[i + 1]);
    borrow = _subborrow_u64(borrow, x[i + 2], y[i + 2], &out[i + 2]);
    borrow = _subborrow_u64(borrow, x[i + 3], y[i + 3], &out[i + 3]);
  }
  for (; i < m; ++i) {
    borrow = _subborrow_u64(borrow, x[i], y[i], &out[i]);
  }
  for (; i < n; ++i) {
    borrow = _subborrow_u64(borrow, 0, y[i], &out[i]);
  }
}
#else
inline void AddTo(Limb* out, const Limb* x, const Limb* y, std::size_t n) {
  AddToPortable(out, x, y, n);
}
inline void SubtractTo(Limb* out, const Limb* x, std::size_t m, const Limb* y, std::size_t n) {
  SubtractToPortable(out, x, m, y, n);
}
inline void Add(Limb* a, std::size_t n, const Limb* b, std::size_t m) { AddPortable(a, n, b, m); }
inline void Subtract(Limb* a, std::size_t n, const Limb* b, std::size_t m) {
  SubtractPortable(a, n, b, m);
}
#endif

#ifdef __SIZEOF_INT128__
// By multiplication with the inverse of 10^19 (Moeller and Granlund,
// "Improved division by invariant integers", 2011): 10^19 has its top bit
// set, so it needs no normalising shift.
inline Limb DivideBy1e19(Limb* x, std::size_t n) {
  // A typedef, as only its __extension__ keeps -Wpedantic from warning.
  __extension__ typedef unsigned __int128 Wide;  // NOLINT(modernize-use-using)
  constexpr Limb kInverse = static_cast<Limb>(~Wide{0} / kDecimalBase - (Wide{1} << 64));
  Limb remainder = 0;
  for (std::size_t i = n; i-- > 0;) {
    const Limb low = x[i];
    const Wide product = Wide{kInverse} * remainder + ((Wide{remainder + 1} << 64) | low);
    auto quotient = static_cast<Limb>(product >> 64);
    Limb rest = low - quotient * kDecimalBase;
    // Taken about half the time, so without a branch.
    const Limb over = Limb{0} - static_cast<Limb>(rest > static_cast<Limb>(product));
    quotient += over;
    rest += over & kDecimalBase;
    if (rest >= kDecimalBase) {
      ++quotient;
      rest -= kDecimalBase;
    }
    x[i] = quotient;
    remainder = rest;
  }
  return remainder;
}
#else
inline Limb DivideBy1e19(Limb* x, std::size_t n) { return DivideBy1e19Portable(x, n); }
#endif

}  // namespace partition::limbs
