#include "logstore/fileio.h"
#include "logstore/logfile.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "testsupport/logfilebuilder.h"
#include "testsupport/qsobuilder.h"
#include "testsupport/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

using test::FileQso;
using test::LogFileBuilder;
using test::TempDir;

/// A resolver with a visible rule: the country is the call's length, the zone
/// its first letter's position, the WPX prefix its first two characters.
class TestResolver : public CallResolver {
public:
    void ResolveCountry(TQsoRec &rec) const override
    {
        rec.Country = static_cast<std::int16_t>(rec.Call.size());
        rec.Zone = rec.Call.empty() ? 0 : static_cast<std::uint8_t>(rec.Call.view()[0] - 'A' + 1);
    }
    std::string WpxPrefix(std::string_view call) const override { return std::string(call.substr(0, 2)); }
};

class TestSettings : public LogSettings {
public:
    bool cycle = true;
    std::uint8_t group = 0;
    bool cycleFiles() const override { return cycle; }
    std::uint8_t defaultGroup() const override { return group; }
    DateFormat dateFormat() const override { return DateFormat::YearMonthDay; }
};

class LogFileTest : public ::testing::Test {
protected:
    void SetUp() override { SetProgramDir(dir.path()); }

    LogServices services() { return {&notifier, nullptr, &resolver, nullptr, nullptr, &settings}; }
    std::unique_ptr<TQsoData> load(const std::string &path, bool expectOk = true)
    {
        auto log = std::make_unique<TQsoData>(services());
        EXPECT_EQ(log->ReadLog(path, LoadMode::Load, DuplicateMode::EmptyLog), expectOk) << lastMessage();
        return log;
    }
    std::string lastMessage() const { return notifier.shown.empty() ? "" : notifier.shown.back().text; }

    TempDir dir;
    RecordingNotifier notifier;
    TestResolver resolver;
    TestSettings settings;
};

FileQso oldQso(const std::string &call, std::uint16_t oldTime, std::uint16_t date)
{
    FileQso q;
    q.call = call;
    q.oldTime = oldTime;
    q.date = date;
    q.band = 5;
    q.mode = 2;
    q.rstRcvd = 599;
    q.rstSent = 579;
    q.iota = "EU123";
    q.grid = "JO31";
    q.qslMethod = 1;
    q.group = 2;
    q.prtSeqNr = 7;
    return q;
}

/// A current log file of one QSO (day 40000) and a note for its call.
LogFileBuilder oneQsoFile(const std::string &call, const std::string &note)
{
    LogFileBuilder b('H');
    FileQso q;
    q.call = call;
    q.date = 40000;
    b.qsos.push_back(q);
    b.notes = {{call, note}};
    return b;
}

