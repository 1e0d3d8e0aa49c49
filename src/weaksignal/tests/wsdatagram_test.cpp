// The datagram reader and the session: each message type, split and malformed
// datagrams, and what reaches the log and the decode sink.

#include "wssender.h"

#include "weaksignal/wssession.h"

#include "config/configrecord.h"
#include "country/resolver.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/report.h"
#include "testsupport/testcountry.h"

#include <gtest/gtest.h>

#include <vector>

namespace vellum::test {
namespace {

TEST(WsDatagram, EachMessageTypeIsRead)
{
    auto status = ReadWsDatagram(StatusDatagram(14074000, "FT8"));
    ASSERT_TRUE(status);
    EXPECT_EQ(status->id, "WSJT-X");
    EXPECT_EQ(std::get<WsStatus>(status->message).dialHz, 14074000u);
    EXPECT_EQ(std::get<WsStatus>(status->message).mode, "FT8");

    auto decode = ReadWsDatagram(DecodeDatagram("CQ DX DL1ABC JO62", -15, 1234));
    ASSERT_TRUE(decode);
    const auto &d = std::get<WsDecode>(decode->message);
    EXPECT_EQ(d.snr, -15);
    EXPECT_EQ(d.deltaHz, 1234u);
    EXPECT_DOUBLE_EQ(d.deltaTime, 0.2);
    EXPECT_EQ(d.message, "CQ DX DL1ABC JO62");

    auto logged = ReadWsDatagram(QsoLoggedDatagram("DL1ABC", 45000000));
    ASSERT_TRUE(logged);
    const auto &q = std::get<WsQsoLogged>(logged->message);
    EXPECT_EQ(q.dxCall, "DL1ABC");
    EXPECT_EQ(q.reportReceived, "+03");
    EXPECT_EQ(q.myGrid, "FN42");
    WsCivilDate day = CivilDateOfJulianDay(q.timeOn.julianDay);
    EXPECT_EQ(day.year * 10000 + day.month * 100 + day.day, 20240401);
    EXPECT_NE(AdifOfLoggedQso(q).find("<QSO_DATE:8>20240401 <TIME_ON:6>123000"), std::string::npos)
        << AdifOfLoggedQso(q);

    auto adif = ReadWsDatagram(LoggedAdifDatagram("<EOH><CALL:4>K1AB<EOR>"));
    ASSERT_TRUE(adif);
    EXPECT_EQ(std::get<WsLoggedAdif>(adif->message).adif, "<EOH><CALL:4>K1AB<EOR>");
    auto heartbeat = ReadWsDatagram(WsWriter(0).u32(3).text("2.6").text("x").bytes);
    ASSERT_TRUE(heartbeat);
    EXPECT_TRUE(std::holds_alternative<WsOther>(heartbeat->message));
}

TEST(WsDatagram, MalformedAndCutDatagramsAreNoMessages)
{
    std::string good = QsoLoggedDatagram("DL1ABC", 45000000);
    std::string wrongMagic = good;
    wrongMagic[0] = 0;
    EXPECT_FALSE(ReadWsDatagram(wrongMagic));
    EXPECT_FALSE(ReadWsDatagram(WsWriter(12, 0).text("x").bytes)) << "schema 0";
    EXPECT_FALSE(ReadWsDatagram(WsWriter(12).u32(0x7FFFFFFF).raw("abc").bytes)) << "a huge length";
    EXPECT_FALSE(ReadWsDatagram(WsWriter(12).u32(WsMaxString + 1).raw(std::string(WsMaxString + 1, 'x')).bytes))
        << "a string longer than any field";
    EXPECT_FALSE(ReadWsDatagram(WsWriter(5).dateTime(-5, 0).bytes)) << "a date no log holds";
    EXPECT_FALSE(ReadWsDatagram(WsWriter(5).u64(April1st2024).u32(0).u8(9).bytes)) << "an unknown time spec";
    // A datagram cut anywhere before its last required field is no message.
    std::size_t optionalTail = test::WsWriter(0).text("K1XX").text("K1XX").text("FN42").text("").text("").bytes.size() -
                               test::WsWriter(0).bytes.size(); // fields a sender of an older schema leaves out
    std::size_t required = good.size() - optionalTail;
    for (std::size_t length = 0; length < required; ++length)
        EXPECT_FALSE(ReadWsDatagram(good.substr(0, length))) << length;
    for (const std::string &whole : {StatusDatagram(7074000, "FT4"), DecodeDatagram("CQ K1ABC FN42", 0, 0)})
        for (std::size_t length = 0; length < 30; ++length)
            EXPECT_FALSE(ReadWsDatagram(whole.substr(0, length))) << length;
}

TEST(WsDatagram, CallOfACqMessage)
{
    EXPECT_EQ(CallOfCq("CQ DL1ABC JO62"), "DL1ABC");
    EXPECT_EQ(CallOfCq("CQ DX K1ABC FN42"), "K1ABC");
    EXPECT_EQ(CallOfCq("CQ POTA <K1ABC/P>"), "K1ABC/P");
    EXPECT_EQ(CallOfCq("CQ 290 W1AW"), "W1AW");
    EXPECT_EQ(CallOfCq("DL1ABC K1ABC -12"), "") << "an answer is no CQ";
    EXPECT_EQ(CallOfCq("CQ"), "");
    EXPECT_EQ(CallOfCq("CQ TEST"), "");
}

class WsSessionTest : public ::testing::Test {
protected:
    WsSessionTest()
    {
        BuildTestCountryData(countries);
        services.notifier = &notifier;
        services.resolver = &resolver;
        log = std::make_unique<TQsoData>(services);
        session = std::make_unique<WeakSignalSession>(WeakSignalLog{*log, countries, resolver, config});
        session->SetDecodeSink([this](const DecodedSpot &spot) { spots.push_back(spot); });
        session->SetLoggedSink([this](const TQsoRec &qso) { logged.push_back(qso.Call.str()); });
    }
    TCountryData countries;
    CountryResolver resolver{countries};
    TConfigRecord config = BuiltInConfig();
    RecordingNotifier notifier;
    LogServices services;
    std::unique_ptr<TQsoData> log;
    std::unique_ptr<WeakSignalSession> session;
    std::vector<DecodedSpot> spots;
    std::vector<std::string> logged;
};

TEST_F(WsSessionTest, LoggedQsosGoToTheLogOnceAndSilently)
{
    session->Handle(QsoLoggedDatagram("QQ1ABC", 45000000));
    session->Handle(LoggedAdifDatagram("<adif_ver:5>3.1.0 <programid:6>WSJT-X <EOH> <call:6>QQ1ABC <mode:3>FT8 "
                                       "<rst_sent:3>-12 <rst_rcvd:3>+03 <qso_date:8>20240401 <time_on:6>123000 "
                                       "<band:3>20m <freq:9>14.075234 <EOR>"));
    session->Handle(LoggedAdifDatagram("<EOH><call:6>XX1ABC <mode:4>MFSK <submode:3>FT4 <rst_sent:3>-03 "
                                       "<qso_date:8>20240401 <time_on:4>1300 <band:3>60m <EOR>"));
    session->Handle(LoggedAdifDatagram("no ADIF at all"));
    session->Handle(LoggedAdifDatagram("<EOH><call:99>QQ1XYZ <EOR>"));
    ASSERT_EQ(log->Count(), 2);
    EXPECT_EQ(logged, (std::vector<std::string>{"QQ1ABC", "XX1ABC"}));
    EXPECT_EQ(session->Counters().duplicates, 1) << "the program sends each QSO twice";
    const TQsoRec &ft8 = *log->Get(0);
    EXPECT_EQ(ModeName(ft8.Mode), "FT8");
    EXPECT_EQ(BandLabel(ft8.Band, false), "20m");
    EXPECT_EQ(DecodeRst(ft8.RstSent), "-12");
    EXPECT_EQ(DecodeRst(ft8.RstRcvd), "+03");
    EXPECT_EQ(ft8.Time, 12 * 3600 + 30 * 60);
    EXPECT_EQ(BandLabel(log->Get(1)->Band, false), "60m");
    EXPECT_EQ(notifier.shown.size(), 0u) << "no box for QSOs nobody imported by hand";
}

TEST_F(WsSessionTest, DecodedCqCallsBecomeSpotsOnTheBandOfTheLastStatus)
{
    session->Handle(DecodeDatagram("CQ QQ1ABC JO62", -10, 1000));
    EXPECT_TRUE(spots.empty()) << "no band before a status";
    session->Handle(StatusDatagram(14074000, "FT8"));
    session->Handle(DecodeDatagram("CQ DX QQ1ABC JO62", -10, 1000));
    session->Handle(DecodeDatagram("QQ1ABC XX1ABC R-05", -3, 800));
    session->Handle(StatusDatagram(5357000, "FT4"));
    session->Handle(DecodeDatagram("CQ XX2AB", 4, 2000));
    std::string junk = DecodeDatagram("CQ XX3AB", 1, 1);
    session->Handle(junk.substr(0, junk.size() - 3));
    ASSERT_EQ(spots.size(), 2u);
    EXPECT_EQ(spots[0].call, "QQ1ABC");
    EXPECT_EQ(BandLabel(spots[0].band, false), "20m");
    EXPECT_EQ(ModeName(spots[0].mode), "FT8");
    EXPECT_DOUBLE_EQ(spots[0].kHz, 14075.0);
    EXPECT_EQ(spots[0].snr, -10);
    EXPECT_EQ(spots[0].seconds, 45015);
    EXPECT_EQ(BandLabel(spots[1].band, false), "60m");
    EXPECT_EQ(ModeName(spots[1].mode), "FT4");
    EXPECT_EQ(session->Counters().datagrams, 7);
    EXPECT_EQ(session->Counters().malformed, 1);
    EXPECT_EQ(session->Counters().spots, 2);
}

} // namespace
} // namespace vellum::test
