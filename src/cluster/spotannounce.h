#pragma once
// Announcing spots: the CW text for the keyer's sidetone, the spoken sound
// files for a spot, and the sound thread that plays them one spot at a time
// from a short queue, away from the window.

#include "spotrecord.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vellum {

/// The "Audio / Voice" setting.
enum class SpotVoice : int { SystemBeep = 0, CwAnnounce = 1, Call = 2, BandCall = 3, ModeCall = 4, BandModeCall = 5 };

/// "<" + band + " " + mode + " " + call + "> ", upper-cased: sounded on the sidetone only.
std::string CwAnnouncement(const TSpotRecord &spot);

/// A sound's file: soundDir + "/" + name + ".WAV", "/" named "stroke" and "." written "_".
std::string SoundFile(const std::string &soundDir, const std::string &name);

/// Every sound an announcement may ask for, with the words that say it: the
/// class words, each band and mode name, each callsign character and "stroke".
struct SpokenSound {
    std::string name; ///< as given to SoundFile
    std::string words;
};
std::vector<SpokenSound> SpokenSounds();

struct SoundStep {
    std::string file;
    int pauseAfterMs = 0;
};
/// The sounds of a spot for a WAV voice setting: the class word, the band and
/// the mode as the setting says, then every character of the call.
std::vector<SoundStep> AnnouncementSounds(const TSpotRecord &spot, SpotVoice voice, bool onAlertList,
                                          const std::string &soundDir);

/// Plays one file to its end, or until cancel is set; false when it could not be played.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual bool Play(const std::string &file, const std::atomic<bool> &cancel) = 0;
};

/// The sound thread: at most ten spots wait (the oldest goes); each is announced
/// in full, then the thread rests 500 ms. Cancel empties the queue and cuts the
/// spot being spoken short. Missing files are skipped.
class Tsndthread {
public:
    static constexpr std::size_t QueueCapacity = 10;
    using Plan = std::function<std::vector<SoundStep>(const TSpotRecord &spot)>;

    Tsndthread(std::unique_ptr<SoundPlayer> player, Plan plan);
    ~Tsndthread();
    Tsndthread(const Tsndthread &) = delete;
    Tsndthread &operator=(const Tsndthread &) = delete;

    void Queue(const TSpotRecord &spot);
    void Cancel();
    /// While it says true (the PSK31 terminal owns the sound card) queued spots are dropped unheard.
    void SetSoundCardBusy(std::function<bool()> busy);
    std::size_t Waiting() const;
    /// Spots taken from the queue (announced, cut short or dropped while the card was busy).
    std::size_t Taken() const { return m_taken; }

private:
    void run();
    bool takeSpot(TSpotRecord &spot);
    void announce(const TSpotRecord &spot);
    bool rest(int ms);

    std::unique_ptr<SoundPlayer> m_player;
    Plan m_plan;
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<TSpotRecord> m_queue;
    std::function<bool()> m_busy;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_taken{0};
    std::thread m_thread;
};

} // namespace vellum
