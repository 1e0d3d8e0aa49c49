// The PSK31 window in the program, on a sound device that plays generated PSK31
// signals: decoding with the displays running, tuning, the panes, transmitting
// with the function keys, keying, word capture into the QSO window and the
// settings dialog.

#include "station/psk/Fpsk31.h"
#include "station/psk/Fpskdialog.h"
#include "station/psk/Fpskmixer.h"
#include "station/psk/psktools.h"

#include "station/portmap.h"
#include "station/tests/radiopeers.h"
#include "station/tests/stationpeers.h"
#include "station/tests/stationprogram.h"

#include "app/programcontext.h"
#include "cluster/Fcluster.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/qsodata.h"
#include "qso/qsoentry.h"
#include "qso/qsofields.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>

namespace vellum {
namespace {

constexpr int Rate = 8000;
const std::string Sent = "CQ CQ de QQ0ABC QQ0ABC pse k\r";

/// What the test sees of the fake sound device after the window took it.
struct SoundScript {
    std::string openError;
    std::vector<float> input;   ///< played once, then silence
    std::size_t played = 0;
    std::size_t chunk = 1600;   ///< samples per read: five times real time at a 20 ms tick
    std::vector<float> written;
    bool Finished() const { return played >= input.size(); }
};

class ScriptedSound : public PskSoundDevice {
public:
    explicit ScriptedSound(std::shared_ptr<SoundScript> script) : m_script(std::move(script)) {}
    std::string Open() override { return m_script->openError; }
    void Close() override {}
    int SampleRate() const override { return Rate; }
    std::vector<float> Read() override
    {
        SoundScript &s = *m_script;
        std::size_t n = std::min(s.chunk, s.input.size() - s.played);
        std::vector<float> samples(s.input.begin() + static_cast<std::ptrdiff_t>(s.played),
                                   s.input.begin() + static_cast<std::ptrdiff_t>(s.played + n));
        s.played += n;
        samples.resize(s.chunk, 0.0f);
        return samples;
    }
    std::size_t OutputRoom() const override { return m_script->chunk; }
    void Write(const std::vector<float> &samples) override
    {
        m_script->written.insert(m_script->written.end(), samples.begin(), samples.end());
    }

private:
    std::shared_ptr<SoundScript> m_script;
};

/// A signal at hz: a second of silence, the text, silence again.
std::vector<float> signalOf(const std::string &text, double hz)
{
    std::vector<float> samples(Rate, 0.0f);
    std::vector<float> sent = psk::EncodeText(text, Rate, hz, psk::PskMode::Bpsk);
    for (float &s : sent)
        s *= 0.5f;
    samples.insert(samples.end(), sent.begin(), sent.end());
    samples.resize(samples.size() + Rate, 0.0f);
    psk::AddNoise(samples, Rate, 20, 7);
    return samples;
}

/// An idle signal at hz - the reversals are two tones half the baud rate either
/// side - with third-order products three halves of the baud rate either side,
/// productsDb below the tones, for the seconds given; a little noise over it.
std::vector<float> idleWithProducts(double hz, double productsDb, double seconds)
{
    const double tone = 0.25, product = tone * std::pow(10.0, productsDb / 20);
    const double half = psk::BaudRate / 2, pi2 = 2 * std::numbers::pi;
    std::vector<float> samples(static_cast<std::size_t>(seconds * Rate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double t = static_cast<double>(i) / Rate;
        samples[i] = static_cast<float>(tone * (std::cos(pi2 * (hz - half) * t) + std::cos(pi2 * (hz + half) * t)) +
                                        product * (std::cos(pi2 * (hz - 3 * half) * t) + std::cos(pi2 * (hz + 3 * half) * t)));
    }
    psk::AddNoise(samples, Rate, 40, 3);
    return samples;
}

/// The value of the "IMD: -20dB" status panel; nothing while it shows none.
std::optional<int> imdOf(const QString &panel)
{
    QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^IMD: (-?\\d+)dB$")).match(panel);
    return match.hasMatch() ? std::optional<int>(match.captured(1).toInt()) : std::nullopt;
}

bool waitFor(const std::function<bool()> &condition, int seconds = 60)
{
    return QTest::qWaitFor(condition, seconds * 1000);
}

class PskWindowTest : public test::StationProgramTest {
protected:
    PskWindowTest() : StationProgramTest("psk31") {}
    void SetUp() override
    {
        config.LASTLOG = "<none>";
        config.Personal_Callsign = "QQ0QQ";
        TPsk31Settings &p = config.PSK31;
        p.MainFreq = 1000;
        p.FreqChan2 = 1500;
        p.Mode = 0;
        p.AFC = 1;
        p.AFCRange = 30;
        p.Net = 0;
        p.ThreshHold = 30;
        p.KEYING = 1;
        p.CHAN2 = 0;
        p.Split1 = 45; // displays
        p.Split2 = 35; // transmit pane
        p.Split3 = 90;
        p.Display = 0;
        p.Scale = 1;
    }
    /// The program with a log, the PSK31 window registered on the scripted sound.
    void start()
    {
        program.Start({RegisterQsoWindows, RegisterStationWindows, RegisterClusterWindows, [this](WindowHost &host) {
                           RegisterPskWindows(host, [this] { return std::make_unique<ScriptedSound>(script); });
                       }});
        chooser.file = QString::fromStdString(program.SaveFile("PSK.VLL"));
        main->NewClick();
        QCoreApplication::processEvents();
        station = StationOf(main->Host());
    }
    TPSK31Window *openWindow()
    {
        qsoAction("PSK311")->trigger();
        return qobject_cast<TPSK31Window *>(main->Host().Companion(CompanionId::Psk31));
    }
    static QString receivedText(TPSK31Window *window) { return window->ReceivePane()->toPlainText(); }

    std::shared_ptr<SoundScript> script = std::make_shared<SoundScript>();
};

TEST_F(PskWindowTest, DecodesAGeneratedSignalWithTheDisplaysRunning)
{
    script->input = signalOf(Sent, 1007); // 7 Hz off the tuned frequency: AFC pulls in
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "PSK31 Window");
    EXPECT_EQ(window->StatusText(0), "Rx: 1000");
    EXPECT_EQ(window->StatusText(2), "Tx: 1000");
    EXPECT_TRUE(ClusterOf(main->Host())->SoundCardOwned()) << "no spoken spots while the window holds the sound card";
    EXPECT_EQ(window->focusWidget(), window->TransmitPane());

    ASSERT_TRUE(waitFor([&] { return receivedText(window).contains("QQ0ABC QQ0ABC pse k"); }))
        << receivedText(window).toStdString();
    EXPECT_TRUE(receivedText(window).contains("CQ de QQ0ABC")) << "the squelch may open a character late";
    EXPECT_NEAR(window->ReceiveFrequency(), 1007, 3) << "the receive frequency follows the AFC";
    EXPECT_GT(window->Waterfall()->LinesDrawn(), 20);
    // The waterfall's top line shows the signal brighter than the band beside it.
    const QImage &history = window->Waterfall()->History();
    int width = history.width();
    int signalX = psk::PixelOf(window->Displays().view, 1007, width);
    bool brighter = false;
    for (int row = 0; row < std::min(history.height(), 30) && !brighter; ++row)
        brighter = qGray(history.pixel(signalX, row)) > qGray(history.pixel(width / 8, row)) + 40;
    EXPECT_TRUE(brighter) << "the signal's trace is in the waterfall";

    if (const char *shots = std::getenv("VELLUM_SCREENSHOT_DIR")) {
        window->raise();
        QTest::qWait(100);
        window->grab().save(QDir(shots).filePath("psk31-window.png"));
    }

    // Spectrum only: the waterfall stands still; back to both, it goes on from its history.
    QPushButton *display = window->findChild<QPushButton *>("DisplayButton");
    display->click();
    EXPECT_EQ(display->text(), "Waterfall");
    EXPECT_FALSE(window->Waterfall()->isVisible());
    int lines = window->Waterfall()->LinesDrawn();
    script->input = signalOf("more", 1000);
    script->played = 0;
    ASSERT_TRUE(waitFor([&] { return script->Finished(); }));
    QTest::qWait(100);
    EXPECT_EQ(window->Waterfall()->LinesDrawn(), lines);
    display->click();
    display->click();
    EXPECT_EQ(display->text(), "Spectrum");
    script->played = 0;
    EXPECT_TRUE(waitFor([&] { return window->Waterfall()->LinesDrawn() > lines; }));

    // Closing stores the frequencies; the window is gone.
    int last = window->ReceiveFrequency();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main->Host().Companion(CompanionId::Psk31), nullptr);
    EXPECT_EQ(config.PSK31.MainFreq, last);
    EXPECT_FALSE(ClusterOf(main->Host())->SoundCardOwned());
}

TEST_F(PskWindowTest, HoldingKeepsTheReceivedTextUntilReleased)
{
    script->input = signalOf(Sent, 1000);
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    window->findChild<QAction *>("HoldText1")->trigger();
    EXPECT_EQ(window->windowTitle(), "PSK31 Window [HOLDING]");
    ASSERT_TRUE(waitFor([&] { return script->Finished(); }));
    QTest::qWait(300);
    EXPECT_FALSE(receivedText(window).contains("QQ0ABC"));
    window->SetHold(false);
    EXPECT_EQ(window->windowTitle(), "PSK31 Window");
    EXPECT_TRUE(receivedText(window).contains("CQ de QQ0ABC QQ0ABC pse k")) << receivedText(window).toStdString();

    // "Play back" decodes the kept input again.
    window->ReceivePane()->clear();
    window->findChild<QAction *>("PlayBack1")->trigger();
    EXPECT_TRUE(waitFor([&] { return receivedText(window).contains("QQ0ABC QQ0ABC"); }));
}

TEST_F(PskWindowTest, ArrowKeysTuneToTheNextSignalOfTheView)
{
    std::vector<float> first = signalOf(Sent + Sent, 1000);
    std::vector<float> second = signalOf(Sent + Sent, 1400);
    for (std::size_t i = 0; i < std::min(first.size(), second.size()); ++i)
        first[i] += second[i];
    script->input = first;
    config.PSK31.AFC = 0;
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitFor([&] { return script->played > 4u * Rate; }));
    int lines = window->ReceivePane()->blockCount();
    QTest::keyClick(window->TransmitPane(), Qt::Key_Right);
    EXPECT_NEAR(window->ReceiveFrequency(), 1400, 8) << "up to the next signal";
    EXPECT_EQ(window->ReceivePane()->blockCount(), lines + 1) << "400 Hz away: a new line";
    EXPECT_TRUE(window->TransmitPane()->toPlainText().isEmpty()) << "the arrow is not typed";
    QTest::keyClick(window->TransmitPane(), Qt::Key_Right);
    EXPECT_NEAR(window->ReceiveFrequency(), 1000, 8) << "nothing above: round from the start of the view";
    QTest::keyClick(window->ReceivePane(), Qt::Key_Left);
    EXPECT_NEAR(window->ReceiveFrequency(), 1400, 8) << "down, round from the end of the view";
    EXPECT_EQ(window->focusWidget(), window->TransmitPane());
}

