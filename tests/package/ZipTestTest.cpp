// Test packages: catalogue, settings, questions, pictures, protection and
// error codes, and the folder tree nodes.
#include "package/ZipTest.h"

#include <gtest/gtest.h>

#include "ScratchFolder.h"

#include <unistd.h>

#include <filesystem>

#include "model/Fixtures.h"
#include "package/PackageBuilder.h"
#include "package/TestFolder.h"
#include "util/Cp1251.h"

namespace mirvex {
namespace {

namespace fs = std::filesystem;

class ZipTestTest : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return m_dir.Path(name); }

    static void Fill(TPackageBuilder& b) {
        if (!b.Settings.CopyFrom(*fixtures::FullSettings())) ADD_FAILURE();
        b.SetIdentity("{11111111-2222-4333-8444-555555555555}");
        b.AddCategory(1, Cp1251("География"));
        b.AddCategory(2, Cp1251("История"));
        b.AddTicket(7, Cp1251("Билет 7"));
        b.AddQuestion({true, 1, 7, Cp1251("Столицы"), "Q1", 2}, *fixtures::ConformityQuestion());
        b.AddQuestion({false, 2, 0, Cp1251("Москва"), "Q2", 1}, *fixtures::TypedQuestion());
        b.SetPicture(1, "icon.png", {1, 2, 3, 4});
        b.SetPicture(3, "back.jpg", {0xFF, 0xD8});
    }

    std::string WriteSample(const std::string& name = "test.mxt") {
        TPackageBuilder b;
        Fill(b);
        return WritePackage(b, name);
    }

    std::string WritePackage(const TPackageBuilder& b, const std::string& name = "test.mxt") {
        const std::string path = Path(name);
        EXPECT_TRUE(b.Write(path).Ok());
        return path;
    }

    TScratchFolder m_dir{"pkg"};
};

TEST_F(ZipTestTest, OpenReadsCatalogueSettingsAndQuestions) {
    TZipTest test;
    ASSERT_TRUE(test.Open(WriteSample()));
    EXPECT_EQ(test.Protection(), TProtectionState::Writable);
    EXPECT_EQ(test.LastError(), TPackageError::None);
    ASSERT_EQ(test.Count(), 2);
    EXPECT_TRUE(test.TurnOn(0));
    EXPECT_FALSE(test.TurnOn(1));
    EXPECT_EQ(test.Category(0), 1);
    EXPECT_EQ(test.Ticket(0), 7);
    EXPECT_EQ(test.Prio(0), 2);
    EXPECT_EQ(test.Text(1), Cp1251("Москва"));
    EXPECT_EQ(test.TurnOnCount(), 1);
    EXPECT_FALSE(test.TurnOn(2));
    EXPECT_EQ(test.Prio(-1), 0);
    EXPECT_EQ(test.Text(5), "");
    EXPECT_EQ(test.TestIdentity(), "{11111111-2222-4333-8444-555555555555}");
    EXPECT_EQ(test.Categories(), (TStringList{Cp1251("1=География"), Cp1251("2=История")}));
    EXPECT_EQ(test.Tickets(), (TStringList{Cp1251("7=Билет 7")}));
    EXPECT_EQ(test.Settings().MaxMark, 10.5);
    EXPECT_EQ(test.Settings().MarkCount(), 3);

    auto q = test.LoadQuestion(0);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->QuestionType, TQuestionType::Conformity);
    EXPECT_EQ(q->Answers.Count(), 5);

    std::string name;
    TMemoryStream data;
    ASSERT_TRUE(test.Picture(1, name, data));
    EXPECT_EQ(name, "icon.png");
    EXPECT_EQ(data.Bytes(), (TBytes{1, 2, 3, 4}));
    EXPECT_FALSE(test.Picture(2, name, data));  // no user picture
    EXPECT_FALSE(test.Picture(4, name, data));
    EXPECT_EQ(test.EntryBuffer().Size(), 0);
}

TEST_F(ZipTestTest, QuestionErrors) {
    TPackageBuilder b;
    Fill(b);
    TTestQuestion broken;
    b.AddQuestion({true, 0, 0, "", "Q3", 1}, broken);
    const std::string path = WritePackage(b);
    // Damage Q3's block by hand: replace it with bytes that do not load.
    {
        TZipArchive archive;
        ASSERT_TRUE(archive.Open(path).Ok());
        ASSERT_TRUE(archive.Put("Q3", TBytes{200, 0, 0, 0, 0}).Ok());
        ASSERT_TRUE(archive.Delete("Q2"));
        ASSERT_TRUE(archive.Commit().Ok());
    }
    TZipTest test;
    ASSERT_TRUE(test.Open(path));
    TTestQuestion q;
    EXPECT_FALSE(test.LoadQuestion(5, q));
    EXPECT_EQ(test.LastError(), TPackageError::IndexOutOfRange);
    EXPECT_FALSE(test.LoadQuestion(1, q));  // its entry is gone
    EXPECT_EQ(test.LastError(), TPackageError::EntryRead);
    EXPECT_FALSE(test.LoadQuestion(2, q));
    EXPECT_EQ(test.LastError(), TPackageError::QuestionLoad);
    EXPECT_TRUE(test.LoadQuestion(0, q));
    EXPECT_EQ(test.LastError(), TPackageError::None);
}

