// The sun windows in the program: "Country SunRise/Set" following the QSO's
// location, the one-year table and the grey-line list, and their printing.

#include "geo/Fsunwindows.h"

#include "app/testing/Fprogram.h"
#include "testsupport/command.h"
#include "app/windowhost.h"
#include "logstore/daytime.h"
#include "print/Fprintdialog.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"
#include "qso/tests/qsowindowtest.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTimeEdit>

#include <gtest/gtest.h>


namespace vellum {
namespace {

QString sun(std::int32_t seconds) { return QString::fromStdString(SunTimeText(seconds)); }

class SunWindowTest : public test::QsoWindowTest {
protected:
    SunWindowTest() : QsoWindowTest(VELLUM_DEFAULT_DATA_DIR, "sun") {}
    void SetUp() override
    {
        SetHomeInBerlin();
        StartWithNewLog({RegisterQsoWindows, RegisterGeoWindows});
    }
    void TearDown() override { SetPrintSetupAsker(nullptr); }
    QsoEntry &entry() { return *form->Entry(); }
    void setGrid(const char *grid)
    {
        entry().Edit(QsoField::Grid, grid);
        entry().Leave(QsoField::Grid);
        main->Host().RequestRefresh(CompanionId::Sun);
        main->Host().RunIdle();
    }
    TCountryInfo *openSunWindow()
    {
        QAction *item = form->findChild<QAction *>(QStringLiteral("SunRiseSet1"));
        EXPECT_NE(item, nullptr);
        if (item)
            item->trigger();
        main->Host().RunIdle();
        return qobject_cast<TCountryInfo *>(main->Host().Companion(CompanionId::Sun));
    }
    void printTo(const std::string &pdf)
    {
        SetPrintSetupAsker([pdf](QWidget *, PrintSetupChoice &choice) {
            choice.destination = PrintDestination::File;
            choice.fileName = pdf;
            return true;
        });
    }
};

TEST_F(SunWindowTest, CountryWindowFollowsTheQsoLocation)
{
    TCountryInfo *window = openSunWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Info: unknown location");
    EXPECT_EQ(window->Shown("Heading"), "");
    SunTimes home = SunTimesOnDay(TodayDayNumber(), {52.52, 13.405});
    EXPECT_EQ(window->Shown("LocalRise"), sun(home.rise));

    setGrid("FN31pr");
    EXPECT_EQ(window->windowTitle(), "Info: FN31pr");
    auto centre = *GridCentre("FN31pr");
    auto path = *GreatCircle({52.52, 13.405}, centre);
    auto back = *GreatCircle(centre, {52.52, 13.405});
    EXPECT_EQ(window->Shown("Heading"), QString::number(path.bearing) + QChar(0xB0));
    EXPECT_EQ(window->Shown("LongPath"), QString::number((path.bearing + 180) % 360) + QChar(0xB0));
    EXPECT_EQ(window->Shown("Reciprocal"), QString::number(back.bearing) + QChar(0xB0));
    SunTimes dx = SunTimesOnDay(TodayDayNumber(), centre);
    EXPECT_EQ(window->Shown("DXRise"), sun(dx.rise));
    EXPECT_EQ(window->Shown("DXSet"), sun(dx.set));
    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR")) {
        window->resize(260, 200);
        window->grab().save(QDir(shots).filePath("sun-window.png"));
    }

