// The CW keyer in the program: the CW keyboard with its keys, menu and function-key
// bar, the QSO window's "CW Keyboard" and special keys, "CW Parameters", the
// function-key editor and the sidetone on the sound server.

#include "stationprogram.h"

#include "station/Fbuttonframe.h"
#include "station/Fmorsedialog.h"
#include "station/Fmorsekb.h"
#include "station/Fsidetone.h"
#include "station/Fstation.h"
#include "station/morsecode.h"
#include "testsupport/tempdir.h"

#include "app/testing/Fprogram.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/qsodata.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace vellum {
namespace {

class CwKeyboardTest : public test::StationProgramTest {
protected:
    CwKeyboardTest() : StationProgramTest("cwkeyer") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_Callsign = "QQ0QQ";
        config.hardware_cwport = 1; // None: the keyer times the text without keying anything
        config.sidetone = false;
        config.immediate = false;   // text waits in the buffer until Enter, where the test can see it
        config.marquee = true;
        config.Speed = config.wpm = 20;
        config.DefQSO_band = 5;
    }
    void openLog() { StationProgramTest::openLog("CW.VLL"); }
    TMorseSender &sender() { return station->Keyer().Sender(); }
    QWidget *callField() { return main->QsoWindow()->findChild<QWidget *>("FQso_Call"); }
};

TEST_F(CwKeyboardTest, TypingFunctionKeysAndTheMenu)
{
    openLog();
    qsoAction("CWKeyboard1")->trigger();
    TMorseKb *kb = station->Keyer().Keyboard();
    ASSERT_NE(kb, nullptr);
    EXPECT_EQ(kb->windowTitle(), "CW Keyboard 20 WPM");
    auto *f1 = kb->findChild<QPushButton *>("FKey1");
    ASSERT_NE(f1, nullptr);
    EXPECT_EQ(f1->text(), "1 CQ");
    EXPECT_EQ(kb->findChild<QPushButton *>("FKey3")->text(), "3 TnxQRZ");

    // Typed text is upper-cased; what the keyer does not send is left out; Backspace takes back.
    QTest::keyClicks(kb, "cq de#x");
    QTest::keyClick(kb, Qt::Key_Backspace);
    EXPECT_EQ(sender().Buffer(), "CQ DE");
    QTest::qWait(150); // the marquee follows the buffer
    EXPECT_EQ(kb->Display()->text(), "CQ DE");
    QTest::keyClick(kb, Qt::Key_Escape); // Stop Sending
    EXPECT_TRUE(QTest::qWaitFor([&] { return sender().Buffer().empty(); }, 1000));

    // The function keys: expanded with the QSO window's fields, upper-cased, a blank added.
    QsoEntry &entry = *main->Host().Entry();
    entry.Edit(QsoField::Call, "dl1abc");
    entry.Leave(QsoField::Call);
    QTest::keyClick(kb, Qt::Key_F2);
    EXPECT_EQ(sender().Buffer(), "DL1ABC DE QQ0QQ 599  ");
    sender().Abort();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sender().Buffer().empty(); }, 1000));
    config.CWKEYS[8] = "Ctl|ctrl one";
    kb->ButtonBar()->Refresh();
    QTest::mouseClick(f1, Qt::LeftButton);
    EXPECT_EQ(sender().Buffer(), "CQ CQ CQ DE QQ0QQ QQ0QQ ");
    sender().Abort();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sender().Buffer().empty(); }, 1000));
    QTest::keyPress(kb, Qt::Key_Control);
    EXPECT_EQ(f1->text(), "+1 Ctl") << "Ctrl shows keys 9 to 16";
    QTest::keyClick(kb, Qt::Key_F1, Qt::ControlModifier);
    QTest::keyRelease(kb, Qt::Key_Control);
    EXPECT_EQ(f1->text(), "1 CQ");
    EXPECT_EQ(sender().Buffer(), "CTRL ONE ");
    sender().Abort();

    // Faster and slower: both speeds by 2, within their limits.
    QTest::keyClick(kb, Qt::Key_Plus);
    EXPECT_EQ(config.Speed, 22);
    EXPECT_EQ(config.wpm, 22);
    EXPECT_EQ(kb->windowTitle(), "CW Keyboard 21 WPM") << "PARIS at 22 WPM with its rounded timing";
    QTest::keyClick(kb, Qt::Key_F9, Qt::AltModifier);
    QTest::keyClick(kb, Qt::Key_F9, Qt::AltModifier);
    EXPECT_EQ(config.Speed, 18);
    config.Speed = 59;
    QTest::keyClick(kb, Qt::Key_Plus);
    EXPECT_EQ(config.Speed, 59) << "no faster than 60";
    config.Speed = config.wpm = 20;

    kb->findChild<QAction *>("ShowFunctionKeys1")->trigger();
    EXPECT_FALSE(config.showfunc);
    EXPECT_TRUE(kb->ButtonBar()->isHidden());
    kb->findChild<QAction *>("ShowFunctionKeys1")->trigger();

    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR")) {
        QTest::keyClicks(kb, "tnx fer call");
        QTest::qWait(150);
        kb->grab().save(QDir(shots).filePath("cw-keyboard.png"));
        sender().Abort();
    }

    // "%l" (and Enter QSO) add the QSO only in real-time mode, where a new log starts.
    config.CWKEYS[4] = "TU|TU%l";
    ASSERT_EQ(entry.Mode(), QsoWindowMode::AddRealTime);
    QTest::keyClick(kb, Qt::Key_F5);
    EXPECT_EQ(entry.Log().Count(), 1u) << "%l entered the QSO";
    sender().Abort();
    entry.EscapePressed();
    ASSERT_NE(entry.Mode(), QsoWindowMode::AddRealTime);
    entry.Edit(QsoField::Call, "DL2XYZ");
    QTest::keyClick(kb, Qt::Key_F5);
    QTest::keyClick(kb, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(entry.Log().Count(), 1u) << "not outside real-time mode";
    sender().Abort();

    qsoAction("CWKeyboard1")->trigger();
    EXPECT_EQ(station->Keyer().Keyboard(), kb) << "one keyboard";
    main->CloseClick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(config.WindowPos[WindowIndex::CW].Open) << "reopens with the next QSO window";
}

