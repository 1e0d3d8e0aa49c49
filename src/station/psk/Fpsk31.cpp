#include "Fpsk31.h"

#include "Fpskdialog.h"
#include "Fpskmixer.h"
#include "pskwords.h"

#include "station/Fbuttonframe.h"
#include "station/Fstation.h"
#include "station/macroexpand.h"

#include "app/programcontext.h"
#include "cluster/Fcluster.h"
#include "app/qsowindow.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "country/countrydata.h"
#include "geo/bearing.h"
#include "logstore/Ftext.h"
#include "logstore/services.h"
#include "logstore/shortstring.h"
#include "qso/qsochecks.h"
#include "qso/qsoentry.h"
#include "qso/qsofields.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace vellum {

namespace {

const QString Caption = QStringLiteral("PSK31 Window");
constexpr int SearchNear = 15;    ///< the engine looks for the signal near a picked frequency
constexpr int LineBreakShift = 50; ///< Hz: a retune this far starts a new line in the receive pane
constexpr int PskMode = 11;       ///< PSK31 in the QSO window's mode list
constexpr int SoundTickMs = 20;
constexpr int ClockErrorShown = 2000; ///< ppm

/// The receive pane: double-clicking a word hands it on.
class TPskReceivePane : public QPlainTextEdit {
public:
    TPskReceivePane(std::function<void(const QString &)> wordChosen, QWidget *parent)
        : QPlainTextEdit(parent), m_wordChosen(std::move(wordChosen))
    {
        setReadOnly(true);
    }

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QPlainTextEdit::mouseDoubleClickEvent(event); // selects the word
        if (m_wordChosen)
            m_wordChosen(textCursor().selectedText());
    }

private:
    std::function<void(const QString &)> m_wordChosen;
};

/// The transmit pane: what is typed goes to the window as characters, not into the text.
class TPskTransmitPane : public QPlainTextEdit {
public:
    TPskTransmitPane(TPSK31Window &window, QWidget *parent) : QPlainTextEdit(parent), m_window(window)
    {
        setReadOnly(true);
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
        if (mods == Qt::ControlModifier && event->key() == Qt::Key_X)
            return m_window.TypeCharacter(24);
        if (mods == Qt::ControlModifier && event->key() == Qt::Key_C)
            return m_window.TypeCharacter(3);
        if (mods == Qt::NoModifier) {
            if (event->key() == Qt::Key_Backspace)
                return m_window.TypeCharacter(8);
            if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
                return m_window.TypeCharacter(13);
            std::string text = CoreText(event->text());
            if (text.size() == 1 && static_cast<unsigned char>(text[0]) >= 32)
                return m_window.TypeCharacter(static_cast<unsigned char>(text[0]));
        }
        QPlainTextEdit::keyPressEvent(event);
    }

private:
    TPSK31Window &m_window;
};

QAction *menuAction(QWidget *window, QMenu *menu, const char *name, const QString &caption, const QKeySequence &key,
                   std::function<void()> run)
{
    auto *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    QObject::connect(action, &QAction::triggered, window, [run = std::move(run)] { run(); });
    return action;
}

} // namespace