TEST_F(LogFileTest, CurrentFormatLoadsEveryFieldAndSection)
{
    LogFileBuilder b('H', 0xCAFEBABE);
    b.groups = {"", "Contest"};
    b.selections.push_back(test::SelectionBytes("Recent", true, 40000, 0xFFFF, true, {1, 254}));
    FileQso q;
    q.call = "DL1ABC";
    q.time = 45296;
    q.date = 45000;
    q.band = 7;
    q.mode = 14;
    q.flags = 0x00000104;
    q.rstRcvd = 57;
    q.rstSent = 59;
    q.state = 3;
    q.iota = "EU056";
    q.county = 12;
    q.grid = "JO62QM";
    q.qslDate = 45010;
    q.qslMethod = 3;
    q.satellite = 1;
    q.group = 1;
    q.prtSeqNr = 42;
    q.recvd = "001";
    q.country = 999; // stored numbers are not trusted
    q.zone = 99;
    q.qslFlags = 0x23;
    q.custAwd = "DOK";
    q.custValue = "B36";
    q.note = "first QSO";
    b.qsos.push_back(q);
    b.notes = {{"DL1ABC", "op Hans"}};
    b.swl = {{"DE1XYZ", 45000, 45296, 7, 14, 1, 1}};
    b.writeTo(dir.file("log.vll"));

    auto log = load(dir.file("log.vll"));
    ASSERT_EQ(log->Count(), 1);
    const TQsoRec &r = *log->Get(0);
    EXPECT_EQ(r.Call, "DL1ABC");
    EXPECT_EQ(r.Time, 45296);
    EXPECT_EQ(r.Date, 45000);
    EXPECT_EQ(r.Band, 7);
    EXPECT_EQ(r.Mode, 14);
    EXPECT_EQ(r.AwdFlags, 0x104u);
    EXPECT_EQ(r.RstRcvd, 57);
    EXPECT_EQ(r.State, 3);
    EXPECT_EQ(r.Iota, "EU056");
    EXPECT_EQ(r.County, 12);
    EXPECT_EQ(r.Grid, "JO62QM");
    EXPECT_EQ(r.QslDate, 45010);
    EXPECT_EQ(r.PrtSeqNr, 42);
    EXPECT_EQ(r.Recvd, "001");
    EXPECT_EQ(r.Country, 6) << "recomputed from the call";
    EXPECT_EQ(r.Zone, 4);
    EXPECT_EQ(r.WpxPfx, "DL");
    EXPECT_EQ(r.QslFlags, 0x23);
    EXPECT_EQ(r.CustAwd, "DOK");
    EXPECT_EQ(r.CustValue, "B36");
    EXPECT_EQ(r.QsoNote.text(), "first QSO");
    EXPECT_EQ(log->LogHeaderWord, 0xCAFEBABEu);
    EXPECT_EQ(log->HighestPrtSeqNr(), 42);
    EXPECT_EQ(log->GroupNames, (std::vector<std::string>{"", "Contest"}));
    ASSERT_EQ(log->Selections.size(), 2u);
    EXPECT_EQ(log->Selections[0].Name, "All QSOs");
    EXPECT_EQ(log->Selections[1].Name, "Recent");
    EXPECT_TRUE(log->Selections[1].HasGroup(254));
    EXPECT_TRUE(log->Selections[1].QrpOnly()) << "group 254 doubles as the QRP filter";
    EXPECT_FALSE(log->Selections[1].YlOnly());
    EXPECT_EQ(log->Notes.NoteOf("DL1ABC"), "op Hans");
    ASSERT_EQ(log->SwlList.Count(), 1);
    EXPECT_EQ(log->SwlList.Get(0)->Printed, 1);
    EXPECT_FALSE(log->IsModified());
    EXPECT_FALSE(log->IsOutOfDate());
    EXPECT_EQ(log->LogFileName, dir.file("log.vll"));
}

TEST_F(LogFileTest, OlderFormatsAreBroughtForward)
{
    // B: flags bits 28/29 cleared on the way; old modes renumbered; no Recvd.
    {
        LogFileBuilder b('B');
        FileQso q = oldQso("K1ABC", 601, 40000);
        q.flags = (1u << 28) | (1u << 29) | 0x4;
        q.recvd = "XX";
        b.qsos.push_back(q);
        b.writeTo(dir.file("b.vll"));
        auto log = load(dir.file("b.vll"));
        ASSERT_EQ(log->Count(), 1);
        const TQsoRec &r = *log->Get(0);
        EXPECT_EQ(r.Time, 600 * 60);
        EXPECT_EQ(r.Mode, 4) << "old CW";
        EXPECT_EQ(r.AwdFlags, 0x4u);
        EXPECT_EQ(r.Recvd, "");
        EXPECT_EQ(r.Satellite, 1) << "satellite 0 becomes no satellite";
        EXPECT_EQ(r.Iota, "EU123");
        EXPECT_EQ(r.Grid, "JO31");
        EXPECT_EQ(r.PrtSeqNr, 7);
        EXPECT_EQ(r.Group, 2);
    }
    // E: band 12 was "Sat"; flag bits become QslFlags.
    {
        LogFileBuilder b('E');
        FileQso q = oldQso("K1ABC", 1, 40000);
        q.band = 12;
        q.mode = 1;
        q.flags = 0x1u | 0x2u | (1u << 31) | (1u << 30) | (1u << 26) | (1u << 27) | 0x10u;
        b.qsos.push_back(q);
        b.writeTo(dir.file("e.vll"));
        auto log = load(dir.file("e.vll"));
        const TQsoRec &r = *log->Get(0);
        EXPECT_EQ(r.Band, 15);
        EXPECT_EQ(r.Mode, 14) << "old SSB";
        EXPECT_EQ(r.Time, 0);
        EXPECT_EQ(r.QslFlags, QslFlag::Cnfm | QslFlag::Label | QslFlag::QRP | QslFlag::YLop | QslFlag::ValidDX);
        EXPECT_EQ(r.AwdFlags, 0x10u);
        EXPECT_TRUE(r.QsoNote.empty());
    }
    // G: current layout, old mode numbering.
    {
        LogFileBuilder b('G', 77);
        FileQso q;
        q.call = "JA1XYZ";
        q.date = 40000;
        q.mode = 1;
        b.qsos.push_back(q);
        q.call = "JA2XYZ";
        q.mode = 3;
        b.qsos.push_back(q);
        b.writeTo(dir.file("g.vll"));
        auto log = load(dir.file("g.vll"));
        EXPECT_EQ(log->Get(0)->Mode, 14);
        EXPECT_EQ(log->Get(1)->Mode, 13);
        EXPECT_EQ(log->LogHeaderWord, 77u);
    }
}

