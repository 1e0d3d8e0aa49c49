#include "app/Fmain.h"
#include "app/Fprogres.h"
#include "app/windowservices.h"

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

#include "config/configrecord.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vellum {
namespace {

TEST(WindowServices, PositionsStyleAndRescale)
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

    QWidget form;
    auto *layout = new QVBoxLayout(&form);
    auto *edit = new QLineEdit(&form);
    edit->setObjectName("FQso_Call");
    auto *label = new QLabel("Call", &form);
    label->setObjectName("Label1");
    layout->addWidget(edit);
    layout->addWidget(label);
    config.F_FontIName = "DejaVu Sans Mono";
    config.F_FontISize = 10;
    config.F_FontLBold = 1; // the "Heading" font of labels
    config.F_FormScale = 150;
    services.ApplyWindowStyle(&form);
    EXPECT_EQ(edit->font().family(), "DejaVu Sans Mono");
    EXPECT_DOUBLE_EQ(edit->font().pointSizeF(), 15.0);
    EXPECT_TRUE(label->font().bold());
    services.ApplyWindowStyle(&form);
    EXPECT_DOUBLE_EQ(edit->font().pointSizeF(), 15.0) << "styling again does not compound";

    services.RememberScreen(96, 1920);
    EXPECT_FALSE(services.RescaleWindows(true, 96, 1920)) << "unchanged screen: nothing happens";
    EXPECT_TRUE(services.RescaleWindows(true, 144, 2560));
}

} // namespace
} // namespace vellum