TEST_F(PskWindowTest, PastedTextIsTypedLineByLine)
{
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    QApplication::clipboard()->setText("first line\nsecond\tline\n");
    window->findChild<QAction *>("Paste1")->trigger();
    EXPECT_EQ(window->TransmitPane()->toPlainText(), "first line\nsecondline\n") << "the tab (below 13) is dropped";
    EXPECT_EQ(window->Engine().GetTXCharsRemaining(), 22);
    window->TransmitPane()->setFocus();
    window->findChild<QAction *>("Clear1")->trigger();
    EXPECT_TRUE(window->TransmitPane()->toPlainText().isEmpty());
    EXPECT_EQ(window->Engine().GetTXCharsRemaining(), 0);
}

TEST_F(PskWindowTest, AFunctionKeyTransmitsItsTextAsOneOver)
{
    config.PSK31KEYS[0] = "\x18" "CQ de %~ k\x1B";
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window->TransmitPane(), Qt::Key_F1);
    EXPECT_TRUE(window->TxDown());
    EXPECT_EQ(window->TransmitPane()->toPlainText(), "CQ de QQ0QQ k");
    ASSERT_TRUE(waitFor([&] { return !window->TxDown(); })) << "the end mark ends the over";
    std::string decoded = psk::DecodeSound(script->written, Rate, {1000.0});
    EXPECT_NE(decoded.find("CQ de QQ0QQ k"), std::string::npos) << decoded;

    // Releasing Tx with text still queued aborts and discards it.
    script->written.clear();
    window->findChild<QAction *>("StartTransmission1")->trigger();
    ASSERT_TRUE(window->TxDown());
    window->TypeText("a long text that has no time to go out before the release");
    window->findChild<QAction *>("StopTransmission1")->trigger();
    EXPECT_FALSE(window->TxDown());
    EXPECT_EQ(window->Engine().GetTXCharsRemaining(), 0);
    EXPECT_TRUE(waitFor([&] { return !window->Engine().Transmitting(); }));

    // "%l" enters the QSO of the real-time mode after the text; so does Ctrl+Enter.
    QsoEntry &entry = *main->Host().Entry();
    ASSERT_EQ(entry.Mode(), QsoWindowMode::AddRealTime);
    config.PSK31KEYS[1] = "%@ tu%l";
    entry.Edit(QsoField::Call, "dl1abc");
    entry.Leave(QsoField::Call);
    QTest::keyClick(window->TransmitPane(), Qt::Key_F2);
    EXPECT_TRUE(window->TransmitPane()->toPlainText().endsWith("DL1ABC tu")) << window->TransmitPane()->toPlainText().toStdString();
    EXPECT_EQ(entry.Log().Count(), 1u);
    entry.Edit(QsoField::Call, "dl2xyz");
    entry.Leave(QsoField::Call);
    window->findChild<QAction *>("EnterQSO1")->trigger();
    EXPECT_EQ(entry.Log().Count(), 2u);
}

