// Package and statistics file speed, and the container's deflate against
// zlib's own on the same data.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <unistd.h>

#include <filesystem>
#include <random>

#include "ScratchFolder.h"
#include "model/Fixtures.h"
#include "package/PackageBuilder.h"
#include "package/ZipTest.h"
#include "statistics/Statistic.h"
#include "statistics/TestingLog.h"
#include "util/Cp1251.h"

namespace mirvex {
namespace {

namespace fs = std::filesystem;

// Removed when the program ends.
const fs::path& BenchFolder() {
    static const TScratchFolder folder("bench");
    return folder;
}

const std::string& ThousandQuestionPackage() {
    static const std::string path = [] {
        TPackageBuilder b;
        if (!b.Settings.CopyFrom(*fixtures::FullSettings())) std::abort();
        b.SetIdentity("{11111111-2222-4333-8444-555555555555}");
        auto conformity = fixtures::ConformityQuestion();
        auto typed = fixtures::TypedQuestion();
        for (int i = 0; i < 1000; ++i) {
            TFullQuestionInfo info;
            info.EntryName = "Q" + std::to_string(i + 1);
            info.Category = i % 10;
            info.Text = Cp1251("Вопрос номер ") + std::to_string(i + 1);
            b.AddQuestion(info, i % 2 ? *conformity : *typed);
        }
        const std::string p = (BenchFolder() / "thousand.mxt").string();
        if (!b.Write(p).Ok()) std::abort();
        return p;
    }();
    return path;
}

void BM_OpenPackageAndLoadOneQuestion(benchmark::State& state) {
    const std::string& path = ThousandQuestionPackage();
    for (auto _ : state) {
        TZipTest test;
        if (!test.Open(path)) state.SkipWithError("open failed");
        auto q = test.LoadQuestion(500);
        benchmark::DoNotOptimize(q);
        test.Close(false);
    }
}
BENCHMARK(BM_OpenPackageAndLoadOneQuestion)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// A session of 30 questions with the log entries the engine writes.
TSingleRecord RealisticRecord(std::mt19937& rng, int n) {
    TSingleRecord r;
    r.TestGuid = "{11111111-2222-4333-8444-555555555555}";
    r.TestFileName = "geography.mxt";
    r.UserId = n;
    r.UserName = Cp1251("Иванов Иван Иванович ") + std::to_string(n);
    r.StartTime = 46000 + n * 0.01;
    r.FinishTime = r.StartTime + 0.02;
    r.NetAddr = "CLASS-PC-07";
    r.Mark = 2 + rng() % 4;
    r.StrMark = Cp1251("Хорошо");
    r.Log = FormatLogEntry(TLogCode::Started, r.StartTime, Cp1251("Начато тестирование. Количество вопросов: 30"));
    for (int q = 0; q < 30; ++q) {
        const TDateTime t = r.StartTime + q * 0.0005;
        r.Log += FormatLogEntry(TLogCode::QuestionPut, t,
                                Cp1251("Задан вопрос № ") + std::to_string(q + 1) + Cp1251(": Какая река длиннее?"));
        const auto outcome = static_cast<TOutcome>(rng() % 4);
        r.Log += FormatLogEntry(outcome == TOutcome::Right ? TLogCode::Right : TLogCode::Wrong, t + 0.0002,
                                Cp1251("Ответ: Волга; набрано баллов: ") + std::to_string(rng() % 10));
        r.Answers.push_back({q, outcome});
    }
    r.Log += FormatLogEntry(TLogCode::Finished, r.FinishTime, Cp1251("Тестирование завершено. Оценка: 4"));
    return r;
}

// A statistics file of `count` records in the layout Append produces,
// written in one go.
std::string StatisticsFile(int count) {
    const std::string path = (BenchFolder() / ("stat" + std::to_string(count) + ".dat")).string();
    std::mt19937 rng(static_cast<unsigned>(count));
    TZipArchive archive;
    archive.CreateNew(path);
    TStringList index;
    for (int i = 1; i <= count; ++i) {
        TSingleRecord r = RealisticRecord(rng, i);
        r.Id = i;
        TMemoryStream body;
        if (!WriteRecordBody(body, r)) std::abort();
        index.push_back(StatEntryName(i));
        if (!archive.Put(index.back(), body.Bytes()).Ok()) std::abort();
    }
    const std::string text = JoinLines(index);
    if (!archive.Put("Index", text.data(), text.size()).Ok() || !archive.Commit().Ok()) std::abort();
    return path;
}

void BM_StatisticsLoad(benchmark::State& state) {
    const std::string path = StatisticsFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TStatistic stat;
        stat.LoadFromFile(path);
        if (stat.Count() != state.range(0)) state.SkipWithError("records lost");
    }
    state.counters["file_MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_StatisticsLoad)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3)->ReportAggregatesOnly();

void BM_StatisticsAppend(benchmark::State& state) {
    const std::string path = StatisticsFile(static_cast<int>(state.range(0)));
    TStatistic stat;
    stat.LoadFromFile(path);
    std::mt19937 rng(1);
    for (auto _ : state) {
        if (stat.Append(RealisticRecord(rng, 0)) < 0) state.SkipWithError("append failed");
    }
}
BENCHMARK(BM_StatisticsAppend)->Arg(100)->Arg(1000)->Arg(3000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(15);

// Two writers take turns, so each append finds a file changed by the other
// and reads the Ids of every record before choosing its own.
void BM_StatisticsAppendAfterOtherWriter(benchmark::State& state) {
    const std::string path = StatisticsFile(static_cast<int>(state.range(0)));
    TStatistic a, b;
    a.LoadFromFile(path);
    b.LoadFromFile(path);
    std::mt19937 rng(2);
    bool turn = false;
    for (auto _ : state) {
        TStatistic& writer = turn ? a : b;
        turn = !turn;
        if (writer.Append(RealisticRecord(rng, 0)) < 0) state.SkipWithError("append failed");
    }
}
BENCHMARK(BM_StatisticsAppendAfterOtherWriter)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same bytes through the container and through zlib directly.
const TBytes& DeflateInput() {
    static const TBytes data = [] {
        std::mt19937 rng(3);
        std::string text;
        while (text.size() < (8u << 20)) {
            TSingleRecord r = RealisticRecord(rng, static_cast<int>(text.size() % 1000));
            text += r.Log;
        }
        return TBytes(text.begin(), text.end());
    }();
    return data;
}

void BM_DeflateContainer(benchmark::State& state) {
    const TBytes& data = DeflateInput();
    for (auto _ : state) {
        TZipArchive archive;
        archive.CreateNew("/nonexistent/never-committed");
        if (!archive.Put("entry", data).Ok()) state.SkipWithError("put failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_DeflateContainer)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_DeflateZlib(benchmark::State& state) {
    const TBytes& data = DeflateInput();
    TBytes out(compressBound(static_cast<uLong>(data.size())));
    for (auto _ : state) {
        uLongf size = static_cast<uLongf>(out.size());
        if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 6) != Z_OK)
            state.SkipWithError("zlib failed");
        benchmark::DoNotOptimize(size);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_DeflateZlib)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
}  // namespace mirvex