TPSK31Window::TPSK31Window(WindowHost &host, std::unique_ptr<PskSoundDevice> sound,
                           psk::PskTransmitterKey::PortOpener portOpener, QWidget *parent)
    : QWidget(parent, Qt::Window), m_host(host), m_engine(std::make_unique<psk::PskEngine>(8000)),
      m_sound(std::move(sound)),
      m_key([&host](bool down) {
                if (TStation *station = StationOf(host))
                    station->Keyer().Sender().ManualKey(down);
            },
            std::move(portOpener))
{
    setObjectName(QStringLiteral("PSK31Window"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(200, 200);
    resize(710, 460);
    m_data.markers = {};
    RebuildPalette();
    buildPanes();
    buildActions();
    m_soundTimer = new QTimer(this);
    connect(m_soundTimer, &QTimer::timeout, this, &TPSK31Window::ProcessSound);

    TPsk31Settings &s = Settings();
    m_data.threshold = s.ThreshHold;
    m_data.receiveHz = 0;
    SetReceiveFrequency(s.MainFreq);
    SetTransmitFrequency(m_data.receiveHz);
    m_data.channel2Hz = s.FreqChan2;
    SetZoom(s.Scale);
    showView(std::clamp<int>(s.Display, 0, 2));
    startEngine();
    focusTransmitPane();
    m_host.PostDeferRequest(2, this);
    m_active = true;
    if (psk::PskKeying{s.KEYING, s.KEYDTR != 0, s.OTHERH != 0}.ComNumber() > 0)
        keyTransmitter(false);
}

TPSK31Window::~TPSK31Window()
{
    // No selection or focus change of the panes going away reaches the window being destroyed.
    disconnect(m_focusWatch);
    for (QPlainTextEdit *pane : {m_receive, m_channel2, m_transmit})
        disconnect(pane, &QPlainTextEdit::selectionChanged, this, nullptr);
    delete m_dialog.data();
    m_active = false;
    storeSplitters();
    TPsk31Settings &s = Settings();
    s.MainFreq = static_cast<std::uint16_t>(m_data.receiveHz);
    s.FreqChan2 = static_cast<std::uint16_t>(m_data.channel2Hz); // the engine's, as of the last data or tuning
    std::string ignored;
    m_key.Key(false, psk::PskKeying{s.KEYING, s.KEYDTR != 0, s.OTHERH != 0}, ignored);
    m_engine->StopSoundCard();
    if (m_sound)
        m_sound->Close();
    m_key.Close();
}

TPsk31Settings &TPSK31Window::Settings() const { return m_host.Context().Config().PSK31; }

// --- building --------------------------------------------------------------------

void TPSK31Window::buildPanes()
{
    m_panel = new TPskDisplayPanel(m_data, this);
    connect(m_panel->Meter(), &TPskMeter::thresholdChosen, this, [this](int percent) {
        Settings().ThreshHold = static_cast<std::uint8_t>(percent);
        ApplySquelch();
        m_panel->Meter()->update();
    });
    for (TPskTuningDisplay *display : {static_cast<TPskTuningDisplay *>(m_panel->Spectrum()),
                                       static_cast<TPskTuningDisplay *>(m_panel->Waterfall())})
        connect(display, &TPskTuningDisplay::frequencyChosen, this, &TPSK31Window::DisplayClicked);
    auto *buttons = new QHBoxLayout(m_panel->ButtonRow());
    buttons->setContentsMargins(2, 2, 2, 2);
    m_txButton = new QPushButton(QStringLiteral("Tx"), m_panel->ButtonRow());
    m_txButton->setObjectName(QStringLiteral("TxButton"));
    m_txButton->setCheckable(true);
    m_txButton->setFocusPolicy(Qt::NoFocus);
    connect(m_txButton, &QPushButton::clicked, this, [this](bool down) { SetTx(down); });
    m_viewButton = new QPushButton(m_panel->ButtonRow());
    m_viewButton->setObjectName(QStringLiteral("DisplayButton"));
    m_viewButton->setFocusPolicy(Qt::NoFocus);
    connect(m_viewButton, &QPushButton::clicked, this, &TPSK31Window::NextView);
    auto *play = new QPushButton(QStringLiteral("Play"), m_panel->ButtonRow());
    play->setObjectName(QStringLiteral("PlayButton"));
    play->setFocusPolicy(Qt::NoFocus);
    connect(play, &QPushButton::clicked, this, &TPSK31Window::PlayBack);
    buttons->addWidget(m_txButton);
    buttons->addWidget(m_viewButton);
    buttons->addWidget(play);
    buttons->addStretch();

    m_receive = new TPskReceivePane([this](const QString &word) { CaptureWord(word); }, this);
    m_receive->setObjectName(QStringLiteral("ReceivePane"));
    m_channel2 = new QPlainTextEdit(this);
    m_channel2->setObjectName(QStringLiteral("Channel2Pane"));
    m_channel2->setReadOnly(true);
    m_transmit = new TPskTransmitPane(*this, this);
    m_transmit->setObjectName(QStringLiteral("TransmitPane"));
    m_split3 = new QSplitter(Qt::Horizontal);
    m_split3->addWidget(m_receive);
    m_split3->addWidget(m_channel2);
    m_split2 = new QSplitter(Qt::Vertical);
    m_split2->addWidget(m_split3);
    m_split2->addWidget(m_transmit);
    m_split1 = new QSplitter(Qt::Vertical, this);
    m_split1->addWidget(m_panel);
    m_split1->addWidget(m_split2);
    m_channel2->hide();

    m_keys = new TButtonFrame(m_host.Context().Config().PSK31KEYS, [this](int key) { FunctionKey(key); }, this);
    auto *statusBar = new QStatusBar(this);
    for (std::size_t i = 0; i < m_status.size(); ++i) {
        m_status[i] = new QLabel(statusBar);
        m_status[i]->setObjectName(QStringLiteral("PskStatus%1").arg(i));
        m_status[i]->setMinimumWidth(i == 3 ? 120 : i == 4 ? 50 : 80);
        statusBar->addWidget(m_status[i], i == 4 ? 1 : 0);
    }
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_split1, 1);
    column->addWidget(m_keys);
    column->addWidget(statusBar);
    for (QWidget *watched : std::initializer_list<QWidget *>{m_receive, m_channel2, m_transmit, m_panel->Spectrum(),
                                                             m_panel->Waterfall(), m_panel->Meter()})
        watched->installEventFilter(this);
    for (QPlainTextEdit *pane : {m_receive, m_channel2, m_transmit})
        pane->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void TPSK31Window::buildActions()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu *rx = bar->addMenu(QStringLiteral("&Receive"));
    QMenu *tx = bar->addMenu(QStringLiteral("&Transmit"));
    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    QAction *hold = menuAction(this, rx, "HoldText1", QStringLiteral("Hold Text"), QKeySequence(Qt::Key_Insert),
                              [this] { SetHold(!m_holding); });
    QAction *clear = menuAction(this, rx, "Clear1", QStringLiteral("Clear"), QKeySequence(Qt::ALT | Qt::Key_C),
                               [this] { clearFocusedPane(); });
    QAction *copy = menuAction(this, rx, "Copy1", QStringLiteral("Copy"), QKeySequence(Qt::CTRL | Qt::Key_Insert),
                              [this] { copyFocused(); });
    menuAction(this, rx, "MonitorFreq1", QStringLiteral("Monitor freq"), QKeySequence(Qt::ALT | Qt::Key_M), [this] {
        TuneChannel2(m_data.receiveHz, 0);
        OpenChannel2();
    });
    for (int n : {1, 2}) {
        auto digit = static_cast<Qt::Key>(Qt::Key_0 + n);
        menuAction(this, rx, n == 1 ? "SetMarker1" : "SetMarker2", QStringLiteral("Set marker %1").arg(n),
                  QKeySequence(Qt::CTRL | digit), [this, n] { SetMarker(n); });
        menuAction(this, rx, n == 1 ? "GotoMarker1" : "GotoMarker2", QStringLiteral("Goto marker %1").arg(n),
                  QKeySequence(Qt::ALT | digit), [this, n] { GotoMarker(n); });
    }
    menuAction(this, rx, "PlayBack1", QStringLiteral("Play back"), QKeySequence(Qt::ALT | Qt::Key_P), [this] { PlayBack(); });
    QAction *center = menuAction(this, rx, "CenterRadio1", QStringLiteral("Center Radio"), QKeySequence(Qt::ALT | Qt::Key_R),
                                [this] { CenterRadio(); });
    QAction *enter = menuAction(this, rx, "EnterQSO1", QStringLiteral("Enter QSO"), QKeySequence(Qt::CTRL | Qt::Key_Return),
                               [this] {
                                   if (QsoEntry *entry = m_host.Entry(); entry && entry->Mode() == QsoWindowMode::AddRealTime)
                                       entry->AddQso();
                               });
    // The menus show what applies now; the keys stay live, the commands check for themselves.
    connect(rx, &QMenu::aboutToShow, this, [this, center, enter] {
        TStation *station = StationOf(m_host);
        center->setEnabled(station && station->Radio().Running());
        QsoEntry *entry = m_host.Entry();
        enter->setEnabled(entry && entry->Mode() == QsoWindowMode::AddRealTime);
    });
    connect(rx, &QMenu::aboutToHide, this, [center, enter] {
        center->setEnabled(true);
        enter->setEnabled(true);
    });
    menuAction(this, tx, "StartTransmission1", QStringLiteral("Start transmission"), QKeySequence(Qt::Key_F11), [this] {
        if (!TxDown())
            SetTx(true);
    });
    menuAction(this, tx, "StopTransmission1", QStringLiteral("Stop transmission"), QKeySequence(Qt::Key_Escape), [this] {
        if (TxDown())
            SetTx(false);
    });
    QAction *paste = menuAction(this, tx, "Paste1", QStringLiteral("Paste"), QKeySequence(Qt::SHIFT | Qt::Key_Insert),
                               [this] { PasteClipboard(); });
    connect(tx, &QMenu::aboutToShow, this, [paste] { paste->setEnabled(!QApplication::clipboard()->text().isEmpty()); });
    connect(tx, &QMenu::aboutToHide, this, [paste] { paste->setEnabled(true); });
    menuAction(this, tx, "EditFunctionKeys1", QStringLiteral("Edit function keys"), QKeySequence(Qt::ALT | Qt::Key_E),
              [this] { EditFunctionKeys(); });
    menuAction(this, tx, "RxVolume1", QStringLiteral("Rx Volume"), {}, [this] { RunMixer(); });
    menuAction(this, tx, "TxVolume1", QStringLiteral("Tx Volume"), {}, [this] { RunMixer(); });
    for (int scale : {1, 2, 4})
        menuAction(this, view, scale == 1 ? "Zoom1x1" : scale == 2 ? "Zoom2x1" : "Zoom4x1",
                  QStringLiteral("Zoom %1x").arg(scale), {}, [this, scale] { SetZoom(scale); });
    menuAction(this, view, "Settings1", QStringLiteral("Settings"), QKeySequence(Qt::ALT | Qt::Key_S), [this] { OpenSettings(); });
    menuAction(this, view, "Help1", QStringLiteral("Help"), QKeySequence(Qt::ALT | Qt::Key_H), [this] {
        m_host.Notifier().information(
            "PSK31 Window\r"
            "Click the spectrum or waterfall to tune (Ctrl+click: channel 2); Left/Right: the next signal.\r"
            "F11 or Ctrl+X starts transmitting, Esc stops; F1..F8 and Ctrl+F1..Ctrl+F8 send function keys.\r"
            "Double-click a word to take it into the QSO window; Ins holds the received text.");
    });
    // The panes' popups.
    m_receive->addActions({hold, clear, copy});
    m_transmit->addActions({hold, paste, copy, clear});
    auto *close2 = new QAction(QStringLiteral("Close"), m_channel2);
    close2->setObjectName(QStringLiteral("CloseChannel21"));
    connect(close2, &QAction::triggered, this, &TPSK31Window::CloseChannel2);
    auto *main2 = new QAction(QStringLiteral("Set as main freq"), m_channel2);
    main2->setObjectName(QStringLiteral("SetAsMainFreq1"));
    connect(main2, &QAction::triggered, this, &TPSK31Window::Channel2ToMain);
    m_channel2->addActions({close2, clear, main2});
    m_copy = copy;
    for (QPlainTextEdit *pane : {m_receive, m_channel2, m_transmit})
        connect(pane, &QPlainTextEdit::selectionChanged, this, &TPSK31Window::updateCopy);
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, &TPSK31Window::updateCopy);
    updateCopy();
    for (QWidget *display : {static_cast<QWidget *>(m_panel->Spectrum()), static_cast<QWidget *>(m_panel->Waterfall())}) {
        display->setContextMenuPolicy(Qt::ActionsContextMenu);
        display->addActions(view->actions().mid(0, 3));
    }
}

