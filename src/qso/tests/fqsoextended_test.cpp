// Today's modes and bands typed into the QSO window: every extended mode with its
// report kind (dB reports as "-12"), every extended band, and the refused reports.

#include "qsoformtest.h"

#include "logstore/qsotables.h"
#include "logstore/report.h"

namespace vellum {
namespace {

class ExtendedQsoTest : public QsoFormTest {
protected:
    /// An off-line QSO in the chosen mode and band, with the reports typed when given.
    void addQso(int number, const char *sent, const char *received)
    {
        type("FQso_Call", QStringLiteral("K%1A%2").arg(number % 10).arg(QChar('A' + number / 10)));
        leave("FQso_Call");
        if (sent) {
            type("Fqso_rsts", QString::fromLatin1(sent));
            type("fqso_rstr", QString::fromLatin1(received));
        }
        type("FQso_Date", "2024-03-01");
        type("FQso_Time", QStringLiteral("10:%1").arg(number, 2, 10, QChar('0')));
        enter();
    }
    const TQsoRec *last() { return log().Count() ? log().Get(log().Count() - 1) : nullptr; }
};

TEST_F(ExtendedQsoTest, EveryExtendedModeWithItsReports)
{
    entry().AddOffline();
    int number = 0;
    for (int mode = ModeCount; mode < AllModeCount; ++mode, ++number) {
        std::string name = ModeName(mode);
        chooseMode(name.c_str());
        bool dB = ModeInfoOf(mode).dbReport;
        EXPECT_EQ(field("Fqso_rsts")->text().toStdString(), DecodeRst(DefaultReport(mode))) << name;
        addQso(number, dB ? "-12" : nullptr, "+05");
        ASSERT_EQ(log().Count(), number + 1) << name << ": " << lastMessage();
        EXPECT_EQ(last()->Mode, mode);
        if (dB) {
            EXPECT_EQ(DecodeRst(last()->RstSent), "-12") << name;
            EXPECT_EQ(DecodeRst(last()->RstRcvd), "+05") << name;
        } else {
            EXPECT_EQ(last()->RstSent, DefaultReport(mode)) << name;
        }
    }
    // Reports a dB mode does not take, and a dB report in an RST mode.
    chooseMode("FT8");
    for (const char *bad : {"599", "-55"}) {
        addQso(90, bad, "-10");
        EXPECT_EQ(lastMessage(), "Invalid Combination of Mode and RST") << bad;
    }
    chooseMode("CW");
    addQso(91, "-10", "599");
    EXPECT_EQ(lastMessage(), "Invalid Combination of Mode and RST");
    EXPECT_EQ(log().Count(), AllModeCount - ModeCount);
}

TEST_F(ExtendedQsoTest, EveryExtendedBand)
{
    entry().AddOffline();
    chooseMode("CW");
    int number = 0;
    for (int band = BandCount; band < AllBandCount; ++band, ++number) {
        chooseBand(BandLabel(band, false).c_str());
        addQso(number, nullptr, nullptr);
        ASSERT_EQ(log().Count(), number + 1) << BandLabel(band, false) << ": " << lastMessage();
        EXPECT_EQ(last()->Band, band);
    }
    // Browsing shows a stored QSO's extended band and mode again.
    entry().ShowQso(log().Get(0));
    EXPECT_EQ(list("Fqso_bandx")->currentText().toStdString(), BandLabel(log().Get(0)->Band, false));
    EXPECT_EQ(list("Fqso_modex")->currentText(), "CW");
}

} // namespace
} // namespace vellum
