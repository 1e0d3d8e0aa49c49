#pragma once
// "PSK31 Window" (TPSK31Window): the keyboard-to-keyboard terminal for PSK31 on
// the program's PSK31 engine. The window owns the sound device, the displays, the
// receive, channel-2 and transmit panes, the keying of the transmitter, the
// function keys and the hand-over of received words to the QSO window; the
// engine's notices come back to it as queued calls.

#include "Fpskaudio.h"
#include "Fpskdisplays.h"
#include "pskengine.h"
#include "pskkeying.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTimer;

namespace vellum {

class TButtonFrame;
class TPskDialog;
class TPskDisplayPanel;
class WindowHost;
struct TPsk31Settings;

class TPSK31Window : public QWidget {
    Q_OBJECT
public:
    TPSK31Window(WindowHost &host, std::unique_ptr<PskSoundDevice> sound,
                 psk::PskTransmitterKey::PortOpener portOpener = psk::SerialPortOpener(), QWidget *parent = nullptr);
    ~TPSK31Window() override;

    WindowHost &Host() const { return m_host; }
    psk::PskEngine &Engine() { return *m_engine; }
    TPsk31Settings &Settings() const;
    const PskDisplayData &Displays() const { return m_data; }

    // --- tuning ---
    int ReceiveFrequency() const { return m_data.receiveHz; }
    int TransmitFrequency() const { return m_txHz; }
    /// Takes a new main receive frequency (status, dialog, and the transmit frequency following it).
    void SetReceiveFrequency(int hz);
    void SetTransmitFrequency(int hz);
    /// Tunes the main channel (search 15: the user picked the frequency, the engine searches near it).
    void TuneMain(int hz, int search);
    void TuneChannel2(int hz, int search);
    /// A click on the spectrum or waterfall.
    void DisplayClicked(int hz, bool withControl);
    /// Right (up) or Left (down) arrow: the next signal peak of the view.
    void PeakSearch(bool up);
    void SetZoom(int scale);
    /// "Display": the next view (spectrum and waterfall, spectrum only, waterfall only).
    void NextView();

    // --- the panes ---
    QPlainTextEdit *ReceivePane() const { return m_receive; }
    QPlainTextEdit *Channel2Pane() const { return m_channel2; }
    QPlainTextEdit *TransmitPane() const { return m_transmit; }
    void OpenChannel2();
    void CloseChannel2();
    void Channel2ToMain();
    void SetHold(bool hold);
    bool Holding() const { return m_holding; }
    /// Word capture: a double-clicked word of the receive pane goes to the QSO window.
    void CaptureWord(const QString &selected);
    void SetMarker(int number);
    void GotoMarker(int number);

    // --- transmitting ---
    /// A character typed into the transmit pane (Ctrl+X 24 starts, ESC 27 ends, Ctrl+C 3 the CW id).
    void TypeCharacter(int code);
    void TypeText(const QString &text);
    void FunctionKey(int key);
    void PasteClipboard();
    void SetTx(bool down);
    bool TxDown() const;
    QPushButton *TxButton() const { return m_txButton; }

    // --- other commands ---
    void CenterRadio();
    void PlayBack();
    TPskDialog *OpenSettings();
    void EditFunctionKeys();
    /// "Rx Volume" / "Tx Volume": the configured mixer program.
    void RunMixer();

    // --- what the settings dialog changes ---
    void ApplyFftMode();
    void ApplyReceiveMode();
    void ApplyAfc();
    void ApplySquelch();
    void RebuildPalette();
    /// The keying changed: the key port's lines go low; closePort closes it too.
    void KeyingChanged(bool closePort);

    QString StatusText(int panel) const;
    TPskWaterfall *Waterfall() const;
    TPskSpectrum *Spectrum() const;
    /// Works the sound through: input to the engine, its output to the device.
    void ProcessSound();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void customEvent(QEvent *event) override;

private:
    void buildPanes();
    void buildActions();
    void startEngine();
    void notice(const psk::PskNotice &notice);
    void dataReady(int frequency, int level);
    void characterReceived(int code, int channel);
    void statusNotice(int code);
    void setStatus(int panel, const QString &text);
    void keyTransmitter(bool on);
    void typeInto(QPlainTextEdit *pane, int code);
    void layOutPanes();
    void restoreSplitters();
    void storeSplitters();
    void updateCaption();
    void showView(int view);
    void clearFocusedPane();
    void copyFocused();
    /// "Copy" is enabled while the focused pane holds a selection.
    void updateCopy();
    bool handleKey(QObject *watched, QKeyEvent *key, bool press);
    void focusTransmitPane();

    WindowHost &m_host;
    std::unique_ptr<psk::PskEngine> m_engine; ///< made anew for the sound device's rate
    std::unique_ptr<PskSoundDevice> m_sound;
    psk::PskTransmitterKey m_key;
    PskDisplayData m_data;
    int m_txHz = 1000;
    bool m_active = false;
    bool m_soundRunning = false;
    bool m_holding = false;
    std::string m_held; ///< received while holding (cp1252)
    TPskDisplayPanel *m_panel = nullptr;
    QPlainTextEdit *m_receive = nullptr;
    QPlainTextEdit *m_channel2 = nullptr;
    QPlainTextEdit *m_transmit = nullptr;
    QSplitter *m_split1 = nullptr;
    QSplitter *m_split2 = nullptr;
    QSplitter *m_split3 = nullptr;
    QPushButton *m_txButton = nullptr;
    QPushButton *m_viewButton = nullptr;
    TButtonFrame *m_keys = nullptr;
    std::array<QLabel *, 5> m_status{};
    QTimer *m_soundTimer = nullptr;
    QPointer<TPskDialog> m_dialog;
    QAction *m_copy = nullptr;
    QMetaObject::Connection m_focusWatch;
};

/// Registers "PSK31" in the QSO window's "&Window" menu (Alt+3) with the companion
/// that makes the window; the sound device comes from makeSound (the system's sound
/// card when empty).
using PskSoundMaker = std::function<std::unique_ptr<PskSoundDevice>()>;
void RegisterPskWindows(WindowHost &host, PskSoundMaker makeSound = {});

} // namespace vellum
