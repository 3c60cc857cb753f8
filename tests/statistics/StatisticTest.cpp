// The statistics file: records, naming, the index, damage, and the safety
// of appends against kills and concurrent writers.
#include "statistics/Statistic.h"

#include <gtest/gtest.h>

#include "ScratchFolder.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <thread>

#include "package/ZipArchive.h"
#include "statistics/TestingLog.h"
#include "util/Cp1251.h"
#include "util/FormatSettings.h"
#include "util/Strings.h"

namespace mirvex {
namespace {

namespace fs = std::filesystem;

TSingleRecord SampleRecord(int n) {
    TSingleRecord r;
    r.Id = 999;  // replaced by Append
    r.TestGuid = "{11111111-2222-4333-8444-555555555555}";
    r.TestFileName = "geo.mxt";
    r.UserId = n;
    r.UserName = Cp1251("Иванов ") + std::to_string(n);
    r.StartTime = 46000.25;
    r.FinishTime = 46000.26;
    r.NetAddr = "PC-15";
    r.Mark = 4.35;
    r.StrMark = Cp1251("Хорошо");
    r.Remarks = Cp1251("замечание\r\nвторая строка");
    r.Log = FormatLogEntry(TLogCode::Started, 46000.25, Cp1251("Начато тестирование. Вопросов: 2")) +
            FormatLogEntry(TLogCode::Right, 46000.251, Cp1251("ответ\tс табуляцией"));
    r.Answers = {{0, TOutcome::Right}, {3, TOutcome::Skipped}, {1, TOutcome::PartlyRight}};
    return r;
}

class StatisticTest : public ::testing::Test {
protected:
    void SetUp() override { m_path = (m_dir / "stat.dat").string(); }

    TStringList IndexLines() const {
        TZipArchive archive;
        TBytes bytes;
        if (!archive.Open(m_path).Ok() || !archive.Extract("Index", bytes).Ok()) return {};
        return SplitLines(std::string(bytes.begin(), bytes.end()));
    }

    // Writes a file whose records carry the given entry names and Ids.
    void WriteFile(const std::vector<std::pair<std::string, int>>& records, bool listAll = true) {
        TZipArchive archive;
        archive.CreateNew(m_path);
        TStringList index;
        for (const auto& [name, id] : records) {
            TSingleRecord r = SampleRecord(id);
            r.Id = id;
            TMemoryStream body;
            ASSERT_TRUE(WriteRecordBody(body, r));
            ASSERT_TRUE(archive.Put(name, body.Bytes()).Ok());
            if (listAll) index.push_back(name);
        }
        const std::string text = JoinLines(index);
        ASSERT_TRUE(archive.Put("Index", text.data(), text.size()).Ok());
        ASSERT_TRUE(archive.Commit().Ok());
    }