TEST_F(PskWindowTest, CopyIsEnabledOnlyWithASelectionInTheFocusedPane)
{
    script->openError = "no sound input device";
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QAction *copy = window->findChild<QAction *>("Copy1");
    ASSERT_NE(copy, nullptr);
    QPlainTextEdit *receive = window->ReceivePane(), *transmit = window->TransmitPane();
    EXPECT_TRUE(receive->actions().contains(copy) && transmit->actions().contains(copy)) << "in both panes' popups";

    receive->setPlainText("CQ de QQ0ABC");
    receive->setFocus();
    EXPECT_FALSE(copy->isEnabled()) << "nothing selected";
    receive->selectAll();
    EXPECT_TRUE(copy->isEnabled());
    QApplication::clipboard()->clear();
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "CQ de QQ0ABC");

    transmit->setFocus();
    EXPECT_FALSE(copy->isEnabled()) << "the focused pane has no selection";
    receive->setFocus();
    EXPECT_TRUE(copy->isEnabled()) << "the receive pane kept its selection";
    receive->moveCursor(QTextCursor::End);
    EXPECT_FALSE(copy->isEnabled()) << "the selection is gone";

    transmit->setFocus();
    QTest::keyClicks(transmit, "tu");
    transmit->selectAll();
    EXPECT_TRUE(copy->isEnabled());
    window->findChild<TPskWaterfall *>()->setFocus();
    EXPECT_FALSE(copy->isEnabled()) << "no pane has the focus";
}

