#include "logstore/bytes.h"
#include "logstore/fileio.h"
#include "logstore/journal.h"
#include "logstore/qsodata.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <sstream>

namespace vellum {
namespace {

/// Everything a log holds that the journal carries, as one comparable text.
std::string logImage(const TQsoData &log)
{
    std::ostringstream out;
    std::array<std::uint8_t, QsoStoredSize> stored{};
    for (const TQsoRec *qso : log) {
        StoreQso(*qso, stored);
        out << "Q " << std::string(stored.begin(), stored.end()) << '|' << qso->QsoNote.text() << '|'
            << qso->WpxPfx.view() << '\n';
    }
    for (const TNoteRec *note : log.Notes)
        out << "N " << note->Call.view() << '|' << note->Text << '\n';
    std::vector<std::uint8_t> swl;
    ByteWriter swlOut(swl);
    for (const TSwlRec *rec : log.SwlList)
        StoreSwl(*rec, swlOut);
    out << "S " << std::string(swl.begin(), swl.end()) << '\n';
    for (const std::string &name : log.GroupNames)
        out << "G " << name << '\n';
    std::array<std::uint8_t, SelectionStoredSize> selection{};
    for (const TSelection &s : log.Selections) {
        StoreSelection(s, selection);
        out << "L " << std::string(selection.begin(), selection.end()) << '\n';
    }
    out << "I " << log.CurSelIndex << '\n';
    return out.str();
}

/// The log as last saved: a few QSOs, a note, an SWL record, groups and selections.
void fillSavedLog(TQsoData &log)
{
    log.Selections = {AllQsosSelection()};
    log.GroupNames = {"Club", "Contest"};
    test::QsoBuilder("DL1ABC").date(2020, 5, 1).time(12, 30).band(5).mode(4).addTo(log);
    test::QsoBuilder("K1XX").date(2020, 5, 2).time(8, 0).band(6).mode(1).group(1).addTo(log);
    test::QsoBuilder("G4AAA").date(2020, 5, 3).time(9, 15).band(5).mode(4).addTo(log);
    log.Notes.SetNote("K1XX", "Bob");
    TSwlRec swl;
    swl.Call = "ONL123";
    swl.Date = 43000;
    log.SwlList.AddRec(std::make_unique<TSwlRec>(swl));
}

/// A log whose every change is appended to a journal, the way the log will call the writer.
struct JournaledLog {
    TQsoData log;
    JournalWriter writer;