// --- the engine ------------------------------------------------------------------

void TPSK31Window::startEngine()
{
    std::string error = m_sound ? m_sound->Open() : std::string("no sound device");
    if (!error.empty()) {
        m_host.Notifier().error("Error starting the soundcard: " + error.substr(0, 50));
        return;
    }
    m_engine = std::make_unique<psk::PskEngine>(m_sound->SampleRate());
    m_engine->StartSoundCard([this](const psk::PskNotice &notice) {
        QMetaObject::invokeMethod(this, [this, notice] { this->notice(notice); }, Qt::QueuedConnection);
    });
    ApplyFftMode();
    ApplyReceiveMode();
    ApplyAfc();
    ApplySquelch();
    m_engine->SetRXFrequency(m_data.receiveHz, 0, 0);
    m_engine->SetRXFrequency(Settings().FreqChan2, 0, 1);
    m_soundRunning = true;
    m_soundTimer->start(SoundTickMs);
}

void TPSK31Window::ProcessSound()
{
    if (!m_soundRunning)
        return;
    std::vector<float> input = m_sound->Read();
    if (!input.empty())
        m_engine->ProcessInput(input.data(), input.size());
    if (m_engine->Transmitting()) {
        std::vector<float> output(m_sound->OutputRoom());
        if (!output.empty()) {
            m_engine->GenerateOutput(output.data(), output.size());
            m_sound->Write(output);
        }
    }
}

