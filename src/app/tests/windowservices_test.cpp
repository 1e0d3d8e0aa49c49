#include "app/Fmain.h"
#include "app/Fprogres.h"
#include "app/windowservices.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace vellum {
namespace {

TEST(KeepOnScreen, MovesWindowsOntoTheScreenAndClearOfTheMainBar)
{
    const QRect bar(0, 0, 1600, 40);
    const QSize screen(1600, 1000);
    // Right of the screen: moved left until it fits.
    EXPECT_EQ(KeepOnScreenRect(QRect(1500, 100, 300, 200), bar, screen, false), QRect(1300, 100, 300, 200));
    // Wider than the screen: left 0 and the screen's width.
    EXPECT_EQ(KeepOnScreenRect(QRect(100, 100, 2000, 200), bar, screen, false), QRect(0, 100, 1600, 200));
    // Negative left and top, and under the main bar: moved below the bar.
    EXPECT_EQ(KeepOnScreenRect(QRect(-20, -5, 300, 200), bar, screen, false), QRect(0, 40, 300, 200));
    EXPECT_EQ(KeepOnScreenRect(QRect(10, 20, 300, 200), bar, screen, false), QRect(10, 40, 300, 200));
    // Below the screen: moved up; taller than the room below the bar: cut.
    EXPECT_EQ(KeepOnScreenRect(QRect(10, 900, 300, 200), bar, screen, false), QRect(10, 800, 300, 200));
    EXPECT_EQ(KeepOnScreenRect(QRect(10, 500, 300, 1200), bar, screen, false), QRect(10, 40, 300, 960));
    // A window beside a narrow bar may stay at the top.
    EXPECT_EQ(KeepOnScreenRect(QRect(900, 0, 300, 200), QRect(0, 0, 800, 40), screen, false), QRect(900, 0, 300, 200));
    // F_KeepPosition keeps the saved place.
    EXPECT_EQ(KeepOnScreenRect(QRect(1500, 100, 300, 200), bar, screen, true), QRect(1500, 100, 300, 200));
}

TEST(CommandLine, OptionsAndTheStartupLogName)
{
    CommandLine a = ParseCommandLine({"/f", "/S", "spots.txt"});
    EXPECT_TRUE(a.fakeMode);
    EXPECT_EQ(a.spotFile, "spots.txt");
    EXPECT_TRUE(a.logName.isEmpty()) << "a first argument beginning with / names no log";
    CommandLine b = ParseCommandLine({"my.vll", "/F"});
    EXPECT_EQ(b.logName, "my.vll");
    EXPECT_TRUE(b.fakeMode);
    CommandLine c = ParseCommandLine({"/FX", "/s"});
    EXPECT_FALSE(c.fakeMode) << "three characters make no option";
    EXPECT_TRUE(c.logName.isEmpty());
    EXPECT_TRUE(c.spotFile.isEmpty());
    EXPECT_EQ(ParseCommandLine({"/home/op/LOG.VLL"}).logName, "/home/op/LOG.VLL") << "absolute paths name logs";
    EXPECT_EQ(ParseCommandLine({"/x.vll"}).logName, "/x.vll");
}

TEST(TProgressbar, MovesOnlyOnMaskedSteps)
{
    TProgressbar bar;
    bar.SetUp("Reading QSOs", 200);
    for (int i = 0; i < 126; ++i)
        bar.ShowProgress();
    EXPECT_EQ(bar.Percent(), 0);
    bar.ShowProgress(); // step 127
    EXPECT_EQ(bar.Percent(), 63);
    bar.SetUp("Big", 100000);
    for (int i = 0; i < 1023; ++i)
        bar.NewProgress(50000);
    EXPECT_EQ(bar.Percent(), 50);
    bar.SetUp("Huge", 3000000000LL);
    for (int i = 0; i < 1023; ++i)
        bar.NewProgress(2999999999LL);
    EXPECT_EQ(bar.Percent(), 99) << "64-bit arithmetic";
    QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((bar.frameGeometry().center() - screenCentre).manhattanLength(), 2) << "centred on the screen";
    bar.Finished();
    EXPECT_EQ(bar.Percent(), 100);
    EXPECT_FALSE(bar.isVisible());
}

} // namespace
} // namespace vellum

