// Filter imports and exports through the drivers: the round trip through each
// shipped filter field by field, the notations the writer uses, notes files,
// merging another log under each duplicate policy, the converter of a
// "Binary Imp" filter, and vellum-cli import / export / filters.

#include "importfixture.h"

#include "exchange/converter.h"
#include "exchange/exportlog.h"
#include "exchange/filterfile.h"
#include "exchange/filterformats.h"
#include "exchange/filterwriter.h"
#include "exchange/mergelog.h"

#include "logstore/fileio.h"
#include "logstore/qsotables.h"
#include "testsupport/qsobuilder.h"

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace vellum::test {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path &path)
{
    std::vector<std::uint8_t> bytes = ReadWholeFile(path.string());
    return std::string(bytes.begin(), bytes.end());
}

class FilterExchangeTest : public ImportTest {
protected:
    ExportResult exportTo(const fs::path &file)
    {
        ExportContext context{*log, countries, nullptr, dir.string(), &config};
        return ExportLog(context, file.string(), filter, RecordFormat::Filter);
    }
    /// A QSO written through the filter, without its line end.
    std::string line(const TQsoRec &qso)
    {
        std::string out;
        WriteFilterRecord(out, qso, filter, {countries, log->Notes, nullptr, &config});
        return out.substr(0, out.find("\r\n"));
    }
    TQsoRec &add(const std::string &call, int minute, const char *band, const char *mode, int days = 0)
    {
        return addQso(call, static_cast<std::uint16_t>(day(2023, 11, 2) + days), 9 * 3600 + minute * 60,
                      static_cast<std::uint8_t>(BandOfName(band)), static_cast<std::uint8_t>(ModeOfName(mode)));
    }
};

TEST_F(FilterExchangeTest, RoundTripThroughEachShippedFilter)
{
    // Beside the shipped ones, a comma-separated filter with the QSO note on the
    // next line and the call's notes in a notes file.
    for (std::string id : {"CSV", "PAPER", "CSVNOTES"}) {
        SCOPED_TRACE(id);
        SetUp();
        filter = id != "CSVNOTES" ? shippedFilter(id)
                                  : textFilter("NoteExt=NOT\nCallsign=1,String,12\nDate=2,YYYY-MM-DD\nTime=3,HHMM\n"
                                               "Band=4,\"160m, 10m lft\"\nMode=5,\"SSB,AM,FM,PSK3\"\nrstS=6,Number,4\n"
                                               "rstR=7,Number,4\nNote1=1,Note follows QSO,1\n");
        filter.Id = id;
        const char *bands[] = {"160m", "80m", "40m", "20m", "15m", "10m", "6m", "2m", "70cm"};
        const char *modes[] = {"CW", "SSB", "RTTY"};
        const char *calls[] = {"DL1ABC", "K1ABC", "JA1XYZ", "G4ABC", "VK2DEF", "F5GHI"};
        for (int i = 0; i < 27; ++i) {
            TQsoRec &q = add(calls[i % 6] + std::string(i < 6 ? "" : std::to_string(i % 9)), i, bands[i % 9],
                             modes[i % 3], i * 40);
            q.RstSent = i % 3 == 1 ? 57 : 579;
            q.RstRcvd = i % 3 == 1 ? 59 : 599;
            if (i % 2) {
                q.Grid = "JO62qm";
                q.Iota = "EU005";
                q.QslDate = static_cast<std::uint16_t>(q.Date + 30);
                q.QslFlags |= QslFlag::Cnfm;
                q.QsoNote.set("note " + std::to_string(i) + (i % 4 == 1 ? ", \"quoted\"" : ""));
            }
            log->Notes.SetNote(q.Call.view(), "op " + std::to_string(i));
        }
        const fs::path file = dir / (std::string(id) + ".txt");
        ExportResult exported = exportTo(file);
        ASSERT_TRUE(exported.written);
        ASSERT_EQ(exported.qsos, 27);

        TQsoData copy(log->Services());
        ImportContext context{copy, countries, resolver, config, questions, dir.string(), today};
        ImportResult result = ImportLog(context, file.string(), filter, RecordFormat::Filter);
        ASSERT_EQ(copy.Count(), log->Count());
        EXPECT_EQ(result.counters.errors, 0);
        const FieldSpec *specs = filter.FieldSpecs.data();
        for (std::int32_t i = 0; i < log->Count(); ++i) {
            const TQsoRec &a = *log->Get(i), &b = *copy.Get(i);
            SCOPED_TRACE(a.Call.str());
            EXPECT_EQ(a.Call, b.Call);
            EXPECT_EQ(a.Date, b.Date);
            EXPECT_EQ(a.Time, b.Time);
            EXPECT_EQ(a.Band, b.Band);
            EXPECT_EQ(a.Mode, b.Mode);
            EXPECT_EQ(a.RstSent, b.RstSent);
            EXPECT_EQ(a.RstRcvd, b.RstRcvd);
            EXPECT_EQ(a.Country, b.Country);
            if (specs[ImportField::Grid].position) {
                EXPECT_EQ(a.Grid, b.Grid);
                EXPECT_EQ(a.Iota, b.Iota);
                EXPECT_EQ(a.QslDate, b.QslDate);
                EXPECT_EQ(a.QslFlags & QslFlag::Cnfm, b.QslFlags & QslFlag::Cnfm);
                EXPECT_EQ(a.Zone, b.Zone);
            }
            if (specs[ImportField::Note1].format != NoteFormat::WithCall) {
                EXPECT_EQ(a.QsoNote.text(), b.QsoNote.text());
            }
            if (!filter.NoteExt.empty()) { // the call's note, through the notes file
                EXPECT_EQ(log->Notes.NoteOf(a.Call.view()), copy.Notes.NoteOf(b.Call.view()));
            }
        }
        TearDown();
    }
}