void TPSK31Window::notice(const psk::PskNotice &notice)
{
    if (!m_active)
        return;
    switch (notice.kind) {
    case psk::PskNoticeKind::DataReady: dataReady(notice.first, notice.second); break;
    case psk::PskNoticeKind::Character: characterReceived(notice.first, notice.second); break;
    case psk::PskNoticeKind::Status: statusNotice(notice.first); break;
    case psk::PskNoticeKind::Imd:
        if (notice.second == 0)
            setStatus(3, QStringLiteral("IMD: %1dB").arg(notice.first));
        break;
    case psk::PskNoticeKind::ClockError:
        if (notice.second == 0)
            setStatus(4, notice.first > ClockErrorShown ? QStringLiteral("Clk Err: %1ppm").arg(notice.first) : QString());
        break;
    }
}

void TPSK31Window::dataReady(int frequency, int level)
{
    m_engine->GetVectorData(m_data.vectors, 0);
    m_data.overload = m_engine->GetFFTData(m_data.spectrum.data(), m_data.view.firstBin, m_data.view.lastBin);
    m_data.level = level;
    m_panel->Waterfall()->SetNewData();
    SetReceiveFrequency(frequency);
    m_data.channel2Hz = m_engine->GetRXFrequency(1);
    m_panel->Redraw();
    setStatus(1, m_data.channel2Shown ? QStringLiteral("Rx2: %1").arg(m_data.channel2Hz) : QString());
}