TEST_F(CwKeyboardTest, SpecialKeysInTheQsoWindow)
{
    config.immediate = true;
    openLog();
    QAction *special = qsoAction("SpecialKeys1");
    ASSERT_NE(special, nullptr);
    QsoEntry &entry = *main->Host().Entry();
    entry.AddRealTime();
    main->Host().QsoMenusChanged();
    ASSERT_TRUE(special->isEnabled());
    special->trigger();
    EXPECT_TRUE(special->isChecked());
    EXPECT_EQ(qsoAction("ConfirmLabel1")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F2));
    EXPECT_EQ(qsoAction("SearchOld1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F8));

    // Without the CW keyboard a function key switches the special keys off.
    QTest::keyClick(callField(), Qt::Key_F1);
    EXPECT_FALSE(main->Host().SpecialKeys());
    EXPECT_EQ(qsoAction("ConfirmLabel1")->shortcut(), QKeySequence(Qt::Key_F2));

    station->Keyer().OpenKeyboard();
    QApplication::setActiveWindow(main->QsoWindow()); // the keys go to the QSO window, not the keyboard
    special->trigger();
    QTest::keyClick(callField(), Qt::Key_F4); // "QRZ|%~ QRZ"
    EXPECT_FALSE(sender().Idle()) << "sending QQ0QQ QRZ";
    QTest::keyClick(callField(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sender().Idle(); }, 1000)) << "Esc stopped the keyer";
    EXPECT_EQ(entry.Mode(), QsoWindowMode::AddRealTime) << "and did nothing else";
    QTest::keyClick(callField(), Qt::Key_Escape);
    EXPECT_FALSE(main->Host().SpecialKeys()) << "Esc with the keyer idle leaves, and the special keys go";
    EXPECT_NE(entry.Mode(), QsoWindowMode::AddRealTime);
}

TEST_F(CwKeyboardTest, ParametersDialogAndFunctionKeyEditor)
{
    config.Speed = config.wpm = 60;
    openLog();
    TMorseKb *kb = station->Keyer().OpenKeyboard();
    TMorseDialog dialog(station->Keyer(), kb);
    auto *charWpm = dialog.findChild<QSpinBox *>("MorseCharWpm");
    auto *spacing = dialog.findChild<QSpinBox *>("MorseSpacingWpm");
    EXPECT_EQ(dialog.findChild<QLabel *>("MorseWpm")->text(), "60");
    EXPECT_FALSE(dialog.findChild<QPushButton *>("MorseTune")->isEnabled()) << "no key line to tune";

    // The measurement: "PARIS PARIS " on the sidetone; the dialog stays while it runs.
    QTest::mouseClick(dialog.findChild<QPushButton *>("MorseMeasure"), Qt::LeftButton);
    EXPECT_TRUE(dialog.Measuring());
    dialog.show();
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible()) << "cannot close while measuring";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.Measuring(); }, 10000));
    double measured = dialog.findChild<QLabel *>("MorseMeasured")->text().toDouble();
    EXPECT_GT(measured, 50);
    EXPECT_LE(measured, 60.1);

    charWpm->setValue(25);
    EXPECT_EQ(spacing->maximum(), 25);
    EXPECT_EQ(spacing->value(), 25) << "lowered with the character speed";
    EXPECT_EQ(config.Speed, 25);
    EXPECT_EQ(config.wpm, 25);
    EXPECT_EQ(kb->windowTitle(), "CW Keyboard 24 WPM") << "applied at once";
    dialog.findChild<QSpinBox *>("MorseWeight")->setValue(120);
    EXPECT_EQ(config.weight, 120);
    dialog.findChild<QCheckBox *>("MorseImmediate")->setChecked(false);
    EXPECT_TRUE(config.marquee);
    dialog.findChild<QCheckBox *>("MorseMarquee")->setChecked(false);
    EXPECT_TRUE(dialog.findChild<QCheckBox *>("MorseImmediate")->isChecked()) << "one of the two stays on";
    EXPECT_TRUE(config.immediate);
    EXPECT_FALSE(config.marquee);
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());

    TFunctionKeysDialog keys("CW", config.CWKEYS, kb);
    EXPECT_EQ(keys.windowTitle(), "CW function keys");
    auto *first = keys.findChild<QLineEdit *>("FKeyText1");
    EXPECT_EQ(first->text(), "CQ|CQ CQ CQ DE %~ %~");
    EXPECT_EQ(first->maxLength(), 75);
    first->setText("CQ|CQ TEST %~");
    keys.findChild<QCheckBox *>("ControlKeys")->setChecked(true);
    EXPECT_EQ(first->text(), "");
    first->setText("K9|NINE");
    keys.findChild<QCheckBox *>("ControlKeys")->setChecked(false);
    EXPECT_EQ(first->text(), "CQ|CQ TEST %~");
    keys.accept();
    EXPECT_EQ(config.CWKEYS[0].str(), "CQ|CQ TEST %~");
    EXPECT_EQ(config.CWKEYS[8].str(), "K9|NINE");
}