TEST_F(FilterExchangeTest, TodaysModesRoundTripThroughTheModeNameColumn)
{
    // The four columns of the mode-name format hold FT8, JS8 ...; longer names are
    // cut (OLIV, MSK1, CONT, DOMI) and read back as the one mode that begins so.
    for (std::string id : {"CSV", "FIXED"}) {
        SCOPED_TRACE(id);
        SetUp();
        filter = id == "CSV" ? shippedFilter(id)
                             : textFilter("Callsign=1,String,12\nDate=13,YYYYMMDD\nTime=22,HHMM\n"
                                          "Band=27,\"160m, 10m lft\"\nMode=32,\"SSB,AM,FM,PSK3\"\n");
        for (int mode = ModeCount; mode < AllModeCount; ++mode)
            add("DL" + std::to_string(mode) + "AB", mode, "20m", ModeName(mode).c_str());
        add("K1ABC", 0, "40m", "PSK3");
        const fs::path file = dir / (id + ".txt");
        ASSERT_TRUE(exportTo(file).written);

        TQsoData copy(log->Services());
        ImportContext context{copy, countries, resolver, config, questions, dir.string(), today};
        ImportResult result = ImportLog(context, file.string(), filter, RecordFormat::Filter);
        EXPECT_EQ(result.counters.errors, 0);
        ASSERT_EQ(copy.Count(), log->Count());
        for (std::int32_t i = 0; i < log->Count(); ++i)
            EXPECT_EQ(ModeName(copy.Get(i)->Mode), ModeName(log->Get(i)->Mode)) << log->Get(i)->Call.str();
        TearDown();
    }
}