void TPSK31Window::characterReceived(int code, int channel)
{
    if (code != 8 && code != 13 && (code < 32 || code > 255))
        return;
    if (channel > 0) {
        if (m_data.channel2Shown)
            typeInto(m_channel2, code);
    } else if (m_holding) {
        m_held += static_cast<char>(code);
    } else {
        typeInto(m_receive, code);
    }
}

void TPSK31Window::statusNotice(int code)
{
    QString text;
    if (code == psk::StatusTxEnded) {
        psk::PskKeying keying{Settings().KEYING, Settings().KEYDTR != 0, Settings().OTHERH != 0};
        if (m_key.Keyed() || keying.keying != psk::KeyingVox)
            keyTransmitter(false);
        m_txButton->setChecked(false);
        m_txButton->setStyleSheet(QString());
    } else if (code == psk::StatusTransmitting) {
        m_txButton->setStyleSheet(QStringLiteral("color: red"));
    } else if (code == psk::StatusCpuBusy) {
        text = QStringLiteral("CPU busy");
    } else {
        text = ScreenText(m_engine->GetErrorString().substr(0, 50));
    }
    setStatus(4, text);
}

void TPSK31Window::setStatus(int panel, const QString &text) { m_status[static_cast<std::size_t>(panel)]->setText(text); }

QString TPSK31Window::StatusText(int panel) const { return m_status[static_cast<std::size_t>(panel)]->text(); }

TPskWaterfall *TPSK31Window::Waterfall() const { return m_panel->Waterfall(); }
TPskSpectrum *TPSK31Window::Spectrum() const { return m_panel->Spectrum(); }

// --- settings given to the engine ------------------------------------------------

void TPSK31Window::ApplyFftMode()
{
    const TPsk31Settings &s = Settings();
    m_engine->SetFFTMode(s.Smooth, 100, s.BaseLine == 0 ? 1 : s.BaseLine);
}

void TPSK31Window::ApplyReceiveMode()
{
    for (int channel : {0, 1})
        m_engine->SetRXPSKMode(Settings().Mode, channel);
}

void TPSK31Window::ApplyAfc()
{
    const TPsk31Settings &s = Settings();
    for (int channel : {0, 1})
        m_engine->SetAFCLimit(s.AFCRange * (s.AFC ? 1 : 0), channel);
}

void TPSK31Window::ApplySquelch()
{
    const TPsk31Settings &s = Settings();
    m_data.threshold = s.ThreshHold;
    for (int channel : {0, 1})
        m_engine->SetSquelchThreshold(s.ThreshHold, s.SlowMeter, channel);
}

void TPSK31Window::RebuildPalette()
{
    m_data.palette = psk::MakePalette(Settings().AltColors != 0);
}

void TPSK31Window::KeyingChanged(bool closePort)
{
    if (closePort)
        m_key.Close();
    else
        m_key.LinesLow();
}

// --- tuning ----------------------------------------------------------------------

void TPSK31Window::SetReceiveFrequency(int hz)
{
    if (hz != m_data.receiveHz) {
        int moved = std::abs(hz - m_data.receiveHz);
        m_data.receiveHz = hz;
        setStatus(0, QStringLiteral("Rx: %1").arg(hz));
        if (moved > 15) {
            setStatus(3, {});
            setStatus(4, {});
        }
        if (m_dialog)
            m_dialog->FrequenciesChanged();
    }
    if (Settings().Net || std::abs(hz - m_txHz) > 49)
        SetTransmitFrequency(hz);
}

void TPSK31Window::SetTransmitFrequency(int hz)
{
    if (hz == m_txHz && !StatusText(2).isEmpty())
        return;
    m_txHz = hz;
    setStatus(2, QStringLiteral("Tx: %1").arg(hz));
    if (m_dialog)
        m_dialog->FrequenciesChanged();
}

void TPSK31Window::TuneMain(int hz, int search)
{
    m_engine->SetRXFrequency(hz, search, 0);
    SetReceiveFrequency(hz);
    m_panel->Redraw();
}

void TPSK31Window::TuneChannel2(int hz, int search)
{
    m_engine->SetRXFrequency(hz, search, 1);
    m_data.channel2Hz = hz;
    m_panel->Redraw();
}

void TPSK31Window::DisplayClicked(int hz, bool withControl)
{
    if (withControl) {
        TuneChannel2(hz, SearchNear);
        if (!m_data.channel2Shown)
            OpenChannel2();
    } else {
        int before = m_data.receiveHz;
        TuneMain(hz, SearchNear);
        if (std::abs(hz - before) >= LineBreakShift)
            typeInto(m_receive, 13);
    }
    focusTransmitPane();
}