TEST(SidetoneTest, SoftEdgesAndTheSoundServer)
{
    SidetoneWave wave(48000);
    std::vector<std::int16_t> samples(4800);
    wave.Fill(samples.data(), samples.size());
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](auto s) { return s == 0; })) << "silent when off";
    wave.Set(true, 1000);
    wave.Fill(samples.data(), samples.size()); // 100 ms at 1000 Hz
    int peakStart = 0, peakLater = 0, crossings = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        int level = std::abs(samples[i]);
        (i < 48 ? peakStart : peakLater) = std::max(i < 48 ? peakStart : peakLater, level);
        crossings += i > 0 && (samples[i - 1] < 0) != (samples[i] < 0);
    }
    EXPECT_LT(peakStart, peakLater / 4) << "the first millisecond is still rising";
    EXPECT_NEAR(crossings, 200, 3) << "1000 Hz";
    wave.Off();
    wave.Fill(samples.data(), 480);
    EXPECT_LT(std::abs(samples[479]), 10) << "faded out after 10 ms";
    EXPECT_GT(std::abs(samples[20]) + std::abs(samples[21]), 0) << "not cut off at once";
    EXPECT_TRUE(wave.Silent());

    if (QMediaDevices::audioOutputs().isEmpty())
        GTEST_SKIP() << "no sound output (start PulseAudio with a null sink to run this part)";
    TSidetone sidetone;
    sidetone.Start(700);
    EXPECT_TRUE(QTest::qWaitFor([&] { return sidetone.Playing(); }, 3000)) << "the sink plays";
    sidetone.Stop();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sidetone.Wave().Silent(); }, 1000));
}

} // namespace
} // namespace vellum

namespace vellum {
namespace {

QString runCli(const test::TempDir &dir, const QStringList &args)
{
    QProcess cli;
    cli.start(VELLUM_CLI, QStringList{"--dir", QString::fromStdString(dir.path())} + args);
    cli.waitForFinished(20000);
    return QString::fromUtf8(cli.readAllStandardOutput()) + QString::fromUtf8(cli.readAllStandardError());
}

TEST(CwCliTest, TimelineAndExpansionAreTheKeyersOwn)
{
    test::TempDir dir("cw-cli");
    QStringList lines = runCli(dir, {"cw", "timeline", "cq %@", "--call", "dl1abc", "--wpm", "25", "--char-wpm", "30"})
                            .split('\n', Qt::SkipEmptyParts);
    std::vector<KeyTransition> plan = KeyTimeline("CQ DL1ABC", MorseTiming::For(30, 25, 100));
    ASSERT_EQ(lines.size(), static_cast<qsizetype>(plan.size()));
    for (std::size_t i = 0; i < plan.size(); ++i) {
        QJsonObject change = QJsonDocument::fromJson(lines[static_cast<qsizetype>(i)].toUtf8()).object();
        EXPECT_EQ(change["t_ms"].toInteger(), plan[i].tMs);
        EXPECT_EQ(change["down"].toBool(), plan[i].down);
        EXPECT_EQ(change["ms"].toInteger(), plan[i].ms);
    }
    QJsonObject expanded = QJsonDocument::fromJson(
                               runCli(dir, {"cw", "expand", "%@ %$ %& %#%M%l", "--call", "dl1abc", "--rst-sent", "579",
                                            "--exchange", "14", "--nr", "7"})
                                   .toUtf8())
                               .object();
    EXPECT_EQ(expanded["text"].toString(), "DL1ABC 579 14 007\r");
    EXPECT_TRUE(expanded["enter_qso"].toBool());
    EXPECT_TRUE(runCli(dir, {"cw", "timeline", "E", "--wpm", "99"}).contains("--wpm takes a whole number from 1 to 60"));
}

} // namespace
} // namespace vellum
