#pragma once
// The CW keyer of the run: the sender thread with its key line and sidetone,
// the settings it reads, the function-key macros of the CW keyboard, and the
// "CW Keyboard" window. Made once by the station parts at start.
//
// For the radio (same folder): while it polls, it asks Activity().Idle() and
// defers its poll while the keyer sends. When it opens the radio's serial port
// it calls ReleaseComPort() first (the keyer may hold that device for DTR/RTS
// keying), then UseRadioLines(its lines); before it closes the port,
// UseRadioLines(nullptr). The keyer then keys through the radio's own port.

#include "keyline.h"
#include "macroexpand.h"
#include "morsesender.h"

#include "Fmorsekb.h"

#include "config/configfile.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace vellum {

class TSidetone;
class WindowHost;

class TCwKeyer : public QObject {
    Q_OBJECT
public:
    explicit TCwKeyer(WindowHost &host);
    ~TCwKeyer() override;

    WindowHost &Host() const { return m_host; }
    TMorseSender &Sender() { return *m_sender; }
    /// The idle test for the radio poll and the spot list.
    const CwActivity &Activity() const { return *m_sender; }
    TSidetone &SidetoneOutput() { return *m_sidetone; }

    /// The keyer settings of the configuration changed: the thread reads them from now on.
    void PublishSettings();
    /// Opens the key line the setup chooses (after the setup is saved, the radio started
    /// or stopped); a line that cannot be opened is reported and the keyer keys nothing.
    void ReevaluateInterface();
    /// The radio's open port keys from now on (null: the radio is closing its port).
    void UseRadioLines(std::shared_ptr<ModemLines> lines);
    /// Lets go of the radio's COM device this keyer opened for its lines.
    void ReleaseComPort();
    /// "+" and "-": both speeds up or down by 2 (up while both are at most 58, down while both are at least 7).
    void ChangeSpeed(int step);
    /// The words per minute "PARIS " takes with the settings in force.
    int DisplayedWpm() const;

    /// The macro environment of the moment: the QSO window's fields, the own call, the clock.
    MacroEnvironment Environment() const;
    /// Function key 1..16 of the CW keys: expanded, upper-cased, a blank added, queued;
    /// "%l" enters the QSO of a QSO window in real-time mode afterwards.
    void SendFunctionKey(int key);
    /// Adds the QSO being entered when the QSO window is in real-time mode.
    void EnterQso();

    TMorseKb *OpenKeyboard();
    TMorseKb *Keyboard() const;
    /// "Settings": stops sending and opens "CW Parameters".
    void OpenSettings(QWidget *parent);

private:
    std::shared_ptr<const TConfigRecord> snapshot() const;

    WindowHost &m_host;
    bool m_globalConfig;
    ConfigPublisher m_publisher;
    KeyPort m_port;
    std::unique_ptr<TSidetone> m_sidetone;
    std::unique_ptr<TMorseSender> m_sender;
    std::shared_ptr<ModemLines> m_radioLines;
    QPointer<TMorseKb> m_keyboard;
};

} // namespace vellum