TEST_F(FilterExchangeTest, WriterNotations)
{
    TQsoRec q = QsoBuilder("DL1ABC").day(day(2001, 2, 3)).seconds(14 * 3600 + 5 * 60 + 9).band(5).mode(ModeOfName("CW")).build();
    filter.DateChar = '.';
    auto write = [&](int field, FieldSpec spec) {
        filter = ImportFilter{};
        filter.DateChar = '.';
        filter.FieldSpecs[static_cast<std::size_t>(field)] = spec;
        return line(q);
    };
    EXPECT_EQ(write(ImportField::Date, {1, 0, 6}), "010203");
    EXPECT_EQ(write(ImportField::Date, {1, 3, 10}), "02.03.2001");
    EXPECT_EQ(write(ImportField::Date, {1, 7, 11}), "03.Feb.2001");
    EXPECT_EQ(write(ImportField::Date, {1, 12, 8}), "03Feb.01");
    EXPECT_EQ(write(ImportField::Date, {1, 13, 8}), "01\\02\\03");
    EXPECT_EQ(write(ImportField::Date, {1, 15, 7}), "03Feb01");
    EXPECT_EQ(write(ImportField::Date, {1, 16, 10}), "2001-02-03");
    EXPECT_EQ(write(ImportField::Time, {1, TimeFormat::Colon, 5}), "14:05");
    EXPECT_EQ(write(ImportField::Time, {1, TimeFormat::Seconds, 6}), "140509");
    q.Time = -1;
    EXPECT_EQ(write(ImportField::Time, {1, TimeFormat::HourMinute, 4}), "????");
    EXPECT_EQ(write(ImportField::Band, {1, BandFormat::Meters3, 3}), " 20");
    EXPECT_EQ(write(ImportField::Band, {1, BandFormat::MetersM, 4}), "20M");
    EXPECT_EQ(write(ImportField::Band, {1, BandFormat::Code10, 1}), "3");
    EXPECT_EQ(write(ImportField::Band, {1, BandFormat::Code160, 2}), " 4");
    EXPECT_EQ(write(ImportField::Band, {1, BandFormat::FreqKHz, 5}), "14010"); // a CW QSO: lower edge + 10
    EXPECT_EQ(write(ImportField::Band, {1, BandFormat::FreqMHz, 3}), " 14");
    q.Band = 1;
    EXPECT_EQ(write(ImportField::Band, {1, BandFormat::Meters2, 2}), "16");
    EXPECT_EQ(write(ImportField::Mode, {1, ModeFormat::RightAligned, 3}), " CW");
    EXPECT_EQ(write(ImportField::Mode, {1, ModeFormat::LetterCsr, 1}), "C");
    q.Mode = static_cast<std::uint8_t>(ModeOfName("SSB"));
    EXPECT_EQ(write(ImportField::Mode, {1, ModeFormat::CwPhoFsk, 3}), "PHO");
    EXPECT_EQ(write(ImportField::Mode, {1, ModeFormat::Digit1Cw, 1}), "3");
    q.AwdFlags = 0x00000004 | 0x00000800;
    EXPECT_EQ(write(ImportField::DxccMixedAward, {1, AwardFormat::YesNoStar, 1}), "*");
    EXPECT_EQ(write(ImportField::WasBandAward, {1, AwardFormat::OneZeroStar, 1}), "1");
    EXPECT_EQ(write(ImportField::WazBandAward, {1, AwardFormat::YesNoStar, 1}), "N");
    EXPECT_EQ(write(ImportField::QslDate, {1, FlagQsoDate, 1}), "N");
    q.Zone = 5;
    EXPECT_EQ(write(ImportField::Zone, {3, 0, 2}), "   5");

    // RecLen 0 drops the trailing blanks; RecLen 80 gives lines of exactly 80 characters.
    filter = ImportFilter{};
    filter.FieldSpecs[ImportField::Callsign] = {1, 0, 12};
    EXPECT_EQ(line(q), "DL1ABC");
    filter.RecLen = 80;
    EXPECT_EQ(line(q), "DL1ABC" + std::string(74, ' '));
}

TEST_F(FilterExchangeTest, NotesFileOfAnExportAndAnImport)
{
    filter = shippedFilter("PAPER");
    add("DL1ABC", 1, "20m", "CW");
    add("K1ABC", 2, "20m", "CW");
    log->Notes.SetNote("DL1ABC", "Hans, Berlin");
    log->Notes.SetNote("ZZ9ZZ", "not exported");
    const fs::path file = dir / "paper.txt";
    ExportResult result = exportTo(file);
    EXPECT_EQ(result.notes, 1);
    EXPECT_EQ(readText(dir / "paper.NOT"), "DL1ABC,Hans, Berlin\r\n");

    // Imported into a log that knows the call: the text is added after "/".
    TQsoData copy(log->Services());
    copy.Notes.SetNote("DL1ABC", "QSL via bureau");
    ImportContext context{copy, countries, resolver, config, questions, dir.string(), today};
    ImportLog(context, file.string(), filter, RecordFormat::Filter);
    EXPECT_EQ(copy.Notes.NoteOf("DL1ABC"), "QSL via bureau/Hans, Berlin");

    // Without its notes file the QSOs are imported and the user is told.
    fs::remove(dir / "paper.NOT");
    TQsoData third(log->Services());
    ImportContext thirdContext{third, countries, resolver, config, questions, dir.string(), today};
    ImportLog(thirdContext, file.string(), filter, RecordFormat::Filter);
    EXPECT_EQ(third.Count(), 2);
    EXPECT_NE(lastShown(MessageKind::Information).find("no notes file"), std::string::npos);
}