    TScratchFolder m_dir{"stat"};
    std::string m_path;
};

TEST_F(StatisticTest, FirstAppendCreatesTheFile) {
    TStatistic stat;
    stat.LoadFromFile(m_path);
    EXPECT_EQ(stat.Count(), 0);
    EXPECT_EQ(stat.Append(SampleRecord(1)), 0);
    EXPECT_EQ(stat.Items(0)->Record.Id, 1);
    EXPECT_EQ(stat.Items(0)->EntryName, "00000001");
    TZipArchive archive;
    ASSERT_TRUE(archive.Open(m_path).Ok());
    ASSERT_EQ(archive.Count(), 2);
    EXPECT_EQ(archive.Entry(0).Name, "00000001");
    EXPECT_EQ(archive.Entry(1).Name, "Index");
    EXPECT_EQ(IndexLines(), (TStringList{"00000001"}));
}

TEST_F(StatisticTest, EveryFieldReadsBackUnchanged) {
    TStatistic stat;
    stat.LoadFromFile(m_path);
    TSingleRecord noAnswers = SampleRecord(2);
    noAnswers.Answers.clear();
    noAnswers.Reserved = "kept";
    ASSERT_EQ(stat.Append(SampleRecord(1)), 0);
    ASSERT_EQ(stat.Append(noAnswers), 1);

    TStatistic again;
    again.LoadFromFile(m_path);
    ASSERT_EQ(again.Count(), 2);
    TSingleRecord expected = SampleRecord(1);
    expected.Id = 1;
    EXPECT_EQ(again.Items(0)->Record, expected);
    noAnswers.Id = 2;
    EXPECT_EQ(again.Items(1)->Record, noAnswers);
    EXPECT_EQ(again.LastId(), 2);

    // The body of a record without answers ends with the count 0.
    TMemoryStream body;
    ASSERT_TRUE(WriteRecordBody(body, noAnswers));
    const TBytes& b = body.Bytes();
    EXPECT_EQ((TBytes(b.end() - 4, b.end())), (TBytes{0, 0, 0, 0}));
    // Reserved comes before Id.
    EXPECT_EQ((TBytes(b.begin(), b.begin() + 12)), (TBytes{4, 0, 0, 0, 'k', 'e', 'p', 't', 2, 0, 0, 0}));
}

TEST_F(StatisticTest, NextIdFollowsTheLargestWhateverTheNames) {
    WriteFile({{"00000005", 3}, {"00000001", 7}});
    TStatistic stat;
    stat.LoadFromFile(m_path);
    ASSERT_EQ(stat.Count(), 2);
    const int at = stat.Append(SampleRecord(9));
    ASSERT_EQ(at, 2);
    EXPECT_EQ(stat.Items(at)->Record.Id, 8);
    EXPECT_EQ(stat.Items(at)->EntryName, "00000002");
}

TEST_F(StatisticTest, DeletedNamesAreUsedAgain) {
    TStatistic stat;
    stat.LoadFromFile(m_path);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(stat.Append(SampleRecord(i)), i);
    stat.Delete(1);
    ASSERT_EQ(stat.Count(), 2);
    EXPECT_EQ(IndexLines(), (TStringList{"00000001", "00000003"}));
    stat.Delete(7);  // outside: nothing
    EXPECT_EQ(stat.Count(), 2);
    ASSERT_EQ(stat.Append(SampleRecord(9)), 2);
    EXPECT_EQ(stat.Items(2)->EntryName, "00000002");
    EXPECT_EQ(stat.Items(2)->Record.Id, 4);
    EXPECT_EQ(IndexLines(), (TStringList{"00000001", "00000003", "00000002"}));
}

TEST_F(StatisticTest, DamagedEntriesAreSkipped) {
    WriteFile({{"00000001", 1}, {"00000002", 2}});
    {
        TZipArchive archive;
        ASSERT_TRUE(archive.Open(m_path).Ok());
        ASSERT_TRUE(archive.Put("00000002", TBytes{0, 0, 0, 0, 2, 0}).Ok());  // cut short
        ASSERT_TRUE(archive.Put("00000009", TBytes{1}).Ok());                  // never listed
        const std::string index = "00000001\r\nmissing\r\n00000002\r\n";
        ASSERT_TRUE(archive.Put("Index", index.data(), index.size()).Ok());
        ASSERT_TRUE(archive.Commit().Ok());
    }
    TStatistic stat;
    stat.LoadFromFile(m_path);
    ASSERT_EQ(stat.Count(), 1);
    EXPECT_EQ(stat.Items(0)->EntryName, "00000001");
}

TEST_F(StatisticTest, ForeignFileIsNeverOverwritten) {
    const std::string junk = "this is somebody's text, not a statistics file";
    ASSERT_TRUE(WriteFileBytes(m_path, junk.data(), junk.size()));
    TStatistic stat;
    stat.LoadFromFile(m_path);
    EXPECT_EQ(stat.Count(), 0);
    EXPECT_EQ(stat.Append(SampleRecord(1)), -1);
    TBytes after;
    ASSERT_TRUE(ReadFileBytes(m_path, after));
    EXPECT_EQ(std::string(after.begin(), after.end()), junk);
    EXPECT_EQ(stat.Count(), 0);
}

TEST_F(StatisticTest, StaleViewStillGetsAFreshIdAndName) {
    TStatistic a, b;
    a.LoadFromFile(m_path);
    b.LoadFromFile(m_path);
    ASSERT_EQ(b.Append(SampleRecord(1)), 0);
    ASSERT_EQ(b.Append(SampleRecord(2)), 1);
    ASSERT_EQ(a.Append(SampleRecord(3)), 0);
    EXPECT_EQ(a.Items(0)->Record.Id, 3);
    EXPECT_EQ(a.Items(0)->EntryName, "00000003");
    TStatistic all;
    all.LoadFromFile(m_path);
    EXPECT_EQ(all.Count(), 3);
    // A deletion by a stale view keeps the records others appended.
    a.Delete(0);
    all.LoadFromFile(m_path);
    EXPECT_EQ(all.Count(), 2);
}

TEST_F(StatisticTest, TankerBodyRoundTrip) {
    TStatistic stat;
    stat.LoadFromFile(m_path);
    ASSERT_EQ(stat.Append(SampleRecord(1)), 0);
    ASSERT_EQ(stat.Append(SampleRecord(2)), 1);
    TStatistic copy;
    ASSERT_TRUE(copy.CopyFrom(stat));
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Items(1)->Record, stat.Items(1)->Record);
}

TEST(TestingLogTest, EntryFormatAndSplitting) {
    TDateTime when = 0, time = 0;
    ASSERT_TRUE(TryEncodeDate(2026, 12, 11, when));
    ASSERT_TRUE(TryEncodeTime(8, 5, 9, 0, time));
    when += time;
    const std::string entry = FormatLogEntry(TLogCode::Skipped, when, "msg");
    EXPECT_EQ(entry, std::string("1111.12.2026 8:05:09\tmsg") + '\0');
    EXPECT_EQ(FormatLogEntry(TLogCode::QuestionPut, when, "").substr(0, 4), "0311");

    const std::string log = FormatLogEntry(TLogCode::Started, when, "line1\r\nline2") +
                            FormatLogEntry(TLogCode::Wrong, when, "a\tb\tc") + "07tail without NUL";
    const auto entries = SplitLog(log);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Code, 1);
    EXPECT_EQ(entries[0].TimeText, "11.12.2026 8:05:09");
    EXPECT_EQ(entries[0].Message, "line1\r\nline2");
    EXPECT_EQ(entries[1].Code, 9);
    EXPECT_EQ(entries[1].Message, "a\tb\tc");
    EXPECT_EQ(entries[1].ShownMessage(), "c");
    EXPECT_EQ(entries[2].Code, 7);
    EXPECT_EQ(entries[2].Message, "tail without NUL");
    EXPECT_TRUE(SplitLog("").empty());
    EXPECT_EQ(SplitLog("x")[0].Code, -1);
}

