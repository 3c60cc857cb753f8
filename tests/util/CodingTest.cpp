// The encoding layer and the streams under it.
#include "util/Coding.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace mirvex {
namespace {

TMemoryStream FromBytes(std::initializer_list<int> bytes) {
    TBytes data;
    for (int b : bytes) data.push_back(static_cast<std::uint8_t>(b));
    return TMemoryStream(data);
}

TEST(CodingTest, ScalarsAreLittleEndian) {
    TMemoryStream s;
    ASSERT_TRUE(WriteInt32(s, 0x01020304));
    ASSERT_TRUE(WriteInt16(s, -2));
    ASSERT_TRUE(WriteBoolean(s, true));
    ASSERT_TRUE(WriteString(s, "ab"));
    const TBytes expected = {4, 3, 2, 1, 0xFE, 0xFF, 1, 2, 0, 0, 0, 'a', 'b'};
    EXPECT_EQ(s.Bytes(), expected);

    s.SetPosition(0);
    std::int32_t i = 0;
    std::int16_t h = 0;
    bool b = false;
    std::string text;
    ASSERT_TRUE(ReadInt32(s, i) && ReadInt16(s, h) && ReadBoolean(s, b) && ReadString(s, text));
    EXPECT_EQ(i, 0x01020304);
    EXPECT_EQ(h, -2);
    EXPECT_TRUE(b);
    EXPECT_EQ(text, "ab");
}

TEST(CodingTest, EmptyStringCostsFourBytes) {
    TMemoryStream s;
    ASSERT_TRUE(WriteString(s, ""));
    EXPECT_EQ(s.Size(), 4);
}

TEST(CodingTest, BadCountsFailWithoutAllocating) {
    struct Case {
        const char* name;
        TMemoryStream stream;
    };
    Case cases[] = {
        {"negative", FromBytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {"huge", FromBytes({0xFF, 0xFF, 0xFF, 0x7F, 'a'})},
        {"one more than left", FromBytes({3, 0, 0, 0, 'a', 'b'})},
        {"short count", FromBytes({1, 0})},
    };
    for (auto& c : cases) {
        std::string text = "previous";
        EXPECT_FALSE(ReadString(c.stream, text)) << c.name;
        EXPECT_TRUE(text.empty()) << c.name;
        EXPECT_LT(text.capacity(), 64u) << c.name;
    }
}

TEST(CodingTest, CountMustFitTheItemsLeft) {
    auto s = FromBytes({3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    std::int32_t count = 0;
    EXPECT_FALSE(ReadCount(s, count, 4));  // 3 items of 4 bytes need 12, 11 left
    s.SetPosition(0);
    EXPECT_TRUE(ReadCount(s, count, 3));
    EXPECT_EQ(count, 3);
}

TEST(CodingTest, MemoryStreamSeeksPastTheEnd) {
    TMemoryStream s;
    EXPECT_EQ(s.Seek(10, TSeekOrigin::Beginning), 10);
    std::uint8_t b = 0;
    EXPECT_EQ(s.Read(&b, 1), 0);
    ASSERT_TRUE(WriteByte(s, 7));
    EXPECT_EQ(s.Size(), 11);  // the gap is filled with zeros
    EXPECT_EQ(s.Bytes()[0], 0);
    EXPECT_EQ(s.Seek(-1, TSeekOrigin::Beginning), -1);
    EXPECT_EQ(s.Position(), 11);
}

TEST(CodingTest, FileStreamReadsWhatItWrote) {
    const std::string path = std::filesystem::temp_directory_path() / "mirvex_coding_test.bin";
    {
        auto file = TFileStream::Open(path, TFileMode::Create);
        ASSERT_TRUE(file);
        ASSERT_TRUE(WriteString(*file, "hello"));
        ASSERT_TRUE(WriteExtended(*file, 5.0));
        EXPECT_EQ(file->Size(), 19);
    }
    auto file = TFileStream::Open(path, TFileMode::OpenRead);
    ASSERT_TRUE(file);
    std::string text;
    double mark = 0;
    ASSERT_TRUE(ReadString(*file, text) && ReadExtended(*file, mark));
    EXPECT_EQ(text, "hello");
    EXPECT_EQ(mark, 5.0);
    std::uint8_t b = 0;
    EXPECT_FALSE(ReadByte(*file, b));
    EXPECT_FALSE(TFileStream::Open(path + ".missing", TFileMode::OpenRead));
    EXPECT_FALSE(TFileStream::Open(std::filesystem::temp_directory_path(), TFileMode::OpenRead));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace mirvex