void TPSK31Window::PeakSearch(bool up)
{
    m_active = false;
    const int rx = m_data.receiveHz;
    const psk::PskView &view = m_data.view;
    int peak = 0;
    if (up) {
        peak = m_engine->GetClosestPeak(rx + 5, view.end);
        if (peak == rx + 5 && (peak = m_engine->GetClosestPeak(view.start, rx - 5)) == view.start)
            peak = 0;
    } else {
        peak = m_engine->GetClosestPeak(rx - 5, view.start);
        if (peak == rx - 5 && (peak = m_engine->GetClosestPeak(view.end, rx + 5)) == view.end)
            peak = 0;
    }
    m_active = true;
    if (peak != 0) {
        TuneMain(peak, SearchNear);
        if (std::abs(peak - rx) >= LineBreakShift)
            typeInto(m_receive, 13);
    }
    focusTransmitPane();
}

void TPSK31Window::SetZoom(int scale)
{
    Settings().Scale = static_cast<std::uint8_t>(scale);
    m_data.view = psk::ZoomView(scale, m_data.receiveHz);
    if (scale == 1)
        m_panel->Spectrum()->repaint();
    m_panel->Redraw();
}

void TPSK31Window::NextView() { showView((Settings().Display + 1) % 3); }

void TPSK31Window::showView(int view)
{
    Settings().Display = static_cast<std::uint8_t>(view);
    m_panel->SetView(view);
    // The button names the view its next press selects.
    static const char *const captions[] = {"Spectrum", "Waterfall", "Both"};
    m_viewButton->setText(QString::fromLatin1(captions[m_panel->View()]));
}

// --- panes -----------------------------------------------------------------------

void TPSK31Window::typeInto(QPlainTextEdit *pane, int code)
{
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::End);
    if (code == 8)
        cursor.deletePreviousChar();
    else if (code == 13)
        cursor.insertBlock();
    else
        cursor.insertText(ScreenText(std::string(1, static_cast<char>(code))));
    pane->setTextCursor(cursor);
    pane->ensureCursorVisible();
}

void TPSK31Window::OpenChannel2()
{
    TPsk31Settings &s = Settings();
    s.CHAN2 = 1;
    s.Split3 = std::min<std::uint8_t>(s.Split3, 75);
    m_channel2->show();
    int width = std::max(1, m_split3->width());
    int main = psk::MulDiv(width, s.Split3, 100);
    m_split3->setSizes({main, width - main});
    m_data.channel2Shown = true;
    m_panel->Redraw();
}

void TPSK31Window::CloseChannel2()
{
    TPsk31Settings &s = Settings();
    if (m_data.channel2Shown && m_split3->width() > 0)
        s.Split3 = static_cast<std::uint8_t>(std::clamp(psk::MulDiv(m_split3->sizes().value(0), 100, m_split3->width()), 1, 75));
    m_channel2->clear();
    m_channel2->hide();
    s.CHAN2 = 0;
    m_data.channel2Shown = false;
    m_panel->Redraw();
}

