// The open log killed with SIGKILL while QSOs are added, the log saved, backed up
// or checkpointed, and while a recovery replays the journal: every QSO acknowledged
// before the kill comes back, and no file is ever damaged. VELLUM_CRASH_POINTS sets how many kills
// (scripts/crashtest runs thousands).

#include "logstore/journal.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vellum {
namespace {

std::string callOf(int n) { return "K" + std::to_string(n) + "AA"; }

/// A program directory in dir with an empty log file of that name in SAVE.
std::string emptyLogIn(const test::TempDir &dir, const std::string &name)
{
    SetProgramDir(dir.path());
    CreateProgramDirs();
    std::string logFile = dir.file("SAVE/" + name);
    TQsoData empty;
    empty.NewLog(logFile);
    empty.WriteLog(true, EmptyLog::Write);
    return logFile;
}

/// The child: adds QSOs forever, saving, backing up or checkpointing every `saveEvery`, and writes the number
/// of each QSO to the pipe once AddQso returned (the acknowledgement on screen).
[[noreturn]] void runLogger(const std::string &logFile, int first, int saveEvery, int ackPipe)
{
    TQsoData log;
    if (!log.ReadLog(logFile, LoadMode::Load, DuplicateMode::EmptyLog))
        _exit(2);
    log.StartJournal();
    for (int n = first;; ++n) {
        log.AddQso(test::QsoBuilder(callOf(n)).day(45000).seconds(n % 86400).band(5).mode(4).make());
        if (write(ackPipe, &n, sizeof n) != sizeof n)
            _exit(3);
        if (n % saveEvery != 0)
            continue;
        switch (n / saveEvery % 3) { // a save, a backup, or an import's checkpoint falls here
        case 0: log.WriteLog(true); break;
        case 1: log.WriteLog(false); break;
        default: log.JournalCheckpoint(); break;
        }
    }
}

/// Reads the acknowledgements until `count` arrived (or the child ended); returns the last.
int waitForAcks(int pipe, int count, std::set<int> &acked)
{
    int last = -1;
    for (int got = 0; got < count; ++got) {
        int n = 0;
        if (read(pipe, &n, sizeof n) != sizeof n)
            break;
        acked.insert(n);
        last = n;
    }
    return last;
}

/// Recovers as the program does after an abnormal end: the log file (or the file of
/// the journal's last checkpoint), the journal replayed, the result saved.
std::set<std::string> recover(const std::string &logFile)
{
    std::optional<PendingJournal> pending = FindPendingJournal(logFile);
    std::error_code ec;
    bool fromCheckpoint = pending && !pending->Checkpoint.empty() && std::filesystem::exists(pending->Checkpoint, ec);
    TQsoData log;
    EXPECT_TRUE(log.ReadLog(fromCheckpoint ? pending->Checkpoint : logFile, LoadMode::Load, DuplicateMode::EmptyLog))
        << "no file is ever damaged";
    log.LogFileName = logFile;
    if (pending) {
        EXPECT_NE(pending->Contents.State, JournalState::Damaged) << pending->Contents.Problem;
        ReplayJournal(log, pending->ToReplay);
    }
    std::set<std::string> calls;
    for (const TQsoRec *q : log)
        calls.insert(q->Call.str());
    log.WriteLog(true, EmptyLog::Write); // saved; the next logger starts a fresh journal
    return calls;
}

/// A recovery killed somewhere in its replay or its save first, then the real one.
std::set<std::string> recoveredCalls(const std::string &logFile, std::mt19937 &random)
{
    pid_t child = fork();
    if (child == 0) {
        recover(logFile);
        _exit(0);
    }
    usleep(static_cast<useconds_t>(random() % 4000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return recover(logFile);
}

TEST(JournalCrash, EveryAcknowledgedQsoSurvivesAKillAtAnyPoint)
{
    test::TempDir dir("crash");
    std::string logFile = emptyLogIn(dir, "CRASH.VLL");
    const char *points = std::getenv("VELLUM_CRASH_POINTS");
    int kills = points ? std::max(1, std::atoi(points)) : 12;
    std::mt19937 random(20261209);
    std::set<int> acked;
    int next = 1;
    for (int round = 0; round < kills; ++round) {
        int pipes[2];
        ASSERT_EQ(pipe(pipes), 0);
        int saveEvery = 1 + static_cast<int>(random() % 8); // saves and backups fall between the QSOs
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipes[0]);
            runLogger(logFile, next, saveEvery, pipes[1]);
        }
        close(pipes[1]);
        int last = waitForAcks(pipes[0], 1 + static_cast<int>(random() % 6), acked);
        usleep(static_cast<useconds_t>(random() % 3000)); // somewhere in the next add or save
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        // Acknowledgements already in the pipe belong to QSOs that were acknowledged.
        waitForAcks(pipes[0], 1 << 20, acked);
        close(pipes[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the logger ended by itself, status " << status;
        std::set<std::string> calls = recoveredCalls(logFile, random);
        for (int n : acked)
            ASSERT_TRUE(calls.count(callOf(n))) << "QSO " << n << " was acknowledged but is lost after kill " << round;
        next = std::max(next, last) + 1000; // the next logger's QSOs never collide with unacknowledged ones
        RecordProperty("acknowledged", static_cast<int>(acked.size()));
    }
    std::printf("crash points: %d, QSOs acknowledged: %zu, all recovered\n", kills, acked.size());
}

/// In a child with a file-size limit (a full disk, as far as the log is concerned):
/// the save is refused, the old file still reads, and the journal still holds every change.
int refusedSaveOnAFullDisk(const std::string &logFile)
{
    TQsoData log;
    if (!log.ReadLog(logFile, LoadMode::Load, DuplicateMode::EmptyLog))
        return 10;
    log.StartJournal();
    for (int n = 1; n <= 200; ++n)
        log.AddQso(test::QsoBuilder(callOf(n)).day(45000).seconds(n).band(5).mode(4).make());
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096}; // the saved log needs about 15 KB
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
        log.WriteLog(true);
        return 11; // the save must not pass
    } catch (const std::exception &) {
    }
    if (!log.IsModified())
        return 12; // nothing is called saved that was not written
    TQsoData old;
    if (!old.ReadLog(logFile, LoadMode::Load, DuplicateMode::EmptyLog) || old.Count() != 0)
        return 13;
    std::optional<PendingJournal> pending = FindPendingJournal(logFile);
    if (!pending || pending->ToReplay.size() != 200)
        return 14;
    return 0;
}

TEST(JournalCrash, ASaveRefusedOnAFullDiskKeepsTheOldFileAndTheJournal)
{
    test::TempDir dir("fulldisk");
    std::string logFile = emptyLogIn(dir, "FULL.VLL");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(refusedSaveOnAFullDisk(logFile));
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10 unreadable, 11 saved, 12 marked saved, 13 old file damaged, 14 journal lost";
}

} // namespace
} // namespace vellum
