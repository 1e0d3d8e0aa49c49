// The bulk and label commands in the QSO window: their menus, a label run through
// "Print QSL labels" to a PDF file with the QSL dates updated afterwards, a
// cancelled run, "Confirm SWL", and the label editor.

#include "qsoformtest.h"

#include "labels/Flabeleditor.h"
#include "labels/Fprintlabels.h"
#include "logstore/daytime.h"
#include "print/Fprintdialog.h"
#include "qso/Fbulkcommands.h"
#include "testsupport/command.h"
#include "testsupport/qsobuilder.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

class BulkCommandsWindowTest : public QsoFormTest {
protected:
    void TearDown() override
    {
        SetPrintSetupAsker(nullptr);
        SetSwlCallAsker(nullptr);
    }
    QStringList menuItems(const QString &menuName) const
    {
        QStringList names;
        for (QMenu *menu : form->findChildren<QMenu *>())
            if (menu->objectName() == menuName || menu->title() == menuName)
                for (QAction *action : menu->actions())
                    names << action->objectName();
        return names;
    }
    void trigger(const char *name)
    {
        QAction *action = form->findChild<QAction *>(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    /// Presses the dialog's buttons in turn once it is open.
    void whenLabelDialogOpens(std::vector<const char *> buttons)
    {
        QTimer::singleShot(0, form, [buttons] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<TPrintLabelsDialog *>(w); dialog && dialog->isVisible()) {
                    for (const char *name : buttons)
                        if (dialog->isVisible())
                            dialog->findChild<QPushButton *>(QString::fromLatin1(name))->click();
                    return;
                }
        });
    }
    void addQueued(int count)
    {
        for (int i = 1; i <= count; ++i)
            test::QsoBuilder("DL" + std::to_string(i) + "ABC").date(2021, 6, 1).time(10, i).band(5).mode(4).reports(599, 579)
                .qslMethod(1).qslFlags(QslFlag::Label).addTo(log());
        entry().RefreshFromLog();
    }
};

TEST_F(BulkCommandsWindowTest, MenusHoldTheCommandsInTheirDocumentedOrder)
{
    EXPECT_EQ(menuItems("Multiple QSOs operations"),
              (QStringList{"SetGroupNumber1", "SetConfirmed1", "SetUSAStates1", "SetQSLDate1", "SetMode1", "DeleteQSOs1"}));
    EXPECT_TRUE(menuItems("QSOMenu").contains("MultipleQSOs1"));
    EXPECT_TRUE(menuItems("QSOMenu").contains("ConfirmSWL1"));
    EXPECT_EQ(menuItems("LabelsMenu"), (QStringList{"ClearPrintFlags1", "ClearSequencedPrint1", "ClearSWLLabels1",
                                                    "SetPrintFlags1", "PrintQSLLabels1", "PrintLabelsInSequence1",
                                                    "PrintSWLLabels1"}));
}

TEST_F(BulkCommandsWindowTest, APrintedRunMarksItsQsosAndUpdatesTheirQslDates)
{
    addQueued(30);
    const std::string pdf = dir.file("labels.pdf");
    SetPrintSetupAsker([&](QWidget *, PrintSetupChoice &choice) {
        choice.destination = PrintDestination::File;
        choice.fileName = pdf;
        return true;
    });
    config.F_CurrentLabel = 2; // the first shipped layout
    config.F_LabGreeting1 = "@@ 73";
    config.F_LabUseLines = true;
    log().MarkSaved();
    notifier.shown.clear();
    whenLabelDialogOpens({"Print", "Close"});
    trigger("PrintQSLLabels1");
    ASSERT_TRUE(std::filesystem::exists(pdf)) << lastMessage();
    std::string text = test::RunCommand("pdftotext -layout '" + pdf + "' -").out;
    EXPECT_NE(text.find("DL30ABC"), std::string::npos);
    EXPECT_NE(text.find("Pse QSL 73"), std::string::npos);
    ASSERT_FALSE(notifier.shown.empty());
    EXPECT_EQ(lastMessage(), "Update QSL Date for printed labels and\rclear the print flags?");
    for (const TQsoRec *q : log()) {
        EXPECT_TRUE(q->QslFlags & QslFlag::Mark);
        EXPECT_FALSE(q->QslFlags & QslFlag::Label);
        EXPECT_EQ(q->QslDate, TodayDayNumber());
    }
    EXPECT_TRUE(log().IsModified());

    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR")) {
        std::string png = QDir(shots).filePath("labels-page").toStdString();
        test::RunCommand("pdftoppm -png -r 60 -f 1 -l 1 -singlefile '" + pdf + "' '" + png + "'");
    }
}