TEST_F(LogFileTest, FormatFKeepsQsosOfOneMinuteApartAndConvertsTenTen)
{
    LogFileBuilder b('F');
    for (int i = 0; i < 61; ++i)
        b.qsos.push_back(oldQso("W" + std::to_string(i), 12 * 60 + 5 + 1, 40000));
    FileQso tenTen = oldQso("ZZ1", 700, 40001);
    tenTen.band = 9;
    tenTen.tenTen = 12345;
    tenTen.flags = (1u << 22) | (1u << 23) | (1u << 27) | 0x40;
    tenTen.note = "ten-ten";
    b.qsos.push_back(tenTen);
    FileQso dropped = oldQso("ZZ2", 701, 40001);
    dropped.tenTen = 999;
    b.qsos.push_back(dropped);
    b.writeTo(dir.file("f.vll"));

    auto log = load(dir.file("f.vll"));
    ASSERT_EQ(log->Count(), 63);
    std::vector<int> seconds;
    for (int i = 0; i < 61; ++i)
        seconds.push_back(log->Get(i)->Time - (12 * 3600 + 5 * 60));
    EXPECT_EQ(seconds.front(), 0);
    EXPECT_EQ(seconds[1], 1);
    EXPECT_EQ(seconds[59], 59);
    EXPECT_EQ(seconds[60], 59) << "the counter stops at 59";

    const TQsoRec *t = log->Get(61);
    EXPECT_EQ(t->CustAwd, "1010");
    EXPECT_EQ(t->CustValue, "12345");
    EXPECT_EQ(t->AwdFlags, 0x04000000u | 0x08000000u | 0x40u);
    EXPECT_EQ(t->QsoNote.text(), "ten-ten");
    EXPECT_EQ(log->Get(62)->CustAwd, "") << "10-10 numbers off 10m are dropped";
    EXPECT_EQ(log->Get(62)->CustValue, "");
}

TEST_F(LogFileTest, FileEndingAfterNotesHasNoSwlRecords)
{
    LogFileBuilder b = oneQsoFile("G4ABC", "x");
    b.omitSwlSection = true;
    b.writeTo(dir.file("short.vll"));
    auto log = load(dir.file("short.vll"));
    EXPECT_EQ(log->Count(), 1);
    EXPECT_EQ(log->SwlList.Count(), 0);
}

