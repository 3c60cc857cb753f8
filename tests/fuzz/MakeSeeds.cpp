// Writes the seed corpora of the record fuzz targets from the test fixtures:
// make_fuzz_seeds OUTPUT_FOLDER
#include <filesystem>
#include <fstream>
#include <iostream>

#include "model/Fixtures.h"
#include "package/PackageBuilder.h"
#include "protocol/PacketRegistry.h"
#include "protocol/PacketTestFromServer.h"
#include "protocol/PacketTestToServer.h"
#include "statistics/Statistic.h"
#include "statistics/TestingLog.h"
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

    // Archives: a small package, the same with one question, a statistics
    // file of two records.
    TPackageBuilder builder;
    if (!builder.Settings.CopyFrom(*settings)) return 1;
    builder.SetIdentity("{11111111-2222-4333-8444-555555555555}");
    builder.AddCategory(1, Cp1251("Категория"));
    builder.AddQuestion({true, 1, 0, "Q", "Q1", 1}, *typed);
    builder.SetPicture(1, "icon.png", {1, 2, 3});
    const fs::path scratch = fs::temp_directory_path() / "mirvex-seeds";
    fs::create_directories(scratch);
    const auto copy = [&](const fs::path& from, const char* kind, const char* name) {
        TBytes bytes;
        if (!ReadFileBytes(from.string(), bytes)) return false;
        Put(root, kind, name, bytes);
        return true;
    };
    if (!builder.Write((scratch / "small.mxt").string()).Ok()) return 1;
    builder.AddQuestion({false, 0, 0, "C", "Q2", 3}, *conformity);
    if (!builder.Write((scratch / "two.mxt").string()).Ok()) return 1;
    fs::remove(scratch / "stat.dat");
    TStatistic statistic;
    statistic.LoadFromFile((scratch / "stat.dat").string());
    for (int i = 0; i < 2; ++i) {
        TSingleRecord r;
        r.UserName = Cp1251("Иванов");
        r.Log = FormatLogEntry(TLogCode::Started, 46000.5, Cp1251("Начало"));
        r.Answers = {{0, TOutcome::Right}};
        if (statistic.Append(r) < 0) return 1;
    }
    if (!copy(scratch / "small.mxt", "zip", "small") || !copy(scratch / "two.mxt", "zip", "two") ||
        !copy(scratch / "small.mxt", "package", "small") || !copy(scratch / "two.mxt", "package", "two") ||
        !copy(scratch / "stat.dat", "statistics", "two") || !copy(scratch / "stat.dat", "zip", "stat"))
        return 1;
    fs::remove_all(scratch);

    // Packets: a selector byte (0 engine end, 1 user interface end), then
    // the type byte and the block.
    const auto packet = [&](std::uint8_t end, const TPacket& p, const char* name) {
        TBytes image = {end, p.PacketType()};
        const TBytes block = SaveToBytes(p);
        image.insert(image.end(), block.begin(), block.end());
        Put(root, "receive", name, image);
    };
    TClientAnsweredQuestion answered;
    answered.Result.ResultKind = 4;
    answered.Result.Conformity = {{true, "R1", "L1"}};
    answered.SecondsSpent = 12;
    packet(0, answered, "answered-conformity");
    TClientAnsweredQuestion checked;
    checked.Result.ResultKind = 1;
    checked.Result.Checked = {1, 0, 1};
    packet(0, checked, "answered-checked");
    packet(0, TClientLogedIn(), "logged-in");
    TServerPleaseAnswerQuestion put;
    put.Text.Assign(*conformity);
    put.Answers.Assign(conformity->Answers);
    put.Values.Add("a", "b");
    packet(1, put, "put-question");
    TServerPleaseLogin login;
    if (!login.Users.CopyFrom(*fixtures::SchoolUsers())) return 1;
    packet(1, login, "login");
    packet(1, TServerPleaseAnswerMessageBox(), "message-box");
    TServerPleaseWatchTestResult result;
    result.LogText = "log";
    packet(1, result, "result");
    return 0;
}
