#pragma once
// TMorseSender: the thread that sends Morse code. Text waits in a small send
// buffer; the thread keys the key line character by character, timing elements
// by spinning on the steady clock and sleeping through most of each gap. Text
// between "<" and ">" is heard on the sidetone only.
//
// For the rest of the program (the radio's poll, the spot list): Idle() is
// true while nothing waits to be sent (the buffer is empty or held); a poll
// that would disturb the timing waits while it is false.

#include "keyline.h"
#include "morsecode.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace vellum {

struct TConfigRecord;

/// The sidetone: started and stopped by the sender thread, so both must return at once.
class Sidetone {
public:
    virtual ~Sidetone() = default;
    virtual void Start(int hz) = 0;
    virtual void Stop() = 0;
};

/// What the keyer does while no other work is going on; the radio poll and the spot
/// list ask it before they talk to the radio or send announcements.
class CwActivity {
public:
    virtual ~CwActivity() = default;
    /// True when the send buffer is empty or held.
    virtual bool Idle() const = 0;
};

enum class CalibrationState : std::uint8_t { Idle, Start, Running };

class TMorseSender : public CwActivity {
public:
    using Clock = std::chrono::steady_clock;
    /// The configuration as last published (never null), read by the thread.
    using SettingsSource = std::function<std::shared_ptr<const TConfigRecord>()>;
    static constexpr std::size_t BufferCapacity = 255;

    /// Starts the thread. port and sidetone (may be null) must outlive the sender.
    TMorseSender(SettingsSource settings, KeyPort &port, Sidetone *sidetone);
    /// Stops the thread; the key is up and the sidetone off when it returns.
    ~TMorseSender() override;
    TMorseSender(const TMorseSender &) = delete;
    TMorseSender &operator=(const TMorseSender &) = delete;

    /// Appends text without its carriage returns; a carriage return releases the hold.
    /// What does not fit into the 255 characters of the buffer is dropped.
    void Queue(std::string_view text);
    /// Backspace: the last character waiting (not the one being sent).
    void DeleteLast();
    /// Stop sending: the buffer is emptied and transmitting enabled; an element being
    /// sent ends at once.
    void Abort();
    /// The manual key (Tune, PSK31 PTT): keys regardless of "<" and ">", raising the PTT of a
    /// parallel port with its delay first; the sender's own keying waits while it is down.
    void ManualKey(bool down);
    bool ManualKeyDown() const { return m_manual; }
    /// Sends "<PARIS PARIS >" on the sidetone and measures how long it took.
    void StartCalibration();
    CalibrationState Calibration() const { return m_calibration; }
    /// Milliseconds the last calibration took (0: none yet).
    long long MeasuredMs() const { return m_measuredMs; }

    bool Idle() const override;
    /// The text waiting to be sent (for the marquee).
    std::string Buffer() const;
    /// The timing of the settings in force.
    MorseTiming Timing() const;

    /// Called from the thread at each key-line change it makes (tests and benchmarks
    /// compare these with the plan). Set before text is queued.
    using TransitionProbe = std::function<void(bool down, Clock::time_point planned)>;
    void SetTransitionProbe(TransitionProbe probe) { m_probe = std::move(probe); }

private:
    void run();
    bool takeCharacter(char &character);
    void whenEmpty();
    void refreshSettings();
    void sendCharacter(char character);
    void sendElement(int ms);
    void key(bool down);
    /// Waits until deadline by spinning; false when an abort came first.
    bool spinUntil(Clock::time_point deadline);
    /// Sleeps through a gap in 1 ms steps and spins its last moments; false on abort.
    bool pauseUntil(Clock::time_point deadline);
    void waitForWork(std::chrono::milliseconds most);

    SettingsSource m_settingsSource;
    KeyPort &m_port;
    Sidetone *m_sidetone;
    TransitionProbe m_probe;

    mutable std::mutex m_bufferMutex;
    std::condition_variable m_wake;
    std::string m_buffer;

    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_abort{false};
    std::atomic<bool> m_hold{false};
    std::atomic<bool> m_sending{false};
    std::atomic<bool> m_manual{false};
    std::atomic<CalibrationState> m_calibration{CalibrationState::Idle};
    std::atomic<long long> m_measuredMs{0};

    // Owned by the thread.
    std::shared_ptr<const TConfigRecord> m_config;
    KeyerSettings m_settings;
    MorseTiming m_timing;
    bool m_transmit = true;
    Clock::time_point m_next{};
    Clock::time_point m_calibrationStart{};

    std::thread m_thread;
};

/// Gives the calling thread the highest scheduling priority the process may take:
/// real-time (SCHED_FIFO) where allowed, else the lowest nice value permitted.
/// Returns a description of what it got.
std::string RaiseThreadPriority();

} // namespace vellum