TEST_F(LogFileTest, HeaderErrorsAndDamagedBodiesAreReportedWithoutCrashing)
{
    auto expectFailure = [&](const std::vector<std::uint8_t> &bytes, const std::string &text) {
        test::WriteFile(dir.file("bad.vll"), bytes);
        notifier.shown.clear();
        auto log = load(dir.file("bad.vll"), false);
        ASSERT_FALSE(notifier.shown.empty());
        EXPECT_NE(notifier.shown.back().text.find(text), std::string::npos) << notifier.shown.back().text;
        EXPECT_EQ(log->Count(), 0);
    };
    expectFailure({8, 'Z', 'A'}, "too short");
    expectFailure({8, 'Z', 'A', 'P', 'H', 'L', 'O', 'X', 'H'}, "not a log file");
    expectFailure({8, 'Z', 'A', 'P', 'H', 'L', 'O', 'G', 'I', 0, 0}, "(format I)");
    notifier.shown.clear();
    auto missing = load(dir.file("none.vll"), false);
    EXPECT_NE(lastMessage().find("none.vll"), std::string::npos);

    LogFileBuilder b('H');
    for (int i = 0; i < 3; ++i) {
        FileQso q;
        q.call = "K" + std::to_string(i);
        q.date = static_cast<std::uint16_t>(40000 + i);
        q.note = "n";
        b.qsos.push_back(q);
    }
    b.notes = {{"K1", "note"}};
    b.swl = {{"X", 1, 2, 3, 4, 5, 6}};
    auto good = b.bytes();
    // Every cut inside the body is a fatal read error that leaves no QSO behind
    // (read from the bytes: the same reader without a file).
    for (std::size_t n = 9; n < good.size(); ++n) {
        std::span<const std::uint8_t> cut(good.data(), n);
        notifier.shown.clear();
        TQsoData log(services());
        bool ok = ReadLogBytes(log, cut, "cut.vll", LoadMode::Load, DuplicateMode::EmptyLog);
        std::size_t swlStart = good.size() - 4 - 23;
        if (n == swlStart) {
            EXPECT_TRUE(ok) << "a file may end right after the notes";
            continue;
        }
        ASSERT_FALSE(ok) << n;
        EXPECT_NE(lastMessage().find(LogText::FatalRead), std::string::npos);
        EXPECT_EQ(log.Count(), 0);
        EXPECT_EQ(log.ByCall().Count(), 0);
    }
    // A QSO count far beyond the file's size is refused before anything is reserved.
    auto huge = good;
    std::size_t countAt = 9 + 4 + 2 + 2;
    huge[countAt + 3] = 0x7F;
    expectFailure(huge, LogText::FatalRead);
    EXPECT_NE(lastMessage().find("the file claims 2130706435 QSOs of at least 76 bytes at byte 21"), std::string::npos)
        << lastMessage();
}

TEST_F(LogFileTest, BytesLoadAndMergeAsAFileDoesAndKeepTheLogName)
{
    const std::vector<std::uint8_t> bytes = oneQsoFile("K1ABC", "op Al").bytes();

    TQsoData log(services());
    log.LogFileName = "kept.vll";
    ASSERT_TRUE(ReadLogBytes(log, bytes, "memory", LoadMode::Load, DuplicateMode::EmptyLog)) << lastMessage();
    EXPECT_EQ(log.LogFileName, "kept.vll");
    ASSERT_EQ(log.Count(), 1);
    EXPECT_EQ(log.Get(0)->Call.view(), "K1ABC");
    EXPECT_FALSE(log.IsModified());

    // Merging the same bytes again meets the duplicate (a stop is no failure).
    EXPECT_TRUE(ReadLogBytes(log, bytes, "memory", LoadMode::Merge, DuplicateMode::Stop));
    EXPECT_NE(lastMessage().find(LogText::MergeDuplicateQso), std::string::npos) << lastMessage();
    EXPECT_EQ(log.Count(), 1);
    EXPECT_TRUE(ReadLogBytes(log, bytes, "memory", LoadMode::Merge, DuplicateMode::Ignore));
    EXPECT_EQ(log.Count(), 1);

    // A damaged image names its source.
    std::vector<std::uint8_t> damaged(bytes.begin(), bytes.end() - 3);
    TQsoData other(services());
    EXPECT_FALSE(ReadLogBytes(other, damaged, "memory", LoadMode::Load, DuplicateMode::EmptyLog));
    EXPECT_NE(lastMessage().find("memory: "), std::string::npos) << lastMessage();
}

TEST_F(LogFileTest, QsosOutOfOrderInTheFileAreSorted)
{
    LogFileBuilder b('H');
    for (int d : {3, 1, 2}) {
        FileQso q;
        q.call = "K" + std::to_string(d);
        q.date = static_cast<std::uint16_t>(40000 + d);
        b.qsos.push_back(q);
    }
    b.notes = {{"K2", "b"}, {"K1", "a"}};
    b.writeTo(dir.file("order.vll"));
    auto log = load(dir.file("order.vll"));
    ASSERT_EQ(log->Count(), 3);
    EXPECT_EQ(log->Get(0)->Call, "K1");
    EXPECT_EQ(log->Get(2)->Call, "K3");
    EXPECT_TRUE(log->ViewIndex().Sorted()) << "the Date order browses the master list";
    EXPECT_EQ(log->Notes.NoteOf("K1"), "a");
    EXPECT_EQ(log->Notes.NoteOf("K2"), "b");
}

