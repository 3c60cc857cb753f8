// libFuzzer targets over the archive readers, chosen at compile time:
// MIRVEX_FUZZ_ARCHIVE 1 the zip container, 2 a package opened with a
// question load, 3 a statistics file. The input becomes a file, since
// every reader works on paths.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <list>
#include <cstdlib>
#include <string>

#include "package/ZipArchive.h"
#include "package/ZipTest.h"
#include "statistics/Statistic.h"

namespace {

// One file per process and purpose, removed when the fuzzer exits.
const std::string& InputPath(const char* suffix) {
    static std::list<std::string> paths;  // stable references
    const std::string path = "/tmp/mirvex-fuzz-" + std::to_string(::getpid()) + suffix;
    for (const std::string& p : paths)
        if (p == path) return p;
    if (paths.empty())
        std::atexit([] {
            for (const std::string& p : paths) std::remove(p.c_str());
        });
    paths.push_back(path);
    return paths.back();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mirvex;
    const std::string& path = InputPath(".in");
    if (!WriteFileBytes(path, data, size)) std::abort();
#if MIRVEX_FUZZ_ARCHIVE == 1
    TZipArchive archive;
    if (archive.Open(path).Ok()) {
        TBytes out;
        for (int i = 0; i < archive.Count() && i < 16; ++i) {
            const TZipStatus s = archive.Extract(i, out);
            if (s.Ok() && out.size() != archive.Entry(i).UncompressedSize) std::abort();
            (void)archive.ExtractPrefix(i, 64, out);
        }
        // Rewriting a small archive copies every entry; it must read back.
        if (archive.Count() <= 8) {
            const std::string& copy = InputPath(".copy");
            TZipArchive writer;
            writer.CreateNew(copy);
            // Names read from a file are never empty for the writer's sake:
            // an empty one is refused, as it should be.
            for (int i = 0; i < archive.Count(); ++i)
                if (archive.Extract(i, out).Ok() && !archive.Entry(i).Name.empty() &&
                    !writer.Put(archive.Entry(i).Name, out).Ok())
                    std::abort();
            if (!writer.Commit().Ok()) std::abort();
            TZipArchive reread;
            if (!reread.Open(copy).Ok() || reread.Count() != writer.Count()) std::abort();
            for (int i = 0; i < reread.Count(); ++i)
                if (!reread.Extract(i, out).Ok()) std::abort();
        }
    }
#elif MIRVEX_FUZZ_ARCHIVE == 2
    TZipTest test;
    test.Open(path, "", true);
    for (int i = 0; i < test.Count() && i < 4; ++i) (void)test.LoadQuestion(i);
    for (int kind = 1; kind <= 3; ++kind) {
        std::string name;
        TMemoryStream picture;
        (void)test.Picture(kind, name, picture);
    }
    (void)test.Categories();
    (void)test.TestIdentity();
    test.Close(false);
#elif MIRVEX_FUZZ_ARCHIVE == 3
    TStatistic statistic;
    statistic.LoadFromFile(path);
    for (int i = 0; i < statistic.Count(); ++i)
        if (!statistic.Items(i)) std::abort();
#else
#error "MIRVEX_FUZZ_ARCHIVE selects the reader"
#endif
    return 0;
}