#include "app/vellumapp.h"

#include <QEvent>

namespace vellum {
namespace {

class Throwing : public QObject {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("disk full");
        return QObject::event(e);
    }
};

TEST(VellumApplication, AnExceptionReachingTheEventLoopIsShownAndTheProgramGoesOn)
{
    auto *app = qobject_cast<VellumApplication *>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    RecordingNotifier notifier;
    app->setExceptionNotifier(&notifier);
    Throwing target;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&target, &event);
    ASSERT_EQ(notifier.shown.size(), 1u);
    EXPECT_EQ(notifier.shown[0].text, "An exception occured!\ndisk full\n");
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(notifier.shown.size(), 2u) << "the event loop keeps running after the first";
    app->setExceptionNotifier(nullptr);
}

} // namespace
} // namespace vellum

#include "app/qsowindow.h"
#include "config/configrecord.h"
#include "config/configrules.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyleOptionViewItem>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vellum {
namespace {

TEST(WindowServices, SavedPositions)
{
    TConfigRecord config = BuiltInConfig();
    QWidget mainBar;
    mainBar.setGeometry(0, 0, 800, 30);
    WindowServices services(config, &mainBar);

    QWidget window;
    window.resize(300, 200);
    EXPECT_FALSE(services.RestoreWindowPos(&window, WindowIndex::CTY)) << "never placed";
    window.move(120, 150);
    window.resize(333, 222);
    services.SaveWindowPos(&window, WindowIndex::CALL);
    EXPECT_EQ(config.WindowPos[WindowIndex::CALL].Width, 333);
    QWidget other;
    other.resize(100, 100);
    EXPECT_TRUE(services.RestoreWindowPos(&other, WindowIndex::CALL));
    EXPECT_EQ(other.size(), QSize(333, 222)) << "the same-call window keeps its size";
    config.WindowPos[WindowIndex::CTY] = config.WindowPos[WindowIndex::CALL];
    QWidget panel;
    panel.resize(100, 100);
    EXPECT_TRUE(services.RestoreWindowPos(&panel, WindowIndex::CTY));
    EXPECT_EQ(panel.size(), QSize(100, 100)) << "summary panels keep their own size";
}

/// A window with one named control of each kind the style tells apart.
struct StyledForm {
    QWidget window;
    QLineEdit *edit = new QLineEdit(&window);
    QComboBox *list = new QComboBox(&window);
    QTableWidget *table = new QTableWidget(3, 2, &window);
    QListWidget *listBox = new QListWidget(&window);
    QLabel *label = new QLabel("Call", &window);
    StyledForm()
    {
        auto *layout = new QVBoxLayout(&window);
        for (QWidget *control : std::initializer_list<QWidget *>{edit, list, table, listBox, label})
            layout->addWidget(control);
        edit->setObjectName("FQso_Call");
        list->setObjectName("F_Band");
        table->setObjectName("Grid");
        listBox->setObjectName("Calls");
        label->setObjectName("Label1");
        list->addItem("20m");
    }
};

TEST(WindowStyle, TheScreenDefaultsKeepTheDesignedFontSizesAndOtherScalesZoomThem)
{
    EXPECT_EQ(WindowZoomPercent(80, 96), 100);
    EXPECT_EQ(WindowZoomPercent(160, 192), 100);
    EXPECT_EQ(WindowZoomPercent(100, 96), 125);
    EXPECT_EQ(WindowZoomPercent(100, 192), 63);
    EXPECT_EQ(WindowZoomPercent(250, 120), 250) << "scales outside 50..200 count too";
    EXPECT_EQ(WindowZoomPercent(0, 96), 100);

    for (int ppi : {96, 192}) {
        SCOPED_TRACE(ppi);
        TConfigRecord config = BuiltInConfig();
        ResetScreenDefaults(config, ppi);
        config.F_FontLBold = 1;
        WindowServices services(config, nullptr);
        StyledForm form;
        services.ApplyWindowStyle(&form.window, ppi);
        EXPECT_DOUBLE_EQ(form.label->font().pointSizeF(), 9.0) << "the Heading font as configured";
        EXPECT_TRUE(form.label->font().bold());
        EXPECT_DOUBLE_EQ(form.edit->font().pointSizeF(), config.F_FontISize);
        EXPECT_EQ(form.listBox->font().family(), form.edit->font().family()) << "Fixedsys for both";
        EXPECT_EQ(form.list->font(), form.edit->font()) << "drop-down lists take the Input font";

        config.F_FormScale = static_cast<std::uint8_t>(config.F_FormScale * 3 / 2);
        services.ApplyWindowStyle(&form.window, ppi);
        EXPECT_DOUBLE_EQ(form.label->font().pointSizeF(), 13.5) << "150 % of the screen's scale, not compounded";
    }
}

TEST(WindowStyle, ControlHeightsFollowTheTextHeight)
{
    EXPECT_EQ(ControlHeightsFor(15).listRow, 16);
    EXPECT_EQ(ControlHeightsFor(15).field, 20) << "18.9 rounded up to even";
    EXPECT_EQ(ControlHeightsFor(15).tableRow, 23);
    EXPECT_EQ(ControlHeightsFor(16).field, 22);

    TConfigRecord config = BuiltInConfig();
    ResetScreenDefaults(config, 96);
    WindowServices services(config, nullptr);
    StyledForm form;
    services.ApplyWindowStyle(&form.window, 96);
    ControlHeights heights = ControlHeightsFor(QFontMetrics(form.edit->font()).height());
    EXPECT_EQ(form.edit->height(), heights.field);
    EXPECT_EQ(form.list->height(), heights.field);
    EXPECT_EQ(form.table->verticalHeader()->defaultSectionSize(), heights.tableRow);
    QStyleOptionViewItem option;
    option.font = form.list->font();
    EXPECT_EQ(form.list->itemDelegate()->sizeHint(option, form.list->model()->index(0, 0)).height(), heights.listRow);
    services.ApplyWindowStyle(&form.window, 96);
    EXPECT_EQ(form.list->itemDelegate()->sizeHint(option, form.list->model()->index(0, 0)).height(), heights.listRow)
        << "styled again: the rows keep their height";
}

/// A QSO window that counts how often it takes its size step.
class SizeStepWindow : public TQsoWindowBase {
public:
    void ApplySizeStep() override { ++sizeSteps; }
    int sizeSteps = 0;
};

TEST(WindowStyle, RescalingResizesEveryStyledWindowAndTheQsoWindowTakesItsSizeStep)
{
    TConfigRecord config = BuiltInConfig();
    ResetScreenDefaults(config, 96);
    QWidget mainBar;
    WindowServices services(config, &mainBar);
    services.RememberScreen(96, 1920);
    StyledForm form;
    services.ApplyWindowStyle(&form.window, 96);
    form.window.resize(400, 300);
    form.window.show();
    SizeStepWindow qsoWindow;
    services.ApplyWindowStyle(&qsoWindow, 96);

    EXPECT_FALSE(services.RescaleWindows(true, 96, 1920)) << "unchanged screen: nothing happens";
    EXPECT_EQ(qsoWindow.sizeSteps, 0);
    config.F_FormScale = 120; // the setup dialog changed the scale: 150 %
    EXPECT_TRUE(services.RescaleWindows(false, 96, 1920));
    EXPECT_DOUBLE_EQ(form.label->font().pointSizeF(), 13.5);
    EXPECT_EQ(form.window.width(), 600);
    EXPECT_EQ(qsoWindow.sizeSteps, 1);
    EXPECT_TRUE(services.RescaleWindows(true, 192, 2560)) << "a changed screen resets the screen defaults";
    EXPECT_EQ(config.F_FormScale, 160);
    EXPECT_DOUBLE_EQ(form.label->font().pointSizeF(), 9.0);
}

} // namespace
} // namespace vellum
