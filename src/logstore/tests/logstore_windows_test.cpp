// The log store's dialogs driven offscreen by their named controls.

#include "logstore/Fbulkchange.h"
#include "logstore/Fdaterange.h"
#include "logstore/Fgroups.h"
#include "logstore/Fselect.h"
#include "logstore/Ftext.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "testsupport/qsobuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

/// Failure messages show texts, not arrays of characters.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace vellum {
namespace {

template <typename T>
T *control(QWidget &form, const char *name)
{
    T *found = form.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

/// A double click on a row, as a user makes it: a click, then the double click.
void doubleClick(QListWidget *list, int row)
{
    QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void click(QWidget &form, const char *button) { QTest::mouseClick(control<QPushButton>(form, button), Qt::LeftButton); }

void typeInto(QWidget &form, const char *name, const QString &text)
{
    auto *field = control<QLineEdit>(form, name);
    field->clear();
    QTest::keyClicks(field, text);
}

class LogstoreWindowTest : public ::testing::Test {
protected:
    LogstoreWindowTest()
    {
        log.GroupNames = {"", "DXpedition", "Contest"};
        TSelection recent = AllQsosSelection();
        recent.Name = "Recent";
        recent.DateActive = 1;
        recent.FirstDate = *DayNumber(2024, 1, 1);
        log.Selections.push_back(recent);
        for (int i = 0; i < 3; ++i)
            test::QsoBuilder("DL1AB" + std::string(1, static_cast<char>('A' + i)))
                .day(40000)
                .mode(4)
                .group(static_cast<std::uint8_t>(i))
                .addTo(log);
        log.MarkSaved();
    }
    TQsoData log;
    RecordingNotifier notifier;
};

TEST(ScreenText, CoreTextsReachTheScreenAndComeBack)
{
    // cp1252 0x80 is the euro sign, 0xE9 "e" with an acute accent.
    const std::string core = "QQ1AB \x80 caf\xE9";
    EXPECT_EQ(ScreenText(core), QString::fromUtf8("QQ1AB \u20AC caf\u00E9"));
    EXPECT_EQ(CoreText(ScreenText(core)), core);
    // What cp1252 cannot hold comes back as "?".
    EXPECT_EQ(CoreText(QString::fromUtf8("\u0416uk")), "?uk");
    EXPECT_TRUE(ScreenText("").isEmpty());
}

TEST_F(LogstoreWindowTest, SelectionEditor)
{
    TSelectionForm form(log, DateFormat::YearMonthDay, notifier);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Selection Editor / Select");
    auto *selection = control<QComboBox>(form, "F_Selection");
    auto *groups = control<QListWidget>(form, "F_Groups");
    ASSERT_TRUE(selection && groups);
    EXPECT_EQ(selection->currentText(), "All QSOs");
    EXPECT_FALSE(control<QPushButton>(form, "UpdateBtn")->isEnabled()) << "All QSOs cannot be edited";
    EXPECT_FALSE(control<QLineEdit>(form, "F_FirstDate")->isEnabled());
    EXPECT_EQ(groups->toolTip(), "Double click to toggle");
    ASSERT_EQ(groups->count(), 3);
    EXPECT_EQ(groups->item(1)->text(), "   001  DXpedition");

    click(form, "AddBtn");
    EXPECT_EQ(selection->count(), 3);
    EXPECT_EQ(selection->currentText(), "Replace this name");
    EXPECT_TRUE(control<QPushButton>(form, "UpdateBtn")->isEnabled());

    selection->setEditText("Contest only");
    doubleClick(groups, 2);
    EXPECT_EQ(groups->item(2)->text(), "x  002  Contest");
    QTest::keyClick(control<QCheckBox>(form, "F_GroupFilter"), Qt::Key_Space);
    typeInto(form, "F_FirstDate", "2024-05-02");
    typeInto(form, "F_LastDate", "2024-05-01");
    click(form, "UpdateBtn");
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, "Please check your dates");
    EXPECT_EQ(notifier.shown[0].kind, MessageKind::Warning);

    typeInto(form, "F_LastDate", "");
    click(form, "UpdateBtn");
    EXPECT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(selection->itemText(2), "Contest only");
    click(form, "OKBtn");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Result(), TSelectionEditor::Outcome::ListChanged);
    ASSERT_EQ(log.Selections.size(), 3u);
    const TSelection &made = log.Selections[2];
    EXPECT_EQ(made.Name, "Contest only");
    EXPECT_TRUE(made.GroupActive);
    EXPECT_TRUE(made.HasGroup(2));
    EXPECT_FALSE(made.HasGroup(1));
    EXPECT_EQ(made.FirstDate, *DayNumber(2024, 5, 2));
    EXPECT_EQ(made.LastDate, 0xFFFF);
    EXPECT_EQ(log.CurSelIndex, 2);
    EXPECT_TRUE(log.IsModified());
}

TEST_F(LogstoreWindowTest, SelectionEditorOkWithoutChangeIsCancel)
{
    TSelectionForm form(log, DateFormat::YearMonthDay, notifier);
    click(form, "OKBtn");
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(form.Result(), TSelectionEditor::Outcome::Cancelled);

    TSelectionForm choose(log, DateFormat::DayMonthYear, notifier);
    auto *selection = control<QComboBox>(choose, "F_Selection");
    selection->setCurrentIndex(1);
    emit selection->activated(1);
    EXPECT_EQ(control<QLineEdit>(choose, "F_FirstDate")->text(), "01/01/2024");
    EXPECT_EQ(control<QLineEdit>(choose, "F_LastDate")->text(), "") << "an open end shows empty";
    EXPECT_TRUE(control<QCheckBox>(choose, "F_DateFilter")->isChecked());
    click(choose, "OKBtn");
    EXPECT_EQ(choose.Result(), TSelectionEditor::Outcome::Switched);
    EXPECT_EQ(log.CurSelIndex, 1);
    EXPECT_FALSE(log.IsModified());
}

TEST_F(LogstoreWindowTest, GroupNamesEditor)
{
    TGroupNamesForm form(log);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.windowTitle(), "Editing group names");
    auto *list = control<QListWidget>(form, "F_GroupList");
    auto *name = control<QLineEdit>(form, "F_GroupName");
    ASSERT_TRUE(list && name);
    EXPECT_EQ(list->toolTip(), "Listing of known group names");
    EXPECT_EQ(list->item(2)->text(), "002 Contest");
    EXPECT_EQ(name->maxLength(), 25);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(name->text(), "DXpedition");
    typeInto(form, "F_GroupName", "Field Day");
    click(form, "InsertBtn");
    EXPECT_EQ(list->item(1)->text(), "001 Field Day");
    click(form, "DeleteBtn");
    EXPECT_EQ(name->text(), "DXpedition");
    typeInto(form, "F_GroupName", "Portable");
    click(form, "AddBtn");
    EXPECT_EQ(list->currentRow(), 3);
    EXPECT_EQ(log.GroupNames.size(), 3u) << "nothing reaches the log before OK";
    click(form, "OKBtn");
    EXPECT_EQ(log.GroupNames, (std::vector<std::string>{"", "DXpedition", "Contest", "Portable"}));
    EXPECT_TRUE(log.IsModified());
}