void TPSK31Window::Channel2ToMain()
{
    std::vector<std::string> lines;
    for (QTextBlock block = m_channel2->document()->begin(); block.isValid(); block = block.next())
        lines.push_back(CoreText(block.text()));
    std::string text = psk::ChannelTwoText(lines);
    if (m_holding) {
        m_held += text;
    } else {
        QTextCursor cursor(m_receive->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        cursor.insertText(ScreenText(text));
    }
    TuneMain(m_engine->GetRXFrequency(1), 0);
}

void TPSK31Window::SetHold(bool hold)
{
    m_holding = hold;
    updateCaption();
    if (hold) {
        m_receive->setFocus();
        return;
    }
    std::string held = std::exchange(m_held, {});
    for (char c : held)
        typeInto(m_receive, static_cast<unsigned char>(c));
    focusTransmitPane();
}

void TPSK31Window::updateCaption()
{
    setWindowTitle(m_holding ? Caption + QStringLiteral(" [HOLDING]") : Caption);
}

void TPSK31Window::clearFocusedPane()
{
    QWidget *focus = focusWidget();
    if (focus == m_receive) {
        m_receive->clear();
        m_held.clear();
        if (m_holding)
            SetHold(false);
    } else if (focus == m_channel2) {
        m_channel2->clear();
    } else {
        m_engine->ClearTXBuffer();
        m_transmit->clear();
    }
}

void TPSK31Window::copyFocused()
{
    if (auto *pane = qobject_cast<QPlainTextEdit *>(focusWidget()))
        pane->copy();
}

void TPSK31Window::updateCopy()
{
    auto *pane = qobject_cast<QPlainTextEdit *>(focusWidget());
    m_copy->setEnabled(pane && pane->textCursor().hasSelection());
}

void TPSK31Window::focusTransmitPane() { m_transmit->setFocus(); }

void TPSK31Window::SetMarker(int number)
{
    PskMarker &marker = m_data.markers[static_cast<std::size_t>(number - 1)];
    if (marker.hz == m_data.receiveHz) {
        marker = {};
    } else {
        marker.hz = m_data.receiveHz;
        QsoEntry *entry = m_host.Entry();
        std::string call = entry && entry->Mode() == QsoWindowMode::AddRealTime ? entry->Text(QsoField::Call) : "";
        marker.label = call.empty() ? QString::number(number) : ScreenText(call.substr(0, 12));
    }
    m_panel->Redraw();
}

void TPSK31Window::GotoMarker(int number)
{
    const PskMarker &marker = m_data.markers[static_cast<std::size_t>(number - 1)];
    if (marker.hz != 0)
        TuneMain(marker.hz, 0);
}

// --- word capture ----------------------------------------------------------------

void TPSK31Window::CaptureWord(const QString &selected)
{
    std::string word = psk::CapturedWord(CoreText(selected));
    QsoEntry *entry = m_host.Entry();
    if (word.empty() || !entry)
        return;
    if (!m_host.Context().Station().ignoreRadioMode) {
        if (TStation *station = StationOf(m_host))
            station->ToggleIgnoreMode();
        else
            m_host.Context().Station().ignoreRadioMode = true;
    }
    std::string upper = UpperAscii(word);
    if (psk::HasDigit(word) && ValidCallsign(upper) && !ValidGrid(word)) {
        entry->TakeSpot(upper, 0, PskMode);
    } else if (entry->Mode() == QsoWindowMode::AddRealTime) {
        const TCountryData &countries = m_host.Context().Countries();
        std::string state = countries.AllowedState(entry->Country(), upper);
        if (auto report = psk::ReportOf(word)) {
            entry->Edit(QsoField::RstRcvd, report->report);
            entry->Leave(QsoField::RstRcvd);
            if (!report->received.empty()) {
                entry->Edit(QsoField::Recvd, report->received);
                entry->Leave(QsoField::Recvd);
            }
        } else if (!state.empty() && state == upper && countries.StateIndex(state) > 0) {
            entry->Edit(QsoField::State, state);
            entry->Leave(QsoField::State);
        } else if (ValidGrid(word)) {
            entry->Edit(QsoField::Grid, FormatGrid(word));
            entry->Leave(QsoField::Grid);
            m_host.RequestRefresh(CompanionId::Grid);
        } else if (!psk::HasDigit(word)) {
            entry->Edit(QsoField::CallNotes, psk::NotesWithName(entry->Text(QsoField::CallNotes), word));
            entry->Leave(QsoField::CallNotes);
        }
        entry->RadioStateChanged(); // the QSO window shows the fields again
    }
    if (entry->Mode() != QsoWindowMode::AddRealTime) {
        focusTransmitPane();
        return;
    }
    const char *field = m_host.Context().Config().ContestEnabled ? "Fqso_recvd" : "Fqso_rsts";
    if (QWidget *qso = m_host.QsoWindow()) {
        qso->activateWindow();
        if (auto *target = qso->findChild<QWidget *>(QString::fromLatin1(field)))
            target->setFocus();
    }
}

// --- other commands --------------------------------------------------------------

void TPSK31Window::CenterRadio()
{
    TStation *station = StationOf(m_host);
    if (!station || !station->Radio().Running())
        return;
    const int d = m_data.receiveHz - Settings().CenterFreq;
    bool read = false;
    station->Radio().Guard([&](RadioLink &link) {
        if (!link.ReadStatus())
            return;
        read = true;
        RadioState state = link.Last();
        link.SetRadio(state.mode, false, state.secondKHz, state.rxKHz + d / 1000.0);
    });
    if (!read)
        return;
    TuneMain(Settings().CenterFreq, 0);
    for (PskMarker &marker : m_data.markers)
        if (marker.hz != 0)
            marker.hz -= d;
    TuneChannel2(m_engine->GetRXFrequency(1) - d, 0);
}

void TPSK31Window::PlayBack() { m_engine->RewindInput(99); }

TPskDialog *TPSK31Window::OpenSettings()
{
    if (!m_dialog) {
        m_dialog = new TPskDialog(*this);
        m_host.Windows().ApplyWindowStyle(m_dialog);
    }
    m_dialog->FrequenciesChanged();
    m_dialog->show();
    m_dialog->raise();
    return m_dialog;
}

void TPSK31Window::EditFunctionKeys()
{
    TFunctionKeysDialog dialog(QStringLiteral("PSK31"), m_host.Context().Config().PSK31KEYS, this);
    m_host.Windows().ApplyWindowStyle(&dialog);
    if (dialog.exec() == QDialog::Accepted)
        m_keys->Refresh();
}

void TPSK31Window::RunMixer()
{
    std::string error = RunMixerCommand(LoadMixerCommand());
    if (!error.empty())
        m_host.Notifier().error(error);
}

// --- layout ----------------------------------------------------------------------

void TPSK31Window::restoreSplitters()
{
    const TPsk31Settings &s = Settings();
    int h1 = std::max(1, m_split1->height());
    int top = psk::MulDiv(h1, s.Split1, 100);
    m_split1->setSizes({top, h1 - top});
    int h2 = std::max(1, m_split2->height());
    int transmit = psk::MulDiv(h2, s.Split2, 100);
    m_split2->setSizes({h2 - transmit, transmit});
    if (s.CHAN2)
        OpenChannel2();
    else
        CloseChannel2();
}

void TPSK31Window::storeSplitters()
{
    TPsk31Settings &s = Settings();
    auto percent = [](QSplitter *splitter, int pane, int length) {
        return static_cast<std::uint8_t>(std::clamp(psk::MulDiv(splitter->sizes().value(pane), 100, std::max(1, length)), 1, 99));
    };
    if (!isVisible())
        return;
    s.Split1 = percent(m_split1, 0, m_split1->height()); // the displays
    s.Split2 = percent(m_split2, 1, m_split2->height()); // the transmit pane
    if (m_data.channel2Shown)
        s.Split3 = std::min<std::uint8_t>(percent(m_split3, 0, m_split3->width()), 75);
}

void TPSK31Window::customEvent(QEvent *event)
{
    if (event->type() == WindowHost::DeferReplyEvent)
        restoreSplitters();
    QWidget::customEvent(event);
}

void TPSK31Window::closeEvent(QCloseEvent *event)
{
    storeSplitters();
    m_host.CompanionClosed(CompanionId::Psk31, this);
    m_key.Close();
    QWidget::closeEvent(event);
}

bool TPSK31Window::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return handleKey(watched, static_cast<QKeyEvent *>(event), event->type() == QEvent::KeyPress);
    return QWidget::eventFilter(watched, event);
}

