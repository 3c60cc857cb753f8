// mirvex-build dump --as KIND FILE: one tanker block of a named kind as JSON.
#include <cstdio>
#include <functional>
#include <iostream>
#include <map>
#include <memory>

#include "Commands.h"
#include "ArchiveJson.h"
#include "RecordJson.h"
#include "util/Stream.h"

namespace mirvex::tools {
namespace {

// Loads one block of type T from `stream` and writes its JSON image.
template <typename T>
bool DumpAs(TStream& stream, TJsonWriter& w) {
    auto record = std::make_unique<T>();
    if (!record->LoadFromStream(stream)) return false;
    json::Write(w, *record);
    return true;
}

using TDumper = std::function<bool(TStream&, TJsonWriter&)>;

const std::map<std::string, TDumper>& Dumpers() {
    static const std::map<std::string, TDumper> kDumpers = {
        {"rtf", DumpAs<TRTFText>},
        {"attach", DumpAs<TAttach>},
        {"textwithattaches", DumpAs<TTextWithAttaches>},
        {"question", DumpAs<TTestQuestion>},
        {"testsettings", DumpAs<TTestSettings>},
        {"users", DumpAs<TUsers>},
        {"selfsettings", DumpAs<TSelfSettings>},
        {"scriptvalues", DumpAs<TScriptValues>},
        {"variablevalues", DumpAs<TVariableValues>},
    };
    return kDumpers;
}

int Usage() {
    std::cerr << "usage: mirvex-build dump FILE           a test package or a statistics file\n"
                 "       mirvex-build dump --as KIND FILE one record block of a kind\n  KIND:";
    for (const auto& [name, dumper] : Dumpers()) std::cerr << ' ' << name;
    std::cerr << '\n';
    return 2;
}

// A package has a catalogue "Settings.ini"; a statistics file an "Index".
int DumpArchive(const std::string& path) {
    TZipArchive archive;
    const TZipStatus status = archive.Open(path);
    if (!status.Ok()) {
        std::cerr << "mirvex-build dump: " << path << " is not a package or statistics file (" << status.Message
                  << ")\n";
        return 1;
    }
    TJsonWriter writer;
    if (archive.Find("Settings.ini") >= 0) {
        json::WritePackage(writer, path, archive);
    } else if (archive.Find("Index") >= 0) {
        archive.Close();
        json::WriteStatistics(writer, path);
    } else {
        std::cerr << "mirvex-build dump: " << path << " is an archive but neither a package nor a statistics file\n";
        return 1;
    }
    std::cout << writer.Text();
    return 0;
}

}  // namespace

int DumpCommand(const TArgs& args) {
    std::string kind;
    std::string path;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--as" && i + 1 < args.size()) kind = args[++i];
        else if (args[i].rfind("--as=", 0) == 0) kind = args[i].substr(5);
        else if (path.empty() && !args[i].starts_with("--")) path = args[i];
        else return Usage();
    }
    if (path.empty()) return Usage();
    if (kind.empty()) return DumpArchive(path);
    const auto it = Dumpers().find(kind);
    if (it == Dumpers().end()) {
        std::cerr << "mirvex-build dump: unknown kind '" << kind << "'\n";
        return Usage();
    }
    TMemoryStream stream;
    if (!stream.LoadFromFile(path)) {
        std::cerr << "mirvex-build dump: cannot read " << path << '\n';
        return 1;
    }
    TJsonWriter writer;
    if (!it->second(stream, writer)) {
        std::cerr << "mirvex-build dump: " << path << " does not hold a valid " << kind << " block\n";
        return 1;
    }
    std::cout << writer.Text();
    return 0;
}

}  // namespace mirvex::tools