class MergeTest : public LogFileTest {
protected:
    void SetUp() override
    {
        LogFileTest::SetUp();
        LogFileBuilder base('H');
        base.qsos = {qso("AA1A", 1), qso("BB1B", 2), qso("CC1C", 3)};
        base.qsos[1].note = "old note";
        base.notes = {{"AA1A", "op John"}};
        base.swl = {{"SWL1", 40001, 60, 5, 4, 0, 0}};
        base.writeTo(dir.file("base.vll"));
        LogFileBuilder other('H', 555);
        other.groups = {"ignored"};
        other.qsos = {qso("AB1X", 1), qso("BB1B", 2), qso("ZZ1Z", 9)};
        other.qsos[1].note = "new note";
        other.qsos[0].prtSeqNr = 33;
        other.notes = {{"AA1A", "op John"}, {"BB1B", "QSL via buro"}};
        other.swl = {{"SWL1", 40001, 60, 5, 4, 0, 1}};
        other.writeTo(dir.file("other.vll"));
        log = load(dir.file("base.vll"));
    }

    static FileQso qso(const std::string &call, int day)
    {
        FileQso q;
        q.call = call;
        q.date = static_cast<std::uint16_t>(40000 + day);
        q.time = 60;
        q.band = 5;
        q.mode = 4;
        return q;
    }

    bool merge(DuplicateMode mode) { return log->ReadLog(dir.file("other.vll"), LoadMode::Merge, mode); }

    std::unique_ptr<TQsoData> log;
};

TEST_F(MergeTest, StopModeKeepsWhatWasMergedBeforeTheDuplicate)
{
    settings.group = 5;
    EXPECT_TRUE(merge(DuplicateMode::Stop));
    EXPECT_EQ(lastMessage(), "Merge aborted because of duplicate QSO\rCall = BB1B Date = 09-09-07");
    EXPECT_EQ(log->Count(), 4) << "AB1X merged, BB1B collided, ZZ1Z not read";
    const TQsoRec *merged = log->Get(1);
    EXPECT_EQ(merged->Call, "AB1X");
    EXPECT_EQ(merged->PrtSeqNr, 0);
    EXPECT_EQ(merged->Group, 5);
    EXPECT_EQ(log->Notes.NoteOf("BB1B"), "") << "notes are not read after the stop";
    EXPECT_TRUE(log->IsModified());
    EXPECT_FALSE(log->AwardTablesValid());
    EXPECT_EQ(log->LogHeaderWord, 555u);
    EXPECT_EQ(log->GroupNames, (std::vector<std::string>{})) << "merged group names are dropped";
    EXPECT_EQ(log->LogFileName, dir.file("base.vll"));
}

TEST_F(MergeTest, ReplaceAndIgnoreModes)
{
    EXPECT_TRUE(merge(DuplicateMode::Replace));
    EXPECT_EQ(log->Count(), 5);
    std::int32_t end = log->EndOfCall("BB1B");
    ASSERT_GT(end, 0);
    EXPECT_EQ(log->ByCall().Get(end - 1)->QsoNote.text(), "new note");
    EXPECT_FALSE(log->HasCall("XX9X"));
    ASSERT_EQ(log->SwlList.Count(), 1);
    EXPECT_EQ(log->SwlList.Get(0)->Printed, 1) << "the merged SWL record replaced the old";
    EXPECT_EQ(log->Notes.NoteOf("AA1A"), "op John") << "a text already present is not repeated";
    EXPECT_EQ(log->Notes.NoteOf("BB1B"), "QSL via buro");

    log = load(dir.file("base.vll"));
    EXPECT_TRUE(merge(DuplicateMode::Ignore));
    EXPECT_EQ(log->Count(), 5);
    end = log->EndOfCall("BB1B");
    EXPECT_EQ(log->ByCall().Get(end - 1)->QsoNote.text(), "old note");
    EXPECT_EQ(log->SwlList.Get(0)->Printed, 0);
    // The indexes are in order after a merge.
    for (std::int32_t i = 0; i + 1 < log->ByCall().Count(); ++i)
        EXPECT_LE(CompareCallOrder(log->ByCall().Get(i), log->ByCall().Get(i + 1)), 0);
}

TEST_F(MergeTest, MergedNotesAreJoinedWithASlash)
{
    log->Notes.SetNote("BB1B", "op Bob");
    EXPECT_TRUE(merge(DuplicateMode::Ignore));
    EXPECT_EQ(log->Notes.NoteOf("BB1B"), "op Bob/QSL via buro");
}

