#include "morsesender.h"

#include "config/configrecord.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vellum {

namespace {

using namespace std::chrono_literals;

/// How long before the end of a gap the thread stops sleeping and spins: a 1 ms sleep
/// may take a good deal longer on a loaded machine.
constexpr auto SpinMargin = 2ms;
/// A character that starts later than this after the last one ended starts a new run
/// of timing instead of catching up.
constexpr auto RestartAfter = 5ms;

} // namespace

TMorseSender::TMorseSender(SettingsSource settings, KeyPort &port, Sidetone *sidetone)
    : m_settingsSource(std::move(settings)), m_port(port), m_sidetone(sidetone)
{
    refreshSettings();
    m_hold = !m_settings.immediate;
    m_thread = std::thread([this] { run(); });
}

TMorseSender::~TMorseSender()
{
    {
        std::lock_guard lock(m_bufferMutex);
        m_stop = true;
        m_abort = true;
    }
    m_wake.notify_all();
    m_thread.join();
    m_port.SetKey(false);
    m_port.SetPtt(false);
    if (m_sidetone)
        m_sidetone->Stop();
}

// --- the user-interface side -----------------------------------------------------------

void TMorseSender::Queue(std::string_view text)
{
    bool release = false;
    {
        std::lock_guard lock(m_bufferMutex);
        for (char character : text) {
            if (character == '\r')
                release = true;
            else if (m_buffer.size() < BufferCapacity)
                m_buffer.push_back(character);
        }
        if (release)
            m_hold = false;
    }
    m_wake.notify_all();
}

void TMorseSender::DeleteLast()
{
    std::lock_guard lock(m_bufferMutex);
    if (!m_buffer.empty())
        m_buffer.pop_back();
}

void TMorseSender::Abort()
{
    m_abort = true;
    m_wake.notify_all();
}

void TMorseSender::ManualKey(bool down)
{
    if (down == m_manual)
        return;
    if (down) {
        m_manual = true;
        // The manual key raises the PTT anew, with its delay, every time it goes down.
        int delay = KeyerSettings::From(*m_settingsSource()).pttDelay;
        if (m_port.HasPtt() && delay > 0) {
            m_port.SetPtt(true);
            std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        }
        m_port.SetKey(true);
    } else {
        m_port.SetKey(false);
        m_port.SetPtt(false);
        m_manual = false;
    }
}

void TMorseSender::StartCalibration()
{
    m_calibration = CalibrationState::Start;
    m_wake.notify_all();
}

bool TMorseSender::Idle() const
{
    std::lock_guard lock(m_bufferMutex);
    return (m_buffer.empty() && !m_sending) || m_hold;
}

std::string TMorseSender::Buffer() const
{
    std::lock_guard lock(m_bufferMutex);
    return m_buffer;
}

MorseTiming TMorseSender::Timing() const { return KeyerSettings::From(*m_settingsSource()).Timing(); }

// --- the thread ---------------------------------------------------------------------------

void TMorseSender::run()
{
    RaiseThreadPriority();
    while (!m_stop) {
        if (m_abort.exchange(false)) {
            std::lock_guard lock(m_bufferMutex);
            m_buffer.clear();
            m_transmit = true;
            m_next = {}; // what comes next starts a new run of timing
        }
        refreshSettings();
        char character = 0;
        if (takeCharacter(character)) {
            sendCharacter(character);
            m_sending = false;
        } else {
            whenEmpty();
        }
    }
}

bool TMorseSender::takeCharacter(char &character)
{
    std::lock_guard lock(m_bufferMutex);
    if (m_buffer.empty() || m_hold)
        return false;
    // Taken out before it is sent, so that Backspace cannot remove it mid-character.
    character = m_buffer.front();
    m_buffer.erase(0, 1);
    m_sending = true;
    return true;
}