TEST_F(PskWindowTest, TheImdPanelMeasuresTheIdleSignal)
{
    config.PSK31.AFC = 0;
    script->input = idleWithProducts(1000, -60, 6);
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitFor([&] { return script->Finished(); }));
    std::optional<int> clean = imdOf(window->StatusText(3));
    ASSERT_TRUE(clean) << window->StatusText(3).toStdString();
    EXPECT_LT(*clean, -35) << "a clean idle has hardly any products";

    // Third-order products 20 dB below the tones: the panel comes to show -20dB.
    script->input = idleWithProducts(1000, -20, 8);
    script->played = 0;
    EXPECT_TRUE(waitFor([&] {
        std::optional<int> imd = imdOf(window->StatusText(3));
        return imd && std::abs(*imd + 20) <= 1;
    })) << window->StatusText(3).toStdString();
    EXPECT_TRUE(window->StatusText(4).isEmpty()) << "no clock error shown";
    // Tuned away the measure is no longer of the signal heard: the panel is cleared.
    ASSERT_TRUE(waitFor([&] { return script->Finished(); }));
    window->DisplayClicked(1300, false);
    EXPECT_TRUE(window->StatusText(3).isEmpty());
}

TEST_F(PskWindowTest, TuningByClickArrowsMarkersAndChannelTwo)
{
    script->openError = "no sound input device";
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(lastMessage(), "Error starting the soundcard: no sound input device");

    int lines = window->ReceivePane()->blockCount();
    window->DisplayClicked(1049, false);
    EXPECT_EQ(window->ReceiveFrequency(), 1049);
    EXPECT_EQ(window->ReceivePane()->blockCount(), lines) << "49 Hz: no line break";
    EXPECT_EQ(window->TransmitFrequency(), 1000) << "Net off: 49 Hz leaves the transmit frequency";
    window->DisplayClicked(1099, false);
    EXPECT_EQ(window->ReceivePane()->blockCount(), lines + 1) << "50 Hz: a new line";
    EXPECT_EQ(window->TransmitFrequency(), 1099) << "50 Hz moves it";

    // A real click: Ctrl opens channel 2 at the pixel's frequency; Ctrl+Shift tunes the main channel.
    TPskWaterfall *waterfall = window->Waterfall();
    QPoint at(waterfall->width() / 2, waterfall->height() / 2);
    int hz = psk::FrequencyAt(window->Displays().view, at.x(), waterfall->width());
    QTest::mouseClick(waterfall, Qt::LeftButton, Qt::ControlModifier, at);
    EXPECT_TRUE(window->Channel2Pane()->isVisible());
    EXPECT_EQ(config.PSK31.CHAN2, 1);
    EXPECT_EQ(config.PSK31.Split3, 75) << "limited to 75 on opening";
    EXPECT_EQ(window->Displays().channel2Hz, hz);
    EXPECT_EQ(window->ReceiveFrequency(), 1099);
    QTest::mouseClick(waterfall, Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, at);
    EXPECT_EQ(window->ReceiveFrequency(), hz);

    // Channel 2's text goes to the main pane, which takes its frequency.
    window->Channel2Pane()->setPlainText("QQ1XYZ de QQ2XYZ\nk");
    window->TuneChannel2(1500, 0);
    window->findChild<QAction *>("SetAsMainFreq1")->trigger();
    EXPECT_TRUE(window->ReceivePane()->toPlainText().endsWith("QQ1XYZ de QQ2XYZ k  "));
    EXPECT_EQ(window->ReceiveFrequency(), 1500);
    window->findChild<QAction *>("CloseChannel21")->trigger();
    EXPECT_FALSE(window->Channel2Pane()->isVisible());
    EXPECT_EQ(config.PSK31.CHAN2, 0);

    // Markers: set, labelled with the number without a call, cleared by setting again.
    window->findChild<QAction *>("SetMarker1")->trigger();
    EXPECT_EQ(window->Displays().markers[0].hz, 1500);
    EXPECT_EQ(window->Displays().markers[0].label, "1");
    window->TuneMain(1200, 0);
    window->findChild<QAction *>("GotoMarker1")->trigger();
    EXPECT_EQ(window->ReceiveFrequency(), 1500);
    window->findChild<QAction *>("SetMarker1")->trigger();
    EXPECT_EQ(window->Displays().markers[0].hz, 0) << "set twice on the same frequency: cleared";

    // Zoom 4x around the receive frequency.
    window->findChild<QAction *>("Zoom4x1")->trigger();
    EXPECT_EQ(window->Displays().view.start, 1000);
    EXPECT_EQ(window->Displays().view.end, 1990);
    EXPECT_EQ(config.PSK31.Scale, 4);
}

