#pragma once
// The radio of the run: started from the configured definition (serial link,
// shared file, directory or rig-control daemon), stopped, disabled when it
// stops answering, and polled from the main window's timer at idle moments
// while nothing else uses it. Timers, the CW keyer and the QSO window are
// reached through small callbacks, so tests drive all of it without windows.

#include "radio.h"
#include "serialsettings.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vellum {

struct TConfigRecord;
class UserNotifier;

/// How the radio reaches its ports.
struct RadioPorts {
    std::function<std::unique_ptr<ByteChannel>(const SerialSettings &)> serial;
    std::function<std::unique_ptr<ByteChannel>(const std::string &host, int port)> tcp;
};

/// The serial settings of a definition as the configuration sets the port up.
SerialSettings RadioSerialSettings(const TRadioDefinition &definition, const TConfigRecord &config);
/// The definition of a model in the RADIOS directory; the reasons when it cannot be used
/// (problems empty and nothing returned: the file does not exist).
std::optional<TRadioDefinition> LoadRadioDefinition(const std::string &directory, const std::string &model,
                                                    std::vector<std::string> &problems);

/// Makes the running radio of a definition (throws ERadioException for a missing file
/// transport; nothing with openError set when a port or the daemon cannot be opened).
std::unique_ptr<RadioLink> MakeRadio(const TRadioDefinition &definition, const TConfigRecord &config,
                                     const RadioPorts &ports, const RadioTiming &timing, std::string &openError);

class RadioControl {
public:
    RadioControl(TConfigRecord &config, UserNotifier &notifier, RadioPorts ports);
    ~RadioControl();

    /// Starts the configured radio (Hardware_RadioType in RADIOS); every failure is told
    /// the user and leaves no radio. True when it runs.
    bool Start();
    void Stop();
    bool Running() const { return m_link != nullptr; }
    /// The running radio; null without one. Ask again after every call that may disable it.
    RadioLink *Link() const { return m_link.get(); }
    /// Runs an operation on the radio; a radio that stopped answering is disabled (false).
    bool Guard(const std::function<void(RadioLink &)> &operation);
    /// The frequency text of a fresh read (Ctrl+R, "$$"); empty without a radio or on failure.
    std::string FrequencyText();

    // --- the poll loop ---
    /// Arms and stops the poll trigger (the main window's one-shot timer).
    void SetPollTimer(std::function<void(int ms)> arm, std::function<void()> stop);
    /// Whether the CW keyer has text waiting: polls wait for it.
    void SetCwBusy(std::function<bool()> busy) { m_cwBusy = std::move(busy); }
    /// Who takes the radio's values (the QSO window, the spot list): wants() asks
    /// whether the receiver follows the radio now. Receivers are told in the order added.
    void AddReceiver(std::function<bool()> wants, std::function<void(int mode, double kHz)> take);
    void PollTriggerFired();
    void RequestPoll() { m_pollRequest = true; }
    bool PollRequested() const { return m_pollRequest; }
    /// The idle step: a requested poll runs, or waits a second while the radio is busy;
    /// a poll is requested when somebody starts following the radio.
    void Idle();
    /// Reads the radio and hands the values on; re-arms the trigger after a good read.
    void Poll();
    /// The radio's values changed: the receiver gets them without a new read.
    void ValuesChanged();

    /// Told when the radio starts or stops (the menus, the frequency window).
    void OnRunningChanged(std::function<void(bool)> handler) { m_runningChanged = std::move(handler); }
    /// Told just before the running radio closes its link (a user of its port lets go).
    void OnStopping(std::function<void()> handler) { m_stopping = std::move(handler); }
    /// Told after the values changed (the frequency window shows them).
    void OnValuesShown(std::function<void()> handler) { m_valuesShown = std::move(handler); }
    /// Where the engine's values-changed notice goes (the window posts it to run later).
    void OnValuesPosted(std::function<void()> handler) { m_valuesPosted = std::move(handler); }
    /// Shortens the waits (tests).
    void SetTiming(const RadioTiming &timing) { m_timing = timing; }

private:
    void disable(const std::string &message);
    void deliver();
    void setLink(std::unique_ptr<RadioLink> link);
    std::unique_ptr<RadioLink> open();

    TConfigRecord &m_config;
    UserNotifier &m_notifier;
    RadioPorts m_ports;
    RadioTiming m_timing;
    std::unique_ptr<RadioLink> m_link;
    bool m_pollRequest = false;
    bool m_wanted = false; ///< somebody followed the radio at the last idle step
    std::function<void(int)> m_armPoll;
    std::function<void()> m_stopPoll;
    std::function<bool()> m_cwBusy;
    struct Receiver {
        std::function<bool()> wants;
        std::function<void(int, double)> take;
    };
    bool anyoneWants() const;
    std::vector<Receiver> m_receivers;
    std::function<void(bool)> m_runningChanged;
    std::function<void()> m_stopping;
    std::function<void()> m_valuesShown;
    std::function<void()> m_valuesPosted;
};

} // namespace vellum
