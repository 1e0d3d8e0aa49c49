// The rotator in the program: the QSO window's Rotator menu, "Rotator Control",
// a serial controller on a pseudo-terminal and the dummy rotator daemon.

#include "stationpeers.h"
#include "stationprogram.h"

#include "station/Fstation.h"
#include "station/Fserialchannel.h"
#include "station/portmap.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/paths.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"
#include "testsupport/Fwindowtest.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace vellum {
namespace {

class RotatorWindowTest : public test::StationProgramTest {
protected:
    RotatorWindowTest() : StationProgramTest("rotator") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_Latitude = 52.52;
        config.Personal_Longitude = 13.405;
        for (auto &band : config.RotatorBands)
            band = 1; // Normal
        config.CORRECTION = 0;
        config.DefQSO_band = 5;
    }
    /// The program with a new log open (the rotator starts with its QSO window).
    void openLog() { StationProgramTest::openLog("ROT.VLL"); }
    template <typename T>
    T *control(const char *name) { return station->RotatorControl()->findChild<T *>(name); }
};

TEST_F(RotatorWindowTest, TheDaemonTurnsAndStops)
{
    test::RotatorDaemon daemon;
    ASSERT_TRUE(daemon.ok) << "rotctld -m 1";
    config.Rotator_type = 6;
    config.Rotator_Message = "127.0.0.1:" + std::to_string(daemon.port);
    openLog();
    ASSERT_TRUE(station->RotatorUnit().Active());
    EXPECT_TRUE(qsoAction("ShortPath1")->isEnabled());

    TRotateForm *window = station->OpenRotatorControl();
    control<QSpinBox>("RotHeading")->setValue(12);
    QTest::mouseClick(control<QPushButton>("RotRotate"), Qt::LeftButton);
    EXPECT_EQ(window->windowTitle(), "Turning to 12");
    ASSERT_TRUE(test::waitUntil([&] { return daemon.Azimuth() > 3; })) << "the dummy rotator moves";
    QTest::mouseClick(control<QPushButton>("RotStop"), Qt::LeftButton);
    EXPECT_EQ(window->windowTitle(), "Rotator Stopped");
    double stopped = daemon.Azimuth();
    QTest::qWait(400);
    EXPECT_LT(std::abs(daemon.Azimuth() - stopped), 0.5) << "it stopped";

    // Short Path turns to the QSO window's bearing; the control window shows it.
    QsoEntry &entry = *main->Host().Entry();
    entry.Edit(QsoField::Call, "JA1XYZ");
    entry.Leave(QsoField::Call);
    ASSERT_TRUE(entry.Bearing());
    qsoAction("ShortPath1")->trigger();
    EXPECT_EQ(window->windowTitle().toStdString(), "Turning to " + std::to_string(*entry.Bearing()));
    EXPECT_EQ(control<QSpinBox>("RotHeading")->value(), *entry.Bearing());
    qsoAction("LongPath1")->trigger();
    EXPECT_EQ(control<QSpinBox>("RotHeading")->value(), NormalizeHeading(*entry.Bearing() + 180));
    qsoAction("StopRotator1")->trigger();

    test::SaveScreenshot(window, "rotator-control.png");
    main->CloseClick();
    QCoreApplication::processEvents(); // QsoWindowClosed
    EXPECT_FALSE(station->RotatorUnit().Active()) << "the rotator stops with the QSO window";
}

TEST_F(RotatorWindowTest, AnUnreachableDaemonOrPortLeavesTheMenuDisabled)
{
    int port = test::freeTcpPort();
    config.Rotator_type = 6;
    config.Rotator_Message = "127.0.0.1:" + std::to_string(port);
    openLog();
    EXPECT_EQ(lastMessage(), "Rotator target Application Window not found: \rAddress: 127.0.0.1:" + std::to_string(port));
    EXPECT_FALSE(qsoAction("ShortPath1")->isEnabled());
    EXPECT_FALSE(qsoAction("StopRotator1")->isEnabled());
    EXPECT_TRUE(qsoAction("Parameters1")->isEnabled());

    config.Rotator_type = 4; // Orion M2 on COM1, whose device does not exist here
    PortMap ports;
    ports.SetDevicePath(1, dir.file("no-such-tty"));
    ports.Save();
    station->RestartRotator();
    EXPECT_EQ(lastMessage(), "Rotator COM port failed to open");
    EXPECT_FALSE(station->RotatorUnit().Active());
}

