// The zip container: its own archives read by Python's zipfile, zipfile's
// archives read here, and the failures of damaged archives.
#include "package/ZipArchive.h"

#include <gtest/gtest.h>

#include "ScratchFolder.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "util/Cp1251.h"

namespace mirvex {
namespace {

namespace fs = std::filesystem;

TBytes Text(std::string_view s) { return TBytes(s.begin(), s.end()); }

std::uint32_t Get32(const TBytes& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
           (std::uint32_t{b[at + 3]} << 24);
}
void Set32(TBytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Set16(TBytes& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

class ZipArchiveTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return m_dir.Path(name); }

    // Runs the Python side; returns its exit status and standard output.
    int Python(const std::string& args, std::string* out = nullptr) {
        const std::string outPath = Path("python.out");
        const std::string command = "python3 '" MIRVEX_ZIP_INTEROP "' " + args + " >'" + outPath + "' 2>&1";
        const int raw = std::system(command.c_str());
        std::ifstream in(outPath);
        std::stringstream ss;
        ss << in.rdbuf();
        if (out) *out = ss.str();
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }

    // A small archive: a compressible text, a stored binary, a Cyrillic
    // name in OEM and a name that needs the UTF-8 flag.
    std::string WriteSample(const std::string& name) {
        TZipArchive archive;
        archive.CreateNew(Path(name));
        std::string text;
        for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + "\r\n";
        EXPECT_TRUE(archive.Put("Settings.ini", text.data(), text.size()).Ok());
        const TBytes binary = {0x89, 'P', 'N', 'G', 1, 2, 3};
        EXPECT_TRUE(archive.Put("BACKPIC.BIN", binary).Ok());
        EXPECT_TRUE(archive.Put(Cp1251("Вопрос1"), Text(Cp1251("Текст вопроса"))).Ok());
        EXPECT_TRUE(archive.Put(Cp1251("€uro"), Text("x")).Ok());
        EXPECT_TRUE(archive.Commit().Ok());
        return Path(name);
    }

    TScratchFolder m_dir{"zip"};
};

TEST_F(ZipArchiveTest, RecordsCarryTheSystemSignatures) {
    const std::string path = WriteSample("a.mxt");
    TBytes bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    EXPECT_EQ((TBytes(bytes.begin(), bytes.begin() + 4)), (TBytes{0xEF, 0xCD, 0xAB, 0x19}));
    const TBytes end(bytes.end() - 22, bytes.end() - 18);
    EXPECT_EQ(end, (TBytes{0xEE, 0xCC, 0xAA, 0x1F}));
    const std::uint32_t central = Get32(bytes, bytes.size() - 22 + 16);
    EXPECT_EQ((TBytes(bytes.begin() + central, bytes.begin() + central + 4)), (TBytes{0x67, 0x45, 0x23, 0x01}));
}

TEST_F(ZipArchiveTest, PythonReadsWhatThisWrites) {
    const std::string path = WriteSample("b.mxt");
    EXPECT_NE(Python("check '" + path + "'"), 0);  // not a zip file as it stands
    ASSERT_EQ(Python("swap '" + path + "' standard"), 0);
    std::string listing;
    ASSERT_EQ(Python("check '" + path + "'", &listing), 0) << listing;
    EXPECT_NE(listing.find("Settings.ini\t"), std::string::npos) << listing;
    EXPECT_NE(listing.find("\t8\t"), std::string::npos) << "the text is deflated\n" << listing;
    EXPECT_NE(listing.find("BACKPIC.BIN\t7\t"), std::string::npos) << listing;
    EXPECT_NE(listing.find("Вопрос1\t"), std::string::npos) << listing;
    EXPECT_NE(listing.find("€uro\t1\t"), std::string::npos) << listing;
}

TEST_F(ZipArchiveTest, ThisReadsWhatPythonWrites) {
    const std::string path = Path("python.zip");
    ASSERT_EQ(Python("make '" + path + "' 'first.txt=hello ' 'папка/файл.txt=привет '"), 0);
    TZipArchive standard(kStandardZipSignatures);
    ASSERT_TRUE(standard.Open(path).Ok());
    standard.Close();
    TZipArchive system;
    EXPECT_EQ(system.Open(path).Code, TZipError::NotAnArchive);
    ASSERT_EQ(Python("swap '" + path + "' system"), 0);
    ASSERT_TRUE(system.Open(path).Ok());
    ASSERT_EQ(system.Count(), 2);
    TBytes out;
    ASSERT_TRUE(system.Extract("first.txt", out).Ok());
    std::string expected;
    for (int i = 0; i < 50; ++i) expected += "hello ";
    EXPECT_EQ(std::string(out.begin(), out.end()), expected);
    EXPECT_EQ(system.Entry(0).Method, kZipDeflated);
    ASSERT_TRUE(system.Extract(Cp1251("папка/файл.txt"), out).Ok());
    EXPECT_EQ(out.size(), 50u * std::string("привет ").size());
}

TEST_F(ZipArchiveTest, ReplaceDeleteAndKeepRawBytes) {
    const std::string path = WriteSample("c.mxt");
    TZipArchive archive;
    ASSERT_TRUE(archive.Open(path).Ok());
    TBytes rawBefore;
    ASSERT_TRUE(archive.RawData(0, rawBefore).Ok());
    ASSERT_TRUE(archive.Put("settings.INI", Text("new")).Ok());  // same name, other case
    EXPECT_TRUE(archive.Delete("BACKPIC.BIN"));
    EXPECT_FALSE(archive.Delete("missing"));
    ASSERT_TRUE(archive.Put("added", Text("")).Ok());
    ASSERT_TRUE(archive.Commit().Ok());

    TZipArchive reread;
    ASSERT_TRUE(reread.Open(path).Ok());
    ASSERT_EQ(reread.Count(), 4);
    EXPECT_EQ(reread.Entry(0).Name, "settings.INI");
    TBytes out;
    ASSERT_TRUE(reread.Extract("Settings.ini", out).Ok());
    EXPECT_EQ(out, Text("new"));
    EXPECT_EQ(reread.Find("BACKPIC.BIN"), -1);
    ASSERT_TRUE(reread.Extract("added", out).Ok());
    EXPECT_TRUE(out.empty());
    // A kept entry's compressed bytes are copied as they were.
    const int kept = reread.Find(Cp1251("Вопрос1"));
    TZipArchive original;
    TBytes rawKept;
    ASSERT_TRUE(reread.RawData(kept, rawKept).Ok());
    EXPECT_EQ(rawKept, Text(Cp1251("Текст вопроса")));  // stored: too short to shrink
    // No temporary file stays behind.
    int files = 0;
    for (const auto& e : fs::directory_iterator(m_dir)) files += e.path().filename().string()[0] == '.' ? 1 : 0;
    EXPECT_EQ(files, 0);
}

TEST_F(ZipArchiveTest, NamesWithFoldersAreOnlyNames) {
    TZipArchive archive;
    archive.CreateNew(Path("d.mxt"));
    ASSERT_TRUE(archive.Put("../escape.txt", Text("data")).Ok());
    ASSERT_TRUE(archive.Put("/abs/path", Text("data")).Ok());
    EXPECT_EQ(archive.Put("", Text("data")).Code, TZipError::Unsupported);
    EXPECT_EQ(archive.Put(std::string(70000, 'n'), Text("data")).Code, TZipError::Unsupported);
    ASSERT_TRUE(archive.Commit().Ok());
    TZipArchive reread;
    ASSERT_TRUE(reread.Open(Path("d.mxt")).Ok());
    TBytes out;
    EXPECT_TRUE(reread.Extract("../escape.txt", out).Ok());
    EXPECT_FALSE(fs::exists(m_dir.parent_path() / "escape.txt"));
}

// Each case damages the bytes of the sample archive and names the failure
// that opening or extracting must report.
struct Damage {
    const char* name;
    std::function<void(TBytes&)> apply;
    TZipError open;     // from Open
    TZipError extract;  // from extracting every entry, when Open succeeded
};

TEST_F(ZipArchiveTest, DamagedArchivesFailAsDocumented) {
    const std::string path = WriteSample("e.mxt");
    TBytes good;
    ASSERT_TRUE(ReadFileBytes(path, good));
    const std::size_t end = good.size() - 22;
    const std::size_t central = Get32(good, end + 16);
    const Damage cases[] = {
        {"standard signatures", [](TBytes& b) {
             Set32(b, b.size() - 22, 0x06054B50);
         }, TZipError::NotAnArchive, TZipError::None},
        {"central directory outside the file", [end](TBytes& b) { Set32(b, end + 16, 0x7FFFFF00); },
         TZipError::Damaged, TZipError::None},
        {"central directory size too large", [end](TBytes& b) { Set32(b, end + 12, 0x00100000); },
         TZipError::Damaged, TZipError::None},
        {"wrong central header signature", [central](TBytes& b) { Set32(b, central, 0x02014B50); },
         TZipError::Damaged, TZipError::None},
        {"two entries on one local header", [central](TBytes& b) {
             const std::size_t second = central + 46 + 12;  // "Settings.ini"
             Set32(b, second + 42, 0);
         }, TZipError::Damaged, TZipError::None},
        {"entry data runs into the next entry", [central](TBytes& b) { Set32(b, central + 20, 0x4000); },
         TZipError::None, TZipError::Damaged},
        {"bad CRC", [central](TBytes& b) { b[central + 16] ^= 0xFF; }, TZipError::None, TZipError::Damaged},
        {"wrong local signature", [](TBytes& b) { Set32(b, 0, 0x04034B50); }, TZipError::None, TZipError::Damaged},
        {"encrypted", [central](TBytes& b) { b[central + 8] |= 1; }, TZipError::None, TZipError::Password},
        {"unknown method", [central](TBytes& b) { Set16(b, central + 10, 14); }, TZipError::None,
         TZipError::Unsupported},
        {"absurd declared size", [central](TBytes& b) { Set32(b, central + 24, 0x7FFFFFF0); }, TZipError::None,
         TZipError::TooLarge},
        {"inflates beyond its size", [central](TBytes& b) { Set32(b, central + 24, 100); }, TZipError::None,
         TZipError::TooLarge},
        {"shorter than its size", [central](TBytes& b) { Set32(b, central + 24, 5000); }, TZipError::None,
         TZipError::Damaged},
        {"multi-part", [end](TBytes& b) { Set16(b, end + 4, 1); }, TZipError::Unsupported, TZipError::None},
    };
    for (const auto& c : cases) {
        TBytes bad = good;
        c.apply(bad);
        ASSERT_TRUE(WriteFileBytes(Path("bad.mxt"), bad.data(), bad.size()));
        TZipArchive archive;
        const TZipStatus opened = archive.Open(Path("bad.mxt"));
        EXPECT_EQ(opened.Code, c.open) << c.name << ": " << opened.Message;
        if (!opened.Ok()) continue;
        // The first entry is the one damaged.
        TBytes out;
        const TZipStatus extracted = archive.Extract(0, out);
        EXPECT_EQ(extracted.Code, c.extract) << c.name << ": " << extracted.Message;
        EXPECT_TRUE(out.empty()) << c.name;
    }
}

TEST_F(ZipArchiveTest, TruncatedAnywhereNeverCrashes) {
    const std::string path = WriteSample("f.mxt");
    TBytes good;
    ASSERT_TRUE(ReadFileBytes(path, good));
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        ASSERT_TRUE(WriteFileBytes(Path("cut.mxt"), good.data(), cut));
        TZipArchive archive;
        const TZipStatus opened = archive.Open(Path("cut.mxt"));
        // Losing the end record loses the archive; losing less than that
        // cannot happen since the end record is last.
        EXPECT_FALSE(opened.Ok()) << cut;
    }
}

TEST_F(ZipArchiveTest, MissingAndEmptyFiles) {
    TZipArchive archive;
    EXPECT_EQ(archive.Open(Path("none.mxt")).Code, TZipError::NotAnArchive);
    ASSERT_TRUE(WriteFileBytes(Path("empty.mxt"), "", 0));
    EXPECT_EQ(archive.Open(Path("empty.mxt")).Code, TZipError::NotAnArchive);
    EXPECT_EQ(archive.Open(m_dir.string()).Code, TZipError::Io);
    // An empty archive is an archive.
    archive.CreateNew(Path("zero.mxt"));
    ASSERT_TRUE(archive.Commit().Ok());
    EXPECT_EQ(fs::file_size(Path("zero.mxt")), 22u);
    EXPECT_TRUE(archive.Open(Path("zero.mxt")).Ok());
    EXPECT_EQ(archive.Count(), 0);
}

TEST_F(ZipArchiveTest, PrefixReadsStopEarly) {
    TZipArchive archive;
    archive.CreateNew(Path("g.mxt"));
    std::string big(100000, 'a');
    big[0] = 'X';
    ASSERT_TRUE(archive.Put("big", big.data(), big.size()).Ok());
    ASSERT_TRUE(archive.Commit().Ok());
    TBytes head;
    ASSERT_TRUE(archive.ExtractPrefix(0, 3, head).Ok());
    EXPECT_EQ(head, Text("Xaa"));
}

}  // namespace
}  // namespace mirvex
