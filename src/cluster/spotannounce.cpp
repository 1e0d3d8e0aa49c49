#include "spotannounce.h"

#include "logstore/qsotables.h"
#include "logstore/shortstring.h"

#include <chrono>
#include <filesystem>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace vellum {

namespace {

constexpr int PauseAfterWordMs = 250;
constexpr int RestAfterSpotMs = 500;
constexpr int LookAgainMs = 100;

} // namespace

std::string CwAnnouncement(const TSpotRecord &spot)
{
    return UpperAscii("<" + BandLabel(spot.Band, false) + " " + ModeName(spot.Mode) + " " + spot.Call.str() + "> ");
}

std::string SoundFile(const std::string &soundDir, const std::string &name)
{
    std::string file = name == "/" ? "stroke" : name;
    for (char &c : file)
        if (c == '.')
            c = '_';
    return soundDir + "/" + file + ".WAV";
}

std::vector<SpokenSound> SpokenSounds()
{
    std::vector<SpokenSound> sounds = {
        {"callsign", "alert call"}, {"Country", "new country"}, {"mode", "new mode"}, {"bandmode", "new band"},
        {"/", "stroke"},
    };
    for (int band = 1; band < AllBandCount; ++band) {
        std::string name = BandLabel(band, false);
        std::string words = name;
        if (words.ends_with("cm"))
            words = words.substr(0, words.size() - 2) + " centimeters";
        else if (words.ends_with('m'))
            words = words.substr(0, words.size() - 1) + " meters";
        sounds.push_back({name, words});
    }
    for (int mode = 1; mode < AllModeCount; ++mode) {
        std::string name = ModeName(mode);
        std::string spelled;
        for (char c : name)
            spelled += std::string(spelled.empty() ? "" : " ") + c; // "CW" is said "C W"
        sounds.push_back({name, name == "PACK" ? "packet" : spelled});
    }
    static const char *const digits[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};
    for (char c = '0'; c <= '9'; ++c)
        sounds.push_back({std::string(1, c), digits[c - '0']});
    for (char c = 'A'; c <= 'Z'; ++c)
        sounds.push_back({std::string(1, c), std::string(1, c)});
    return sounds;
}

std::vector<SoundStep> AnnouncementSounds(const TSpotRecord &spot, SpotVoice voice, bool onAlertList,
                                          const std::string &soundDir)
{
    std::vector<SoundStep> steps;
    const char *classWord = onAlertList           ? "callsign"
                            : spot.Class == '1' ? "Country"
                            : spot.Class == '2' ? "mode"
                            : spot.Class == '3' ? "bandmode"
                                                  : nullptr;
    if (classWord)
        steps.push_back({SoundFile(soundDir, classWord), PauseAfterWordMs});
    if (voice == SpotVoice::BandCall || voice == SpotVoice::BandModeCall)
        steps.push_back({SoundFile(soundDir, BandLabel(spot.Band, false)), PauseAfterWordMs});
    if (voice == SpotVoice::ModeCall || voice == SpotVoice::BandModeCall)
        steps.push_back({SoundFile(soundDir, ModeName(spot.Mode)), PauseAfterWordMs});
    for (char c : spot.Call.view())
        steps.push_back({SoundFile(soundDir, std::string(1, c)), 0});
    return steps;
}

// --- the sound thread ------------------------------------------------------------------------

Tsndthread::Tsndthread(std::unique_ptr<SoundPlayer> player, Plan plan)
    : m_player(std::move(player)), m_plan(std::move(plan)), m_thread([this] { run(); })
{
}

Tsndthread::~Tsndthread()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stop = true;
        m_cancel = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void Tsndthread::Queue(const TSpotRecord &spot)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_queue.push_back(spot);
        while (m_queue.size() > QueueCapacity)
            m_queue.pop_front();
    }
    m_wake.notify_all();
}

void Tsndthread::Cancel()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_queue.clear();
    m_cancel = true;
}

void Tsndthread::SetSoundCardBusy(std::function<bool()> busy)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_busy = std::move(busy);
}

std::size_t Tsndthread::Waiting() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_queue.size();
}

bool Tsndthread::takeSpot(TSpotRecord &spot)
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_wake.wait_for(guard, std::chrono::milliseconds(LookAgainMs), [this] { return m_stop || !m_queue.empty(); });
    if (m_stop || m_queue.empty())
        return false;
    spot = m_queue.front();
    m_queue.pop_front();
    ++m_taken;
    if (m_busy && m_busy()) {
        m_queue.clear(); // the sound card is taken: nothing is announced
        return false;
    }
    m_cancel = false; // a cancel before this spot was for the spots it emptied
    return true;
}

bool Tsndthread::rest(int ms)
{
    std::unique_lock<std::mutex> guard(m_lock);
    m_wake.wait_for(guard, std::chrono::milliseconds(ms), [this] { return m_stop.load(); });
    return !m_stop;
}

void Tsndthread::announce(const TSpotRecord &spot)
{
    for (const SoundStep &step : m_plan(spot)) {
        if (m_cancel)
            break;
        std::error_code error;
        if (!std::filesystem::exists(step.file, error))
            continue; // a sound that is not there is left out
        m_player->Play(step.file, m_cancel);
        if (step.pauseAfterMs > 0 && !m_cancel)
            rest(step.pauseAfterMs);
    }
}

void Tsndthread::run()
{
    // Announcements wait for everything else the program does.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 5);
    while (!m_stop) {
        TSpotRecord spot;
        if (!takeSpot(spot))
            continue;
        announce(spot);
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_cancel = false;
        }
        rest(RestAfterSpotMs);
    }
}

} // namespace vellum