TEST_F(PskWindowTest, DoubleClickedWordsFillTheQsoWindow)
{
    script->openError = "none";
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    QsoEntry &entry = *main->Host().Entry();
    ASSERT_EQ(entry.Mode(), QsoWindowMode::AddRealTime);
    main->Host().Context().Station().ignoreRadioMode = false;

    window->ReceivePane()->setPlainText("de 599/NY ur 5991234, name john");
    window->CaptureWord("599/NY");
    EXPECT_TRUE(main->Host().Context().Station().ignoreRadioMode);
    EXPECT_EQ(entry.Text(QsoField::Call), "599/NY");
    EXPECT_EQ(entry.Index(QsoList::Mode), 10) << "PSK31";

    window->CaptureWord("5991234,");
    EXPECT_EQ(entry.Text(QsoField::RstRcvd), "599");
    EXPECT_EQ(entry.Text(QsoField::Recvd), "1234");

    QTextCursor cursor = window->ReceivePane()->document()->find("john");
    QRect box = window->ReceivePane()->cursorRect(cursor);
    QTest::mouseDClick(window->ReceivePane()->viewport(), Qt::LeftButton, {}, box.center() - QPoint(8, 0));
    EXPECT_EQ(entry.Text(QsoField::CallNotes), "John");

    window->CaptureWord("jo30");
    EXPECT_EQ(entry.Text(QsoField::Grid), "JO30");
}