    void add(const TQsoRec &qso)
    {
        log.AddQso(std::make_unique<TQsoRec>(qso));
        writer.Append(JournalEntry::QsoAdded(qso));
    }
    void remove(TQsoRec *qso)
    {
        writer.Append(JournalEntry::QsoDeleted(*qso));
        log.DeleteQso(qso);
    }
    void replace(TQsoRec *old, const TQsoRec &edited)
    {
        writer.Append(JournalEntry::QsoReplaced(*old, edited));
        log.ReplaceQso(edited, old);
    }
};

/// Makes one change of every kind on a journaled log started on the saved log.
void changeEveryKind(JournaledLog &j)
{
    TQsoRec added = test::QsoBuilder("JA1ZZZ").date(2021, 1, 1).time(1, 2, 3).band(7).mode(2).build();
    added.QsoNote.set("first QSO of the year");
    j.add(added);
    j.remove(j.log.FindQso(test::QsoBuilder("G4AAA").date(2020, 5, 3).time(9, 15).band(5).mode(4).rec()));
    TQsoRec *k1 = j.log.FindQso(test::QsoBuilder("K1XX").date(2020, 5, 2).time(8, 0).band(6).mode(1).rec());
    TQsoRec edited = *k1;
    edited.Call = "K1XY";
    edited.Iota = "NA001";
    j.replace(k1, edited);

    std::vector<std::pair<TQsoRec, TQsoRec>> changes;
    j.log.ChangeQsos([&](TQsoRec &qso) {
        TQsoRec before = qso;
        qso.Group = 2;
        changes.emplace_back(before, qso);
        return true;
    });
    j.writer.Append(JournalEntry::BulkChange(std::move(changes)));

    j.log.Notes.SetNote("JA1ZZZ", "Taro");
    j.writer.Append(JournalEntry::NoteSet("JA1ZZZ", "Taro"));
    j.log.Notes.DeleteNote("K1XX");
    j.writer.Append(JournalEntry::NoteDeleted("K1XX"));

    TSwlRec swl;
    swl.Call = "DE1234";
    swl.Date = 44000;
    swl.Printed = 1;
    j.log.SwlList.AddRec(std::make_unique<TSwlRec>(swl));
    j.writer.Append(JournalEntry::SwlAdded(swl));
    ASSERT_EQ(j.log.SwlList.Get(1)->Call.view(), "ONL123");
    TSwlRec onl = *j.log.SwlList.Get(1);
    j.log.SwlList.DeleteRec(1);
    j.writer.Append(JournalEntry::SwlDeleted(onl));

    // A name longer than a group name's 25 characters is cut on the way in.
    JournalEntry groups = JournalEntry::GroupNamesSet({"Club", "Contest", "A name far longer than twenty-five"});
    j.log.GroupNames = groups.GroupNames;
    j.writer.Append(groups);

    TSelection mine = AllQsosSelection();
    mine.Name = "Group 2";
    mine.GroupActive = 1;
    mine.SetGroup(2, true);
    j.log.Selections.push_back(mine);
    SetCurrentSelection(j.log, 1);
    j.writer.Append(JournalEntry::SelectionsSet(j.log.Selections, 1));
    j.writer.Append(JournalEntry::Checkpoint("/tmp/backup.VLL"));
}

std::vector<std::uint8_t> journalOfEveryKind(const test::TempDir &dir)
{
    JournaledLog j;
    fillSavedLog(j.log);
    j.writer.Open(dir.file("LOG.VLJ"), {});
    changeEveryKind(j);
    return test::ReadFile(dir.file("LOG.VLJ"));
}

TEST(JournalFileName, LastLetterOfTheExtensionBecomesJ)
{
    EXPECT_EQ(JournalFileName("QQ0QQ.VLL"), "QQ0QQ.VLJ");
    EXPECT_EQ(JournalFileName("/home/op/a.vll"), "/home/op/a.vlj");
    EXPECT_EQ(JournalFileName("/home/op.logs/LOG"), "/home/op.logs/LOG.VLJ");
    EXPECT_EQ(JournalFileName("LOG."), "LOG.VLJ");
}

TEST(JournalRoundTrip, EveryKindReplaysToTheChangedLogAndReplayingAgainChangesNothing)
{
    test::TempDir dir("journal");
    JournaledLog j;
    fillSavedLog(j.log);
    j.writer.Open(dir.file("LOG.VLJ"), {});
    changeEveryKind(j);
    EXPECT_EQ(j.writer.NextSequence(), 12u);

    JournalContents contents = ReadJournalFile(dir.file("LOG.VLJ"));
    ASSERT_EQ(contents.State, JournalState::Complete) << contents.Problem;
    ASSERT_EQ(contents.Entries.size(), 11u);
    EXPECT_EQ(contents.Entries[8].GroupNames.back(), "A name far longer than tw");
    EXPECT_EQ(contents.Entries[10].Text, "/tmp/backup.VLL");

    TQsoData recovered;
    fillSavedLog(recovered);
    ReplayCounts first = ReplayJournal(recovered, contents.Entries);
    EXPECT_EQ(first.Applied, 10);
    EXPECT_EQ(first.Skipped, 0);
    EXPECT_EQ(logImage(recovered), logImage(j.log));
    EXPECT_EQ(recovered.CurSelection.Name.view(), "Group 2");

    ReplayCounts again = ReplayJournal(recovered, contents.Entries);
    EXPECT_EQ(again.Applied, 0);
    EXPECT_EQ(again.Skipped, 10);
    EXPECT_EQ(logImage(recovered), logImage(j.log));

    // Entries the saved file already contains (saved after the changes) are skipped.
    ReplayCounts saved = ReplayJournal(j.log, contents.Entries);
    EXPECT_EQ(saved.Applied, 0);
}

TEST(JournalRoundTrip, SwlRecordsAddedAndDeletedByTheLogAreJournaled)
{
    test::TempDir dir("journal-swl");
    TQsoData log;
    test::QsoBuilder("DL1ABC").date(2021, 1, 1).band(5).mode(4).addTo(log);
    log.LogFileName = dir.file("LOG.VLL");
    log.WriteLog(true);
    log.StartJournal();
    TSwlRec first;
    first.Call = "ONL1";
    first.Date = 40000;
    TSwlRec second = first;
    second.Call = "ONL2";
    log.AddSwl(first);
    log.AddSwl(second);
    log.DeleteSwl(0);
    ASSERT_EQ(log.SwlList.Count(), 1);
    EXPECT_TRUE(log.IsModified());

    JournalContents contents = ReadJournalFile(JournalFileName(log.LogFileName));
    ASSERT_EQ(contents.State, JournalState::Complete) << contents.Problem;
    ASSERT_EQ(contents.Entries.size(), 3u);
    EXPECT_EQ(contents.Entries[2].Kind, JournalKind::SwlDeleted);
    TQsoData recovered;
    ASSERT_TRUE(recovered.ReadLog(log.LogFileName, LoadMode::Load, DuplicateMode::EmptyLog));
    EXPECT_EQ(ReplayJournal(recovered, contents.Entries).Applied, 3);
    ASSERT_EQ(recovered.SwlList.Count(), 1);
    EXPECT_EQ(recovered.SwlList.Get(0)->Call.view(), "ONL2");
    log.StopJournal();
}

TEST(JournalRoundTrip, QsosDeletedTogetherAreOneEntryAndReachTheFileOnlyWhenSaved)
{
    test::TempDir dir("journal-bulk-delete");
    TQsoData log;
    fillSavedLog(log);
    for (int i = 0; i < 300; ++i)
        test::QsoBuilder("DL" + std::to_string(i % 40) + "X").date(2021, 1, 1 + i % 28).time(i % 24, i % 60)
            .band(static_cast<std::uint8_t>(1 + i % 9)).mode(4).addTo(log);
    log.Get(12)->QsoNote.set("a note goes with its QSO"); // the fifth QSO deleted
    log.LogFileName = dir.file("LOG.VLL");
    log.WriteLog(true);
    const std::vector<std::uint8_t> saved = test::ReadFile(log.LogFileName);
    log.StartJournal();
    std::vector<TQsoRec *> doomed;
    for (std::int32_t i = 0; i < log.Count(); i += 3)
        doomed.push_back(log.Get(i));
    const auto count = static_cast<std::int64_t>(doomed.size());
    ASSERT_EQ(log.DeleteQsos(doomed), count);
    EXPECT_EQ(test::ReadFile(log.LogFileName), saved) << "nothing reaches the log file before a save";

    JournalContents contents = ReadJournalFile(JournalFileName(log.LogFileName));
    ASSERT_EQ(contents.State, JournalState::Complete) << contents.Problem;
    ASSERT_EQ(contents.Entries.size(), 1u);
    EXPECT_EQ(contents.Entries[0].Kind, JournalKind::QsosDeleted);
    EXPECT_EQ(static_cast<std::int64_t>(contents.Entries[0].Qsos.size()), count);
    EXPECT_EQ(contents.Entries[0].Qsos[4].QsoNote.text(), "a note goes with its QSO");

    TQsoData recovered;
    ASSERT_TRUE(recovered.ReadLog(log.LogFileName, LoadMode::Load, DuplicateMode::EmptyLog));
    ReplayCounts first = ReplayJournal(recovered, contents.Entries);
    EXPECT_EQ(first.Applied, 1);
    EXPECT_EQ(logImage(recovered), logImage(log));
    ReplayCounts again = ReplayJournal(recovered, contents.Entries);
    EXPECT_EQ(again.Skipped, 1) << "a replay finds none of the deleted QSOs and skips the entry";
    EXPECT_EQ(logImage(recovered), logImage(log));
    log.StopJournal();
}

TEST(JournalRoundTrip, ReplaceWhoseOldAndNewAreBothMissingKeepsTheNewQso)
{
    TQsoData log;
    TQsoRec oldQso = test::QsoBuilder("DL1ABC").date(2020, 5, 1).build();
    TQsoRec newQso = test::QsoBuilder("DL1ABD").date(2020, 5, 1).build();
    ReplayCounts counts = ReplayJournal(log, {JournalEntry::QsoReplaced(oldQso, newQso)});
    EXPECT_EQ(counts.Applied, 1);
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Get(0)->Call.view(), "DL1ABD");
}

TEST(JournalReader, EveryCutOfTheLastEntryIsATornTailWithAllEarlierEntries)
{
    test::TempDir dir("journal");
    std::vector<std::uint8_t> bytes = journalOfEveryKind(dir);
    JournalContents whole = ReadJournal(bytes);
    ASSERT_EQ(whole.State, JournalState::Complete);
    std::size_t lastStart = JournalHeaderSize;
    JournalContents allButLast;
    for (std::size_t cut = bytes.size() - 1; cut > JournalHeaderSize; --cut) {
        JournalContents read = ReadJournal(std::span(bytes).first(cut));
        if (read.State == JournalState::Complete) {
            lastStart = cut;
            allButLast = read;
            break;
        }
        ASSERT_EQ(read.State, JournalState::TornTail) << "cut at " << cut;
        ASSERT_EQ(read.Entries.size(), whole.Entries.size() - 1) << "cut at " << cut;
    }
    EXPECT_EQ(allButLast.Entries.size(), whole.Entries.size() - 1);
    EXPECT_EQ(allButLast.ValidLength, lastStart);

    // A tail of zeros (space the file system gave but the data never reached) is torn too.
    std::vector<std::uint8_t> zeros = bytes;
    zeros.resize(bytes.size() + 300, 0);
    JournalContents zeroTail = ReadJournal(zeros);
    EXPECT_EQ(zeroTail.State, JournalState::TornTail);
    EXPECT_EQ(zeroTail.Entries.size(), whole.Entries.size());
    EXPECT_EQ(zeroTail.ValidLength, bytes.size());
}

TEST(JournalReader, ABadEntryInTheMiddleIsDamageAndReadingStopsThere)
{
    test::TempDir dir("journal");
    std::vector<std::uint8_t> bytes = journalOfEveryKind(dir);
    // The third entry: skip the header and two entries by their lengths.
    std::size_t offset = JournalHeaderSize;
    for (int i = 0; i < 2; ++i)
        offset += loadU32(bytes.data() + offset) + 12;
    std::vector<std::uint8_t> flipped = bytes;
    flipped[offset + 20] ^= 0x40;
    JournalContents read = ReadJournal(flipped);
    EXPECT_EQ(read.State, JournalState::Damaged);
    EXPECT_EQ(read.Entries.size(), 2u);
    EXPECT_EQ(read.ValidLength, offset);
    EXPECT_NE(read.Problem.find("CRC"), std::string::npos) << read.Problem;

    // A length damaged upwards but within the file's bytes left would look cut
    // off; the whole entries after it show it is damage.
    std::vector<std::uint8_t> longer = bytes;
    storeU32(longer.data() + offset, static_cast<std::uint32_t>(bytes.size()));
    JournalContents longerRead = ReadJournal(longer);
    EXPECT_EQ(longerRead.State, JournalState::Damaged) << longerRead.Problem;
    EXPECT_EQ(longerRead.Entries.size(), 2u);

    // A length far above the sane maximum, with bytes after it.
    std::vector<std::uint8_t> huge = bytes;
    storeU32(huge.data() + offset, 0xFFFFFFF0u);
    EXPECT_EQ(ReadJournal(huge).State, JournalState::Damaged);
    EXPECT_EQ(ReadJournal(huge).Entries.size(), 2u);
}

TEST(JournalReader, ASequenceNumberOutOfTurnIsDamage)
{
    std::vector<std::uint8_t> bytes = EncodeJournalHeader({1, 2});
    auto append = [&](std::uint32_t sequence) {
        std::vector<std::uint8_t> entry = EncodeJournalEntry(sequence, JournalEntry::NoteDeleted("K1XX"));
        bytes.insert(bytes.end(), entry.begin(), entry.end());
    };
    append(1);
    append(2);
    append(4);
    append(5);
    JournalContents read = ReadJournal(bytes);
    EXPECT_EQ(read.State, JournalState::Damaged);
    EXPECT_EQ(read.Entries.size(), 2u);
    EXPECT_NE(read.Problem.find("sequence number 4"), std::string::npos) << read.Problem;
}

TEST(JournalReader, NoHeaderWhenTooShortOrNotAJournal)
{
    std::vector<std::uint8_t> header = EncodeJournalHeader({123, 456});
    EXPECT_EQ(ReadJournal(std::span(header).first(JournalHeaderSize - 1)).State, JournalState::NoHeader);
    JournalContents empty = ReadJournal(header);
    EXPECT_EQ(empty.State, JournalState::Complete);
    EXPECT_EQ(empty.Identity, (JournalIdentity{123, 456}));
    header[10] ^= 1;
    EXPECT_EQ(ReadJournal(header).State, JournalState::NoHeader);
    EXPECT_EQ(ReadJournal({}).State, JournalState::NoHeader);
}

TEST(JournalIdentity, AJournalNoLongerMatchesALogFileRewrittenSinceItStarted)
{
    test::TempDir dir("journal");
    std::string logFile = dir.file("LOG.VLL");
    test::WriteFile(logFile, "the saved log");
    JournalWriter writer;
    writer.Open(JournalFileName(logFile), LogFileIdentity(logFile));
    writer.Append(JournalEntry::NoteSet("K1XX", "Bob"));
    JournalContents read = ReadJournalFile(dir.file("LOG.VLJ"));
    EXPECT_EQ(read.Identity.Size, 13u);
    EXPECT_TRUE(JournalMatchesLog(read.Identity, logFile));

    // Another program writes a file of the same size: the time tells it apart.
    struct timespec times[2] = {{0, UTIME_OMIT}, {1000, 0}};
    test::WriteFile(logFile, "another log!!");
    ::utimensat(AT_FDCWD, logFile.c_str(), times, 0);
    EXPECT_FALSE(JournalMatchesLog(read.Identity, logFile));
    ::unlink(logFile.c_str());
    EXPECT_FALSE(JournalMatchesLog(read.Identity, logFile));

    writer.Reset(LogFileIdentity(logFile));
    JournalContents reset = ReadJournalFile(dir.file("LOG.VLJ"));
    EXPECT_TRUE(reset.Entries.empty());
    EXPECT_TRUE(JournalMatchesLog(reset.Identity, logFile));
    writer.Remove();
    EXPECT_TRUE(test::ReadFile(dir.file("LOG.VLJ")).empty());
}

TEST(JournalWriter, FailuresThrowAndLeaveTheWholeEntriesReadable)
{
    test::TempDir dir("journal");
    JournalWriter closed;
    EXPECT_THROW(closed.Append(JournalEntry::NoteDeleted("K1XX")), EFileError);

    // A file-size limit in a child: the entry that does not fit throws, the file
    // is cut back to the entries before it and appending goes on after it.
    std::string file = dir.file("LOG.VLJ");
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        JournalWriter writer;
        writer.Open(file, {});
        writer.Append(JournalEntry::NoteSet("K1XX", "Bob"));
        rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::vector<std::pair<TQsoRec, TQsoRec>> many(40, {test::QsoBuilder("K1XX").build(), TQsoRec{}});
        bool threw = false;
        try {
            writer.Append(JournalEntry::BulkChange(many));
        } catch (const EFileError &) {
            threw = true;
        }
        writer.Append(JournalEntry::NoteDeleted("K1XX"));
        ::_exit(threw ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the append beyond the size limit did not throw";
    JournalContents read = ReadJournalFile(file);
    EXPECT_EQ(read.State, JournalState::Complete) << read.Problem;
    ASSERT_EQ(read.Entries.size(), 2u);
    EXPECT_EQ(read.Entries[1].Kind, JournalKind::NoteDeleted);

    // A folder the journal cannot be made in (root may write anyway: not checked then).
    if (::geteuid() != 0) {
        std::string locked = dir.file("locked");
        ::mkdir(locked.c_str(), 0555);
        JournalWriter writer;
        EXPECT_THROW(writer.Open(locked + "/LOG.VLJ", {}), EFileError);
        EXPECT_FALSE(writer.IsOpen());
    }
}

} // namespace
} // namespace vellum
