// mirvex-build dump --as KIND FILE, run as a child process on real files.
#include <gtest/gtest.h>

#include "ToolTest.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/Fixtures.h"
#include "package/PackageBuilder.h"
#include "statistics/Statistic.h"
#include "statistics/TestingLog.h"
#include "util/Cp1251.h"

namespace mirvex {
namespace {

namespace fs = std::filesystem;

using DumpTest = TToolTest;

TEST_F(DumpTest, QuestionAsJson) {
    const std::string path = Write("q.bin", SaveToBytes(*fixtures::ConformityQuestion()));
    const RunResult r = Run("dump --as question '" + path + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const char* expected[] = {
        "\"Version\": 0",
        "\"QuestionType\": 4",
        "\"TimeLimit\": 90",
        "\"PlainText\": [\n      \"Сопоставьте столицы и страны\",",
        "\"FileName\": \"карта.png\"",
        "\"size\": 12,",
        "\"Links\": \"R2 R3\"",
        "\"IsLeft\": false",
        "\"QuestionScript\": \"SysStrMessageRight := 'Верно';\"",
    };
    for (const char* piece : expected) EXPECT_NE(r.out.find(piece), std::string::npos) << piece << "\n" << r.out;
}

TEST_F(DumpTest, ByteFieldsCarryTheirCrc) {
    TRTFText text;
    text.RtfData = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    const RunResult r = Run("dump --as rtf '" + Write("t.bin", SaveToBytes(text)) + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\n  \"Version\": 0,\n  \"PlainText\": [],\n  \"RtfData\": {\n    \"size\": 9,\n"
              "    \"crc32\": \"cbf43926\"\n  }\n}\n");
}

TEST_F(DumpTest, EveryKindDumps) {
    const struct {
        const char* kind;
        TBytes image;
        const char* piece;
    } cases[] = {
        {"testsettings", SaveToBytes(*fixtures::FullSettings()), "\"InternalDialogPrompt\": \"Выберите билет:\""},
        {"users", SaveToBytes(*fixtures::SchoolUsers()), "\"Password\": \"пароль\""},
        {"selfsettings", SaveToBytes(*fixtures::InfoExample()), "\"LoginPrompt\": \"Введите ФИО\""},
        {"scriptvalues", SaveToBytes(*fixtures::AuthorValues()), "\"Value\": 0.25"},
        {"attach", SaveToBytes(*fixtures::ConformityQuestion()->Attachments.Items(1)), "\"PlayMode\": 2"},
        {"textwithattaches", SaveToBytes(*fixtures::ConformityQuestion()->ExtraTexts.Items(0)), "\"Подсказка\""},
        {"variablevalues", [] {
             TVariableValues v;
             v.Add("a", "b");
             return SaveToBytes(v);
         }(), "\"Text\": \"a=b\\r\\n\""},
    };
    for (const auto& c : cases) {
        const RunResult r = Run(std::string("dump --as ") + c.kind + " '" + Write(c.kind, c.image) + "'");
        ASSERT_EQ(r.status, 0) << c.kind << ": " << r.err;
        EXPECT_NE(r.out.find(c.piece), std::string::npos) << c.kind << "\n" << r.out;
        EXPECT_NE(r.out.find("\"Version\""), std::string::npos) << c.kind;
    }
}

TEST_F(DumpTest, FailuresAreReported) {
    TBytes cut = SaveToBytes(*fixtures::TypedQuestion());
    cut.resize(cut.size() / 2);
    RunResult r = Run("dump --as question '" + Write("cut.bin", cut) + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("does not hold a valid question block"), std::string::npos) << r.err;

    r = Run("dump --as question '" + (m_dir / "missing.bin").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot read"), std::string::npos);

    r = Run("dump --as nonsense x");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown kind"), std::string::npos);
    EXPECT_EQ(Run("dump").status, 2);
    EXPECT_EQ(Run("frobnicate").status, 2);
}

TEST_F(DumpTest, PackageAsJson) {
    TPackageBuilder b;
    ASSERT_TRUE(b.Settings.CopyFrom(*fixtures::FullSettings()));
    b.SetIdentity("{11111111-2222-4333-8444-555555555555}");
    b.SetProtection("R");
    b.AddCategory(1, Cp1251("География"));
    b.AddQuestion({true, 1, 0, Cp1251("Столицы"), "Q1", 2}, *fixtures::ConformityQuestion());
    b.AddQuestion({false, 0, 3, "", "Q2", 1}, *fixtures::TypedQuestion());
    b.SetPicture(1, "icon.png", {1, 2, 3});
    const std::string path = (m_dir / "geo.mxt").string();
    ASSERT_TRUE(b.Write(path).Ok());
    const RunResult r = Run("dump '" + path + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const char* expected[] = {
        "\"Kind\": \"package\"",
        "\"Name\": \"Settings.ini\"",
        "\"Protection\": 1",
        "\"TestIdentity\": \"{11111111-2222-4333-8444-555555555555}\"",
        "\"EntryName\": \"Q1\"",
        "\"Text\": \"Столицы\"",
        "\"Section\": \"Categories\"",
        "\"1=География\"",
        "\"MaxMark\": 10.5",
        "\"QuestionType\": 3",
        "\"Name\": \"icon.png\"",
    };
    for (const char* piece : expected) EXPECT_NE(r.out.find(piece), std::string::npos) << piece << "\n" << r.out;
}

TEST_F(DumpTest, StatisticsAsJson) {
    const std::string path = (m_dir / "stat.dat").string();
    TStatistic stat;
    stat.LoadFromFile(path);
    TSingleRecord record;
    record.UserName = Cp1251("Петров");
    record.StrMark = Cp1251("Отлично");
    record.Mark = 5;
    record.Log = FormatLogEntry(TLogCode::Started, 46000.5, Cp1251("Начато тестирование")) +
                 FormatLogEntry(TLogCode::Wrong, 46000.5, "a\tb");
    record.Answers = {{2, TOutcome::Wrong}};
    ASSERT_EQ(stat.Append(record), 0);
    const RunResult r = Run("dump '" + path + "'");
    ASSERT_EQ(r.status, 0) << r.err;
    const char* expected[] = {
        "\"Kind\": \"statistics\"", "\"EntryName\": \"00000001\"", "\"Id\": 1",
        "\"UserName\": \"Петров\"", "\"Code\": 9", "\"Message\": \"a\\tb\"",
        "\"Time\": \"09.12.2025 12:00:00\"", "\"QuestionIndex\": 2", "\"StrMark\": \"Отлично\"",
    };
    for (const char* piece : expected) EXPECT_NE(r.out.find(piece), std::string::npos) << piece << "\n" << r.out;
}

TEST_F(DumpTest, OtherFilesAreRefused) {
    const RunResult r = Run("dump '" + Write("junk.bin", TBytes{1, 2, 3}) + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is not a package or statistics file"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace mirvex