// Two processes append 200 records each to one file.
TEST_F(StatisticTest, ConcurrentAppendersLoseNothing) {
    constexpr int kPerProcess = 200;
    pid_t children[2];
    for (pid_t& child : children) {
        child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TStatistic stat;
            stat.LoadFromFile(m_path);
            int failures = 0;
            for (int i = 0; i < kPerProcess; ++i) failures += stat.Append(SampleRecord(i)) < 0 ? 1 : 0;
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    TStatistic stat;
    stat.LoadFromFile(m_path);
    ASSERT_EQ(stat.Count(), 2 * kPerProcess);
    std::set<std::string> names;
    std::set<int> ids;
    for (int i = 0; i < stat.Count(); ++i) {
        names.insert(stat.Items(i)->EntryName);
        ids.insert(stat.Items(i)->Record.Id);
    }
    EXPECT_EQ(names.size(), 2u * kPerProcess);
    EXPECT_EQ(ids.size(), 2u * kPerProcess);
    EXPECT_EQ(*ids.rbegin(), 2 * kPerProcess);
}

// A child appends records and reports each acknowledged Id through a pipe;
// it is killed at a random moment. The file must load with every
// acknowledged record, however often this happens.
TEST_F(StatisticTest, AppendSurvivesKills) {
    std::mt19937 rng(12345);
    std::set<int> acknowledged;
    for (int round = 0; round < 40; ++round) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            TStatistic stat;
            stat.LoadFromFile(m_path);
            for (int i = 0;; ++i) {
                const int at = stat.Append(SampleRecord(i));
                if (at < 0) ::_exit(3);
                const std::int32_t id = stat.Items(at)->Record.Id;
                if (::write(pipeFds[1], &id, sizeof id) != sizeof id) ::_exit(4);
            }
        }
        ::close(pipeFds[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(1000 + rng() % 40000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the appender stopped by itself: " << WEXITSTATUS(status);
        std::int32_t id = 0;
        while (::read(pipeFds[0], &id, sizeof id) == sizeof id) acknowledged.insert(id);
        ::close(pipeFds[0]);

        TStatistic stat;
        stat.LoadFromFile(m_path);
        std::set<int> present;
        for (int i = 0; i < stat.Count(); ++i) present.insert(stat.Items(i)->Record.Id);
        for (int acked : acknowledged) ASSERT_TRUE(present.contains(acked)) << "round " << round << " lost " << acked;
        // Each kill may leave one record written but not yet acknowledged.
        ASSERT_LE(present.size(), acknowledged.size() + static_cast<std::size_t>(round) + 1) << "round " << round;
    }
    EXPECT_GT(acknowledged.size(), 25u);
    // No temporary archive is left once the next writer has run.
    TStatistic last;
    last.LoadFromFile(m_path);
    ASSERT_GE(last.Append(SampleRecord(0)), 0);
    for (const auto& e : fs::directory_iterator(m_dir))
        EXPECT_FALSE(e.path().filename().string().starts_with(".stat.dat.~")) << e.path();
}

}  // namespace
}  // namespace mirvex
