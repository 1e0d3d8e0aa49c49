// "Country Editor" in the program: the Databases menu's item, the page guard,
// editing a country's fields, mappings and calls, the check's messages, the
// merge, and leaving with Save (the file written) or Cancel (the file read again).

#include "ctyeditor/Fctyed.h"

#include "app/programcontext.h"
#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "country/countryfile.h"
#include "country/managers.h"
#include "logstore/daytime.h"
#include "testsupport/Fwindowtest.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace vellum {
namespace {

class CountryEditorWindowTest : public test::ProgramTest {
protected:
    CountryEditorWindowTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "ctyed") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_UserLevel = 2;
        config.Personal_DateFormat = static_cast<std::uint8_t>(DateFormat::YearMonthDay);
        program.Start({RegisterCountryEditorWindows});
    }
    /// The editor over the program's country data, shown without its own event loop.
    std::unique_ptr<TFctyed> open(std::function<QString(QWidget *)> chooser = nullptr)
    {
        TFctyed::Options options;
        options.dateFormat = DateFormat::YearMonthDay;
        options.chooseOtherFile = std::move(chooser);
        auto editor = std::make_unique<TFctyed>(countries, notifier, std::move(options), main.get());
        editor->show();
        return editor;
    }
    template <typename T>
    static T *control(TFctyed &editor, const char *name) { return editor.findChild<T *>(name); }
    static void setCell(QTableWidget *grid, int row, int column, const char *text)
    {
        grid->item(row, column)->setText(QString::fromLatin1(text));
    }
    std::int32_t country(const char *prefix) const { return countries.CountryIndexOfPrefix(prefix); }
    std::vector<std::uint8_t> fileBytes() const { return ReadWholeFile(CountryFileName()); }
};

TEST_F(CountryEditorWindowTest, MappingsPageWithRowsOfAnotherCountry)
{
    // A dated "DA" mapping of Austria: the German "DA" row shows it read-only.
    countries.Mappings.AddCopy(
        MappingInfo{"DA", static_cast<std::int16_t>(country("OE")), 15, 10000, 20000}.Encode().data());
    auto editor = open();
    editor->ShowCountry(country("DL"));
    EXPECT_EQ(control<QLineEdit>(*editor, "F_Prefix")->text(), "DL");
    EXPECT_EQ(editor->Pages()->currentIndex(), TFctyed::DetailsPage);

    // The page guard: a Mappings command on another page only switches to its page.
    editor->AddMappingClick();
    EXPECT_EQ(lastMessage(), "Command not executed!\rSwitching to correct page");
    EXPECT_EQ(editor->Pages()->currentIndex(), TFctyed::MappingsPage);
    auto *grid = control<QTableWidget>(*editor, "MapGrid");
    int rows = grid->rowCount();
    bool foreignRow = false;
    for (int row = 0; row < rows; ++row)
        if (grid->item(row, 4)->text() == "OE") {
            foreignRow = true;
            EXPECT_EQ(grid->item(row, 0)->text(), "DA");
            EXPECT_EQ(grid->item(row, 2)->text().toStdString(), FormatDate(10000, DateFormat::YearMonthDay, false));
            EXPECT_FALSE(grid->item(row, 0)->flags() & Qt::ItemIsEditable) << "rows of other countries are read-only";
        }
    EXPECT_TRUE(foreignRow);

    editor->AddMappingClick();
    ASSERT_EQ(grid->rowCount(), rows + 1);
    setCell(grid, rows, 0, "dq7xy");
    setCell(grid, rows, 1, "14");
    setCell(grid, rows, 2, "2001-02-03");
    test::SaveScreenshot(editor.get(), "country-editor-mappings.png");
    editor->UpdateMappingsClick();
    MappingInfo stored;
    for (const Record *record : countries.Mappings)
        if (MappingInfo::Decode(record).prefix == "DQ7X")
            stored = MappingInfo::Decode(record);
    EXPECT_EQ(stored.prefix, "DQ7X") << "stored upper case, cut to 4";
    EXPECT_EQ(stored.country, country("DL"));
    EXPECT_EQ(stored.startDate, *DayNumber(2001, 2, 3));
    EXPECT_EQ(stored.endDate, 0xFFFF) << "a blank end date is none";

    // A zone out of range is refused with its reason; nothing changes.
    editor->AddMappingClick();
    setCell(grid, grid->rowCount() - 1, 0, "DQ8");
    editor->UpdateMappingsClick();
    EXPECT_EQ(lastMessage(), "The mapping DQ8 needs a CQ zone between 1 and 40");
}

