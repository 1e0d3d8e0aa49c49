// The radio in the program: the "R&adio" menu, the poll loop feeding the QSO
// window, "Radio Frequency control", the radio disabled when it falls silent,
// and the definition editor with its test console - against a simulated radio
// speaking the shipped ASCII command set on a pseudo-terminal.

#include "radiopeers.h"
#include "stationpeers.h"

#include "station/Fradiodb.h"
#include "station/Fscanner.h"
#include "station/Fstation.h"
#include "station/portmap.h"

#include "app/testing/Fprogram.h"
#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/paths.h"
#include "logstore/qsotables.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"
#include "testsupport/Fwindowtest.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace vellum {
namespace {

class RadioWindowTest : public test::ProgramTest {
protected:
    RadioWindowTest() : ProgramTest(VELLUM_DEFAULT_DATA_DIR, "radio") {}
    void SetUp() override
    {
        ASSERT_TRUE(cable.ok && peer.Start());
        config.LASTLOG = "<none>";
        config.Hardware_RadioType = "ASCII Semicolon CAT";
        config.Hardware_RadioCOMPort = 2;
        config.Hardware_RadioPollRate = 100;
        config.Hardware_RadioMaxTries = 1;
        config.ReopenFreqWindow = false;
        config.DefQSO_band = 5;
    }
    /// The program with a new log open in real time; the radio port is COM2.
    void openLog()
    {
        program.Start({RegisterQsoWindows, RegisterStationWindows});
        PortMap ports;
        ports.SetDevicePath(2, cable.a);
        ports.Save();
        chooser.file = QString::fromStdString(program.SaveFile("RADIO.VLL"));
        main->NewClick();
        QCoreApplication::processEvents();
        station = StationOf(main->Host());
        ASSERT_NE(station, nullptr);
        station->Radio().SetTiming({300, 300, 300});
    }
    QAction *mainAction(const char *name) { return main->findChild<QAction *>(name); }
    QsoEntry &entry() { return *main->Host().Entry(); }
    /// Runs the event loop and the idle work (where polls run) until done or about five seconds passed.
    template <typename Done>
    bool runUntil(Done done)
    {
        for (int i = 0; i < 250 && !done(); ++i) {
            QTest::qWait(20);
            main->AppIdle();
        }
        return done();
    }