bool TPSK31Window::handleKey(QObject *watched, QKeyEvent *key, bool press)
{
    Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    // Ctrl shows keys 9 to 16 on the bar while it is held.
    m_keys->SetControl((mods & Qt::ControlModifier) && (press || key->key() != Qt::Key_Control));
    if ((key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) && mods == Qt::NoModifier) {
        if (!press && !key->isAutoRepeat())
            PeakSearch(key->key() == Qt::Key_Right);
        return true;
    }
    if (int number = TButtonFrame::KeyNumberOf(key->key(), key->modifiers())) {
        if (press)
            FunctionKey(number);
        return true;
    }
    // A plain key in the receive pane, any key in the channel-2 pane: typing goes to the transmit pane.
    bool plain = mods == Qt::NoModifier || mods == Qt::ShiftModifier;
    if (press && ((watched == m_receive && plain) || watched == m_channel2) && !key->text().isEmpty()) {
        focusTransmitPane();
        QCoreApplication::sendEvent(m_transmit, key);
        return true;
    }
    return false;
}

// --- registration ----------------------------------------------------------------

void RegisterPskWindows(WindowHost &host, PskSoundMaker makeSound)
{
    if (!makeSound)
        makeSound = [] { return std::make_unique<QtPskSoundDevice>(); };
    host.RegisterCompanion(CompanionId::Psk31, [makeSound](WindowHost &h) -> QWidget * {
        auto *window = new TPSK31Window(h, makeSound());
        h.PlaceCompanion(CompanionId::Psk31, window);
        if (TClusterStation *cluster = ClusterOf(h))
            cluster->SetSoundCardOwned(true);
        QObject::connect(window, &QObject::destroyed, &h, [&h] {
            if (TClusterStation *cluster = ClusterOf(h))
                cluster->SetSoundCardOwned(false);
        });
        return window;
    });
    host.AddQsoMenuItem({QStringLiteral("&Window"), QStringLiteral("PSK311"), QStringLiteral("PSK31"),
                         QKeySequence(Qt::ALT | Qt::Key_3), [&host] {
                             if (host.OpenCompanion(CompanionId::Psk31))
                                 if (auto *window = qobject_cast<TPSK31Window *>(host.Companion(CompanionId::Psk31))) {
                                     window->activateWindow();
                                     window->TransmitPane()->setFocus();
                                 }
                         }});
}

} // namespace vellum