TEST_F(CountryEditorWindowTest, DetailsFieldsWriteTheRecordAndSaveWritesTheFile)
{
    std::vector<std::uint8_t> before = fileBytes();
    auto editor = open();
    editor->ShowCountry(country("DL"));
    CountryInfo germany = countries.Country(country("DL"));
    EXPECT_EQ(control<QComboBox>(*editor, "F_Continent")->currentText(), "Europe");
    EXPECT_EQ(control<QComboBox>(*editor, "F_LongitudeSign")->currentText(), germany.longitude < 0 ? "West" : "East");
    control<QLineEdit>(*editor, "F_Name")->setText("Germany (edited)");
    control<QLineEdit>(*editor, "F_Utc")->setText("3.5");
    control<QComboBox>(*editor, "F_UtcSign")->setCurrentIndex(1);
    control<QLineEdit>(*editor, "F_Iota")->setText("eu005");
    editor->UpdateCountryClick();
    CountryInfo edited = countries.Country(country("DL"));
    EXPECT_EQ(edited.name, "Germany (edited)");
    EXPECT_DOUBLE_EQ(edited.utcOffset, -3.5) << "Behind is a negative offset";
    EXPECT_EQ(edited.iota, "EU005");
    EXPECT_DOUBLE_EQ(edited.latitude, germany.latitude);

    control<QLineEdit>(*editor, "F_Zone")->setText("41");
    editor->UpdateCountryClick();
    EXPECT_EQ(lastMessage(), "The CQ zone must lie between 1 and 40");
    control<QLineEdit>(*editor, "F_Zone")->setText("14");
    control<QLineEdit>(*editor, "F_Start")->setText("2001-01-02");
    control<QLineEdit>(*editor, "F_End")->setText("2001-01-01");
    editor->UpdateCountryClick();
    EXPECT_EQ(lastMessage(), "The end date lies before the start date");

    EXPECT_EQ(fileBytes(), before) << "the file is written only on leaving";
    control<QAction>(*editor, "SaveExit1")->trigger();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_FALSE(countries.CountryModified);
    TCountryData saved;
    ReadCountryBytes(fileBytes(), saved);
    EXPECT_EQ(saved.Country(saved.CountryIndexOfPrefix("DL")).name, "Germany (edited)");
}

TEST_F(CountryEditorWindowTest, CancelReadsTheFileAgain)
{
    std::vector<std::uint8_t> before = CountryFileBytes(countries);
    auto editor = open();
    editor->ShowCountry(country("OE"));
    editor->Pages()->setCurrentIndex(TFctyed::CallsPage);
    editor->AddCallClick();
    auto *grid = control<QTableWidget>(*editor, "CallGrid");
    setCell(grid, grid->rowCount() - 1, 0, "OE0CANCEL");
    setCell(grid, grid->rowCount() - 1, 1, "15");
    editor->UpdateCallsClick();
    editor->Pages()->setCurrentIndex(TFctyed::DetailsPage);
    editor->AddCountryClick();
    ASSERT_NE(CountryFileBytes(countries), before);

    control<QAction>(*editor, "CancelExit1")->trigger();
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(CountryFileBytes(countries), before) << "the data is the file's again";
    EXPECT_FALSE(countries.CountryModified);
    EXPECT_EQ(countries.CountryIndexOfPrefix("ZZZZ"), -1);
}

TEST_F(CountryEditorWindowTest, CheckMessagesLeadToTheirCountry)
{
    countries.Mappings.AddCopy(
        MappingInfo{"OE9", static_cast<std::int16_t>(country("OE")), 15, 5000, 4000}.Encode().data());
    auto editor = open();
    control<QAction>(*editor, "Check1")->trigger();
    EXPECT_EQ(editor->Pages()->currentIndex(), TFctyed::MessagesPage);
    auto *list = control<QListWidget>(*editor, "MessageList");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "M-start > M-end OE      OE9    ");
    EXPECT_EQ(list->item(1)->text(), "End of error listing");

    editor->MessageActivated(0);
    EXPECT_EQ(control<QLineEdit>(*editor, "F_Prefix")->text(), "OE");
    EXPECT_EQ(editor->Pages()->currentIndex(), TFctyed::MappingsPage);
    auto *grid = control<QTableWidget>(*editor, "MapGrid");
    EXPECT_EQ(grid->item(grid->currentRow(), 0)->text(), "OE9");
}

