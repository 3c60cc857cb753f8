// Test settings: the body layout, versions and the mark scale.
#include "model/TestSettings.h"

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "util/Cp1251.h"

namespace mirvex {
namespace {

// Offset of MaxMark in a settings block whose MarkLines string is `lines`
// bytes long: size, version, string, then 1+4, 1+4, 1+4, 1+1+1+4+1.
std::size_t MaxMarkOffset(std::size_t lines) { return 8 + 4 + lines + 5 + 5 + 5 + 8; }

TEST(TestSettingsTest, FreshSettingsImage) {
    TTestSettings s;
    EXPECT_EQ(s.Version, 1);
    const TBytes image = SaveToBytes(s);
    EXPECT_EQ(image[4], 1);
    // MaxMark 5.0 as its ten-byte image.
    const TBytes mark(image.begin() + MaxMarkOffset(0), image.begin() + MaxMarkOffset(0) + 10);
    EXPECT_EQ(mark, (TBytes{0, 0, 0, 0, 0, 0, 0, 0xA0, 0x01, 0x40}));
    // The two trailing items: UseInternalDialog 1 and the prompt.
    const std::string prompt = Cp1251("Сделайте выбор:");
    const TBytes tail(image.end() - static_cast<std::ptrdiff_t>(1 + 4 + prompt.size()), image.end());
    TBytes expected = {1, static_cast<std::uint8_t>(prompt.size()), 0, 0, 0};
    expected.insert(expected.end(), prompt.begin(), prompt.end());
    EXPECT_EQ(tail, expected);
    // Rules right after MarkLines: TimeLimitRule 1, ..., UseSkipQuests 1.
    const TBytes rules(image.begin() + 12, image.begin() + 12 + 18);
    EXPECT_EQ(rules, (TBytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
    // Empty MarkLines, the 47 bytes of rules, Description 16, ExtraTexts 12,
    // four empty scripts, ScriptValues 12, no marks, the trailing items.
    EXPECT_EQ(image.size(), 8u + 4 + 47 + 16 + 12 + 4 * 4 + 12 + 1 + 4 + prompt.size());
}

TEST(TestSettingsTest, FullSettingsRoundTrip) {
    auto s = fixtures::FullSettings();
    const TBytes image = SaveToBytes(*s);
    TTestSettings back;
    ASSERT_TRUE(LoadFromBytes(back, image));
    EXPECT_EQ(SaveToBytes(back), image);
    EXPECT_EQ(back.TimeLimitRule, 5);
    EXPECT_EQ(back.MaxMark, 10.5);
    EXPECT_EQ(back.Reserved, 0x5A);
    EXPECT_EQ(back.BackColor, kWindowColour);
    EXPECT_FALSE(back.ShowInterruptBtn);
    EXPECT_FALSE(back.UseInternalDialog);
    EXPECT_EQ(back.InternalDialogPrompt, Cp1251("Выберите билет:"));
    ASSERT_EQ(back.MarkCount(), 3);
    EXPECT_TRUE(back.MarkText(1)->Present);
    EXPECT_EQ(back.MarkText(1)->Text.Attachments.Count(), 1);
    EXPECT_FALSE(back.MarkText(2)->Present);
    EXPECT_EQ(back.ScriptValues.Count(), 5);
}

TEST(TestSettingsTest, VersionZeroBodyLoadsWithoutTheTrailingItems) {
    auto s = fixtures::FullSettings();
    s->Version = 0;
    TBytes image = SaveToBytes(*s);
    // A version 0 writer ends after the mark texts: drop the two items and
    // fix the size.
    const std::size_t trailing = 1 + 4 + s->InternalDialogPrompt.size();
    image.resize(image.size() - trailing);
    const auto n = static_cast<std::uint32_t>(image.size());
    for (int i = 0; i < 4; ++i) image[i] = static_cast<std::uint8_t>(n >> (8 * i));

    TTestSettings back;
    back.UseInternalDialog = false;
    back.InternalDialogPrompt = "kept";
    ASSERT_TRUE(LoadFromBytes(back, image));
    EXPECT_EQ(back.Version, 0);
    EXPECT_FALSE(back.UseInternalDialog);
    EXPECT_EQ(back.InternalDialogPrompt, "kept");
    EXPECT_EQ(back.MarkCount(), 3);
    // Saved again it still writes the trailing items, under version 0.
    const TBytes again = SaveToBytes(back);
    EXPECT_EQ(again.size(), image.size() + 1 + 4 + 4);
    EXPECT_EQ(again[4], 0);
}

TEST(TestSettingsTest, LoadReplacesTheMarkScale) {
    TTestSettings target;
    target.AddMark("1 2 3 old");
    target.AddMark("4 5 6 older");
    TTestSettings empty;
    ASSERT_TRUE(target.CopyFrom(empty));
    EXPECT_EQ(target.MarkCount(), 0);
}

TEST(TestSettingsTest, MarkLineDecoding) {
    const struct {
        const char* line;
        int low, high, colour;
        const char* text;
    } cases[] = {
        {"0 40 255 Плохо", 0, 40, 255, "Плохо"},
        {"Плохо", 0, 0, 0, "Плохо"},
        {"  81   100  16711680   Отлично  ", 81, 100, 16711680, "Отлично"},
        {"5 x 7 Два слова", 5, 0, 7, "Два слова"},
        {"1 2", 1, 0, 0, "2"},
        {"-10 $10 0 hex", -10, 16, 0, "hex"},
        {"", 0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        const TMarkDescription m = DecodeMarkLine(Cp1251(c.line));
        EXPECT_EQ(m.Low, c.low) << c.line;
        EXPECT_EQ(m.High, c.high) << c.line;
        EXPECT_EQ(m.Colour, c.colour) << c.line;
        EXPECT_EQ(Cp1251ToUtf8(m.Text), c.text) << c.line;
    }
}

TEST(TestSettingsTest, FindMarkTakesTheFirstCoveringLine) {
    TTestSettings s;
    s.AddMark("0 50 1 first");
    s.AddMark("40 100 2 second");
    EXPECT_EQ(s.FindMark(45)->Text, "first");
    EXPECT_EQ(s.FindMark(50.5)->Text, "second");
    EXPECT_EQ(s.FindMark(100)->Colour, 2);
    EXPECT_FALSE(s.FindMark(101).has_value());
    EXPECT_FALSE(s.FindMark(-0.5).has_value());
    EXPECT_EQ(s.FindMark(0)->TextObject, s.MarkText(0));
}

TEST(TestSettingsTest, MarkIndexErrors) {
    TTestSettings s;
    s.AddMark("0 1 0 a");
    const std::string message = Cp1251("Индекс оценки 1 выходит за границу");
    try {
        s.GetMark(1);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), message);
    }
    EXPECT_THROW(s.GetMark(-1), Exception);
    EXPECT_THROW(s.DeleteMark(3), Exception);
    EXPECT_EQ(s.MarkCount(), 1);
    s.DeleteMark(0);
    EXPECT_EQ(s.MarkCount(), 0);
}

TEST(TestSettingsTest, ResetKeepsWhatItShouldKeep) {
    auto s = fixtures::FullSettings();
    s->ResetToDefaults();
    EXPECT_EQ(s->TimeLimitRule, 1);
    EXPECT_EQ(s->MaxMark, 5.0);
    EXPECT_TRUE(s->UseSkipQuests);
    EXPECT_TRUE(s->UseInternalDialog);
    EXPECT_EQ(s->MarkCount(), 0);
    EXPECT_TRUE(s->StartScript.empty());
    EXPECT_EQ(s->Reserved, 0);
    // Left as they were.
    EXPECT_TRUE(s->ShowQuestsPanel);
    EXPECT_TRUE(s->ShowPremark);
    EXPECT_EQ(s->BackColor, kWindowColour);
    EXPECT_FALSE(s->ShowInterruptBtn);
    EXPECT_FALSE(s->Description.PlainText.empty());
    EXPECT_EQ(s->ExtraTexts.Count(), 1);
    EXPECT_EQ(s->ScriptValues.Count(), 5);

    s->ClearContent();
    EXPECT_EQ(s->ExtraTexts.Count(), 0);
    EXPECT_TRUE(s->Description.PlainText.empty());
    EXPECT_EQ(s->ScriptValues.Count(), 0);
}

TEST(TestSettingsTest, ExtraTextByNumber) {
    auto s = fixtures::FullSettings();
    auto q = fixtures::ConformityQuestion();
    EXPECT_EQ(s->ExtraTextByNumber(1, q.get()), s->ExtraTexts.Items(0));
    EXPECT_EQ(s->ExtraTextByNumber(-1, q.get()), q->ExtraTexts.Items(0));
    EXPECT_EQ(s->ExtraTextByNumber(0, q.get()), nullptr);
    EXPECT_EQ(s->ExtraTextByNumber(2, q.get()), nullptr);
    EXPECT_EQ(s->ExtraTextByNumber(-2, q.get()), nullptr);
    EXPECT_EQ(s->ExtraTextByNumber(-1, nullptr), nullptr);
    EXPECT_EQ(s->ExtraTextByNumber(INT32_MIN, q.get()), nullptr);
}

}  // namespace
}  // namespace mirvex