void TMorseSender::whenEmpty()
{
    bool empty = false;
    {
        std::lock_guard lock(m_bufferMutex);
        empty = m_buffer.empty();
        if (empty)
            m_hold = !m_settings.immediate;
    }
    if (!empty) { // held until a carriage return arrives
        waitForWork(100ms);
        return;
    }
    if (!m_manual && m_port.PttRaised())
        m_port.SetPtt(false);
    if (m_calibration == CalibrationState::Start) {
        {
            std::lock_guard lock(m_bufferMutex);
            m_buffer = "<PARIS PARIS >";
            m_hold = false;
        }
        m_calibrationStart = Clock::now();
        m_calibration = CalibrationState::Running;
        return;
    }
    if (m_calibration == CalibrationState::Running) {
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_calibrationStart);
        m_measuredMs = std::max<long long>(elapsed.count(), 1);
        m_calibration = CalibrationState::Idle;
        return;
    }
    waitForWork(100ms);
}

void TMorseSender::waitForWork(std::chrono::milliseconds most)
{
    std::unique_lock lock(m_bufferMutex);
    m_wake.wait_for(lock, most, [this] {
        return m_stop || m_abort || m_calibration == CalibrationState::Start || (!m_buffer.empty() && !m_hold);
    });
}

void TMorseSender::refreshSettings()
{
    std::shared_ptr<const TConfigRecord> config = m_settingsSource();
    if (config == m_config)
        return;
    m_config = std::move(config);
    m_settings = KeyerSettings::From(*m_config);
    m_timing = m_settings.Timing();
}

void TMorseSender::sendCharacter(char character)
{
    Clock::time_point now = Clock::now();
    if (now > m_next + RestartAfter)
        m_next = now;
    std::vector<MorseStep> steps;
    AppendMorseSteps(character, m_timing, steps);
    for (const MorseStep &step : steps) {
        if (m_abort)
            return;
        switch (step.kind) {
        case MorseStepKind::TransmitOff:
            m_transmit = false;
            break;
        case MorseStepKind::TransmitOn:
            m_transmit = true;
            break;
        case MorseStepKind::Element:
            sendElement(step.ms);
            break;
        case MorseStepKind::Pause:
            m_next += std::chrono::milliseconds(step.ms);
            pauseUntil(m_next);
            break;
        }
    }
}

void TMorseSender::sendElement(int ms)
{
    bool keyed = m_transmit && !m_manual && m_port.HasLine();
    bool sounded = m_sidetone && (m_settings.sidetone || !m_transmit);
    if (keyed)
        key(true);
    if (sounded)
        m_sidetone->Start(m_settings.tone);
    m_next += std::chrono::milliseconds(ms);
    spinUntil(m_next);
    if (keyed)
        key(false);
    if (sounded)
        m_sidetone->Stop();
}

void TMorseSender::key(bool down)
{
    if (down && m_port.HasPtt() && !m_port.PttRaised() && m_settings.pttDelay > 0) {
        m_port.SetPtt(true);
        m_next += std::chrono::milliseconds(m_settings.pttDelay);
        pauseUntil(m_next);
    }
    if (m_probe)
        m_probe(down, m_next);
    m_port.SetKey(down);
}

bool TMorseSender::spinUntil(Clock::time_point deadline)
{
    while (Clock::now() < deadline)
        if (m_abort)
            return false;
    return true;
}

bool TMorseSender::pauseUntil(Clock::time_point deadline)
{
    while (Clock::now() + SpinMargin < deadline) {
        if (m_abort)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return spinUntil(deadline);
}

std::string RaiseThreadPriority()
{
    sched_param param{};
    param.sched_priority = sched_get_priority_max(SCHED_FIFO);
    if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0)
        return "real-time (SCHED_FIFO " + std::to_string(param.sched_priority) + ")";
    // Not allowed real time: the lowest nice value the limits permit (RLIMIT_NICE is 20 - nice).
    rlimit limit{};
    int lowest = 0;
    if (getrlimit(RLIMIT_NICE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        lowest = std::clamp(20 - static_cast<int>(limit.rlim_cur), -20, 19);
    else if (limit.rlim_cur == RLIM_INFINITY)
        lowest = -20;
    int current = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    if (lowest < current && setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), lowest) == 0)
        return "nice " + std::to_string(lowest);
    return "normal (nice " + std::to_string(current) + ")";
}

} // namespace vellum