TEST_F(CountryEditorWindowTest, MovingAndFindingCountries)
{
    auto editor = open();
    auto *prefix = control<QLineEdit>(*editor, "F_Prefix");
    EXPECT_EQ(prefix->text().toStdString(), countries.CountryPrefix(1)) << "the editor starts with country 1";
    control<QAction>(*editor, "Next1")->trigger();
    EXPECT_EQ(prefix->text().toStdString(), countries.CountryPrefix(2));
    control<QAction>(*editor, "Last1")->trigger();
    EXPECT_EQ(prefix->text().toStdString(), countries.CountryPrefix(countries.CountryCount() - 1));
    control<QAction>(*editor, "First1")->trigger();
    control<QAction>(*editor, "Previous1")->trigger();
    EXPECT_EQ(prefix->text().toStdString(), countries.CountryPrefix(1));

    // Find: the "Prefix" pick list; typing a name and Enter shows that country.
    QString title;
    QTimer::singleShot(0, [&] {
        QWidget *list = QApplication::activeModalWidget();
        if (!list)
            return;
        title = list->windowTitle();
        QTest::keyClicks(list, "AUSTRIA");
        QTest::keyClick(list, Qt::Key_Return);
    });
    control<QAction>(*editor, "Find1")->trigger();
    EXPECT_EQ(title, "Prefix");
    EXPECT_EQ(prefix->text(), "OE");
}

TEST_F(CountryEditorWindowTest, MergeAsksEachStep)
{
    TCountryData other;
    ReadCountryBytes(fileBytes(), other);
    other.Managers.AddCopy(ManagerInfo{"VP8MRG", 0, "G0MRG"}.Encode().data());
    other.AddExceptionCall("OE0MRG", static_cast<std::int16_t>(other.CountryIndexOfPrefix("OE")), 15, 0);
    std::string otherFile = dir.file("OTHER.CTY");
    WriteCountryFile(other, otherFile, false);
    notifier.answers = {Answer::No, Answer::Yes, Answer::Yes, Answer::No};
    auto editor = open([&](QWidget *) { return QString::fromStdString(otherFile); });
    control<QAction>(*editor, "Merge1")->trigger();
    auto *list = control<QListWidget>(*editor, "MessageList");
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    EXPECT_EQ(lines.first(), "Merge Exception Calls (Skipped)");
    EXPECT_TRUE(lines.contains("Merge QSL Managers"));
    EXPECT_TRUE(lines.contains("Added    VP8MRG        " + QString::fromStdString(FormatDate(0, DateFormat::YearMonthDay, false)) +
                               " G0MRG       "));
    EXPECT_EQ(lines.last(), "Merge complete");
    EXPECT_EQ(ManagerOf(countries, "VP8MRG", 100), "G0MRG");
    EXPECT_EQ(countries.Exceptions.IndexOfKey(ExceptionInfo{"OE0MRG", 0, 0, 0}.Encode().data()), -1);
}

TEST_F(CountryEditorWindowTest, MenuItemFollowsTheUserLevelAndTheOpenLog)
{
    auto *item = main->findChild<QAction *>("Countries1");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    config.Personal_UserLevel = 1;
    main->Host().QsoMenusChanged();
    EXPECT_FALSE(item->isEnabled());
    config.Personal_UserLevel = 2;
    main->Host().QsoMenusChanged();

    // Without a log the editor opens (modal); Cancel closes it.
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto *editor = qobject_cast<TFctyed *>(QApplication::activeModalWidget())) {
            opened = true;
            editor->findChild<QAction *>("CancelExit1")->trigger();
        }
    });
    item->trigger();
    EXPECT_TRUE(opened);

    chooser.file = QString::fromStdString(program.SaveFile("OPEN.VLL"));
    main->NewClick();
    ASSERT_NE(main->Host().Context().Log(), nullptr);
    std::size_t shown = notifier.shown.size();
    item->trigger();
    ASSERT_GT(notifier.shown.size(), shown);
    EXPECT_EQ(lastMessage(), "Please close the log before you edit the countries");
}

} // namespace
} // namespace vellum
