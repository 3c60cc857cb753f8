// Exact conversion between IEEE doubles and the 10-byte x87 extended image
// (64-bit mantissa with an explicit integer bit, 15-bit exponent biased by
// 16383, sign), done in integer code so that it does not depend on long double.
#pragma once

#include <array>
#include <cstdint>

namespace mirvex {

using TExtendedImage = std::array<std::uint8_t, 10>;

// Every double is representable in the extended format: this is exact.
TExtendedImage DoubleToExtended(double value);
// Rounds to the nearest double (ties to even); too large gives an infinity,
// too small a denormal or zero. Unnormals and pseudo-denormals are read by
// their value; an exponent of all ones gives an infinity or a NaN.
double ExtendedToDouble(const TExtendedImage& image);

}  // namespace mirvex
