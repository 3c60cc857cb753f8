// The in-memory INI text of catalogues and script data files.
#include "util/IniText.h"

#include <gtest/gtest.h>

#include "util/Cp1251.h"

namespace mirvex {
namespace {

TEST(IniTextTest, ReadsValuesIgnoringLatinCase) {
    TIniText ini;
    ini.SetText("; comment\r\n[Main]\r\n0=Q1\r\n 1 = spaced \r\nnovalue\r\n\r\n[Values]\r\nSAVE_GUID={X}\r\n"
                "Empty=\r\nkey=a=b\r\n");
    EXPECT_EQ(ini.ReadString("main", "0", "?"), "Q1");
    EXPECT_EQ(ini.ReadString("MAIN", "1 ", "?"), " spaced");  // names are taken as written
    EXPECT_EQ(ini.ReadString("values", "save_guid", ""), "{X}");
    EXPECT_EQ(ini.ReadString("Values", "Empty", "default"), "");
    EXPECT_EQ(ini.ReadString("Values", "KEY", ""), "a=b");
    EXPECT_EQ(ini.ReadString("Values", "missing", "default"), "default");
    EXPECT_EQ(ini.ReadString("Nowhere", "x", "d"), "d");
    EXPECT_TRUE(ini.ValueExists("Main", "novalue"));
    EXPECT_EQ(ini.ReadSection("Main"), (TStringList{"0", "1 ", "novalue"}));
}

TEST(IniTextTest, IntegersAndBooleans) {
    TIniText ini;
    ini.SetText("[S]\r\nA=12\r\nB=x\r\nC=0\r\nD=-3\r\nE=\r\n");
    EXPECT_EQ(ini.ReadInteger("S", "A", 0), 12);
    EXPECT_EQ(ini.ReadInteger("S", "B", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "E", 5), 5);
    EXPECT_FALSE(ini.ReadBool("S", "C", true));
    EXPECT_TRUE(ini.ReadBool("S", "D", false));
    EXPECT_TRUE(ini.ReadBool("S", "B", true));
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
}

TEST(IniTextTest, KeepsEverySectionAndItsOrder) {
    TIniText ini;
    const std::string text = Cp1251("[Main]\r\n0=A\r\n\r\n[Свой раздел]\r\nКлюч=значение\r\n\r\n[Main]\r\n9=dup\r\n\r\n");
    ini.SetText(text);
    EXPECT_EQ(ini.Text(), text);
    EXPECT_EQ(ini.ReadString(Cp1251("Свой раздел"), Cp1251("Ключ"), ""), Cp1251("значение"));
    EXPECT_EQ(ini.ReadString(Cp1251("СВОЙ РАЗДЕЛ"), Cp1251("Ключ"), "none"), "none");  // only Latin letters fold
    EXPECT_EQ(ini.ReadString("Main", "9", "first section only"), "first section only");

    ini.WriteString("main", "0", "B");
    ini.WriteString("New", "k", "v");
    ini.ClearSection(Cp1251("Свой раздел"));
    EXPECT_EQ(ini.Sections(), (TStringList{"Main", Cp1251("Свой раздел"), "Main", "New"}));
    EXPECT_EQ(ini.ReadString("Main", "0", ""), "B");
    ini.DeleteKey("Main", "0");
    EXPECT_FALSE(ini.ValueExists("Main", "0"));
    ini.EraseSection("MAIN");
    EXPECT_EQ(ini.Sections(), (TStringList{Cp1251("Свой раздел"), "New"}));
    TIniText copy = ini;
    copy.WriteInteger("New", "n", 5);
    EXPECT_FALSE(ini.ValueExists("New", "n"));
    EXPECT_EQ(copy.ReadInteger("New", "n", 0), 5);
}

}  // namespace
}  // namespace mirvex
