// "Events calendar" in the program: the File menu's item, adding, deleting and
// cleaning up events, saving and cancelling, and the start-up check.

#include "calendar/Fcalendar.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "logstore/daytime.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

class CalendarWindowTest : public test::ProgramTest {
protected:
    CalendarWindowTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "calendar") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_DateFormat = static_cast<std::uint8_t>(DateFormat::YearMonthDay);
    }

    std::string calendarFile() const { return program.SaveFile("VELLUM.CAL"); }
    void writeEvents(const std::vector<CalEvent> &events)
    {
        EventCalendar calendar;
        for (const CalEvent &event : events)
            calendar.Add(event.startDay, event.endDay, event.note);
        SaveCalendarFile(calendar, calendarFile(), false);
    }
    /// Starts the program and runs its first idle step (the start-up log and checks).
    void start()
    {
        program.Start({RegisterCalendarWindows});
        main->AppIdle();
        QApplication::processEvents();
    }
    TFCalendar *window() const
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *calendar = qobject_cast<TFCalendar *>(widget); calendar && calendar->isVisible())
                return calendar;
        return nullptr;
    }
    TFCalendar *openFromMenu()
    {
        auto *item = main->findChild<QAction *>("Calendar1");
        EXPECT_NE(item, nullptr);
        if (item)
            item->trigger();
        return window();
    }
    template <typename T>
    T *control(const char *name) const { return window()->findChild<T *>(name); }
    QStringList listed() const
    {
        QStringList notes;
        auto *list = control<QListWidget>("LB");
        for (int i = 0; i < list->count(); ++i)
            notes << list->item(i)->text();
        return notes;
    }
    void setDates(const char *start, const char *end)
    {
        control<QLineEdit>("F_start")->setText(QString::fromLatin1(start));
        control<QLineEdit>("F_end")->setText(QString::fromLatin1(end));
    }
    void click(const char *button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    void closeWith(const char *item) { window()->findChild<QAction *>(item)->trigger(); }

    std::uint16_t today = TodayDayNumber();
};

TEST_F(CalendarWindowTest, AddListSaveAndReopen)
{
    start();
    TFCalendar *calendar = openFromMenu();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->windowTitle(), "Events calendar");
    EXPECT_TRUE(listed().isEmpty());
    window()->findChild<QTabWidget *>()->setCurrentIndex(1);

    setDates("2026-12-30", "2027-01-02");
    control<QComboBox>("F_Note")->setEditText("CQ new year contest");
    click("AddBtn");
    setDates("2027-01-01", "2027-01-01");
    control<QComboBox>("F_Note")->setEditText("Straight Key Night, all bands, and a note longer than 40");
    click("AddBtn");
    EXPECT_EQ(control<QComboBox>("F_Note")->count(), 2);
    EXPECT_EQ(calendar->Calendar().At(1).note, "Straight Key Night, all bands, and a not")
        << "a note is cut to 40 characters";

    // A day chosen with Ctrl+Up/Down lists the events that span it.
    window()->findChild<QTabWidget *>()->setCurrentIndex(0);
    control<QLineEdit>("F_today")->setText("2026-12-31");
    QTest::keyClick(control<QLineEdit>("F_today"), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(control<QLineEdit>("F_today")->text(), "2027-01-01");
    EXPECT_EQ(listed(), (QStringList{"CQ new year contest", "Straight Key Night, all bands, and a not"}));
    QTest::keyClick(control<QLineEdit>("F_today"), Qt::Key_Up, Qt::ControlModifier);
    QTest::keyClick(control<QLineEdit>("F_today"), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_TRUE(listed().isEmpty()) << "3 January: after both events";

    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR")) {
        control<QLineEdit>("F_today")->setText("2027-01-01");
        calendar->ListToday();
        calendar->grab().save(QDir(shots).filePath("events-calendar.png"));
    }
    closeWith("SaveExit1");
    QApplication::processEvents();
    EXPECT_EQ(window(), nullptr);
    EventCalendar saved;
    ASSERT_EQ(LoadCalendarFile(saved, calendarFile(), false).state, CalendarFileState::Read);
    EXPECT_EQ(saved.Count(), 2);

    calendar = openFromMenu();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->Calendar().Events(), saved.Events()) << "the file is read when the window opens";
    EXPECT_EQ(openFromMenu(), calendar) << "the window exists at most once";
}

