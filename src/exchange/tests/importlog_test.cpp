// ImportLog with scripted answers over a real log and the default country
// data: the tag rules, the error entries and summary, notes, states and
// counties, the duplicate policies and the prefix/zone question.

#include "importfixture.h"

#include "exchange/importfields.h"
#include "logstore/qsotables.h"
#include "logstore/shortstring.h"

namespace vellum::test {
namespace {

constexpr std::uint8_t Band20 = 5, Band40 = 3, BandSat = 15;
constexpr std::uint8_t ModeCw = 4, ModeSsb = 14, ModeRtty = 13;

TEST_F(ImportTest, TagRulesOfTheRecord)
{
    ImportResult result = import("Test file <EOH>\n"
                                 "<QSO_DATE:8:D>20010203 <TIME_ON:4>1200 <CALL:5>dl1ab <BAND:3>20M <MODE:3>SSB <EOR>\n"
                                 "<qso_date:8>20010203 <time_on:4>1200 <call:5>DL1AC <band:3>20m <mode:2>cw "
                                 "<comment:10>two\r\nlines <eor>\n"
                                 "<QSO_DATE:8>20010203 <TIME_ON:4>1201 <CALL:9>DL1AD-MM <BAND:4>AO13 <MODE:3>A1A "
                                 "<RST_RCVD:3>5nn <RST_SENT:0> <QSL_RCVD:1>Y <SRX:3>042 <TEN_TEN:5>12345 <EOR>\n"
                                 "<QSO_DATE:8>20010203 <TIME_OFF:6>130559 <CALL:7>F5ABC\\P <BAND:3>40m "
                                 "<MODE:5>PSK31 <QSL_SENT:1>Y <EOR>\n");
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    ASSERT_EQ(log->Count(), 4);
    EXPECT_EQ(result.counters.read, 4);
    EXPECT_EQ(result.counters.errors, 0) << log->Get(0)->QsoNote.text();

    const TQsoRec &first = qso(0), &second = qso(1), &third = qso(2), &fourth = qso(3);
    EXPECT_EQ(first.Call, "DL1AB");
    EXPECT_EQ(first.Date, day(2001, 2, 3));
    EXPECT_EQ(second.Date, first.Date) << "QSO_DATE:8:D and qso_date:8 give the same date";
    EXPECT_EQ(first.Time, 12 * 3600);
    EXPECT_EQ(second.Time, 12 * 3600 + 1) << "synthetic seconds keep QSOs of one minute apart";
    EXPECT_EQ(third.Time, 12 * 3600 + 60);
    EXPECT_EQ(fourth.Time, 13 * 3600 + 5 * 60 + 59) << "TIME_OFF serves without TIME_ON; seconds 59 kept";
    EXPECT_EQ(first.Band, Band20);
    EXPECT_EQ(second.Band, Band20);
    EXPECT_EQ(third.Band, BandSat);
    EXPECT_EQ(second.QsoNote.text(), "two|lines");
    EXPECT_EQ(first.RstRcvd, 59) << "absent reports are the mode's default";
    EXPECT_EQ(second.RstSent, 599);
    EXPECT_EQ(third.Call, "DL1AD/MM");
    EXPECT_EQ(third.QslFlags & QslFlag::ValidDX, 0);
    EXPECT_EQ(third.Mode, ModeCw);
    EXPECT_EQ(third.RstRcvd, 599) << "5NN";
    EXPECT_EQ(third.RstSent, 0) << "given but empty";
    EXPECT_TRUE(third.QslFlags & QslFlag::Cnfm);
    EXPECT_EQ(third.Recvd, "042");
    EXPECT_EQ(third.CustAwd, "1010");
    EXPECT_EQ(third.CustValue, "12345");
    EXPECT_EQ(fourth.Call, "F5ABC/P");
    EXPECT_EQ(fourth.Mode, ModeOfName("PSK3"));
    EXPECT_EQ(fourth.QslDate, today) << "QSL_SENT Y without a QSL date";

    // The presets and the country data.
    EXPECT_EQ(first.QslFlags, QslFlag::ValidDX | QslFlag::Label);
    EXPECT_EQ(first.QslMethod, config.DefQSO_Method);
    EXPECT_EQ(countries.CountryPrefix(first.Country), "DL");
    EXPECT_EQ(first.Zone, 14);
    EXPECT_EQ(first.WpxPfx, "DL1");
}

TEST_F(ImportTest, BandsAndFrequencies)
{
    import("<EOH>"
           "<CALL:4>K1AA <QSO_DATE:8>20200101 <TIME_ON:4>0001 <MODE:2>CW <BAND:2>4m <EOR>"
           "<CALL:4>K1AB <QSO_DATE:8>20200101 <TIME_ON:4>0002 <MODE:2>CW <BAND:3>40m <FREQ:6>14.025 <EOR>"
           "<CALL:4>K1AC <QSO_DATE:8>20200101 <TIME_ON:4>0003 <MODE:2>CW <FREQ:8>7,012000 <EOR>"
           "<CALL:4>K1AD <QSO_DATE:8>20200101 <TIME_ON:4>0004 <MODE:2>CW <BAND:4>70CM <EOR>"
           "<CALL:4>K1AE <QSO_DATE:8>20200101 <TIME_ON:4>0005 <MODE:2>CW <BAND:3>40m <FREQ:5>14025 <EOR>"
           "<CALL:4>K1AF <QSO_DATE:8>20200101 <TIME_ON:4>0006 <MODE:2>CW <BAND:5>1.25m <EOR>");
    ASSERT_EQ(log->Count(), 6);
    EXPECT_EQ(qso(0).Band, BandOfName("4m"));
    EXPECT_TRUE(qso(0).QsoNote.empty());
    EXPECT_EQ(qso(1).Band, Band20) << "FREQ names the band more exactly than BAND";
    EXPECT_EQ(qso(1).QsoNote.text(), "Freq=14.025");
    EXPECT_EQ(qso(2).Band, Band40);
    EXPECT_EQ(qso(3).Band, 13);
    EXPECT_EQ(qso(4).Band, Band40) << "a frequency of no band leaves a valid BAND";
    EXPECT_EQ(qso(4).QsoNote.text(), "Error:Band=14025|Freq=14025");
    EXPECT_EQ(qso(5).Band, 12);

    // With the note filter "Frequency" the frequency stays out of the note.
    filter.FilterFreq = 1;
    import("<EOH><CALL:4>K1AG <QSO_DATE:8>20200101 <TIME_ON:4>0007 <MODE:2>CW <FREQ:6>14.025 <STX:3>001 <EOR>");
    EXPECT_TRUE(qso(6).QsoNote.empty());
}

TEST_F(ImportTest, ErrorEntriesAndSummaryTexts)
{
    const char *bad = "<EOH><QSO_DATE:8>20010230 <TIME_ON:2>12 <MODE:4>VARA <CQZ:2>45 <RST_SENT:3>5X9 <EOR>";
    ImportResult result = import(bad);
    ASSERT_EQ(log->Count(), 1);
    EXPECT_EQ(qso(0).QsoNote.text(), "Error:Date=20010230, Time=12, Mode=VARA, Callsign=, Band=, Date=, Time=");
    EXPECT_EQ(qso(0).Date, today);
    EXPECT_EQ(qso(0).Time, 0);
    EXPECT_EQ(qso(0).Mode, ModeSsb);
    EXPECT_EQ(qso(0).Band, Band20);
    EXPECT_EQ(qso(0).Zone, 0);
    EXPECT_EQ(qso(0).RstSent, 59);
    EXPECT_EQ(result.counters.errors, 7);
    EXPECT_EQ(result.counters.simpleErrors, 2);
    EXPECT_EQ(result.summary, "Import Finished\r\rOne QSO  read\r2 Simple errors  processed\r"
                              "No Zone exception  processed\rNo Country exception processed\r"
                              "No Duplicate QSO  processed\rNo Exception record  added\r\r"
                              "7 errors found\rLook for Error in Notefield");
    EXPECT_EQ(lastShown(MessageKind::Information), result.summary);

    // "Simple errors" records them too; a report out of the mode's range is one.
    config.Imp_syntax = true;
    result = import("<EOH><CALL:5>DL1AB <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:3>SSB "
                    "<RST_RCVD:3>599 <STATE:2>ZZ <IOTA:4>E-5X <GRIDSQUARE:3>JO6 <EOR>");
    const TQsoRec &simple = find("DL1AB");
    EXPECT_EQ(simple.RstRcvd, 59);
    EXPECT_EQ(simple.QsoNote.text(), "Error:State=ZZ, IOTA=E-5X, Grid=JO6, rstR=599");
    EXPECT_EQ(result.summary, "Import Finished\r\rOne QSO  read\r4 Simple errors  processed\r"
                              "No Zone exception  processed\rNo Country exception processed\r"
                              "No Duplicate QSO  processed\rNo Exception record  added\r\rNo errors found");
}

TEST_F(ImportTest, NotesOfTheCallAndOfTheQso)
{
    log->Notes.SetNote("DL1ABC", "old note");
    import("<EOH>"
           "<CALL:6>DL1ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <NAME:6> Hans <QTH:6>Berlin "
           "<QSL_VIA:5>DL1XX <NOTES:8>likes CW <COMMENT:10>nice   sig<STX:3>001 <EOR>"
           "<CALL:6>DL1ABC <QSO_DATE:8>20200102 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <NAME:4>Hans <QTH:6>Berlin "
           "<QSL_VIA:5>DL1XX <NOTES:8>likes CW <EOR>"
           "<CALL:5>K1ABC <QSO_DATE:8>20200103 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <NAME:3>Bob <EOR>");
    ASSERT_EQ(log->Count(), 3);
    EXPECT_EQ(log->Notes.NoteOf("DL1ABC"), "old note Hans|Berlin|QSLVIA DL1XX|likes CW")
        << "a note already holding the text is left alone";
    EXPECT_EQ(log->Notes.NoteOf("K1ABC"), "Bob");
    EXPECT_EQ(qso(0).QsoNote.text(), "nice sig|SerNr=001") << "only the last | goes";
    EXPECT_TRUE(qso(1).QsoNote.empty());

    // The note filters "Frequency" and "Import from".
    filter.FilterFreq = 1;
    filter.FilterImport = 1;
    import("<EOH><CALL:5>G4ABC <QSO_DATE:8>20200104 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW " +
           tag("COMMENT", "QRG 14025.5 kHz good Imported from Log.exe") + tag("NOTES", "Imported from X, tnx!  ") +
           "<EOR>");
    EXPECT_EQ(find("G4ABC").QsoNote.text(), "QRG good ");
    EXPECT_EQ(log->Notes.NoteOf("G4ABC"), ", tnx! ");

    // A QSO note that would grow beyond 255 characters is cut and says so.
    filter.FilterFreq = 0;
    std::string longComment(250, 'x');
    ImportResult result = import("<EOH><CALL:5>F5ABC <QSO_DATE:8>20200105 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW "
                                 "<COMMENT:250>" + longComment + " <STX:5>12345 <EOR>");
    const std::string note(find("F5ABC").QsoNote.text());
    EXPECT_EQ(note.size(), 255u);
    EXPECT_EQ(note.substr(0, 38), "Error:Note2=more than 255 characters|x");
    EXPECT_EQ(result.counters.errors, 1);
}

TEST_F(ImportTest, StatesCountiesSectionsAndZones)
{
    // A county of the test: Middlesex, number 17 of MA.
    std::uint8_t key[6] = {5, 'M', 'A', '0', '1', '7'};
    countries.Counties.AddRecord(countries.Counties.MakeRecord(key, "Middlesex").data());
    config.Imp_syntax = true;
    import("<EOH>"
           "<CALL:5>K1ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <STATE:2>ma "
           "<CNTY:12>MA,Middlesex <EOR>"
           "<CALL:5>K1ABD <QSO_DATE:8>20200101 <TIME_ON:4>1201 <BAND:3>20m <MODE:2>CW <ARRL_SECT:3>EMA <EOR>"
           "<CALL:5>K1ABE <QSO_DATE:8>20200101 <TIME_ON:4>1202 <BAND:3>20m <MODE:2>CW <STATE:2>MA "
           "<CNTY:15>NH,Hillsborough <EOR>"
           "<CALL:5>K1ABF <QSO_DATE:8>20200101 <TIME_ON:4>1203 <BAND:3>20m <MODE:2>CW <CNTY:10>MA,Nowhere <EOR>"
           "<CALL:6>DL1ABC <QSO_DATE:8>20200101 <TIME_ON:4>1204 <BAND:3>20m <MODE:2>CW <STATE:2>MA <EOR>"
           "<CALL:5>W6ABC <QSO_DATE:8>20200101 <TIME_ON:4>1205 <BAND:3>20m <MODE:2>CW <CQZ:1>3 <EOR>"
           "<CALL:5>K1ABG <QSO_DATE:8>20200101 <TIME_ON:4>1206 <BAND:3>20m <MODE:2>CW <CNTY:2>MA <EOR>");
    ASSERT_EQ(log->Count(), 7);
    std::int32_t ma = countries.StateIndex("MA");
    EXPECT_EQ(qso(0).State, ma);
    EXPECT_EQ(qso(0).County, 17);
    EXPECT_EQ(qso(0).Zone, countries.StateCqZone(ma)) << "the state's zone";
    EXPECT_TRUE(qso(0).QsoNote.empty()) << qso(0).QsoNote.text();
    EXPECT_EQ(qso(1).State, ma) << "the section's state";
    EXPECT_EQ(qso(2).State, ma);
    EXPECT_EQ(qso(2).QsoNote.text(), "Error:County=NH,Hillsborough(MA)");
    EXPECT_EQ(qso(3).State, ma);
    EXPECT_EQ(qso(3).QsoNote.text(), "Error:County=Nowhere");
    EXPECT_EQ(qso(4).State, 0) << "Germany has no states";
    EXPECT_EQ(qso(4).QsoNote.text(), "Error:State=MA");
    EXPECT_EQ(qso(5).Zone, 3);
    EXPECT_EQ(qso(6).State, ma);
    EXPECT_EQ(qso(6).QsoNote.text(), "Error:County=") << "a county without a name";
}

TEST_F(ImportTest, IotaReferencesAndLocators)
{
    config.Imp_syntax = true;
    const char *file = "<EOH>"
                       "<CALL:5>G4ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <IOTA:4>EU-5 "
                       "<GRIDSQUARE:6>io91WM <EOR>"
                       "<CALL:5>G4ABD <QSO_DATE:8>20200101 <TIME_ON:4>1201 <BAND:3>20m <MODE:2>CW <IOTA:6>eu-005 "
                       "<GRIDSQUARE:8>IO91WM12 <EOR>"
                       "<CALL:5>G4ABE <QSO_DATE:8>20200101 <TIME_ON:4>1202 <BAND:3>20m <MODE:2>CW <IOTA:6>OC-001 <EOR>";
    // The default data has no IOTA list: a well-formed reference is taken.
    import(file);
    ASSERT_EQ(log->Count(), 3);
    EXPECT_EQ(qso(0).Iota, "EU005");
    EXPECT_EQ(qso(0).Grid, "IO91wm");
    EXPECT_EQ(qso(1).Iota, "EU005");
    EXPECT_EQ(qso(1).Grid, "IO91wm");
    EXPECT_EQ(qso(2).Iota, "OC001");

    // With a list, only its references.
    std::vector<std::uint8_t> fixed(41, 0);
    fixed[0] = 5;
    std::copy_n("EU005", 5, fixed.begin() + 1);
    countries.Iota.AddRecord(countries.Iota.MakeRecord(fixed.data(), "British Isles").data());
    log = std::make_unique<TQsoData>(log->Services());
    import(file);
    EXPECT_EQ(qso(0).Iota, "EU005");
    EXPECT_EQ(qso(2).Iota, "");
    EXPECT_EQ(qso(2).QsoNote.text(), "Error:IOTA=OC-001");
}

TEST_F(ImportTest, DuplicatePolicies)
{
    const std::uint16_t date = day(2020, 1, 1);
    addQso("DL1ABC", date, 12 * 3600, Band20, ModeCw);
    std::string file = "<EOH>"
                       "<CALL:5>K1ABC <QSO_DATE:8>20200101 <TIME_ON:6>110000 <BAND:3>20m <MODE:2>CW <EOR>"
                       "<CALL:6>DL1ABC <QSO_DATE:8>20200101 <TIME_ON:6>120000 <BAND:3>20m <MODE:2>CW "
                       "<COMMENT:3>new <EOR>"
                       "<CALL:5>G4ABC <QSO_DATE:8>20200101 <TIME_ON:6>130000 <BAND:3>20m <MODE:2>CW <EOR>";

    // Cancel: nothing is read.
    questions.policies = {std::nullopt};
    ImportResult result = import(file);
    EXPECT_EQ(result.outcome, ImportOutcome::NotStarted);
    EXPECT_EQ(log->Count(), 1);
    EXPECT_TRUE(result.summary.empty());

    // "Issue warning and stop": what came before the duplicate stays.
    questions.policies = {DuplicatePolicy::Stop};
    result = import(file);
    EXPECT_EQ(result.outcome, ImportOutcome::AbortedOnDuplicate);
    EXPECT_EQ(log->Count(), 2);
    EXPECT_EQ(result.counters.read, 2);
    EXPECT_EQ(result.counters.duplicates, 1);
    EXPECT_EQ(result.summary.rfind("Import aborted because of duplicate QSO\rCall = DL1ABC Date = 01/01/20\r\r"
                                   "2 QSOs  read\r", 0), 0u) << result.summary;
    EXPECT_TRUE(log->ViewIndex().Sorted()) << "the Date order browses the master list";

    // "Imported QSO replaces existing QSO": one QSO each, the file's version.
    questions.policies = {DuplicatePolicy::Replace};
    result = import(file);
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    EXPECT_EQ(log->Count(), 3);
    EXPECT_EQ(result.counters.duplicates, 2);
    TQsoRec key;
    key.Call = "DL1ABC";
    key.Date = date;
    key.Time = 12 * 3600;
    key.Band = Band20;
    key.Mode = ModeCw;
    const TQsoRec *replaced = log->FindQso(key);
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(replaced->QsoNote.text(), "new");
    EXPECT_EQ(log->ByCall().Count(), 3);

    // "Imported QSO is ignored": nothing added, every QSO a duplicate, even one
    // the file itself holds twice.
    questions.policies = {DuplicatePolicy::Ignore};
    result = import(file + "<CALL:5>W1ABC <QSO_DATE:8>20200101 <TIME_ON:6>140000 <BAND:3>20m <MODE:2>CW <EOR>"
                           "<CALL:5>W1ABC <QSO_DATE:8>20200101 <TIME_ON:6>140000 <BAND:3>20m <MODE:2>CW <EOR>");
    EXPECT_EQ(log->Count(), 4);
    EXPECT_EQ(result.counters.read, 5);
    EXPECT_EQ(result.counters.duplicates, 4);
    EXPECT_EQ(questions.policyQuestions, 4);

    // Into an empty log nothing is asked and nothing is checked.
    log = std::make_unique<TQsoData>(log->Services());
    result = import(file + file);
    EXPECT_EQ(log->Count(), 6);
    EXPECT_EQ(questions.policyQuestions, 4);
    for (const auto *index : {&log->ViewIndex(), &log->ByCall()})
        EXPECT_TRUE(std::is_sorted(index->begin(), index->end(),
                                   [index](const TQsoRec *a, const TQsoRec *b) { return index->Compare()(a, b) < 0; }));
}

TEST_F(ImportTest, PrefixAndZoneDifferences)
{
    // The program's DL1ABC is in zone 14; the file says 15.
    const std::string file = "<EOH>"
                             "<CALL:6>DL1ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <CQZ:2>15 <EOR>"
                             "<CALL:6>DL1ABC <QSO_DATE:8>20200102 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <CQZ:2>15 <EOR>"
                             "<CALL:5>G4ABC <QSO_DATE:8>20200103 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <EOR>";
    config.imp_action = 0;

    // "VELLUM": own values stay, the difference counts as a zone exception.
    questions.choices = {PrefixZoneChoice::Vellum, PrefixZoneChoice::Vellum};
    ImportResult result = import(file);
    ASSERT_EQ(questions.asked.size(), 2u);
    const PrefixZoneQuestion &asked = questions.asked[0];
    EXPECT_EQ(asked.call, "DL1ABC");
    EXPECT_EQ(asked.date, day(2020, 1, 1));
    EXPECT_EQ(asked.ownPrefix, "DL");
    EXPECT_EQ(asked.ownZone, 14);
    EXPECT_EQ(asked.importedPrefix, "DL");
    EXPECT_EQ(asked.importedZone, 15);
    EXPECT_EQ(qso(0).Zone, 14);
    EXPECT_EQ(result.counters.zoneExceptions, 2);
    EXPECT_TRUE(qso(0).QsoNote.empty()) << "zone differences are recorded only with imp_zone";
    EXPECT_FALSE(countries.CountryModified);

    // "Import": the file's zone, learned as an exception call, so the second
    // QSO of the call is no longer a difference.
    log = std::make_unique<TQsoData>(log->Services());
    questions.asked.clear();
    questions.choices = {PrefixZoneChoice::Import};
    config.imp_zone = true;
    result = import(file);
    EXPECT_EQ(questions.asked.size(), 1u);
    EXPECT_EQ(qso(0).Zone, 15);
    EXPECT_EQ(qso(1).Zone, 15);
    EXPECT_EQ(qso(0).QsoNote.text(), "Error:OtherZone=14");
    EXPECT_EQ(result.counters.exceptionRecords, 1);
    EXPECT_EQ(result.counters.zoneExceptions, 1);
    EXPECT_TRUE(countries.CountryModified);
    EXPECT_EQ(resolver.ZoneOfCall("DL1ABC", day(2020, 6, 1)), 15);

    // "Cancel": the QSO is dropped and the import ends.
    log = std::make_unique<TQsoData>(log->Services());
    questions.choices = {PrefixZoneChoice::Cancel};
    result = import("<EOH><CALL:5>G4ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <EOR>"
                    "<CALL:5>F5ABC <QSO_DATE:8>20200102 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <CQZ:2>40 <EOR>"
                    "<CALL:5>F5ABD <QSO_DATE:8>20200103 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <EOR>");
    EXPECT_EQ(result.outcome, ImportOutcome::Cancelled);
    EXPECT_EQ(log->Count(), 1);
    EXPECT_EQ(qso(0).Call, "G4ABC");
    EXPECT_FALSE(result.summary.empty());
}

TEST_F(ImportTest, DxccThroughThePrefixMap)
{
    const std::string file = "<EOH>"
                             "<CALL:6>DL1ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <DXCC:3>230 <EOR>"
                             "<CALL:6>DL1ABD <QSO_DATE:8>20200101 <TIME_ON:4>1201 <BAND:3>20m <MODE:2>CW <DXCC:3>227 <EOR>"
                             "<CALL:6>DL1ABE <QSO_DATE:8>20200101 <TIME_ON:4>1202 <BAND:3>20m <MODE:2>CW <DXCC:3>999 <EOR>"
                             "<CALL:6>DL1ABF <QSO_DATE:8>20200101 <TIME_ON:4>1203 <BAND:3>20m <MODE:2>CW <DXCC:1>F <EOR>";
    // Without a prefix map a number names no country; a prefix does.
    ImportResult result = import(file);
    EXPECT_EQ(result.counters.errors, 0);
    EXPECT_EQ(result.counters.countryExceptions, 1);
    EXPECT_EQ(qso(3).QsoNote.text(), "Error:OtherPFX=F") << "recorded under imp_prefix";
    EXPECT_EQ(countries.CountryPrefix(qso(3).Country), "DL");

    writePrefixMap("DL   ,230\r\nno comma here\r\nF,227\r\n");
    log = std::make_unique<TQsoData>(log->Services());
    config.imp_action = 2;
    result = import(file);
    ASSERT_EQ(log->Count(), 4);
    EXPECT_EQ(countries.CountryPrefix(qso(0).Country), "DL");
    EXPECT_EQ(countries.CountryPrefix(qso(1).Country), "F") << "accepted and learned";
    EXPECT_EQ(qso(1).QsoNote.text(), "Error:OtherPFX=DL");
    EXPECT_EQ(qso(2).QsoNote.text(), "Error:Prefix=999");
    EXPECT_EQ(result.counters.exceptionRecords, 2);
    EXPECT_EQ(result.counters.errors, 1);
}

TEST_F(ImportTest, DamagedFilesChangeNothingThatWasSafe)
{
    addQso("DL1ABC", day(2020, 1, 1), 0, Band20, ModeCw);
    log->Notes.SetNote("DL1ABC", "keep me");

    // No header end: nothing is read or asked.
    ImportResult result = import("This is a text file <CALL:4>K1AB <EOR>");
    EXPECT_EQ(result.outcome, ImportOutcome::Failed);
    EXPECT_EQ(lastShown(MessageKind::Error),
              "Cannot import test.adi: it has text before its first tag but no end of header <EOH>: it is not an "
              "ADIF file. Nothing was imported.");
    EXPECT_EQ(questions.policyQuestions, 0);
    result = import("<?xml version=\"1.0\"?><ADX><HEADER></HEADER></ADX>");
    EXPECT_EQ(result.outcome, ImportOutcome::Failed);
    EXPECT_NE(lastShown(MessageKind::Error).find("ADX (XML)"), std::string::npos);

    // Binary garbage: told, and the log is as it was.
    std::string garbage;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage += static_cast<char>(seed >> 24);
    }
    for (const std::string &bytes : {garbage, "<" + garbage}) {
        questions.policies = {DuplicatePolicy::Replace};
        import(bytes);
        EXPECT_EQ(find("DL1ABC").Band, Band20);
        EXPECT_EQ(log->Notes.NoteOf("DL1ABC"), "keep me");
    }
    std::int32_t before = log->Count();

