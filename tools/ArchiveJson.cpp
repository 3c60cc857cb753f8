// JSON images of packages and statistics files.
#include "ArchiveJson.h"

#include <cstdio>

#include "RecordJson.h"
#include "package/ZipTest.h"
#include "statistics/Statistic.h"
#include "statistics/TestingLog.h"
#include "util/Cp1251.h"
#include "util/FormatSettings.h"

namespace mirvex::json {
namespace {

void Entries(TJsonWriter& w, const TZipArchive& archive) {
    w.Key("Entries").BeginArray();
    for (int i = 0; i < archive.Count(); ++i) {
        const TZipEntry& e = archive.Entry(i);
        char crc[16];
        std::snprintf(crc, sizeof crc, "%08x", e.Crc32);
        w.BeginObject().Key("Name");
        WriteText(w, e.Name);
        w.Key("Method").Integer(e.Method)
            .Key("CompressedSize").Integer(static_cast<std::int64_t>(e.CompressedSize))
            .Key("UncompressedSize").Integer(static_cast<std::int64_t>(e.UncompressedSize))
            .Key("Crc32").String(crc)
            .EndObject();
    }
    w.EndArray();
}

}  // namespace

void WritePackage(TJsonWriter& w, const std::string& path, const TZipArchive& archive) {
    TZipTest package;
    package.Open(path, "", true);
    w.BeginObject().Key("Kind").String("package");
    Entries(w, archive);
    w.Key("Protection").Integer(static_cast<int>(package.Protection()));
    w.Key("LastError").Integer(static_cast<int>(package.LastError()));
    w.Key("TestIdentity");
    WriteText(w, package.TestIdentity());

    w.Key("Catalogue").BeginArray();
    for (int i = 0; i < package.Count(); ++i) {
        const TFullQuestionInfo& info = *package.Info(i);
        w.BeginObject().Key("Index").Integer(i).Key("EntryName");
        WriteText(w, info.EntryName);
        w.Key("TurnOn").Boolean(info.TurnOn).Key("Category").Integer(info.Category)
            .Key("Ticket").Integer(info.Ticket).Key("Text");
        WriteText(w, info.Text);
        w.Key("Prio").Integer(info.Prio).EndObject();
    }
    w.EndArray();

    w.Key("Ini").BeginArray();
    for (const std::string& section : package.Ini().Sections()) {
        w.BeginObject().Key("Section");
        WriteText(w, section);
        w.Key("Lines").BeginArray();
        for (const std::string& line : package.Ini().ReadSectionValues(section)) WriteText(w, line);
        w.EndArray().EndObject();
    }
    w.EndArray();

    w.Key("Settings");
    if (package.SettingsLoaded() && package.LastError() == TPackageError::None) Write(w, package.Settings());
    else w.Null();

    w.Key("Questions").BeginArray();
    for (int i = 0; i < package.Count(); ++i) {
        TTestQuestion question;
        w.BeginObject().Key("EntryName");
        WriteText(w, package.Info(i)->EntryName);
        if (package.LoadQuestion(i, question)) {
            w.Key("Question");
            Write(w, question);
        } else {
            w.Key("Error").Integer(static_cast<int>(package.LastError()));
        }
        w.EndObject();
    }
    w.EndArray();

    w.Key("Pictures").BeginArray();
    for (int kind = 1; kind <= 3; ++kind) {
        std::string name;
        TMemoryStream data;
        if (!package.Picture(kind, name, data)) continue;
        w.BeginObject().Key("Kind").Integer(kind).Key("EntryName").String(TZipTest::PictureEntryName(kind)).Key("Name");
        WriteText(w, name);
        w.Key("Data");
        WriteBytes(w, data.Bytes());
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
    package.Close(false);
}

void WriteStatistics(TJsonWriter& w, const std::string& path) {
    TStatistic statistic;
    statistic.LoadFromFile(path);
    w.BeginObject().Key("Kind").String("statistics").Key("Records").BeginArray();
    for (int i = 0; i < statistic.Count(); ++i) {
        const TListItem& item = *statistic.Items(i);
        const TSingleRecord& r = item.Record;
        w.BeginObject().Key("EntryName");
        WriteText(w, item.EntryName);
        w.Key("Id").Integer(r.Id).Key("Reserved");
        WriteText(w, r.Reserved);
        w.Key("TestGuid");
        WriteText(w, r.TestGuid);
        w.Key("TestFileName");
        WriteText(w, r.TestFileName);
        w.Key("UserId").Integer(r.UserId).Key("UserName");
        WriteText(w, r.UserName);
        w.Key("StartTime").Number(r.StartTime).Key("StartTimeText");
        WriteText(w, LogTimeText(r.StartTime));
        w.Key("FinishTime").Number(r.FinishTime).Key("FinishTimeText");
        WriteText(w, LogTimeText(r.FinishTime));
        w.Key("NetAddr");
        WriteText(w, r.NetAddr);
        w.Key("Mark").Number(r.Mark).Key("StrMark");
        WriteText(w, r.StrMark);
        w.Key("Remarks");
        WriteText(w, r.Remarks);
        w.Key("Log").BeginArray();
        for (const TLogEntry& entry : SplitLog(r.Log)) {
            w.BeginObject().Key("Code").Integer(entry.Code).Key("Time");
            WriteText(w, entry.TimeText);
            w.Key("Message");
            WriteText(w, entry.Message);
            w.EndObject();
        }
        w.EndArray();
        w.Key("Answers").BeginArray();
        for (const TQuestionOutcome& a : r.Answers)
            w.BeginObject().Key("QuestionIndex").Integer(a.QuestionIndex).Key("Outcome").Integer(static_cast<int>(a.Outcome)).EndObject();
        w.EndArray().EndObject();
    }
    w.EndArray().EndObject();
}

}  // namespace mirvex::json