TEST_F(CalendarWindowTest, DatesOutOfOrderAreRefused)
{
    start();
    openFromMenu();
    setDates("2027-01-05", "2027-01-04");
    click("AddBtn");
    EXPECT_EQ(lastMessage(), "Please check your dates");
    EXPECT_EQ(window()->Calendar().Count(), 0);

    // Leaving the start field moves an earlier end date up to it.
    setDates("2027-01-05", "2027-01-04");
    emit control<QLineEdit>("F_start")->editingFinished();
    EXPECT_EQ(control<QLineEdit>("F_end")->text(), "2027-01-05");
    QTest::keyClick(control<QLineEdit>("F_start"), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(control<QLineEdit>("F_end")->text(), "2027-01-06");
}

TEST_F(CalendarWindowTest, DeleteCleanupAndCancel)
{
    std::uint16_t t = today;
    writeEvents({{std::uint16_t(t - 10), std::uint16_t(t - 5), "one"}, {std::uint16_t(t - 9), std::uint16_t(t + 30), "two"},
                 {std::uint16_t(t - 8), std::uint16_t(t - 7), "three"}, {t, t, "today"}});
    start();
    TFCalendar *calendar = openFromMenu();
    ASSERT_NE(calendar, nullptr);
    click("CleanupBtn");
    EXPECT_EQ(calendar->Calendar().Notes(), (std::vector<std::string>{"two", "three", "today"}));
    EXPECT_EQ(control<QComboBox>("F_Note")->currentIndex(), 0);
    EXPECT_EQ(control<QLineEdit>("F_start")->text().toStdString(), FormatDate(t - 9, DateFormat::YearMonthDay, false));

    control<QComboBox>("F_Note")->setCurrentIndex(2);
    click("DeleteBtn");
    EXPECT_EQ(calendar->Calendar().Notes(), (std::vector<std::string>{"two", "three"}));
    EXPECT_EQ(control<QComboBox>("F_Note")->currentIndex(), 1) << "the last entry when the deleted one was last";

    std::vector<std::uint8_t> before = test::ReadFile(calendarFile());
    closeWith("CancelExit1");
    QApplication::processEvents();
    EXPECT_EQ(window(), nullptr);
    EXPECT_EQ(test::ReadFile(calendarFile()), before) << "cancel writes nothing";
}

TEST_F(CalendarWindowTest, SavingAnEmptyCalendarDeletesTheFile)
{
    writeEvents({{100, 100, "old"}});
    start();
    openFromMenu();
    click("DeleteBtn");
    EXPECT_EQ(control<QComboBox>("F_Note")->currentIndex(), -1);
    EXPECT_TRUE(control<QLineEdit>("F_start")->text().isEmpty());
    closeWith("SaveExit1");
    EXPECT_FALSE(std::filesystem::exists(calendarFile()));
}

TEST_F(CalendarWindowTest, StartupCheckOpensTheWindowForTodaysEvent)
{
    writeEvents({{today, today, "Field day"}});
    config.DefQSO_CheckCalendar = true;
    start();
    ASSERT_NE(window(), nullptr) << "an event spans today";
    EXPECT_EQ(listed(), QStringList{"Field day"});
}

TEST_F(CalendarWindowTest, StartupCheckStaysQuietOtherwise)
{
    struct Case {
        const char *what;
        bool check;
        std::vector<CalEvent> events;
    };
    std::uint16_t t = today, later = static_cast<std::uint16_t>(today + 1), last = static_cast<std::uint16_t>(today + 5);
    for (const Case &c : {Case{"setting off", false, {{t, t, "x"}}}, Case{"no event today", true, {{later, last, "x"}}},
                          Case{"no file", true, {}}}) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(calendarFile());
        if (!c.events.empty())
            writeEvents(c.events);
        config.DefQSO_CheckCalendar = c.check;
        start();
        EXPECT_EQ(window(), nullptr);
        main.reset();
    }
}

TEST_F(CalendarWindowTest, ADamagedFileIsReportedAndKeptAside)
{
    test::WriteFile(calendarFile(), std::string_view("CALB\x2e\x00\x05\x00\x00\x00", 10));
    start();
    ASSERT_NE(openFromMenu(), nullptr);
    EXPECT_EQ(notifier.shown.back().kind, MessageKind::Error);
    EXPECT_NE(lastMessage().find("The calendar file is damaged"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(calendarFile() + ".damaged"));
    EXPECT_FALSE(std::filesystem::exists(calendarFile()));
}

} // namespace
} // namespace vellum
