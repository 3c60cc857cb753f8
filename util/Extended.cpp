// Double <-> 80-bit extended image.
#include "Extended.h"

#include <bit>
#include <cstring>

namespace mirvex {
namespace {

constexpr int kExtendedBias = 16383;
constexpr int kDoubleBias = 1023;

TExtendedImage Pack(bool negative, std::uint32_t exponent, std::uint64_t mantissa) {
    TExtendedImage image{};
    for (int i = 0; i < 8; ++i) image[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    image[8] = static_cast<std::uint8_t>(exponent & 0xFF);
    image[9] = static_cast<std::uint8_t>(((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
    return image;
}

double FromBits(std::uint64_t bits) { return std::bit_cast<double>(bits); }

}  // namespace

TExtendedImage DoubleToExtended(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const auto exponent = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);

    if (exponent == 0x7FF) {
        if (fraction == 0) return Pack(negative, 0x7FFF, std::uint64_t{1} << 63);
        // NaN: keep the payload, set the integer and the quiet bits.
        return Pack(negative, 0x7FFF, (std::uint64_t{3} << 62) | (fraction << 11));
    }
    if (exponent == 0) {
        if (fraction == 0) return Pack(negative, 0, 0);
        // A double denormal is a normal extended number.
        const int shift = std::countl_zero(fraction);
        const int e = -1074 + 63 - shift;
        return Pack(negative, static_cast<std::uint32_t>(e + kExtendedBias), fraction << shift);
    }
    const std::uint64_t mantissa = (std::uint64_t{1} << 63) | (fraction << 11);
    return Pack(negative, static_cast<std::uint32_t>(exponent - kDoubleBias + kExtendedBias), mantissa);
}

double ExtendedToDouble(const TExtendedImage& image) {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | image[i];
    const bool negative = (image[9] & 0x80) != 0;
    const int stored = ((image[9] & 0x7F) << 8) | image[8];
    const std::uint64_t sign = negative ? std::uint64_t{1} << 63 : 0;

    if (stored == 0x7FFF) {
        const std::uint64_t fraction = mantissa & ~(std::uint64_t{1} << 63);
        if (fraction == 0) return FromBits(sign | (std::uint64_t{0x7FF} << 52));
        return FromBits(sign | (std::uint64_t{0x7FF} << 52) | (std::uint64_t{1} << 51) | (fraction >> 11));
    }
    if (mantissa == 0) return FromBits(sign);

    // value = mantissa * 2^(e - 63); normalise so that bit 63 is set.
    int e = (stored == 0 ? 1 : stored) - kExtendedBias;
    const int shift = std::countl_zero(mantissa);
    mantissa <<= shift;
    e -= shift;

    // Bits of the mantissa to drop: 11 for a normal double, more for a denormal.
    int drop = 11;
    if (e < 1 - kDoubleBias) drop += (1 - kDoubleBias) - e;
    if (drop > 64) return FromBits(sign);  // below half the smallest denormal

    // 11 <= drop <= 64.
    const std::uint64_t kept0 = drop == 64 ? 0 : mantissa >> drop;
    const std::uint64_t rest = drop == 64 ? mantissa : mantissa & ((std::uint64_t{1} << drop) - 1);
    const std::uint64_t half = std::uint64_t{1} << (drop - 1);
    std::uint64_t kept = kept0;
    if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;

    if (drop > 11) {
        // Denormal range: `kept` is the 52-bit fraction; a carry into bit 52
        // lands on the smallest normal exponent, which the bit layout gives.
        return FromBits(sign | kept);
    }
    // Normal: kept has 53 bits (bit 52 set) unless rounding carried to 2^53.
    if (kept == (std::uint64_t{1} << 53)) {
        kept >>= 1;
        ++e;
    }
    if (e > kDoubleBias) return FromBits(sign | (std::uint64_t{0x7FF} << 52));
    const auto biased = static_cast<std::uint64_t>(e + kDoubleBias);
    return FromBits(sign | (biased << 52) | (kept & ((std::uint64_t{1} << 52) - 1)));
}

}  // namespace mirvex