TEST_F(FilterExchangeTest, ExportRefusesAFilterThatRunsPastTheLine)
{
    filter = shippedFilter("PAPER");
    filter.FieldSpecs[ImportField::Recvd] = {254, 0, 5};
    add("DL1ABC", 1, "20m", "CW");
    EXPECT_FALSE(exportTo(dir / "bad.csv").written);
    EXPECT_FALSE(fs::exists(dir / "bad.csv"));
    EXPECT_NE(lastShown(MessageKind::Error).find("runs past column 255"), std::string::npos);
}

class MergeTest : public FilterExchangeTest {
protected:
    /// Writes a log file of two QSOs, one of them also in the open log with another report.
    std::string otherLog()
    {
        TQsoData other(log->Services());
        const std::string file = (dir / "OTHER.VLL").string();
        other.NewLog(file);
        QsoBuilder("DL1ABC").day(day(2023, 11, 2)).seconds(9 * 3600 + 60).band(5).mode(4).reports(339, 339)
            .resolvedBy(resolver).addTo(other);
        QsoBuilder("K1ABC").day(day(2023, 11, 3)).seconds(3600).band(5).mode(4).resolvedBy(resolver).addTo(other);
        other.WriteLog(true);
        return file;
    }
};

TEST_F(MergeTest, EachDuplicatePolicy)
{
    struct Case {
        std::optional<DuplicatePolicy> policy;
        std::int64_t added;
        std::uint16_t report; // of DL1ABC afterwards
    };
    for (Case c : {Case{DuplicatePolicy::Stop, 0, 599}, Case{DuplicatePolicy::Replace, 1, 339},
                   Case{DuplicatePolicy::Ignore, 1, 599}, Case{std::nullopt, 0, 599}}) {
        SCOPED_TRACE(c.policy ? static_cast<int>(*c.policy) : -1);
        SetUp();
        const std::string file = otherLog();
        add("DL1ABC", 1, "20m", "CW");
        questions.policies = {c.policy};
        MergeResult result = MergeLogFile(*log, questions, file);
        EXPECT_EQ(result.added, c.added);
        EXPECT_EQ(find("DL1ABC").RstSent, c.report);
        if (c.policy) {
            EXPECT_EQ(lastShown(MessageKind::Information), (c.added == 1 ? "One QSO added" : "No QSO added"));
        }
        TearDown();
    }
    // Into an empty log nothing is asked.
    SetUp();
    questions.policyQuestions = 0;
    EXPECT_EQ(MergeLogFile(*log, questions, otherLog()).added, 2);
    EXPECT_EQ(questions.policyQuestions, 0);
    EXPECT_EQ(lastShown(MessageKind::Information), "2 QSOs added");
}

class ConverterTest : public FilterExchangeTest {
protected:
    void script(const std::string &name, const std::string &text) const
    {
        std::ofstream(dir / name, std::ios::binary) << text;
    }
    ImportResult convert(const std::string &file, std::chrono::milliseconds limit = std::chrono::seconds(60))
    {
        ImportContext context{*log, countries, resolver, config, questions, dir.string(), today};
        return ImportThroughConverter(context, filter, file, limit);
    }
};

TEST_F(ConverterTest, RunsTheScriptInTheImportDirectoryAndImportsItsOutput)
{
    filter = textFilter("Usage=Binary Imp\nCallsign=1,String,10\nDate=11,YYYYMMDD\nTime=19,HHMM\n"
                        "Band=23,\"160,80,40\"\nMode=26,\"CW,PHO,FSK\"\n");
    filter.Id = "BIN";
    // The script gets the file and the directory as arguments, never through a shell string.
    script("BIN.sh", "test \"$(pwd)\" = \"$2\" || exit 3\ncp \"$1\" export.txt\n");
    const std::string odd = (dir / "name with $(touch pwned) ; quote'.bin").string();
    std::ofstream(odd, std::ios::binary) << "DL1ABC    202405171405 20CW\r\n";
    std::ofstream(dir / "export.txt") << "stale";
    const fs::path before = fs::current_path();
    ImportResult result = convert(odd);
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    EXPECT_EQ(log->Count(), 1);
    EXPECT_FALSE(fs::exists(dir / "pwned"));
    EXPECT_FALSE(fs::exists(before / "pwned"));
}

