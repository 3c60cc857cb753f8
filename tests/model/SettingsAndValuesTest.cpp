// Stand-alone settings, script values, placeholder values and string lists.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "model/StringsTanker.h"
#include "util/Cp1251.h"

namespace mirvex {
namespace {

TEST(SelfSettingsTest, InfoExampleIsFortyTwoBytes) {
    auto info = fixtures::InfoExample();
    const TBytes image = SaveToBytes(*info);
    TBytes expected = {42, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0, 'S', 't', 'a', 't', '.', 'd', 'a', 't',
                       0, 3, 0, 0, 0, 11, 0, 0, 0};
    const std::string prompt = Cp1251("Введите ФИО");
    expected.insert(expected.end(), prompt.begin(), prompt.end());
    EXPECT_EQ(image, expected);
    TSelfSettings back;
    ASSERT_TRUE(LoadFromBytes(back, image));
    EXPECT_EQ(back.LoginMode, TLoginMode::NoLogin);
    EXPECT_EQ(back.MaxLoginAttempts, 3);
    EXPECT_EQ(back.LoginPrompt, prompt);
}

TEST(SelfSettingsTest, BlankStatFileNameMeansStatDat) {
    TSelfSettings s;
    s.StatMode = TStatMode::SystemFolder;
    EXPECT_EQ(s.EffectiveStatFileName(), "stat.dat");
    s.StatFileName = "  \t";
    EXPECT_EQ(s.EffectiveStatFileName(), "stat.dat");
    s.StatFileName = " results.dat ";
    EXPECT_EQ(s.EffectiveStatFileName(), "results.dat");
}

TEST(ScriptValuesTest, EntriesRoundTrip) {
    auto values = fixtures::AuthorValues();
    const TBytes image = SaveToBytes(*values);
    // count, then per entry 1 + 1 + 16 + name + description.
    EXPECT_EQ(image[8], 5);
    EXPECT_EQ(image[12], static_cast<std::uint8_t>(TScriptValueKind::Integer));
    EXPECT_EQ(image[13], 0);
    EXPECT_EQ(image[14], 3);  // variant type Integer
    EXPECT_EQ(image[22], 3);  // its payload
    TScriptValues back;
    ASSERT_TRUE(LoadFromBytes(back, image));
    EXPECT_EQ(SaveToBytes(back), image);
    ASSERT_EQ(back.Count(), 5);
    EXPECT_EQ(back.Items(0)->Value, TVariant(3));
    EXPECT_EQ(back.Items(1)->Value, TVariant(0.25));
    EXPECT_TRUE(back.Items(1)->ReadOnly);
    EXPECT_EQ(back.Items(2)->Value, TVariant(true));
    EXPECT_EQ(back.Items(3)->Value, TVariant(std::string()));  // the empty string reads back unchanged
    EXPECT_EQ(back.Items(4)->Value, TVariant::DateTime(46000.5));
    EXPECT_EQ(back.Items(4)->Description, Cp1251("Значение Deadline"));
}

TEST(ScriptValuesTest, NonEmptyStringValueReadsAsEmptyString) {
    TScriptValues values;
    TScriptValueInfo* e = values.Add();
    e->ValueKind = TScriptValueKind::String;
    e->Name = "Greeting";
    e->Value = TVariant(std::string("hello"));
    TBytes image = SaveToBytes(values);
    // Put a writer's pointer into the payload, as a foreign writer would.
    image[12 + 2 + 8] = 0x78;
    image[12 + 2 + 9] = 0x56;
    TScriptValues back;
    ASSERT_TRUE(LoadFromBytes(back, image));
    EXPECT_EQ(back.Items(0)->Value, TVariant(std::string()));
}

TEST(ScriptValuesTest, ListOperations) {
    auto values = fixtures::AuthorValues();
    EXPECT_EQ(values->FindByName("BONUS"), values->Items(1));
    EXPECT_EQ(values->FindByName("bonus"), values->Items(1));
    EXPECT_EQ(values->FindByName("Bonu"), nullptr);
    EXPECT_EQ(values->IndexOf(values->Items(2)), 2);
    EXPECT_EQ(values->IndexOf(nullptr), -1);
    EXPECT_EQ(values->Items(5), nullptr);
    EXPECT_EQ(values->Items(-1), nullptr);
    TScriptValueInfo* cyr = values->Add();
    cyr->Name = Cp1251("Баллы");
    EXPECT_EQ(values->FindByName(Cp1251("Баллы")), cyr);
    EXPECT_EQ(values->FindByName(Cp1251("БАЛЛЫ")), nullptr);  // only Latin letters fold
    EXPECT_EQ(ScriptValueKindName(TScriptValueKind::DateTime), "DateTime");
    values->Clear();
    EXPECT_EQ(values->Count(), 0);
}

TEST(ScriptValuesTest, CountLargerThanTheEntriesLeftFails) {
    TBytes image = SaveToBytes(*fixtures::AuthorValues());
    image[8] = 0xFF;
    image[9] = 0xFF;
    image[10] = 0xFF;
    image[11] = 0x0F;
    TScriptValues back;
    EXPECT_FALSE(LoadFromBytes(back, image));
    EXPECT_EQ(back.Count(), 0);
}

TEST(VariableValuesTest, NamesCompareWithoutLetterCase) {
    TVariableValues v;
    EXPECT_FALSE(v.Value("x").has_value());
    v.Add(Cp1251("Балл"), "10");
    v.Add("SysUserString", Cp1251("Иванов"));
    v.Add("SysUserString", "second");
    v.Add("Empty", "");
    EXPECT_EQ(v.Value(Cp1251("БАЛЛ")), "10");
    EXPECT_EQ(v.Value("sysuserstring"), Cp1251("Иванов"));
    EXPECT_EQ(v.Value("Empty"), "");
    EXPECT_FALSE(v.Value("Sys").has_value());
    TVariableValues back;
    ASSERT_TRUE(LoadFromBytes(back, SaveToBytes(v)));
    EXPECT_EQ(back.Text, v.Text);
}

TEST(StringsTankerTest, GetOutsideTheListIsEmpty) {
    TStringsTanker t;
    t.Add("a");
    t.Add("b");
    EXPECT_EQ(t.Get(1), "b");
    EXPECT_EQ(t.Get(2), "");
    EXPECT_EQ(t.Get(-1), "");
    TStringsTanker back;
    ASSERT_TRUE(LoadFromBytes(back, SaveToBytes(t)));
    EXPECT_EQ(back.Count(), 2);
    t.Clear();
    EXPECT_EQ(t.Count(), 0);
}

}  // namespace
}  // namespace mirvex