    // A length count that runs over the record's end: the record is skipped
    // after an error box, the next one is read (OK) ...
    std::string badCount = "<EOH><CALL:5>K1ABC <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <EOR>\n"
                           "<CALL:5>K1ABD <QSO_DATE:8>20200101 <COMMENT:80>oops <TIME_ON:4>1201 <EOR>\n"
                           "<CALL:5>K1ABE <QSO_DATE:8>20200101 <TIME_ON:4>1202 <BAND:3>20m <MODE:2>CW <EOR>\n";
    questions.policies = {DuplicatePolicy::Stop};
    result = import(badCount);
    EXPECT_EQ(result.outcome, ImportOutcome::Finished);
    EXPECT_EQ(log->Count(), before + 2);
    EXPECT_EQ(result.counters.read, 2);
    std::size_t at = badCount.find("<COMMENT");
    EXPECT_EQ(lastShown(MessageKind::Error),
              "Error reading test.adi: the length count 80 of COMMENT at byte " + std::to_string(at) +
                  " runs over the end of the record; the record is skipped\rCall=K1ABD Date=01/01/20");
    // ... or ends the import (Cancel).
    log = std::make_unique<TQsoData>(log->Services());
    notifier.answers = {Answer::Cancel};
    result = import(badCount);
    EXPECT_EQ(result.outcome, ImportOutcome::Cancelled);
    EXPECT_EQ(log->Count(), 1);