TEST_F(LogFileTest, WriteLogRoundTripsByteForByteAndKeepsAGeneration)
{
    LogFileBuilder b('H', 0x01020304);
    b.groups = {"", "G1"};
    b.selections.push_back(test::SelectionBytes("Sel", true, 1, 2, false, {3}));
    for (int i = 0; i < 20; ++i) {
        FileQso q;
        q.call = "CALL" + std::to_string(i);
        q.country = static_cast<std::int16_t>(q.call.size()); // what the resolver gives
        q.zone = 3;
        q.date = static_cast<std::uint16_t>(40000 + i);
        q.note = i % 3 ? "" : "note " + std::to_string(i);
        q.iota = "EU1";
        b.qsos.push_back(q);
    }
    b.notes = {{"CALL1", "a"}, {"CALL2", "b"}};
    b.swl = {{"S", 1, 2, 3, 4, 5, 0}};
    auto bytes = b.bytes();
    // The builder fills unused string bytes with 0xEE; this system writes zeros.
    auto log = std::make_unique<TQsoData>(services());
    test::WriteFile(dir.file("in.vll"), bytes);
    ASSERT_TRUE(log->ReadLog(dir.file("in.vll"), LoadMode::Load, DuplicateMode::EmptyLog));
    log->LogFileName = dir.file("out.vll");
    log->WriteLog(true);
    auto written = test::ReadFile(dir.file("out.vll"));
    ASSERT_EQ(written.size(), bytes.size());
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin(), written.begin() + 9),
              (std::vector<std::uint8_t>{8, 'Z', 'A', 'P', 'H', 'L', 'O', 'G', 'H'}));

    // Reading what was written and writing it again gives the same bytes.
    auto again = load(dir.file("out.vll"));
    again->SetModified();
    again->WriteLog(true);
    EXPECT_EQ(test::ReadFile(dir.file("out.vll")), written);
    EXPECT_EQ(test::ReadFile(dir.file("out.~ll")), written) << "the previous generation is kept";
    EXPECT_FALSE(again->IsModified());
    EXPECT_FALSE(again->IsOutOfDate());
}

TEST_F(LogFileTest, BackupWriteAndFlagsFollowTheStateTable)
{
    CreateProgramDirs();
    TQsoData log(services());
    log.NewLog(dir.file("SAVE/new.vll"));
    EXPECT_TRUE(log.IsModified());
    EXPECT_TRUE(log.IsOutOfDate());
    test::QsoBuilder("W1AW").day(40000).addTo(log);
    log.WriteLog(false);
    EXPECT_TRUE(std::filesystem::exists(BackupFileName(BackupFile::Log)));
    EXPECT_FALSE(log.IsModified());
    EXPECT_TRUE(log.IsOutOfDate());
    EXPECT_FALSE(std::filesystem::exists(dir.file("SAVE/new.vll")));
    log.CloseLog(true);
    EXPECT_TRUE(std::filesystem::exists(dir.file("SAVE/new.vll")));
    EXPECT_FALSE(log.IsOutOfDate());
    EXPECT_TRUE(log.LogFileName.empty());
}

TEST_F(LogFileTest, SavingAnEmptyLogDeletesTheFile)
{
    LogFileBuilder b('H');
    FileQso q;
    q.call = "K1ABC";
    q.date = 40000;
    b.qsos.push_back(q);
    b.writeTo(dir.file("one.vll"));
    auto log = load(dir.file("one.vll"));
    log->DeleteQso(log->Get(0));
    log->WriteLog(true);
    EXPECT_FALSE(std::filesystem::exists(dir.file("one.vll")));
    EXPECT_EQ(notifier.shown.back().kind, MessageKind::Warning);
    EXPECT_NE(lastMessage().find("one.vll"), std::string::npos);
    EXPECT_TRUE(log->IsModified()) << "flags stay as they were";
}

TEST_F(LogFileTest, AFailedSaveLeavesTheOldFileAndTheFlags)
{
    LogFileBuilder b('H');
    FileQso q;
    q.call = "K1ABC";
    q.date = 40000;
    b.qsos.push_back(q);
    b.writeTo(dir.file("keep.vll"));
    auto before = test::ReadFile(dir.file("keep.vll"));
    auto log = load(dir.file("keep.vll"));
    log->SetModified();
    log->LogFileName = dir.file("no-such-dir/keep.vll");
    EXPECT_THROW(log->WriteLog(true), EFileError);
    EXPECT_TRUE(log->IsModified());
    EXPECT_EQ(test::ReadFile(dir.file("keep.vll")), before);
}

} // namespace
} // namespace vellum