TEST_F(BulkCommandsWindowTest, ACancelledRunMarksNothingAndAsksNothing)
{
    addQueued(3);
    SetPrintSetupAsker([](QWidget *, PrintSetupChoice &) { return false; });
    config.F_CurrentLabel = 2;
    notifier.shown.clear();
    whenLabelDialogOpens({"Print", "Close"});
    trigger("PrintQSLLabels1");
    EXPECT_TRUE(notifier.shown.empty()) << lastMessage();
    for (const TQsoRec *q : log()) {
        EXPECT_FALSE(q->QslFlags & QslFlag::Mark);
        EXPECT_TRUE(q->QslFlags & QslFlag::Label);
    }
}

TEST_F(BulkCommandsWindowTest, ALayoutThatCannotPrintIsRefusedAndMarksNothing)
{
    addQueued(2);
    const std::string pdf = dir.file("none.pdf");
    SetPrintSetupAsker([&](QWidget *, PrintSetupChoice &choice) {
        choice.destination = PrintDestination::File;
        choice.fileName = pdf;
        return true;
    });
    config.F_CurrentLabel = 0;
    config.CustLab[0].NumAcross = 0; // Custom1 as a damaged configuration might hold it
    notifier.shown.clear();
    whenLabelDialogOpens({"Print", "Close"});
    trigger("PrintQSLLabels1");
    EXPECT_FALSE(std::filesystem::exists(pdf));
    ASSERT_FALSE(notifier.shown.empty());
    EXPECT_NE(notifier.shown.front().text.find("across and down"), std::string::npos) << notifier.shown.front().text;
    for (const TQsoRec *q : log())
        EXPECT_FALSE(q->QslFlags & QslFlag::Mark);
}

TEST_F(BulkCommandsWindowTest, ConfirmSwlAsksTheListenersCall)
{
    addQueued(1);
    entry().GoLast();
    SetSwlCallAsker([](QWidget *) { return std::optional<std::string>("onl383"); });
    trigger("ConfirmSWL1");
    ASSERT_EQ(log().SwlList.Count(), 1);
    EXPECT_EQ(log().SwlList.Get(0)->Call.view(), "ONL383");
    SetSwlCallAsker([](QWidget *) { return std::nullopt; });
    trigger("ConfirmSWL1");
    EXPECT_EQ(log().SwlList.Count(), 1);
}

TEST_F(BulkCommandsWindowTest, LabelEditorChangesOnlyCustomLayoutsAndCancelPutsEverythingBack)
{
    config.F_CurrentLabel = 2;
    const TConfigRecord before = config;
    TLabelEditor editor(main->Host().Context(), form);
    editor.show();
    auto *width = editor.findChild<QLineEdit *>("LabelWidth");
    ASSERT_NE(width, nullptr);
    EXPECT_TRUE(width->isReadOnly()) << "a shipped layout is shown read-only";
    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR"))
        editor.grab().save(QDir(shots).filePath("label-editor.png"));
    editor.Copy(); // into Custom1, shown in millimetres as the shipped layout is
    EXPECT_FALSE(width->isReadOnly());
    EXPECT_NEAR(width->text().toDouble(), 63.5, 1e-3);
    width->setText("50");
    editor.SetUnits(false);
    EXPECT_NEAR(width->text().toDouble(), 50 / 25.4, 1e-3);
    EXPECT_NEAR(config.CustLab[0].LabelWidth, 50 / 25.4, 1e-9);
    editor.reject();
    EXPECT_EQ(std::memcmp(&config, &before, sizeof config), 0);
}

} // namespace
} // namespace vellum
