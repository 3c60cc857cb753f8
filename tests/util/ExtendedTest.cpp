// The 10-byte extended image against known images and, on x86, against the
// hardware's own 80-bit format as an independent oracle.
#include "util/Extended.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace mirvex {
namespace {

TExtendedImage Image(std::initializer_list<int> bytes) {
    TExtendedImage image{};
    int i = 0;
    for (int b : bytes) image[i++] = static_cast<std::uint8_t>(b);
    return image;
}

struct KnownImage {
    double value;
    TExtendedImage image;
};

TEST(ExtendedTest, KnownImages) {
    const KnownImage cases[] = {
        {5.0, Image({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x01, 0x40})},
        {1.0, Image({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {-2.0, Image({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0})},
        {0.0, Image({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {0.5, Image({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F})},
        {3.75, Image({0, 0, 0, 0, 0, 0, 0, 0xF0, 0x00, 0x40})},
        {std::numeric_limits<double>::infinity(), Image({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DoubleToExtended(c.value), c.image) << c.value;
        EXPECT_EQ(ExtendedToDouble(c.image), c.value) << c.value;
    }
}

TEST(ExtendedTest, EveryDoubleSurvivesTheRoundTrip) {
    std::mt19937_64 rng(42);
    const double specials[] = {-0.0, DBL_MIN, DBL_MAX, -DBL_MAX, 4.9406564584124654e-324, 2.2250738585072009e-308,
                               0.1, 4.35, 1e-300, 123456789.125};
    for (double v : specials) {
        const double back = ExtendedToDouble(DoubleToExtended(v));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v)) << v;
    }
    for (int i = 0; i < 200000; ++i) {
        const double v = std::bit_cast<double>(rng());
        const double back = ExtendedToDouble(DoubleToExtended(v));
        if (std::isnan(v)) {
            EXPECT_TRUE(std::isnan(back));
            continue;
        }
        ASSERT_EQ(std::bit_cast<std::uint64_t>(back), std::bit_cast<std::uint64_t>(v)) << v;
    }
}

TEST(ExtendedTest, NarrowingRoundsToNearestEven) {
    // 1 + 2^-53 lies exactly between 1 and the next double: ties to even (1).
    EXPECT_EQ(ExtendedToDouble(Image({0, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})), 1.0);
    // 1 + 3 * 2^-53 is a tie between odd and even neighbours: up to 1 + 2^-51.
    EXPECT_EQ(ExtendedToDouble(Image({0, 0x0C, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})), 1.0 + std::ldexp(1.0, -51));
    // Just above the tie rounds up.
    EXPECT_EQ(ExtendedToDouble(Image({1, 0x04, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})), 1.0 + std::ldexp(1.0, -52));
    // All mantissa bits set, rounding carries into the next power of two.
    EXPECT_EQ(ExtendedToDouble(Image({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F})), 2.0);
    // Beyond the double range and below it.
    EXPECT_EQ(ExtendedToDouble(Image({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x4F})), HUGE_VAL);
    EXPECT_EQ(ExtendedToDouble(Image({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0x30})), 0.0);
    EXPECT_TRUE(std::isnan(ExtendedToDouble(Image({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}))));
}

#if defined(__x86_64__) && LDBL_MANT_DIG == 64
// The hardware format is the same 80-bit image: it checks the integer code
// on random images across the whole exponent range, denormals included.
TEST(ExtendedTest, AgreesWithTheHardwareFormat) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 300000; ++i) {
        TExtendedImage image{};
        std::uint64_t mantissa = rng();
        // Exponents concentrated around the double range and its edges.
        int exponent = static_cast<int>(rng() % 2400) + 16383 - 1200;
        if (i % 10 == 0) exponent = static_cast<int>(rng() % 0x8000);
        if (exponent == 0) mantissa &= ~(std::uint64_t{1} << 63);  // a true denormal
        else mantissa |= std::uint64_t{1} << 63;                    // valid normal encoding
        if (exponent == 0x7FFF) continue;
        const bool negative = (rng() & 1) != 0;
        std::memcpy(image.data(), &mantissa, 8);
        image[8] = static_cast<std::uint8_t>(exponent & 0xFF);
        image[9] = static_cast<std::uint8_t>((exponent >> 8) | (negative ? 0x80 : 0));
        long double hardware = 0;
        std::memcpy(&hardware, image.data(), 10);
        const double expected = static_cast<double>(hardware);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(ExtendedToDouble(image)), std::bit_cast<std::uint64_t>(expected))
            << "exponent " << exponent << " mantissa " << std::hex << mantissa;
        const double back = static_cast<double>(hardware);
        long double widened = back;
        TExtendedImage wide{};
        std::memcpy(wide.data(), &widened, 10);
        ASSERT_EQ(DoubleToExtended(back), wide);
    }
}
#endif

}  // namespace
}  // namespace mirvex