    test::PtyPair cable;
    test::AsciiRadio peer{cable.b};
    TStation *station = nullptr;
};

TEST_F(RadioWindowTest, TheQsoWindowFollowsTheRadioUntilItFallsSilent)
{
    openLog();
    QAction *startStop = mainAction("StartRadio1");
    ASSERT_NE(startStop, nullptr);
    if (!station->Radio().Running())
        startStop->trigger(); // when the start with the program came before the ports file
    ASSERT_TRUE(station->Radio().Running()) << lastMessage();
    main->UpdateRadioMenus();
    EXPECT_EQ(startStop->text(), "Stop Radio");
    EXPECT_TRUE(mainAction("SetFrequency1")->isEnabled());
    EXPECT_TRUE(mainAction("Panorama1")->isEnabled()) << "the definition reads the S meter";
    EXPECT_TRUE(main->Host().Context().Station().radioConnected);

    // The radio moves to 40 m CW: the QSO window follows at the next polls.
    test::SimulatedState state = peer.State();
    state.vfoA = 7010000;
    state.mode = 3;
    peer.SetState(state);
    station->Radio().RequestPoll();
    ASSERT_TRUE(runUntil([&] { return entry().Index(QsoList::Band) + 1 == BandOfFreq(7010); }));
    EXPECT_EQ(entry().Index(QsoList::Mode) + 1, ModeOfName("CW"));

    // "Ignore Mode in real-time": the band still follows, the mode no longer.
    mainAction("IgnoreMode1")->trigger();
    main->UpdateRadioMenus();
    EXPECT_TRUE(mainAction("IgnoreMode1")->isChecked());
    state.vfoA = 14200000;
    state.mode = 2;
    peer.SetState(state);
    ASSERT_TRUE(runUntil([&] { return entry().Index(QsoList::Band) + 1 == BandOfFreq(14200); }));
    EXPECT_EQ(entry().Index(QsoList::Mode) + 1, ModeOfName("CW"));
    mainAction("IgnoreMode1")->trigger();

    // Ctrl+R in a note adds the frequency text.
    entry().AppendRadioFrequency(QsoField::QsoNote);
    EXPECT_EQ(entry().Text(QsoField::QsoNote), "14,200KHz");

    // The radio falls silent: it is disabled with a message and the menu follows.
    TSetRadioFrequency *window = station->OpenFrequencyWindow();
    ASSERT_NE(window, nullptr);
    peer.silent = true;
    station->Radio().RequestPoll();
    ASSERT_TRUE(runUntil([&] { return !station->Radio().Running(); }));
    EXPECT_EQ(lastMessage(), "Radio timed out\rRadio interface has been disabled");
    main->UpdateRadioMenus();
    EXPECT_EQ(startStop->text(), "Start Radio");
    EXPECT_FALSE(mainAction("SetFrequency1")->isEnabled());
    EXPECT_FALSE(main->Host().Context().Station().radioConnected);
    EXPECT_TRUE(config.ReopenFreqWindow) << "the window was open when the radio stopped";
    EXPECT_EQ(station->FrequencyWindow(), nullptr);

    // Started again, the frequency window comes back.
    peer.silent = false;
    startStop->trigger();
    ASSERT_TRUE(station->Radio().Running()) << lastMessage();
    EXPECT_NE(station->FrequencyWindow(), nullptr);
}

TEST_F(RadioWindowTest, TheFrequencyWindowSetsTheRadioAsItIsEdited)
{
    openLog();
    if (!station->Radio().Running())
        station->StartStopRadio();
    ASSERT_TRUE(station->Radio().Running()) << lastMessage();
    mainAction("SetFrequency1")->trigger();
    TSetRadioFrequency *window = station->FrequencyWindow();
    ASSERT_NE(window, nullptr);
    auto *vfoA = window->findChild<QLineEdit *>("VfoA");
    auto *mode = window->findChild<QComboBox *>("RadioMode");
    EXPECT_EQ(vfoA->text(), "14250.00");
    EXPECT_EQ(mode->findText("SSTV"), -1) << "only modes the radio can be set to";

    vfoA->setText("14074.5");
    QTest::keyClick(vfoA, Qt::Key_Return);
    ASSERT_TRUE(test::waitUntil([&] { return peer.State().vfoA == 14074500; }));
    QTest::keyClick(vfoA, Qt::Key_Up); // 0.5 kHz in a phone mode
    EXPECT_EQ(vfoA->text(), "14075.00");
    QTest::keyClick(vfoA, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(vfoA->text(), "14074.99");
    mode->setCurrentText("CW");
    ASSERT_TRUE(test::waitUntil([&] { return peer.State().mode == 3 && peer.State().vfoA == 14074990; }));
    QTest::keyClick(vfoA, Qt::Key_Up, Qt::ShiftModifier); // 1 kHz in CW
    EXPECT_EQ(vfoA->text(), "14075.99");

    // The radio changed by hand: the window shows it after the next read.
    ASSERT_TRUE(test::waitUntil([&] { return peer.State().vfoA == 14075990; }));
    test::SimulatedState state = peer.State();
    state.vfoA = 21025000;
    peer.SetState(state);
    station->Radio().Guard([](RadioLink &link) { link.ReadStatus(); });
    QCoreApplication::processEvents();
    EXPECT_EQ(vfoA->text(), "21025.00");
    test::SaveScreenshot(window, "radio-frequency.png");
}

TEST_F(RadioWindowTest, TheScannerTunesItsChannelsAndThePanoramaSweeps)
{
    openLog();
    if (!station->Radio().Running())
        station->StartStopRadio();
    ASSERT_TRUE(station->Radio().Running()) << lastMessage();
    TScanChannel &channel = config.ScanChannel[4];
    channel.InUse = true;
    channel.Mode = static_cast<std::uint8_t>(ModeOfName("CW"));
    channel.Freq = 7010.0;
    channel.Freq2 = 7012.0;
    config.ScanDelay = 1;
    {
        TScanner scanner(*station, main.get());
        scanner.Scan();
        EXPECT_EQ(scanner.CurrentState(), TScanner::State::Scanning);
        // The split command follows the two frequencies, so wait for all three.
        ASSERT_TRUE(test::waitUntil([&] {
            test::SimulatedState state = peer.State();
            return state.vfoA == 7010000 && state.vfoB == 7012000 && state.txOnB;
        })) << "tuned to channel 5 with split to the second frequency";
        scanner.Stop();
        EXPECT_EQ(scanner.CurrentState(), TScanner::State::Idle);
        scanner.findChild<QTableWidget *>("Channels")->selectRow(0);
        scanner.ReadIntoSelected();
        EXPECT_TRUE(config.ScanChannel[0].InUse);
        EXPECT_DOUBLE_EQ(config.ScanChannel[0].Freq, 7010.0);
        EXPECT_DOUBLE_EQ(config.ScanChannel[0].Freq2, 7012.0);
        scanner.findChild<QSpinBox *>("ScanDelay")->setValue(7);
    }
    EXPECT_EQ(config.ScanDelay, 7) << "the dwell time is stored when the window closes";

    TPanorama panorama(*station, main.get());
    panorama.findChild<QLineEdit *>("CentreFreq")->setText("7050");
    panorama.ScanColumn(0);
    ASSERT_TRUE(test::waitUntil([&] { return peer.State().vfoA == (7050 - panorama.Columns() / 2) * 1000; }));
    EXPECT_DOUBLE_EQ(panorama.FrequencyAt(12), 7050 - panorama.Columns() / 2 + 2);
}

TEST_F(RadioWindowTest, TheDefinitionEditorTestsAndSavesDefinitions)
{
    openLog();
    station->Radio().Stop(); // as opening the editor does
    TRadioDB editor(*station, main.get());
    editor.show();
    EXPECT_EQ(editor.Shown().model, "ASCII Semicolon CAT") << "the configured radio is shown";
    EXPECT_NE(editor.List().Find("Binary Frame CAT"), nullptr);

    editor.TestRead();
    QString console = editor.ConsoleText();
    EXPECT_TRUE(console.contains("Cmd: Read Status")) << console.toStdString();
    EXPECT_TRUE(console.endsWith("Last error = 0")) << console.toStdString();
    EXPECT_EQ(editor.findChild<QListWidget *>("TestLog")->count() > 5, true);
    test::SaveScreenshot(&editor, "radio-database.png");

    editor.CopyRadio();
    EXPECT_EQ(editor.Shown().model, "&ASCII Semicolon CAT");
    EXPECT_EQ(editor.Shown().notes, "Cpy Text commands ending in ;");
    editor.SaveAndExit();
    EXPECT_TRUE(std::filesystem::exists(RadiosDir() + "/&ASCII Semicolon CAT.rig"));
    EXPECT_TRUE(config.Hardware_RadioType.view().empty()) << "no radio runs until one is chosen again";
}

} // namespace
} // namespace vellum
