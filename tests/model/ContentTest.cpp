// Attachments, texts, answers and questions, and the damage rules applied
// to every top-level record.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "Fixtures.h"
#include "model/StringsTanker.h"
#include "model/TextWithAttaches.h"
#include "util/Cp1251.h"

namespace mirvex {
namespace {

TEST(ContentTest, AttachmentWithoutNameOrDataKeepsItsHeader) {
    TAttach a;
    const TBytes image = SaveToBytes(a);
    ASSERT_EQ(image.size(), 32u);  // size, version, the 24-byte header
    EXPECT_EQ(image[0], 32);
    EXPECT_EQ(image[8 + 5], 2);  // FitMode defaults to proportional
}

TEST(ContentTest, AttachmentHeaderLayout) {
    TAttach a;
    a.Kind = TAttachKind::Video;
    a.PlayMode = TPlayMode::AutoWithPanel;
    a.RepeatPlay = 1;
    a.LayoutFlag = 1;
    a.FitMode = TFitMode::Stretch;
    a.Width = 640;
    a.Height = 480;
    a.FileName = "a.avi";
    a.FileData = {1, 2, 3};
    const TBytes expected = {40, 0, 0, 0, 0, 0, 0, 0,   3, 1, 1, 0, 1, 1, 0, 0,   0x80, 2, 0, 0,
                             0xE0, 1, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 'a', '.', 'a', 'v', 'i', 1, 2, 3};
    EXPECT_EQ(SaveToBytes(a), expected);

    // The unused byte 3 and the reserved bytes are ignored when read.
    TBytes dirty = expected;
    dirty[8 + 3] = 0x77;
    dirty[8 + 6] = 0x55;
    TAttach back;
    ASSERT_TRUE(LoadFromBytes(back, dirty));
    EXPECT_EQ(SaveToBytes(back), expected);
}

TEST(ContentTest, AttachmentLengthsMustFitTheBlock) {
    TAttach a;
    a.FileName = "x";
    TBytes image = SaveToBytes(a);
    image[8 + 20] = 0xFF;  // M = huge
    image[8 + 21] = 0xFF;
    image[8 + 22] = 0xFF;
    image[8 + 23] = 0x7F;
    TAttach back;
    EXPECT_FALSE(LoadFromBytes(back, image));
    image[8 + 23] = 0xFF;  // M = negative
    EXPECT_FALSE(LoadFromBytes(back, image));
}

TEST(ContentTest, AbsentUserTextIsNineBytes) {
    TUserTextWithAttach absent;
    EXPECT_EQ(SaveToBytes(absent), (TBytes{9, 0, 0, 0, 0, 0, 0, 0, 0}));
    TUserTextWithAttach present;
    present.Present = true;
    // flag, then an empty text: 16-byte rich text and 12-byte attachment list
    EXPECT_EQ(SaveToBytes(present).size(), 9u + 8 + 16 + 12);
}

TEST(ContentTest, AnswerBodyWritesIdentBeforeLinks) {
    TTestAnswer a;
    a.Conformity = {true, "R1 R2", "L1"};
    a.Priority = -3;
    const TBytes image = SaveToBytes(a);
    // After size, version, text block (16) and attachments block (12).
    const TBytes tail(image.begin() + 36, image.end());
    const TBytes expected = {1, 2, 0, 0, 0, 'L', '1', 5, 0, 0, 0, 'R', '1', ' ', 'R', '2', 0xFD, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(tail, expected);
}

TEST(ContentTest, AnswerListOperations) {
    TTestAnswers answers;
    for (int i = 0; i < 3; ++i) answers.Add()->Priority = i;
    answers.Swap(0, 3);
    answers.Swap(-1, 1);
    EXPECT_EQ(answers.Items(0)->Priority, 0);
    EXPECT_EQ(answers.Items(1)->Priority, 1);
    answers.Swap(0, 2);
    EXPECT_EQ(answers.Items(0)->Priority, 2);
    EXPECT_EQ(answers.Items(2)->Priority, 0);
    answers.Delete(1);
    EXPECT_EQ(answers.Count(), 2);
    EXPECT_EQ(answers.Items(2), nullptr);
    answers.Delete(5);
    EXPECT_EQ(answers.Count(), 2);

    TTestAnswers copy;
    copy.Add();
    copy.Assign(answers);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_NE(copy.Items(0), answers.Items(0));
    EXPECT_EQ(copy.Items(0)->Priority, 2);
}

TEST(ContentTest, QuestionImageIsStableExceptTheUnusedAttachmentByte) {
    auto q = fixtures::ConformityQuestion();
    TBytes image = SaveToBytes(*q);
    // Dirty byte 3 of the first attachment header: find the header by the
    // attachment's file name that follows it.
    const std::string nameText = Cp1251("карта.png");
    const TBytes name(nameText.begin(), nameText.end());
    const auto at = std::search(image.begin(), image.end(), name.begin(), name.end());
    ASSERT_NE(at, image.end());
    const std::size_t header = static_cast<std::size_t>(at - image.begin()) - 24;
    ASSERT_EQ(image[header], 1);  // Kind picture
    TBytes dirty = image;
    dirty[header + 3] = 0xEE;

    TTestQuestion back;
    ASSERT_TRUE(LoadFromBytes(back, dirty));
    EXPECT_EQ(SaveToBytes(back), image);
    EXPECT_EQ(back.QuestionType, TQuestionType::Conformity);
    EXPECT_EQ(back.TimeLimit, 90);
    ASSERT_EQ(back.Answers.Count(), 5);
    EXPECT_EQ(back.Answers.Items(1)->Conformity.Links, "R2 R3");
    EXPECT_EQ(back.Attachments.Items(1)->PlayMode, TPlayMode::Manual);
    EXPECT_EQ(back.ExtraTexts.Count(), 1);
    EXPECT_EQ(back.QuestionScript, q->QuestionScript);
}

TEST(ContentTest, QuestionClearKeepsTheText) {
    auto q = fixtures::ConformityQuestion();
    q->Clear();
    EXPECT_EQ(q->Answers.Count(), 0);
    EXPECT_EQ(q->ExtraTexts.Count(), 0);
    EXPECT_TRUE(q->QuestionScript.empty() && q->AnswerScript.empty());
    EXPECT_EQ(q->RichText.PlainText.size(), 2u);
    EXPECT_EQ(q->Attachments.Count(), 2);
}

TEST(ContentTest, AssignCopiesDeeply) {
    auto q = fixtures::ConformityQuestion();
    TTextWithAttaches copy;
    copy.Assign(*q);
    q->Attachments.Items(0)->FileData.clear();
    EXPECT_EQ(copy.Attachments.Items(0)->FileData.size(), 12u);
    EXPECT_EQ(copy.RichText.PlainText, q->RichText.PlainText);
}

// Every top-level record: the round trip keeps the size and the bytes, a cut
// anywhere fails and leaves the stream at its end, and a flipped byte never
// breaks the framing of what follows.
struct RecordKind {
    const char* name;
    std::function<TBytes()> image;
    std::function<std::unique_ptr<TCustomTanker>()> make;
};

template <typename T>
std::function<std::unique_ptr<TCustomTanker>()> Maker() {
    return [] { return std::make_unique<T>(); };
}

std::vector<RecordKind> Kinds() {
    return {
        {"question", [] { return SaveToBytes(*fixtures::ConformityQuestion()); }, Maker<TTestQuestion>()},
        {"typed question", [] { return SaveToBytes(*fixtures::TypedQuestion()); }, Maker<TTestQuestion>()},
        {"settings", [] { return SaveToBytes(*fixtures::FullSettings()); }, Maker<TTestSettings>()},
        {"users", [] { return SaveToBytes(*fixtures::SchoolUsers()); }, Maker<TUsers>()},
        {"self settings", [] { return SaveToBytes(*fixtures::InfoExample()); }, Maker<TSelfSettings>()},
        {"script values", [] { return SaveToBytes(*fixtures::AuthorValues()); }, Maker<TScriptValues>()},
        {"variable values",
         [] {
             TVariableValues v;
             v.Add("SysUserString", Cp1251("Иванов"));
             return SaveToBytes(v);
         },
         Maker<TVariableValues>()},
        {"strings",
         [] {
             TStringsTanker t;
             t.Add("one");
             t.Add("");
             return SaveToBytes(t);
         },
         Maker<TStringsTanker>()},
    };
}

TEST(ContentTest, EveryRecordRoundTripsExactly) {
    for (const auto& kind : Kinds()) {
        const TBytes image = kind.image();
        auto record = kind.make();
        ASSERT_TRUE(LoadFromBytes(*record, image)) << kind.name;
        EXPECT_EQ(SaveToBytes(*record), image) << kind.name;
    }
}

TEST(ContentTest, EveryRecordCutAnywhereFails) {
    for (const auto& kind : Kinds()) {
        const TBytes image = kind.image();
        for (std::size_t cut = 0; cut < image.size(); ++cut) {
            TBytes shortImage(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(cut));
            // The size field still claims the whole block; also try it
            // patched to the cut length, which makes the body run short.
            for (bool patch : {false, true}) {
                if (patch && cut >= 4) {
                    const auto n = static_cast<std::uint32_t>(cut);
                    for (int i = 0; i < 4; ++i) shortImage[i] = static_cast<std::uint8_t>(n >> (8 * i));
                }
                TMemoryStream s(shortImage);
                auto record = kind.make();
                ASSERT_FALSE(record->LoadFromStream(s)) << kind.name << " cut at " << cut << " patched " << patch;
                ASSERT_EQ(s.Position(), s.Size()) << kind.name << " cut at " << cut;
            }
        }
    }
}

TEST(ContentTest, EveryRecordSurvivesFlippedBytes) {
    for (const auto& kind : Kinds()) {
        const TBytes image = kind.image();
        for (std::size_t at = 0; at < image.size(); ++at) {
            TBytes damaged = image;
            damaged[at] ^= 0xA5;
            damaged.insert(damaged.end(), image.begin(), image.end());  // a second, intact block
            TMemoryStream s(damaged);
            auto record = kind.make();
            if (record->LoadFromStream(s)) {
                // A load that succeeds stands exactly behind its block.
                EXPECT_LE(s.Position(), static_cast<std::int64_t>(damaged.size())) << kind.name << ' ' << at;
                const TBytes again = SaveToBytes(*record);
                auto reread = kind.make();
                EXPECT_TRUE(LoadFromBytes(*reread, again)) << kind.name << ' ' << at;
            } else {
                EXPECT_EQ(s.Position(), s.Size()) << kind.name << ' ' << at;
            }
        }
    }
}

}  // namespace
}  // namespace mirvex
