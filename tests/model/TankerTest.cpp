// The tanker block framing: sizes, versions, skipping and failures.
#include "model/CustomTanker.h"

#include <gtest/gtest.h>

#include "model/RTFText.h"
#include "util/Coding.h"

namespace mirvex {
namespace {

class TEmptyRecord : public TCustomTanker {};

// A record of version 2 that appended a field to what version 1 knew.
class TPointV1 : public TCustomTanker {
public:
    std::int32_t X = 0;
    bool LoadBody(TStream& s) override { return TCustomTanker::LoadBody(s) && ReadInt32(s, X); }
    bool SaveBody(TStream& s) const override { return TCustomTanker::SaveBody(s) && WriteInt32(s, X); }
};
class TPointV2 : public TPointV1 {
public:
    TPointV2() { Version = 2; }
    std::string Label;
    bool LoadBody(TStream& s) override {
        return TPointV1::LoadBody(s) && (Version < 2 || ReadString(s, Label));
    }
    bool SaveBody(TStream& s) const override { return TPointV1::SaveBody(s) && WriteString(s, Label); }
};

TEST(TankerTest, RecordWithoutFieldsIsEightBytes) {
    TEmptyRecord r;
    r.Version = 3;
    EXPECT_EQ(SaveToBytes(r), (TBytes{8, 0, 0, 0, 3, 0, 0, 0}));
    TEmptyRecord back;
    ASSERT_TRUE(LoadFromBytes(back, SaveToBytes(r)));
    EXPECT_EQ(back.Version, 3);
}

TEST(TankerTest, UnknownTrailingBytesAreSkippedThroughTheSize) {
    TPointV2 newer;
    newer.X = 42;
    newer.Label = "appended";
    TPointV1 follower;
    follower.X = 7;
    TMemoryStream s;
    ASSERT_TRUE(newer.SaveToStream(s) && follower.SaveToStream(s));
    s.SetPosition(0);

    TPointV1 older, next;
    ASSERT_TRUE(older.LoadFromStream(s));
    EXPECT_EQ(older.X, 42);
    EXPECT_EQ(older.Version, 2);
    EXPECT_EQ(s.Position(), 4 + 4 + 4 + 4 + 8);
    ASSERT_TRUE(next.LoadFromStream(s));
    EXPECT_EQ(next.X, 7);
    EXPECT_EQ(s.Position(), s.Size());
}

TEST(TankerTest, OlderVersionKeepsTheNewFieldsDefaults) {
    TPointV1 old;
    old.X = 5;
    TPointV2 reader;
    reader.Label = "default";
    ASSERT_TRUE(LoadFromBytes(reader, SaveToBytes(old)));
    EXPECT_EQ(reader.Version, 0);
    EXPECT_EQ(reader.Label, "default");
}

TEST(TankerTest, DamagedSizesFailAndLeaveTheStreamAtItsEnd) {
    const struct {
        const char* name;
        TBytes bytes;
    } cases[] = {
        {"size below a header", {4, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"size smaller than the body", {10, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"size beyond the stream", {13, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"negative size", {0xFC, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"short size", {12, 0}},
    };
    for (const auto& c : cases) {
        TMemoryStream s(c.bytes);
        TPointV1 r;
        EXPECT_FALSE(r.LoadFromStream(s)) << c.name;
        EXPECT_EQ(s.Position(), s.Size()) << c.name;
    }
}

TEST(TankerTest, EmptyRichTextIsSixteenBytes) {
    TRTFText text;
    EXPECT_EQ(SaveToBytes(text), (TBytes{16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(TankerTest, RichTextBodyIsTheJoinedLinesThenTheStream) {
    TRTFText text;
    text.PlainText = {"ab", ""};
    text.RtfData = {'{', '}'};
    const TBytes expected = {24, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0, 'a', 'b', '\r', '\n', '\r', '\n',
                             2, 0, 0, 0, '{', '}'};
    EXPECT_EQ(SaveToBytes(text), expected);
    TRTFText back;
    ASSERT_TRUE(LoadFromBytes(back, expected));
    EXPECT_EQ(back.PlainText, text.PlainText);
    EXPECT_EQ(back.RtfData, text.RtfData);
}

TEST(TankerTest, CopyFromGoesThroughTheImage) {
    TPointV2 a, b;
    a.X = 9;
    a.Label = "copy";
    ASSERT_TRUE(b.CopyFrom(a));
    EXPECT_EQ(b.X, 9);
    EXPECT_EQ(b.Label, "copy");
}

}  // namespace
}  // namespace mirvex