TEST_F(ZipTestTest, MissingSettingsBin) {
    TPackageBuilder b;
    Fill(b);
    b.WithSettings = false;
    const std::string path = WritePackage(b);
    TZipTest test;
    EXPECT_TRUE(test.Open(path, "", false));
    EXPECT_EQ(test.Settings().MaxMark, 5.0);
    EXPECT_FALSE(test.Open(path, "", true));
    EXPECT_EQ(test.LastError(), TPackageError::EntryRead);
    EXPECT_EQ(test.Protection(), TProtectionState::NotOpened);
    EXPECT_EQ(test.Settings().MaxMark, 5.0);
    // A closed package reads nothing.
    EXPECT_FALSE(test.ReadEntry("Settings.ini"));
}

TEST_F(ZipTestTest, ProtectionValues) {
    const struct {
        const char* value;
        TProtectionState state;
    } cases[] = {
        {"", TProtectionState::Writable},         {"R", TProtectionState::ReadOnly},
        {"Read", TProtectionState::ReadOnly},     {"r", TProtectionState::Writable},
        {"E", TProtectionState::Protected},       {"Strict", TProtectionState::Protected},
        {"X", TProtectionState::Writable},        {"e", TProtectionState::Writable},
    };
    for (const auto& c : cases) {
        TPackageBuilder b;
        Fill(b);
        if (*c.value) b.SetProtection(c.value);
        TZipTest test;
        ASSERT_TRUE(test.Open(WritePackage(b))) << c.value;
        EXPECT_EQ(test.Protection(), c.state) << c.value;
    }
}

TEST_F(ZipTestTest, ProtectedPackageRefusesWrites) {
    TPackageBuilder b;
    Fill(b);
    b.SetProtection("R");
    const std::string path = WritePackage(b);
    TZipTest test;
    ASSERT_TRUE(test.Open(path));
    try {
        test.WriteEntry("Q1");
        FAIL() << "no error";
    } catch (const ETestAccess& e) {
        EXPECT_EQ(e.Message(), Cp1251("Запись в тест ") + path + Cp1251(" запрещена"));
    }
    EXPECT_THROW(test.Save(), ETestAccess);
    test.WriteOverride = true;
    test.EntryBuffer().Clear();
    ASSERT_TRUE(test.EntryBuffer().WriteBuffer("abc", 3));
    EXPECT_TRUE(test.WriteEntry("note.txt"));
    EXPECT_TRUE(test.ReadEntry("note.txt"));
    EXPECT_EQ(test.EntryBuffer().Size(), 3);
}

TEST_F(ZipTestTest, SaveWritesTheCatalogueBack) {
    const std::string path = WriteSample();
    {
        TZipTest test;
        ASSERT_TRUE(test.Open(path));
        int progress = 0;
        test.OnProgress = [&](int percent) { progress = percent; };
        test.Info(1)->TurnOn = true;
        test.Info(0)->Text = Cp1251("Новый текст");
        test.Settings().MaxMark = 12;
        test.Ini().WriteString("Own", "Key", "kept");
        test.Close(true);
        EXPECT_EQ(progress, 100);
    }
    TZipTest test;
    ASSERT_TRUE(test.Open(path));
    EXPECT_EQ(test.TurnOnCount(), 2);
    EXPECT_EQ(test.Text(0), Cp1251("Новый текст"));
    EXPECT_EQ(test.Settings().MaxMark, 12);
    EXPECT_EQ(test.Ini().ReadString("Own", "key", ""), "kept");
    EXPECT_EQ(test.Ini().Sections().front(), "Main");
    EXPECT_TRUE(test.LoadQuestion(1));
}

TEST_F(ZipTestTest, SectionWithoutKeysUsesDefaults) {
    TZipArchive archive;
    archive.CreateNew(Path("bare.mxt"));
    const std::string ini = "[Main]\r\n0=Lonely\r\n1=Other\r\n\r\n[other]\r\nTURNON=0\r\nprio=5\r\n";
    ASSERT_TRUE(archive.Put("Settings.ini", ini.data(), ini.size()).Ok());
    ASSERT_TRUE(archive.Put("Settings.bin", SaveToBytes(TTestSettings())).Ok());
    ASSERT_TRUE(archive.Commit().Ok());
    TZipTest test;
    ASSERT_TRUE(test.Open(Path("bare.mxt")));
    ASSERT_EQ(test.Count(), 2);
    EXPECT_TRUE(test.TurnOn(0));
    EXPECT_EQ(test.Category(0), 0);
    EXPECT_EQ(test.Ticket(0), 0);
    EXPECT_EQ(test.Prio(0), 1);
    EXPECT_EQ(test.Text(0), "");
    // Section and key names ignore Latin letter case.
    EXPECT_FALSE(test.TurnOn(1));
    EXPECT_EQ(test.Prio(1), 5);
}