TEST_F(PskWindowTest, SettingsDialogAndKeyingFallBackToVox)
{
    script->openError = "none";
    start();
    auto *window = new TPSK31Window(main->Host(), std::make_unique<ScriptedSound>(script),
                                    [](int, std::string &error) -> std::unique_ptr<ModemLines> {
                                        error = "No such file or directory";
                                        return nullptr;
                                    });
    TPskDialog *dialog = window->OpenSettings();
    EXPECT_EQ(dialog->windowTitle(), "PSK31 Settings");
    auto *rx = dialog->findChild<QSpinBox *>("RxFrequency");
    EXPECT_EQ(rx->value(), 1000);
    EXPECT_FALSE(rx->isEnabled()) << "AFC on: the receive spinner is locked";
    dialog->findChild<QComboBox *>("Mode")->setCurrentIndex(1);
    EXPECT_EQ(config.PSK31.Mode, 1);
    window->TuneMain(1300, 0);
    EXPECT_EQ(rx->value(), 1300) << "the field follows the window";

    auto *keying = dialog->findChild<QComboBox *>("TxKeying");
    keying->setCurrentIndex(2); // COM1
    EXPECT_EQ(config.PSK31.KEYING, 3);
    window->SetTx(true);
    EXPECT_EQ(lastMessage(), "Error keying Tx using port COM1\rNo such file or directory");
    EXPECT_EQ(config.PSK31.KEYING, 1);
    EXPECT_EQ(keying->currentText(), "VOX");
    window->SetTx(false);
    delete window;
}

/// The sound server's devices (they may be listed a moment after the first question).
bool haveSoundDevices()
{
    return waitFor([] { return !QMediaDevices::audioInputs().isEmpty() && !QMediaDevices::audioOutputs().isEmpty(); }, 3);
}

TEST(PskSoundCard, TheSystemDeviceCarriesASignalRoundTheNullSink)
{
    if (!haveSoundDevices())
        GTEST_SKIP() << "no sound devices (start PulseAudio with a null sink to run this)";
    QtPskSoundDevice device;
    ASSERT_EQ(device.Open(), "");
    const int rate = device.SampleRate();
    EXPECT_TRUE(rate == 8000 || rate == 48000) << rate;
    std::vector<float> signal = psk::EncodeText("vellum sound loop test\r", rate, 1000, psk::PskMode::Bpsk);
    for (float &sample : signal)
        sample *= 0.5f;
    std::vector<float> heard;
    std::size_t sent = 0;
    // The null sink's monitor is the default input: what goes out comes back in.
    bool done = waitFor([&] {
        std::size_t room = std::min(device.OutputRoom(), signal.size() - sent);
        if (room > 0) {
            device.Write(std::vector<float>(signal.begin() + static_cast<std::ptrdiff_t>(sent),
                                            signal.begin() + static_cast<std::ptrdiff_t>(sent + room)));
            sent += room;
        }
        std::vector<float> input = device.Read();
        heard.insert(heard.end(), input.begin(), input.end());
        return sent == signal.size() && heard.size() > signal.size() + static_cast<std::size_t>(rate);
    });
    ASSERT_TRUE(done) << "sent " << sent << " of " << signal.size() << ", heard " << heard.size();
    std::string decoded = psk::DecodeSound(heard, rate, {1000.0});
    EXPECT_NE(decoded.find("sound loop test"), std::string::npos) << decoded;
    device.Close();
    EXPECT_TRUE(device.Read().empty());
    EXPECT_EQ(device.OutputRoom(), 0u);
}