TEST_F(LogstoreWindowTest, SetGroupNumberAndSetNewMode)
{
    TSetGroupForm group(log, notifier);
    EXPECT_EQ(group.windowTitle(), "Set Group Number");
    EXPECT_EQ(control<QLabel>(group, "F_Changing")->text(), "Changing up to 3 QSOs ");
    control<QSpinBox>(group, "F_NewGroup")->setValue(2);
    click(group, "OKBtn");
    EXPECT_EQ(group.Changed(), 2);
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, "Changed 2 QSOs ");
    EXPECT_EQ(notifier.shown[0].kind, MessageKind::Information);

    TSetGroupForm again(log, notifier);
    control<QSpinBox>(again, "F_NewGroup")->setValue(2);
    click(again, "OKBtn");
    EXPECT_EQ(notifier.shown.back().text, "Changed No QSO ");

    TSetModeForm mode(log, notifier, [](const TQsoRec &q) { return q.Call.view() == "DL1ABA"; });
    EXPECT_EQ(mode.windowTitle(), "Set New Mode");
    auto *modes = control<QComboBox>(mode, "F_NewMode");
    EXPECT_EQ(modes->count(), AllModeCount - 1) << "today's modes too";
    EXPECT_EQ(modes->currentText(), "SSB");
    EXPECT_EQ(control<QLabel>(mode, "F_Changing")->text(), "Changing up to One QSO ");
    click(mode, "OKBtn");
    EXPECT_EQ(notifier.shown.back().text, "Changed One QSO ");
    EXPECT_EQ(log.Get(0)->Mode, 14);

    TSetModeForm cancelled(log, notifier);
    click(cancelled, "CancelBtn");
    EXPECT_EQ(cancelled.Changed(), 0);
    EXPECT_EQ(log.Get(1)->Mode, 4);
}

TEST_F(LogstoreWindowTest, DateRange)
{
    std::uint16_t start = *DayNumber(2024, 5, 10);
    TDateRangeForm form(start, start - 5, DateFormat::YearMonthDay, notifier);
    EXPECT_EQ(form.windowTitle(), "Get date range");
    auto *startField = control<QLineEdit>(form, "F_StartDate");
    auto *endField = control<QLineEdit>(form, "F_EndDate");
    ASSERT_TRUE(startField && endField);
    EXPECT_EQ(endField->text(), "2024-05-10") << "an end before the start opens as the start";
    QTest::keyClick(startField, Qt::Key_Up);
    EXPECT_EQ(startField->text(), "2024-05-11");
    QTest::keyClick(endField, Qt::Key_Down);
    EXPECT_EQ(endField->text(), "2024-05-11") << "the end never moves before the start";
    QTest::keyClick(endField, Qt::Key_Up);
    QTest::keyClick(endField, Qt::Key_Up);
    EXPECT_EQ(endField->text(), "2024-05-13");

    typeInto(form, "F_EndDate", "2024-02-30");
    click(form, "OKBtn");
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, "Please check your dates");
    EXPECT_EQ(form.result(), 0);

    typeInto(form, "F_EndDate", "");
    click(form, "OKBtn");
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.StartDate(), start + 1);
    EXPECT_EQ(form.EndDate(), 0);
}

} // namespace
} // namespace vellum