TEST_F(RotatorWindowTest, ASerialControllerGetsItsBytesOverTheCable)
{
    test::PtyPair cable;
    ASSERT_TRUE(cable.ok);
    config.Rotator_type = 4; // Orion M2
    config.Rotator_port = 3;
    SetProgramDir(dir.path());
    PortMap ports;
    ports.SetDevicePath(3, cable.a);
    ports.Save();
    openLog();
    ASSERT_TRUE(station->RotatorUnit().Active()) << lastMessage();
    TSerialChannel far(SerialSettings{}, cable.b);
    ASSERT_TRUE(far.Open());
    station->Turn(45);
    station->Halt();
    std::string received;
    while (received.size() < 8 && far.WaitForData(2000))
        while (auto byte = far.GetChar())
            received += static_cast<char>(*byte);
    EXPECT_EQ(received, "A\r45\rS\r");
}

TEST_F(RotatorWindowTest, TheControlWindowStoresPerBandAndCancelPutsEverythingBack)
{
    config.OFFSET = 10;
    openLog();
    TRotateForm *window = station->OpenRotatorControl();
    EXPECT_EQ(station->OpenRotatorControl(), window) << "one at a time";
    auto *band = control<QComboBox>("RotBand");
    auto *status = control<QComboBox>("RotStatus");
    EXPECT_EQ(band->currentIndex(), 0) << "the first band on opening";
    status->setCurrentIndex(3); // 160m: Reverse
    band->setCurrentIndex(4);   // 20m
    EXPECT_EQ(status->currentIndex(), 1);
    status->setCurrentIndex(0); // 20m: Disabled
    control<QSpinBox>("RotOffset")->setValue(-45);
    EXPECT_EQ(config.RotatorBands[1], 3);
    EXPECT_EQ(config.RotatorBands[5], 0);
    QTest::mouseClick(control<QPushButton>("RotRotate"), Qt::LeftButton);
    EXPECT_EQ(window->windowTitle(), "!Not turning on 20m") << "the QSO window's band is 20m";
    EXPECT_EQ(config.OFFSET, -45);
    QTest::mouseClick(control<QPushButton>("RotCancel"), Qt::LeftButton);
    EXPECT_EQ(config.RotatorBands[1], 1);
    EXPECT_EQ(config.RotatorBands[5], 1);
    EXPECT_EQ(config.OFFSET, 10);
}

} // namespace
} // namespace vellum

#include "config/configfile.h"

#include <QProcess>

namespace vellum {
namespace {

/// vellum-cli on a program directory whose configuration names the rotator.
class RotatorCliTest : public ::testing::Test {
protected:
    void writeConfig(std::uint8_t type, const std::string &message)
    {
        TConfigRecord config = BuiltInConfig();
        config.Rotator_type = type;
        config.Rotator_Message = message;
        for (auto &band : config.RotatorBands)
            band = 1;
        config.CORRECTION = 0;
        SaveConfig(config, dir.file("SAVE/VELLUM.CFG"), ScreenInfo{96, 1920});
    }
    int run(QStringList args, QString *out = nullptr)
    {
        QProcess cli;
        cli.start(VELLUM_CLI, QStringList{"--dir", QString::fromStdString(dir.path())} + args);
        cli.waitForFinished(20000);
        if (out)
            *out = QString::fromUtf8(cli.readAllStandardOutput()) + QString::fromUtf8(cli.readAllStandardError());
        return cli.exitCode();
    }
    test::TempDir dir{"rotator-cli"};
};

TEST_F(RotatorCliTest, TurnsAndHaltsTheDaemonAndSaysWhenItCannot)
{
    std::filesystem::create_directories(dir.file("SAVE"));
    test::RotatorDaemon daemon;
    ASSERT_TRUE(daemon.ok);
    writeConfig(6, "127.0.0.1:" + std::to_string(daemon.port));
    QString out;
    EXPECT_EQ(run({"rotator", "turn", "8", "--band", "20m"}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("\"status\": \"Turning to 8\"")) << out.toStdString();
    ASSERT_TRUE(test::waitUntil([&] { return daemon.Azimuth() > 2; }));
    EXPECT_EQ(run({"rotator", "halt"}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Rotator Stopped"));
    EXPECT_EQ(run({"rotator", "turn", "8", "--band", "99"}, &out), 1);
    EXPECT_TRUE(out.contains("Not a band: 99"));

    writeConfig(6, "127.0.0.1:" + std::to_string(test::freeTcpPort()));
    EXPECT_EQ(run({"rotator", "halt"}, &out), 1);
    EXPECT_TRUE(out.contains("not found")) << out.toStdString();
    writeConfig(5, ""); // HD-1780 on a device named outright that does not exist
    EXPECT_EQ(run({"rotator", "turn", "10", "--band", "40m", "--port", QString::fromStdString(dir.file("none"))}, &out), 1);
    EXPECT_TRUE(out.contains("Rotator COM port failed to open"));
}

} // namespace
} // namespace vellum
