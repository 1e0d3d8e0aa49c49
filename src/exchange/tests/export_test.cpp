// Writing ADIF: the record layout, the export driver with the selection and
// the QSO filter question, and the round trip of a generated log through an
// export and an import into an empty log.

#include "importfixture.h"

#include "exchange/adifwriter.h"
#include "exchange/exportlog.h"
#include "exchange/prefixmap.h"

#include "logstore/fileio.h"
#include "logstore/loggen.h"
#include "logstore/qsotables.h"

namespace vellum::test {
namespace {

std::string readText(const std::filesystem::path &path)
{
    std::vector<std::uint8_t> bytes = ReadWholeFile(path.string());
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(ImportTest, RecordLayout)
{
    TQsoRec qso;
    qso.Call = "DL1ABC";
    qso.Date = day(2001, 2, 3);
    qso.Time = 12 * 3600 + 34 * 60 + 56;
    qso.Band = 5;
    qso.Mode = ModeOfName("PSK3");
    qso.RstSent = 599;
    qso.RstRcvd = 579;
    qso.Recvd = "042";
    qso.Zone = 14;
    qso.Grid = "JO62qm";
    qso.Iota = "EU005";
    qso.QslDate = day(2001, 3, 1);
    qso.QsoNote.set("nice sig");
    log->Notes.SetNote("DL1ABC", "Hans");
    std::string out;
    WriteAdifRecord(out, qso, {countries, log->Notes});
    EXPECT_EQ(out, "<qso_date:8:d>20010203 <time_on:6>123456 <call:6>DL1ABC <mode:3>PSK\r\n"
                   "<submode:5>PSK31 <band:3>20m <rst_sent:3>599 <rst_rcvd:3>579 <SRX:3>042\r\n"
                   "<cqz:2>14 <gridsquare:6>JO62qm <iota:6>EU-005 <qsl_rcvd:1>N <qsl_sent:1>Y\r\n"
                   "<qslsdate:8:d>20010301 <comment:8>nice sig <notes:4>Hans <eor>\r\n");

    // A confirmed QSO of a state and county, with its DXCC number from the map;
    // an unknown time and an empty report are left as they must be.
    std::uint8_t key[6] = {5, 'M', 'A', '0', '1', '7'};
    countries.Counties.AddRecord(countries.Counties.MakeRecord(key, "Middlesex").data());
    TQsoRec us;
    us.Call = "K1ABC";
    us.Date = day(2020, 1, 1);
    us.Time = -1;
    us.Band = 15;
    us.Mode = ModeOfName("CW");
    us.RstRcvd = 1059; // 59A
    us.State = static_cast<std::uint8_t>(countries.StateIndex("MA"));
    us.County = 17;
    us.Country = static_cast<std::int16_t>(countries.CountryIndexOfPrefix("K"));
    us.QslFlags = QslFlag::Cnfm;
    PrefixMap map = PrefixMap::Parse("K,291\n");
    out.clear();
    WriteAdifRecord(out, us, {countries, log->Notes, &map});
    EXPECT_EQ(out, "<qso_date:8:d>20200101 <call:5>K1ABC <dxcc:3>291 <mode:2>CW <band:3>Sat\r\n"
                   "<rst_sent:0> <rst_rcvd:3>59A <cqz:1>0 <state:2>MA <cnty:12>MA,Middlesex\r\n"
                   "<qsl_rcvd:1>Y <eor>\r\n");
    EXPECT_EQ(AdifHeaderLine().rfind("ADIF export of VELLUM <PROGRAMID:6>VELLUM <PROGRAMVERSION:", 0), 0u);
    EXPECT_EQ(AdifHeaderLine().substr(AdifHeaderLine().size() - 7), "<EOH>\r\n");
}

/// A QSO filter of the QSO window that admits calls beginning with DL.
class DlFilter : public ExportQsoFilter {
public:
    bool IsSetUp() const override { return true; }
    bool Matches(const TQsoRec &qso) const override { return qso.Call.view().substr(0, 2) == "DL"; }
};

TEST_F(ImportTest, ExportDriver)
{
    addQso("DL1ABC", day(2020, 1, 1), 0, 5, 4);
    addQso("DL2ABC", day(2020, 1, 2), 0, 5, 4).Group = 2;
    addQso("G4ABC", day(2020, 1, 3), 0, 5, 4);
    writePrefixMap("DL,230\n");
    DlFilter dl;
    ExportContext context{*log, countries, &dl, dir.string()};
    const auto file = dir / "out.adi";

    // Cancel at the QSO filter question writes nothing.
    notifier.answers = {Answer::Cancel};
    ExportResult result = ExportLog(context, file.string(), filter, RecordFormat::Adif);
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(std::filesystem::exists(file));

    // Yes: the QSO filter applies.
    notifier.answers = {Answer::Yes};
    result = ExportLog(context, file.string(), filter, RecordFormat::Adif);
    EXPECT_TRUE(result.written);
    EXPECT_EQ(result.qsos, 2);
    EXPECT_EQ(lastShown(MessageKind::Information), "2 QSOs exported to " + file.string());
    std::string text = readText(file);
    EXPECT_EQ(text.rfind(AdifHeaderLine(), 0), 0u);
    EXPECT_NE(text.find("<call:6>DL2ABC <dxcc:3>230"), std::string::npos);
    EXPECT_EQ(text.find("G4ABC"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 9), "<eor>\r\n\r\n") << "an empty line after the last record";

    // No: every QSO of the selection in force (here: not group 2).
    log->CurSelection.GroupActive = 1;
    log->CurSelection.SetGroup(0, true);
    notifier.answers = {Answer::No};
    result = ExportLog(context, file.string(), filter, RecordFormat::Adif);
    EXPECT_EQ(result.qsos, 2);
    text = readText(file);
    EXPECT_NE(text.find("G4ABC"), std::string::npos);
    EXPECT_EQ(text.find("DL2ABC"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir / "out.~di")) << "the previous file is kept";

    // A file that cannot be written is told; nothing is claimed written.
    result = ExportLog(context, (dir / "missing" / "out.adi").string(), filter, RecordFormat::Adif);
    EXPECT_FALSE(result.written);
    EXPECT_NE(lastShown(MessageKind::Error).find("Nothing was written"), std::string::npos);
}

bool dxMaritime(std::string_view call)
{
    return call.size() >= 3 && (call.substr(call.size() - 3) == "/MM" || call.substr(call.size() - 3) == "/AM");
}

TEST_F(ImportTest, ExportThenImportGivesTheSameQsos)
{
    GeneratorOptions options;
    options.qsos = 6000;
    options.seed = 11;
    GenerateLog(*log, options);
    const auto file = dir / "round.adi";
    ExportContext exportContext{*log, countries, nullptr, dir.string()};
    ASSERT_EQ(ExportLog(exportContext, file.string(), filter, RecordFormat::Adif).qsos, options.qsos);

    TQsoData copy(log->Services());
    ImportContext importContext{copy, countries, resolver, config, questions, dir.string(), today};
    ImportResult result = ImportLog(importContext, file.string(), filter, RecordFormat::Adif);
    ASSERT_EQ(copy.Count(), log->Count());
    EXPECT_EQ(result.counters.simpleErrors, 0);
    EXPECT_EQ(result.counters.zoneExceptions + result.counters.countryExceptions, 0);

    std::int64_t unknownTimes = 0;
    for (std::int32_t i = 0; i < log->Count(); ++i) {
        const TQsoRec &a = *log->Get(i), &b = *copy.Get(i);
        SCOPED_TRACE(a.Call.str() + " " + std::to_string(i));
        // The fields an ADIF record carries come back as they were ...
        EXPECT_EQ(a.Call, b.Call);
        EXPECT_EQ(a.Date, b.Date);
        EXPECT_EQ(a.Band, b.Band);
        EXPECT_EQ(a.Mode, b.Mode);
        EXPECT_EQ(a.RstSent, b.RstSent);
        EXPECT_EQ(a.RstRcvd, b.RstRcvd);
        EXPECT_EQ(a.Recvd, b.Recvd);
        EXPECT_EQ(a.Country, b.Country);
        EXPECT_EQ(a.Zone, b.Zone);
        EXPECT_EQ(a.State, b.State);
        EXPECT_EQ(a.County, b.County);
        EXPECT_EQ(a.Grid, b.Grid);
        EXPECT_EQ(a.Iota, b.Iota);
        EXPECT_EQ(a.QslDate, b.QslDate);
        EXPECT_EQ(a.QslFlags & QslFlag::Cnfm, b.QslFlags & QslFlag::Cnfm);
        EXPECT_EQ(a.WpxPfx, b.WpxPfx);
        // ... except that ADIF knows no unknown time: such a QSO comes back at
        // 00:00:00 with the error in its note.
        if (a.Time < 0) {
            ++unknownTimes;
            EXPECT_EQ(b.Time, 0);
            EXPECT_EQ(b.QsoNote.text(), a.QsoNote.empty() ? std::string("Error:Time=")
                                                           : "Error:Time=|" + std::string(a.QsoNote.text()));
        } else {
            EXPECT_EQ(a.Time, b.Time);
            EXPECT_EQ(a.QsoNote.text(), b.QsoNote.text());
        }
        // The fields ADIF does not carry take the import's presets.
        EXPECT_EQ(b.AwdFlags, 0u);
        EXPECT_EQ(b.QslMethod, config.DefQSO_Method);
        EXPECT_EQ(b.Group, config.DefQSO_Group);
        EXPECT_EQ(b.Satellite, 0);
        EXPECT_EQ(b.PrtSeqNr, 0);
        EXPECT_EQ(b.QslFlags & ~QslFlag::Cnfm,
                  QslFlag::Label | (dxMaritime(b.Call.view()) ? 0 : QslFlag::ValidDX));
    }
    EXPECT_GT(unknownTimes, 0);
    EXPECT_EQ(result.counters.errors, unknownTimes);
    ASSERT_EQ(copy.Notes.Count(), log->Notes.Count());
    for (std::int32_t i = 0; i < log->Notes.Count(); ++i) {
        EXPECT_EQ(copy.Notes.Get(i)->Call, log->Notes.Get(i)->Call);
        EXPECT_EQ(copy.Notes.Get(i)->Text, log->Notes.Get(i)->Text);
    }

    // Importing the export again with "Imported QSO is ignored" adds only what
    // ADIF could not say exactly (the unknown times), and counts every other
    // QSO as a duplicate.
    questions.policies = {DuplicatePolicy::Ignore};
    std::int32_t before = log->Count();
    ImportContext again{*log, countries, resolver, config, questions, dir.string(), today};
    result = ImportLog(again, file.string(), filter, RecordFormat::Adif);
    EXPECT_EQ(result.counters.duplicates, options.qsos - unknownTimes);
    EXPECT_EQ(log->Count(), before + unknownTimes);
}

} // namespace
} // namespace vellum::test
