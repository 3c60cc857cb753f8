// Packet images: every class round-trips, and the images the protocol
// fixes are checked byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <functional>

#include "model/Fixtures.h"
#include "protocol/PacketRegistry.h"
#include "protocol/PacketTestFromServer.h"
#include "protocol/PacketTestToServer.h"
#include "util/Cp1251.h"
#include "util/UtilsUnit.h"

namespace mirvex {
namespace {

class PacketTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterPacketClasses(); }
};

// Type byte and block, as the connection carries a packet.
TBytes Image(const TPacket& p) {
    TBytes out = {p.PacketType()};
    const TBytes block = SaveToBytes(p);
    out.insert(out.end(), block.begin(), block.end());
    return out;
}

TBytes Le32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8), static_cast<std::uint8_t>(u >> 16),
            static_cast<std::uint8_t>(u >> 24)};
}

TBytes Cat(std::initializer_list<TBytes> parts) {
    TBytes out;
    for (const TBytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TBytes Str(std::string_view s) { return Cat({Le32(static_cast<std::int32_t>(s.size())), TBytes(s.begin(), s.end())}); }

// The block without its size: version and body.
TBytes Body(const TPacket& p) {
    const TBytes block = SaveToBytes(p);
    return TBytes(block.begin() + 4, block.end());
}

TEST_F(PacketTest, RegistriesInRegistrationOrder) {
    ASSERT_EQ(PacketsToServer().Count(), 12);
    ASSERT_EQ(PacketsFromServer().Count(), 14);
    EXPECT_EQ(AdminPacketsToServer().Count(), 0);
    EXPECT_EQ(AdminPacketsFromServer().Count(), 0);
    EXPECT_STREQ(PacketsToServer().Item(5).Name, "TClientAnsweredQuestion");
    EXPECT_STREQ(PacketsFromServer().Item(11).Name, "TServerDebugPacket");
    // Type 3 names different classes in the two directions.
    EXPECT_STREQ(PacketsToServer().Find(3)->Name, "TClientLogedIn");
    EXPECT_STREQ(PacketsFromServer().Find(3)->Name, "TServerPleaseLogin");
    EXPECT_EQ(PacketsToServer().Find(9), nullptr);
    EXPECT_EQ(PacketsFromServer().Find(14), nullptr);
    // Every class reports the type it is registered under and the direction of its list.
    for (int i = 0; i < PacketsToServer().Count(); ++i) {
        const auto p = PacketsToServer().Item(i).Create();
        EXPECT_EQ(p->PacketType(), PacketsToServer().Item(i).Type());
        EXPECT_EQ(p->Direction(), TPacketDirection::ToServer);
    }
    for (int i = 0; i < PacketsFromServer().Count(); ++i)
        EXPECT_EQ(PacketsFromServer().Item(i).Create()->Direction(), TPacketDirection::FromServer);
}

TEST_F(PacketTest, EveryFreshPacketRoundTrips) {
    for (TPacketRegistry* registry : {&PacketsToServer(), &PacketsFromServer()}) {
        for (int i = 0; i < registry->Count(); ++i) {
            const auto p = registry->Item(i).Create();
            const TBytes block = SaveToBytes(*p);
            const auto back = registry->Item(i).Create();
            ASSERT_TRUE(LoadFromBytes(*back, block)) << registry->Item(i).Name;
            EXPECT_EQ(SaveToBytes(*back), block) << registry->Item(i).Name;
        }
    }
}

TEST_F(PacketTest, FreshLoginReply) {
    TClientLogedIn p;
    EXPECT_EQ(Image(p), Cat({{3}, Le32(21), Le32(0), {0}, Le32(0), Le32(0), Le32(PasswordHash(""))}));
    EXPECT_EQ(p.PasswordHash, 0x3A5C91E4);
}

TEST_F(PacketTest, FreshMessageBoxRequest) {
    TServerPleaseAnswerMessageBox p;
    const TBytes emptyText = {36, 0, 0, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                              0,  0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const TBytes emptyValues = Cat({Le32(12), Le32(0), Le32(0)});
    const TBytes expected = Cat({Le32(0), Le32(0), Le32(0), {0}, emptyText, Le32(0), {0}, Str(""), Str(""), Str(""),
                                 Str(""), Le32(-1), Le32(0), Le32(0x1FFFFFFF), Str(""), {1}, emptyValues});
    EXPECT_EQ(Body(p), expected);
}

TEST_F(PacketTest, QuestionResultKinds) {
    TClientAnsweredQuestion p;
    p.NextQuestion = 2;
    p.CurrentQuestion = 1;
    p.Reason = TAnswerReason::AnswerButton;
    p.Result.ResultKind = 0;
    p.Result.SingleAnswer = 3;
    const TBytes head = Cat({Le32(0), Le32(2), Le32(1), {1}});
    EXPECT_EQ(Body(p), Cat({head, {0}, Le32(3), Le32(0)}));  // one int32, then SecondsSpent

    p.Result = TQuestionResult();
    p.Result.ResultKind = 3;
    EXPECT_EQ(Body(p), Cat({head, {3}, Le32(0), Le32(0)}));  // empty text: 4 zero bytes

    p.Result = TQuestionResult();
    p.Result.ResultKind = 4;
    p.Result.Conformity = {{true, "R1 R2", "L1"}};
    EXPECT_EQ(Body(p), Cat({head, {4}, Le32(1), {1}, Str("R1 R2"), Str("L1"), Le32(0)}));

    p.Result = TQuestionResult();
    p.Result.ResultKind = 1;
    p.Result.Checked = {1, 0, 1};
    EXPECT_EQ(Body(p), Cat({head, {1}, Le32(3), {1, 0, 1}, Le32(0)}));

    p.Result = TQuestionResult();
    p.Result.ResultKind = 2;
    p.Result.Ordered = {2, 0, 1};
    EXPECT_EQ(Body(p), Cat({head, {2}, Le32(3), Le32(2), Le32(0), Le32(1), Le32(0)}));

    p.Result = TQuestionResult();
    p.Result.ResultKind = 9;  // an unknown kind carries nothing
    EXPECT_EQ(Body(p), Cat({head, {9}, Le32(0)}));
}

// The answer packet as a reader that does not know SecondsSpent sees it.
struct TOldAnsweredQuestion : TPacketTestToServer {
    MIRVEX_PACKET_TYPE(8)
    std::int32_t Next = 0, Current = 0;
    std::uint8_t Reason = 0;
    TQuestionResult Result;
    bool LoadBody(TStream& s) override {
        return TCustomTanker::LoadBody(s) && ReadInt32(s, Next) && ReadInt32(s, Current) && ReadByte(s, Reason) &&
               ReadQuestionResult(s, Result);
    }
};

TEST_F(PacketTest, SecondsSpentTravelsAtTheEnd) {
    TClientAnsweredQuestion p;
    p.Result.ResultKind = 3;
    p.Result.TypedText = Cp1251("Москва");
    p.SecondsSpent = 47;
    const TBytes block = SaveToBytes(p);
    TClientAnsweredQuestion back;
    ASSERT_TRUE(LoadFromBytes(back, block));
    EXPECT_EQ(back.SecondsSpent, 47);
    EXPECT_EQ(back.Result, p.Result);

    // A body written without it reads as 0.
    TBytes old(block.begin(), block.end() - 4);
    old[0] = static_cast<std::uint8_t>(old.size());
    back.SecondsSpent = 99;
    ASSERT_TRUE(LoadFromBytes(back, old));
    EXPECT_EQ(back.SecondsSpent, 0);

    // A reader that does not know it skips it through the block size.
    TOldAnsweredQuestion older;
    TMemoryStream twice;
    ASSERT_TRUE(p.SaveToStream(twice) && p.SaveToStream(twice));
    twice.SetPosition(0);
    ASSERT_TRUE(older.LoadFromStream(twice));
    EXPECT_EQ(twice.Position(), static_cast<std::int64_t>(block.size()));
    ASSERT_TRUE(back.LoadFromStream(twice));
    EXPECT_EQ(back.SecondsSpent, 47);
}

TEST_F(PacketTest, FilledPacketsRoundTrip) {
    // One filled instance of each class with nested records.
    TServerPleaseAnswerQuestion question;
    question.PrevQuestion = 1;
    question.PrevOutcome = 2;
    question.CurrentQuestion = 2;
    question.FreeNavigation = true;
    question.ShowQuestsPanel = true;
    question.SkipsLeft = 3;
    question.MarkString = Cp1251("Хорошо");
    question.MarkColor = 255;
    auto q = fixtures::ConformityQuestion();
    question.QuestionType = q->QuestionType;
    question.Text.Assign(*q);
    question.Answers.Assign(q->Answers);
    question.QuestionTimeLimit = 60;
    question.Values.Add("SysUserString", Cp1251("Иванов"));
    const TBytes image = SaveToBytes(question);
    TServerPleaseAnswerQuestion back;
    ASSERT_TRUE(LoadFromBytes(back, image));
    EXPECT_EQ(SaveToBytes(back), image);
    EXPECT_EQ(back.Answers.Count(), 5);
    // The three flags travel as free navigation, interrupt button, panel.
    const TBytes flags(image.begin() + 8 + 4 + 1 + 4, image.begin() + 8 + 4 + 1 + 4 + 3);
    EXPECT_EQ(flags, (TBytes{1, 0, 1}));

    TServerPleaseLogin login;
    login.Message = Cp1251("Неверный пароль");
    login.LoginMode = 3;
    ASSERT_TRUE(login.Users.CopyFrom(*fixtures::SchoolUsers()));
    TServerPleaseLogin loginBack;
    ASSERT_TRUE(LoadFromBytes(loginBack, SaveToBytes(login)));
    EXPECT_EQ(loginBack.Users.FindById(7)->Name, Cp1251("Сидорова"));

    TServerPleaseWatchTestResult result;
    result.AskedCount = 10;
    result.LogText = "log";
    result.Mark = 4.5;
    result.MarkString = "4.5";
    TServerPleaseWatchTestResult resultBack;
    TBytes resultImage = SaveToBytes(result);
    ASSERT_TRUE(LoadFromBytes(resultBack, resultImage));
    EXPECT_EQ(resultBack.Mark, 4.5);
    EXPECT_EQ(resultBack.LogText, "log");
    // Readers take the second copy of the log.
    const std::string first = "log";
    auto at = std::search(resultImage.begin(), resultImage.end(), first.begin(), first.end());
    ASSERT_NE(at, resultImage.end());
    *at = 'X';
    ASSERT_TRUE(LoadFromBytes(resultBack, resultImage));
    EXPECT_EQ(resultBack.LogText, "log");

    TServerPleasePrepareToTest prepare;
    prepare.BackPicture = {1, 2, 3};
    prepare.BackPictureName = "back.png";
    prepare.BackPictureMode = 9;
    prepare.BackColor = kNoColourOverride;
    TServerPleasePrepareToTest prepareBack;
    ASSERT_TRUE(LoadFromBytes(prepareBack, SaveToBytes(prepare)));
    EXPECT_EQ(prepareBack.BackPicture, prepare.BackPicture);
    EXPECT_EQ(prepareBack.BackPictureMode, 9);

    TServerPleaseSelectTest select;
    select.Tests.AddFile()->Name = "geo.mxt";
    TServerPleaseSelectTest selectBack;
    ASSERT_TRUE(LoadFromBytes(selectBack, SaveToBytes(select)));
    EXPECT_EQ(selectBack.Tests.Child(0)->Name, "geo.mxt");
}

TEST_F(PacketTest, HelloFromTheLocalMachine) {
    TClientHelloInformation hello;
    hello.FillFromLocalMachine(1920, 1080);
    EXPECT_FALSE(hello.UserName.empty());
    EXPECT_LE(hello.ComputerName.size(), 15u);
    EXPECT_NE(hello.OsVersionText.find('.'), std::string::npos);
    EXPECT_TRUE(hello.Reserved.empty());
    EXPECT_EQ(hello.ScreenWidth, 1920);
    TClientHelloInformation back;
    ASSERT_TRUE(LoadFromBytes(back, SaveToBytes(hello)));
    EXPECT_EQ(back.OsVersionText, hello.OsVersionText);
    EXPECT_EQ(back.ScreenHeight, 1080);
}

TEST(RequestIdTest, NeverZeroAndDistinct) {
    std::set<std::int32_t> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t id = NewRequestId();
        EXPECT_GT(id, 0);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

}  // namespace
}  // namespace mirvex
