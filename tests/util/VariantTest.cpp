// The 16-byte variant image of script values.
#include "util/Variant.h"

#include <gtest/gtest.h>

#include <cstring>

namespace mirvex {
namespace {

std::array<std::uint8_t, 16> ImageOf(const TVariant& v) {
    std::array<std::uint8_t, 16> image{};
    VariantToImage(v, image.data());
    return image;
}

TEST(VariantTest, InlineValuesWriteTheirPayload) {
    using I = std::array<std::uint8_t, 16>;
    EXPECT_EQ(ImageOf(TVariant(7)), (I{3, 0, 0, 0, 0, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ImageOf(TVariant(true)), (I{11, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ImageOf(TVariant(false)), (I{11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ImageOf(TVariant(1.0)), (I{5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_EQ(ImageOf(TVariant(std::string("text"))), (I{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ImageOf(TVariant()), I{});
}

TEST(VariantTest, RoundTripOfInlineKinds) {
    const TVariant values[] = {TVariant(),        TVariant::Null(),          TVariant(true),
                               TVariant(false),   TVariant(-123456),         TVariant(std::int64_t{1} << 40),
                               TVariant(2.75),    TVariant::DateTime(45000.5), TVariant(std::string())};
    for (const auto& v : values) {
        const auto image = ImageOf(v);
        EXPECT_EQ(VariantFromImage(image.data()), v);
    }
}

TEST(VariantTest, ReferencesAreNeverFollowed) {
    // A string with a non-zero payload (a pointer in the writer's memory)
    // reads as the empty string; other references read as empty values.
    std::uint8_t image[16] = {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0xEF, 0xBE, 0xAD, 0xDE, 0x55, 0x55, 0, 0};
    EXPECT_EQ(VariantFromImage(image), TVariant(std::string()));
    image[0] = 0x08;
    image[1] = 0x00;  // OLE string
    EXPECT_EQ(VariantFromImage(image), TVariant(std::string()));
    image[0] = 0x03;
    image[1] = 0x40;  // by-reference integer
    EXPECT_TRUE(VariantFromImage(image).IsEmpty());
    image[0] = 0x0C;
    image[1] = 0x20;  // array of variants
    EXPECT_TRUE(VariantFromImage(image).IsEmpty());
    image[0] = 0x09;
    image[1] = 0x00;  // interface
    EXPECT_TRUE(VariantFromImage(image).IsEmpty());
}

TEST(VariantTest, OtherInlineNumericKindsRead) {
    std::uint8_t image[16] = {};
    image[0] = 0x02;  // smallint -2
    image[8] = 0xFE;
    image[9] = 0xFF;
    EXPECT_EQ(VariantFromImage(image), TVariant(-2));
    image[0] = 0x11;  // byte 254
    EXPECT_EQ(VariantFromImage(image), TVariant(254));
    image[0] = 0x06;  // currency: 10000 units = 1.0
    std::memset(image + 8, 0, 8);
    image[8] = 0x10;
    image[9] = 0x27;
    EXPECT_EQ(VariantFromImage(image), TVariant(1.0));
}

}  // namespace
}  // namespace mirvex
