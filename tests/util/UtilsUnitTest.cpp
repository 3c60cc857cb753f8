// Shared helpers: texts, hashes, file names and starting programs.
#include "util/UtilsUnit.h"

#include <gtest/gtest.h>

#include "ScratchFolder.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "util/Cp1251.h"
#include "util/JsonWriter.h"
#include "util/SystemInfo.h"

namespace mirvex {
namespace {

namespace fs = std::filesystem;

TEST(UtilsUnitTest, PasswordHash) {
    constexpr std::uint32_t kStart = 0x3A5C91E4u;
    EXPECT_EQ(PasswordHash(""), static_cast<std::int32_t>(kStart));
    EXPECT_EQ(PasswordHash("abc"), static_cast<std::int32_t>(kStart + 194 + 392 + 792));
    // Position 31 shifts by 0, position 32 by 1; high bytes wrap out.
    const std::string longText(40, '\xFF');
    std::uint32_t h = kStart;
    for (std::uint32_t i = 1; i <= 40; ++i) h += 0xFFu << (i % 31);
    EXPECT_EQ(PasswordHash(longText), static_cast<std::int32_t>(h));
    std::string text31(30, '\0');
    text31 += 'a';
    EXPECT_EQ(PasswordHash(text31), static_cast<std::int32_t>(kStart + 0x61));
    // Bytes count as unsigned: the Cyrillic letter 0xE0 adds 0xE0 << 1.
    EXPECT_EQ(PasswordHash("\xE0"), static_cast<std::int32_t>(kStart + (0xE0u << 1)));
}

TEST(UtilsUnitTest, SecondsToText) {
    const struct {
        int seconds;
        bool force;
        const char* text;
    } cases[] = {
        {0, false, "0 сек"},   {60, false, "60 сек"},         {61, false, "1 мин 1 сек"},
        {125, false, "2 мин 5 сек"}, {30, true, "0 мин 30 сек"}, {3600, false, "60 мин 0 сек"},
    };
    for (const auto& c : cases) EXPECT_EQ(Cp1251ToUtf8(SecondsToText(c.seconds, c.force)), c.text) << c.seconds;
}

TEST(UtilsUnitTest, SmallTextHelpers) {
    EXPECT_EQ(TrimTrailingCrLf("\r\n"), "");
    EXPECT_EQ(TrimTrailingCrLf("\n"), "\n");
    EXPECT_EQ(TrimTrailingCrLf("a\r\n\r\n"), "a\r\n");
    EXPECT_EQ(TrimTrailingCrLf("a"), "a");
    EXPECT_EQ(IncludeTrailingBackslash(""), "");
    EXPECT_EQ(IncludeTrailingBackslash("/tmp"), "/tmp/");
    EXPECT_EQ(IncludeTrailingBackslash("/tmp/"), "/tmp/");
}

TEST(UtilsUnitTest, SplitAtSeparator) {
    const struct {
        const char* text;
        bool before, last;
        const char* result;
    } cases[] = {
        {"a.b.c", true, false, "a"},   {"a.b.c", false, false, "b.c"}, {"a.b.c", true, true, "a.b"},
        {"a.b.c", false, true, "c"},   {"abc", true, false, ""},       {"abc", false, true, "abc"},
        {".x", true, false, ""},       {"x.", false, false, ""},       {"a..b", true, true, "a."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitAtSeparator(c.text, ".", c.before, c.last), c.result)
            << c.text << ' ' << c.before << c.last;
    EXPECT_EQ(SplitAtSeparator("k==v==w", "==", true, true), "k==v");
}

class UniqueFileNameTest : public ::testing::Test {
protected:
    std::string Touch(const std::string& name) {
        const std::string path = (m_folder / name).string();
        std::ofstream(path) << "x";
        return path;
    }
    std::string In(const std::string& name) const { return (m_folder / name).string(); }
    TScratchFolder m_folder{"unique"};
};

TEST_F(UniqueFileNameTest, NumbersTheNameBeforeItsFirstDot) {
    EXPECT_EQ(UniqueFileName(In("clip.avi")), In("clip.avi"));
    Touch("clip.avi");
    EXPECT_EQ(UniqueFileName(In("clip.avi")), In("clip1.avi"));
    Touch("clip1.avi");
    EXPECT_EQ(UniqueFileName(In("clip.avi")), In("clip2.avi"));
    // Several dots: only the part before the first one stays.
    EXPECT_EQ(UniqueFileName(In("my.clip.avi")), In("my.avi"));
    Touch("my.avi");
    EXPECT_EQ(UniqueFileName(In("my.clip.avi")), In("my1.avi"));
}

TEST_F(UniqueFileNameTest, NameWithoutDotStaysAFileInTheFolder) {
    EXPECT_EQ(UniqueFileName(In("readme")), In("readme"));
    Touch("readme");
    EXPECT_EQ(UniqueFileName(In("readme")), In("readme1"));
    fs::create_directory(m_folder / "sub");
    EXPECT_EQ(UniqueFileName(In("sub")), In("sub1"));  // a folder of that name is taken too
}

TEST(UtilsUnitTest, GuidText) {
    const std::regex shape("\\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}");
    std::set<std::string> seen;
    for (int i = 0; i < 100; ++i) {
        const std::string text = NewGuidText();
        EXPECT_EQ(text.size(), 38u);
        EXPECT_TRUE(std::regex_match(text, shape)) << text;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 100u);
    TGuid g;
    g.D1 = 0x189223AE;
    g.D2 = 0x707E;
    g.D3 = 0x4808;
    g.D4 = {0xB0, 0x86, 0xEA, 0x0E, 0x67, 0xB2, 0x79, 0x54};
    EXPECT_EQ(GuidToText(g), "{189223AE-707E-4808-B086-EA0E67B27954}");
}

TEST(UtilsUnitTest, SplitCommandLine) {
    EXPECT_EQ(SplitCommandLine(""), std::vector<std::string>{});
    EXPECT_EQ(SplitCommandLine("  prog  a b "), (std::vector<std::string>{"prog", "a", "b"}));
    EXPECT_EQ(SplitCommandLine("\"my prog\" \"\" x\\\"y"), (std::vector<std::string>{"my prog", "", "x\"y"}));
}

TEST(UtilsUnitTest, RunProgramWaitsAndKeepsProcessingEvents) {
    int ticks = 0;
    EXPECT_EQ(RunProgram("sh -c \"sleep 0.2; exit 7\"", false, true, [&] { ++ticks; }), 7);
    EXPECT_GT(ticks, 3);
    EXPECT_EQ(RunProgram("true", true, true), 0);
    EXPECT_EQ(RunProgram("sh -c \"kill -9 $$\"", false, true), 128 + 9);
}

TEST(UtilsUnitTest, RunProgramWithoutWaitReturnsAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunProgram("sh -c \"exec >/dev/null 2>&1; sleep 2\"", false, false), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(UtilsUnitTest, RunProgramThatCannotStart) {
    int ticks = 0;
    EXPECT_EQ(RunProgram("no-such-program-mirvex arg", false, true, [&] { ++ticks; }), -1);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(RunProgram("", false, true), -1);
    EXPECT_EQ(RunProgram("   ", false, false), -1);
}

TEST(UtilsUnitTest, RunProgramDoesNotLeakDescriptors) {
    // A descriptor without close-on-exec must not reach the child.
    const int fd = ::dup(1);
    ASSERT_GE(fd, 3);
    const std::string check = "sh -c \"test ! -e /proc/self/fd/" + std::to_string(fd) + "\"";
    EXPECT_EQ(RunProgram(check, false, true), 0);
    ::close(fd);
}

TEST(SystemInfoTest, MachineTexts) {
    EXPECT_FALSE(LocalUserName().empty());
    EXPECT_LE(LocalComputerName().size(), 15u);
    EXPECT_TRUE(std::regex_match(LocalOsVersionText(), std::regex("\\d+\\.\\d+\\.(\\d+)\\.\\1\\.\\S+ .+")))
        << LocalOsVersionText();
    EXPECT_TRUE(fs::exists(ProgramPath()));
    EXPECT_EQ(TempFolder().back(), '/');
}

TEST(SystemInfoTest, DataFolderFollowsXdgAndIsCreated) {
    const TScratchFolder base("xdg");
    ::setenv("XDG_DATA_HOME", base.c_str(), 1);
    EXPECT_EQ(WindowsFolder(), (base / "Tervan").string());
    EXPECT_TRUE(fs::is_directory(base / "Tervan"));
    ::unsetenv("XDG_DATA_HOME");
}

TEST(JsonWriterTest, NestedValuesAndEscapes) {
    TJsonWriter w;
    w.BeginObject().Key("a").Integer(1).Key("b").BeginArray().String("x\"\n\x01").Number(0.5).Null().EndArray();
    w.Key("c").BeginObject().EndObject().Key("d").BeginArray().EndArray().EndObject();
    EXPECT_EQ(w.Text(),
              "{\n  \"a\": 1,\n  \"b\": [\n    \"x\\\"\\n\\u0001\",\n    0.5,\n    null\n  ],\n"
              "  \"c\": {},\n  \"d\": []\n}\n");
}

}  // namespace
}  // namespace mirvex