TEST_F(ConverterTest, FailuresImportNothing)
{
    filter.Id = "NONE";
    EXPECT_EQ(convert("x").outcome, ImportOutcome::Failed);
    EXPECT_EQ(lastShown(MessageKind::Error), "Error executing NONE");

    filter.Id = "../BIN"; // an identifier is no path
    script("BIN.sh", "exit 0\n");
    convert("x");
    EXPECT_EQ(lastShown(MessageKind::Error), "Error executing ../BIN");

    filter.Id = "QUIET";
    script("QUIET.BAT", "exit 0\n");
    std::ofstream(dir / "export.txt") << "stale output of an earlier run";
    convert("x");
    EXPECT_EQ(lastShown(MessageKind::Error), "Conversion failed");
    EXPECT_FALSE(fs::exists(dir / "export.txt"));

    filter.Id = "SLOW";
    script("SLOW.sh", "sleep 30\necho late > export.txt\n");
    auto started = std::chrono::steady_clock::now();
    convert("x", std::chrono::milliseconds(300));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(25));
    EXPECT_NE(lastShown(MessageKind::Error).find("did not end in time"), std::string::npos);
    EXPECT_EQ(log->Count(), 0);
}

/// vellum-cli as a user runs it.
class FilterCommands : public ::testing::Test {
protected:
    int run(const std::string &arguments, std::string *out = nullptr)
    {
        std::string outFile = temp.file("stdout.txt");
        std::string command = std::string(VELLUM_CLI) + " --dir " + temp.file("prog") + " " + arguments + " > " +
                              outFile + " 2> " + temp.file("stderr.txt");
        int status = std::system(command.c_str());
        if (out)
            *out = readText(outFile);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string errors() { return readText(temp.file("stderr.txt")); }
    TempDir temp{"filtercli"};
    const std::string iep = std::string(VELLUM_DEFAULT_DATA_DIR) + "/SAVE/VELLUM.IEP";
};

TEST_F(FilterCommands, ListsImportsAndExports)
{
    std::string out;
    ASSERT_EQ(run("filters --iep " + iep, &out), 0) << errors();
    EXPECT_NE(out.find("{\"id\":\"CSV\",\"usage\":\"Imp/Exp\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"layout\":\"comma-separated\""), std::string::npos) << out;
    EXPECT_NE(out.find("{\"name\":\"Callsign\",\"position\":28,\"format\":\"String\",\"length\":12}"), std::string::npos);

    std::ofstream(temp.file("in.csv"), std::ios::binary) << "CALL,DATE,TIME,BAND,MODE,RST_SENT,RST_RCVD\r\n"
                                                          << "DL1ABC,2024-05-17,1405,20M,CW,599,579\r\n"
                                                          << "K1ABC, 2024-05-17 ,1406,15m,SSB,59,57\r\n";
    const std::string log = temp.file("prog/SAVE/TEST.VLL");
    ASSERT_EQ(run("import " + log + " " + temp.file("in.csv") + " --filter CSV --iep " + iep, &out), 0) << errors();
    EXPECT_NE(out.find("Import Finished"), std::string::npos) << out;
    ASSERT_EQ(run("import " + log + " " + temp.file("in.csv") + " --filter CSV --iep " + iep + " --dupes ignore", &out), 0)
        << errors();
    ASSERT_EQ(run("export " + log + " " + temp.file("out.csv") + " --filter CSV --iep " + iep, &out), 0) << errors();
    EXPECT_EQ(out, "{\"file\":\"" + temp.file("out.csv") + "\",\"qsos\":2,\"notes\":0}\n");
    EXPECT_EQ(readText(temp.file("out.csv")),
              "Callsign,Date,Time,Band,Mode,rstS,rstR,Note1,Grid,Zone,IOTA,QSL Date,Confrm\r\n"
              "DL1ABC,2024-05-17,1405,20M,CW,599,579,,,14,,,N\r\n"
              "K1ABC,2024-05-17,1406,15M,SSB,59,57,,,5,,,N\r\n");

    EXPECT_EQ(run("export " + log + " " + temp.file("x.txt") + " --filter NOPE --iep " + iep), 1);
    EXPECT_NE(errors().find("no filter 'NOPE'"), std::string::npos);
    EXPECT_EQ(run("import " + log + " " + temp.file("x.txt") + " --iep " + iep), 1);
}

} // namespace
} // namespace vellum::test