TEST_F(ZipTestTest, ForeignArchivesAreNotPackages) {
    const std::string path = Path("standard.mxt");
    TPackageBuilder b;
    Fill(b);
    ASSERT_TRUE(b.Write(path, kStandardZipSignatures).Ok());
    TZipTest test;
    EXPECT_FALSE(test.Open(path));
    EXPECT_EQ(test.LastError(), TPackageError::OpenFailed);
    EXPECT_EQ(test.Protection(), TProtectionState::NotOpened);
    EXPECT_FALSE(test.Open(Path("missing.mxt")));
    EXPECT_EQ(test.LastError(), TPackageError::OpenFailed);
}

TEST_F(ZipTestTest, EncryptedCatalogueIsAPasswordError) {
    const std::string path = WriteSample();
    TBytes bytes;
    ASSERT_TRUE(ReadFileBytes(path, bytes));
    // Set the encryption flag of "Settings.ini" (the first entry) in its
    // central header.
    const std::size_t end = bytes.size() - 22;
    const std::size_t central = bytes[end + 16] | (bytes[end + 17] << 8) | (bytes[end + 18] << 16) | (bytes[end + 19] << 24);
    bytes[central + 8] |= 1;
    ASSERT_TRUE(WriteFileBytes(path, bytes.data(), bytes.size()));
    TZipTest test;
    EXPECT_FALSE(test.Open(path));
    EXPECT_EQ(test.LastError(), TPackageError::Password);
    EXPECT_EQ(test.Protection(), TProtectionState::PasswordError);
    EXPECT_FALSE(test.ReadEntry("Settings.bin"));
}

TEST_F(ZipTestTest, PictureOfOnlyANameIsMissing) {
    TPackageBuilder b;
    Fill(b);
    b.SetPicture(2, "user.bmp", {});
    TZipTest test;
    ASSERT_TRUE(test.Open(WritePackage(b)));
    std::string name;
    TMemoryStream data;
    EXPECT_FALSE(test.Picture(2, name, data));
    EXPECT_EQ(data.Size(), 0);
}

TEST_F(ZipTestTest, TestFileFromPackage) {
    const std::string path = WriteSample("geo.mxt");
    TTestFile file;
    file.Name = "old";
    ASSERT_TRUE(file.LoadFromPackage(path));
    EXPECT_EQ(file.Name, "geo.mxt");
    EXPECT_EQ(file.PackagePath, path);
    EXPECT_EQ(file.TestId, "{11111111-2222-4333-8444-555555555555}");
    EXPECT_EQ(file.Icon, (TBytes{1, 2, 3, 4}));
    EXPECT_EQ(file.Description.PlainText.front(), Cp1251("Итоговый тест по географии"));
    EXPECT_FALSE(file.LoadFromPackage(Path("none.mxt")));
    EXPECT_TRUE(file.Name.empty());
}

TEST_F(ZipTestTest, FolderTreeRoundTripAndAssign) {
    TTestFolder root;
    root.Name = Cp1251("Тесты");
    TTestFolder* sub = root.AddFolder();
    sub->Name = "sub";
    TTestFile* file = sub->AddFile();
    ASSERT_TRUE(file->LoadFromPackage(WriteSample()));
    root.AddFile()->Name = "loose.mxt";

    const TBytes image = SaveToBytes(root);
    TTestFolder back;
    ASSERT_TRUE(LoadFromBytes(back, image));
    EXPECT_EQ(SaveToBytes(back), image);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_TRUE(back.Child(0)->IsFolder());
    const auto* loaded = static_cast<TTestFile*>(static_cast<TTestFolder*>(back.Child(0))->Child(0));
    EXPECT_EQ(loaded->Icon, (TBytes{1, 2, 3, 4}));

    TTestFolder copy;
    copy.AddFile();
    copy.Assign(root);
    EXPECT_EQ(SaveToBytes(copy), image);

    TBytes bad = image;
    // The first kind byte follows the root's name and count.
    const std::size_t kindAt = 8 + 4 + root.Name.size() + 4;
    ASSERT_EQ(bad[kindAt], 0);
    bad[kindAt] = 5;
    EXPECT_FALSE(LoadFromBytes(back, bad));
}

}  // namespace
}  // namespace mirvex