TEST_F(PskWindowTest, TheWindowRunsOnTheSystemSoundCard)
{
    if (!haveSoundDevices())
        GTEST_SKIP() << "no sound devices (start PulseAudio with a null sink to run this)";
    program.Start({RegisterQsoWindows, RegisterStationWindows, [](WindowHost &host) { RegisterPskWindows(host); }});
    chooser.file = QString::fromStdString(program.SaveFile("PSK.VLL"));
    main->NewClick();
    QCoreApplication::processEvents();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(lastMessage().find("Error starting the soundcard"), std::string::npos) << lastMessage();
    EXPECT_TRUE(waitFor([&] { return window->Waterfall()->LinesDrawn() > 3; })) << "spectra arrive from the input";
}

TEST_F(PskWindowTest, CenterRadioMovesTheRadioSoTheSignalSitsAtTheCentralFrequency)
{
    test::PtyPair cable;
    test::AsciiRadio peer{cable.b};
    ASSERT_TRUE(cable.ok && peer.Start());
    config.Hardware_RadioType = "ASCII Semicolon CAT";
    config.Hardware_RadioCOMPort = 2;
    config.Hardware_RadioMaxTries = 1;
    config.ReopenFreqWindow = false;
    config.PSK31.CenterFreq = 1500;
    config.PSK31.AFC = 0;
    script->openError = "none";
    start();
    PortMap ports;
    ports.SetDevicePath(2, cable.a);
    ports.Save();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    QAction *center = window->findChild<QAction *>("CenterRadio1");
    window->CenterRadio();
    EXPECT_EQ(peer.State().vfoA, 14250000) << "no radio running: nothing happens";

    if (!station->Radio().Running())
        main->findChild<QAction *>("StartRadio1")->trigger();
    ASSERT_TRUE(station->Radio().Running()) << lastMessage();
    window->TuneMain(1700, 0);
    window->SetMarker(1);
    window->TuneChannel2(1900, 0);
    center->trigger();
    EXPECT_TRUE(waitFor([&] { return peer.State().vfoA == 14250200; }, 10))
        << "200 Hz up: the signal moves down to 1500 Hz; the radio is at " << peer.State().vfoA;
    EXPECT_EQ(window->ReceiveFrequency(), 1500);
    EXPECT_EQ(window->Displays().markers[0].hz, 1500);
    EXPECT_EQ(window->Engine().GetRXFrequency(1), 1700);
    station->StartStopRadio();
}

TEST_F(PskWindowTest, KeyingByTheCwKeyersManualKeyAndTheSquelchOnTheMeter)
{
    config.PSK31.KEYING = 2; // CW Intf
    start();
    TPSK31Window *window = openWindow();
    ASSERT_NE(window, nullptr);
    TMorseSender &sender = station->Keyer().Sender();
    window->SetTx(true);
    EXPECT_TRUE(sender.ManualKeyDown());
    window->SetTx(false);
    ASSERT_TRUE(waitFor([&] { return !window->Engine().Transmitting(); }));
    EXPECT_TRUE(waitFor([&] { return !sender.ManualKeyDown(); })) << "unkeyed when the engine reports the end";

    TPskMeter *meter = window->findChild<TPskMeter *>("PskMeter");
    ASSERT_GE(meter->height(), 20);
    QTest::mouseClick(meter, Qt::LeftButton, {}, QPoint(5, meter->height() / 4));
    EXPECT_NEAR(config.PSK31.ThreshHold, 75, 1) << "a quarter down from the top";
    EXPECT_EQ(window->Displays().threshold, config.PSK31.ThreshHold);
}

TEST(PskMixer, AMissingMixerProgramIsNamed)
{
    EXPECT_EQ(RunMixerCommand("vellum-no-such-mixer --x"),
              "The mixer program \"vellum-no-such-mixer\" was not found; install it or name another in the PSK31 Settings");
    EXPECT_EQ(RunMixerCommand("  "), "No mixer program is set");
}

} // namespace
} // namespace vellum