    setGrid("");
    EXPECT_EQ(window->windowTitle(), "Info: unknown location");
    EXPECT_EQ(window->Shown("DXRise"), "");
    EXPECT_EQ(window->Shown("LocalRise"), sun(home.rise)) << "the local times stay";
}

TEST_F(SunWindowTest, CountryWindowFollowsTheClockIntoTheNextDay)
{
    TCountryInfo *window = openSunWindow();
    ASSERT_NE(window, nullptr);
    const GeoPoint berlin{52.52, 13.405};
    const GeoPoint dxPlace = *GridCentre("QF56od");
    QSignalSpy ticks(&main->Host(), &WindowHost::clockTicked);
    setGrid("QF56od");
    EXPECT_GE(ticks.count(), 1) << "a refresh runs the main window's clock update";

    // A later day whose times differ from today's both at home and at the location.
    std::uint16_t today = TodayDayNumber();
    std::uint16_t later = today;
    for (std::uint16_t day = today + 30; day < today + 200 && later == today; ++day)
        if (SunTimesOnDay(day, berlin).rise != SunTimesOnDay(today, berlin).rise &&
            SunTimesOnDay(day, dxPlace).set != SunTimesOnDay(today, dxPlace).set)
            later = day;
    ASSERT_NE(later, today);

    // A new UTC day brings that day's times, at home and at the location.
    main->Host().ClockTicked(later, 5);
    main->Host().RunIdle();
    EXPECT_EQ(window->Shown("LocalRise"), sun(SunTimesOnDay(later, berlin).rise));
    EXPECT_EQ(window->Shown("LocalSet"), sun(SunTimesOnDay(later, berlin).set));
    EXPECT_EQ(window->Shown("DXRise"), sun(SunTimesOnDay(later, dxPlace).rise));
    EXPECT_EQ(window->Shown("DXSet"), sun(SunTimesOnDay(later, dxPlace).set));
    EXPECT_EQ(window->windowTitle(), "Info: QF56od");

    // That refresh ran the main window's clock, which tells the real day: the window follows it back.
    main->Host().RunIdle();
    EXPECT_EQ(window->Shown("LocalRise"), sun(SunTimesOnDay(TodayDayNumber(), berlin).rise));
    EXPECT_EQ(window->Shown("DXSet"), sun(SunTimesOnDay(TodayDayNumber(), dxPlace).set));

    // Closed, the window hears the clock no more.
    window->close();
    QApplication::processEvents();
    main->Host().ClockTicked(later, 5);
    main->Host().RunIdle();
    EXPECT_EQ(main->Host().Companion(CompanionId::Sun), nullptr);
}

TEST_F(SunWindowTest, OneYearTableForTheQsoOrAChosenCountryAndItsPrint)
{
    TCountryInfo *window = openSunWindow();
    ASSERT_NE(window, nullptr);
    setGrid("QF56od");
    TOneYearSRS *table = window->OpenOneYear();
    EXPECT_EQ(window->OpenOneYear(), table) << "one at a time";
    EXPECT_EQ(table->LocationField()->text(), "QF56od");
    ASSERT_EQ(table->Table()->rowCount(), 365);
    std::uint16_t today = TodayDayNumber();
    SunTimes dx = SunTimesOnDay(today + 10, *GridCentre("QF56od"));
    EXPECT_EQ(table->Table()->item(10, 0)->text().toStdString(), FormatDate(today + 10, DateFormat::YearMonthDay, true));
    EXPECT_EQ(table->Table()->item(10, 3)->text(), sun(dx.rise));
    EXPECT_EQ(table->Table()->item(10, 4)->text(), sun(dx.set));

    std::int32_t position = countries.CountryIndexOfPrefix("VK");
    ASSERT_GT(position, 0);
    table->ChooseCountry(position);
    CountryInfo vk = countries.Country(position);
    EXPECT_EQ(table->LocationField()->text().toStdString(), vk.name.substr(0, 20));
    EXPECT_EQ(table->Table()->item(0, 3)->text(), sun(SunTimesOnDay(today, {vk.latitude, vk.longitude}).rise));
    table->Update();
    EXPECT_EQ(table->LocationField()->text(), "QF56od");

    std::string pdf = dir.file("oneyear.pdf");
    printTo(pdf);
    table->Print();
    std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("One Year Sun Rise/Set: QF56od"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find(FormatDate(today + 200, DateFormat::YearMonthDay, true)), std::string::npos);
    EXPECT_NE(text.find("DX Rise"), std::string::npos);
}

TEST_F(SunWindowTest, GreyLineListWithinTheWindowAndItsPrint)
{
    TCountryInfo *window = openSunWindow();
    ASSERT_NE(window, nullptr);
    TCountrySRS *list = window->OpenByDate();
    EXPECT_EQ(window->OpenByDate(), list);
    EXPECT_EQ(list->WindowField()->time(), QTime(0, 10));
    list->DateField()->setDate(QDate(2024, 12, 21));
    list->StepWindow(20);
    EXPECT_EQ(list->WindowField()->time(), QTime(0, 30));
    list->Compute();
    int wide = list->Table()->rowCount();
    ASSERT_GT(wide, 0);
    for (int row = 0; row < wide; ++row) {
        QTime difference = QTime::fromString(list->Table()->item(row, 4)->text(), QStringLiteral("HH:mm"));
        EXPECT_LE(difference, QTime(0, 30)) << list->Table()->item(row, 0)->text().toStdString();
    }
    list->StepWindow(-40);
    EXPECT_EQ(list->WindowField()->time(), QTime(0, 0)) << "the window stays within 00:00 to 23:59";
    list->Compute();
    EXPECT_LT(list->Table()->rowCount(), wide);
    list->StepDay(1);
    EXPECT_EQ(list->DateField()->date(), QDate(2024, 12, 22));

    // At home in the polar night nothing can match.
    config.Personal_Latitude = 80;
    list->StepWindow(600);
    list->Compute();
    EXPECT_EQ(list->Table()->rowCount(), 0);
    config.Personal_Latitude = 52.52;
    list->Compute();
    ASSERT_GT(list->Table()->rowCount(), 0);
    std::string pdf = dir.file("greyline.pdf");
    printTo(pdf);
    list->Print();
    std::string text = test::PdfText(pdf);
    EXPECT_NE(text.find("SunRise and SunSet by Date 2024-12-22"), std::string::npos) << text.substr(0, 400);
    EXPECT_NE(text.find(list->Table()->item(0, 1)->text().toStdString()), std::string::npos);
}

} // namespace
} // namespace vellum