    // A length count past the end of the file, and a file cut inside a record.
    result = import("<EOH><CALL:5>K1ABF <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <EOR>"
                    "<CALL:5>K1ABG <COMMENT:9999>cut");
    EXPECT_NE(lastShown(MessageKind::Error).find("the length count 9999 of COMMENT"), std::string::npos);
    EXPECT_EQ(result.counters.read, 1);
    result = import("<EOH><CALL:5>K1ABH <QSO_DATE:8>20200101 <TIME_ON:4>1200 <BAND:3>20m <MODE:2>CW <EOR>"
                    "<CALL:5>K1ABI <QSO_DATE:8>20200101 <TIME_O");
    EXPECT_EQ(lastShown(MessageKind::Warning),
              "test.adi ends inside a record: the QSO Call=K1ABI Date=01/01/20 has no <EOR> and is not imported");
    EXPECT_EQ(result.counters.read, 1) << "a record without EOR is not counted";

    // Empty records, unknown fields and trailing bytes are no QSOs and no warning.
    notifier.shown.clear();
    result = import("<EOH><EOR><APP_X_Y:1>z <EOR>\r\n\x1A");
    EXPECT_EQ(result.counters.read, 0);
    EXPECT_TRUE(lastShown(MessageKind::Warning).empty());
}

TEST_F(ImportTest, TheLogIsSortedAndMarkedAfterEveryImport)
{
    addQso("DL1ABC", day(2020, 1, 1), 0, Band20, ModeCw);
    log->MarkAwardTablesValid();
    log->MarkSaved();
    std::int32_t view = 0;
    log->SetSortKey(SortKey::Zone, view);
    questions.policies = {DuplicatePolicy::Stop};
    import("<EOH><CALL:4>W1AW <QSO_DATE:8>20190101 <TIME_ON:4>1200 <BAND:3>40m <MODE:4>RTTY <EOR>"
           "<CALL:5>JA1AB <QSO_DATE:8>20210101 <TIME_ON:4>1200 <BAND:3>20m <MODE:3>SSB <EOR>");
    ASSERT_EQ(log->Count(), 3);
    EXPECT_EQ(qso(0).Call, "W1AW");
    EXPECT_EQ(qso(0).Mode, ModeRtty);
    EXPECT_EQ(qso(2).Call, "JA1AB");
    EXPECT_TRUE(log->ByCall().Sorted());
    EXPECT_TRUE(log->ViewIndex().Sorted());
    EXPECT_EQ(log->ViewIndex().Count(), 3);
    log->SetSortKey(SortKey::Date, view);
    EXPECT_TRUE(log->ViewIndex().Sorted()) << "the master list";
    EXPECT_FALSE(log->AwardTablesValid());
    EXPECT_TRUE(log->IsModified());
}

} // namespace
} // namespace vellum::test
