// Writes the seed corpora of the record fuzz targets from the test fixtures:
// make_fuzz_seeds OUTPUT_FOLDER
#include <filesystem>
#include <fstream>
#include <iostream>

#include "model/Fixtures.h"
#include "util/Cp1251.h"

namespace fs = std::filesystem;
using namespace mirvex;

static void Put(const fs::path& root, const char* kind, const char* name, const TBytes& bytes) {
    fs::create_directories(root / kind);
    std::ofstream(root / kind / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_fuzz_seeds OUTPUT_FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    auto conformity = fixtures::ConformityQuestion();
    auto typed = fixtures::TypedQuestion();
    auto settings = fixtures::FullSettings();
    TRTFText emptyText;
    Put(root, "rtf", "empty", SaveToBytes(emptyText));
    Put(root, "rtf", "text", SaveToBytes(conformity->RichText));
    Put(root, "attach", "picture", SaveToBytes(*conformity->Attachments.Items(0)));
    Put(root, "attach", "sound", SaveToBytes(*conformity->Attachments.Items(1)));
    Put(root, "textwithattaches", "extra", SaveToBytes(*conformity->ExtraTexts.Items(0)));
    Put(root, "textwithattaches", "marktext", SaveToBytes(settings->MarkText(1)->Text));
    Put(root, "question", "conformity", SaveToBytes(*conformity));
    Put(root, "question", "typed", SaveToBytes(*typed));
    Put(root, "testsettings", "full", SaveToBytes(*settings));
    TTestSettings fresh;
    Put(root, "testsettings", "fresh", SaveToBytes(fresh));
    Put(root, "users", "school", SaveToBytes(*fixtures::SchoolUsers()));
    TUsers emptyUsers;
    Put(root, "users", "empty", SaveToBytes(emptyUsers));
    Put(root, "selfsettings", "info", SaveToBytes(*fixtures::InfoExample()));
    Put(root, "scriptvalues", "author", SaveToBytes(*fixtures::AuthorValues()));
    TVariableValues values;
    values.Add("SysUserString", Cp1251("Иванов"));
    Put(root, "variablevalues", "user", SaveToBytes(values));
    return 0;
}
