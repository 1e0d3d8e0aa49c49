// The look and the behaviour every window of the running program shares: styling
// of windows the program did not style itself, tool tips, the sort indicator and
// the main window's place at exit.

#include "app/testing/Fprogram.h"

#include "app/Fabout.h"
#include "app/Fmain.h"
#include "app/qtservices.h"
#include "app/windowservices.h"

#include "config/configrecord.h"
#include "config/configrules.h"
#include "logstore/lists.h"

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace vellum {
namespace {

class ProgramWindowsTest : public test::ProgramTest {
protected:
    ProgramWindowsTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "windows")
    {
        config.LASTLOG = "<none>";
        ResetScreenDefaults(config, static_cast<int>(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
        config.F_FontIName = "DejaVu Sans Mono";
        config.F_FontISize = 11;
        config.F_FontLName = "DejaVu Serif";
    }

    QWidget *visibleWindow(const QString &name) const
    {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->objectName() == name && window->isVisible())
                return window;
        return nullptr;
    }
};

TEST_F(ProgramWindowsTest, EveryWindowShownTakesTheScreenFontsAndHeights)
{
    program.Start();
    const int fieldHeight = ControlHeightsFor(QFontMetrics(QFont("DejaVu Sans Mono", 11)).height()).field;

    QDialog dialog; // a dialog of some subsystem that does not style itself
    auto *layout = new QVBoxLayout(&dialog);
    auto *edit = new QLineEdit(&dialog);
    edit->setObjectName("Search");
    layout->addWidget(edit);
    dialog.show();
    EXPECT_EQ(edit->font().family(), "DejaVu Sans Mono");
    EXPECT_DOUBLE_EQ(edit->font().pointSizeF(), 11.0);
    EXPECT_EQ(edit->height(), fieldHeight);
    EXPECT_GE(dialog.height(), fieldHeight) << "sized for the new fonts";

    main->HelpContentsClick();
    QWidget *help = visibleWindow("HelpViewer");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->findChild<QLineEdit *>("HelpSearch")->font().family(), "DejaVu Sans Mono");
    help->close();

    TSplashScreen about(true, main.get());
    about.show();
    EXPECT_EQ(about.findChild<QLabel *>("Version")->font().family(), "DejaVu Serif");
    EXPECT_EQ(main->StatusPanel()->font().family(), "DejaVu Serif") << "the main window too";
}

TEST_F(ProgramWindowsTest, ToolTipsFollowTheShowHintsSetting)
{
    config.DefQSO_ShowHints = 0;
    program.Start();
    QLineEdit field;
    field.setToolTip("Callsign of the station worked");
    field.show();
    auto askForTip = [&] {
        QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), field.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&field, &event);
    };
    askForTip();
    EXPECT_FALSE(QToolTip::isVisible());

    config.DefQSO_ShowHints = 1; // the setup dialog saved "Show Hints"
    main->Windows().ApplyHintsSetting();
    askForTip();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Callsign of the station worked");
    QToolTip::hideText();
}

TEST_F(ProgramWindowsTest, LargeSortsShowSortingAndTheBusyCursor)
{
    program.Start();
    QLabel *status = main->StatusPanel();
    status->setText("Add real-time");
    NotifySortIndicator(true); // what a sort of more than 4999 items says
    EXPECT_EQ(status->text(), "Sorting");
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    NotifySortIndicator(true); // a second list of the same change
    NotifySortIndicator(false);
    EXPECT_EQ(status->text(), "Sorting");
    NotifySortIndicator(false);
    EXPECT_EQ(status->text(), "Add real-time");
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    NotifySortIndicator(true);
    main.reset(); // a sort cut short by the end of the program leaves no busy cursor
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    NotifySortIndicator(true); // and no hook into a window that is gone
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(ProgramWindowsTest, AMinimizedMainWindowIsRestoredAtExitAsItWas)
{
    config.MainWidth = 0; // as wide as the screen
    program.Start();
    main->showMinimized();
    main->close();
    EXPECT_TRUE(main->isMaximized());
    EXPECT_EQ(config.MainWidth, 0);

    main.reset();
    config.MainWidth = 500;
    program.Start();
    main->showMinimized();
    main->close();
    EXPECT_FALSE(main->isMaximized());
    EXPECT_FALSE(main->isMinimized());
    EXPECT_EQ(config.MainWidth, 500);
}

} // namespace
} // namespace vellum
