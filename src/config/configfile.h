#pragma once
// The configuration file (SAVE/VELLUM.CFG, an exact image of the record), the
// program's one live record, and the copies of it that worker threads read.

#include "config/configrecord.h"
#include "logstore/services.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

namespace vellum {

/// The screen the program shows its windows on.
struct ScreenInfo {
    std::int32_t pixelsPerInch = 0;
    std::int32_t width = 0;
};

/// What a configuration file's bytes hold.
enum class ConfigImageState { Valid, Empty, WrongSize, WrongMagic };

/// Classifies a file image: Empty for no bytes, WrongSize unless it has exactly
/// 8672 bytes, WrongMagic unless it starts with the magic (a length byte above 8
/// counts as 8), else Valid.
ConfigImageState CheckConfigImage(std::span<const std::uint8_t> image);

/// Copies a Valid image into record and makes it safe to use: string lengths
/// and out-of-range settings are clamped, ContestEnabled is cleared.
void ReadConfigImage(TConfigRecord &record, std::span<const std::uint8_t, ConfigRecordSize> image);

/// What LoadConfig does with a file it rejects for its size or magic.
enum class RejectedFile {
    KeepAside,  ///< copy it to its generation name ("VELLUM.~FG") so the next save cannot destroy it
    LeaveAlone, ///< touch nothing (read-only users such as vellum-cli)
};

/// Loads record from fileName. A missing, unreadable or empty file gives the
/// built-in defaults silently; a file of another size than 8672 bytes or without
/// the magic gives the defaults and a warning (naming where the file was kept
/// when `rejected` is KeepAside). A valid file is read whole; when screen is
/// given and differs from the one stored in the file, the information "Screen
/// characteristics have changed,\rusing defaults setting" is shown and the screen
/// defaults are applied. Without a valid file the screen defaults are applied for
/// screen (or the design resolution without one). Settings are clamped and
/// ContestEnabled cleared in every case. Returns true only for a valid file.
/// Never throws for file errors.
bool LoadConfig(TConfigRecord &record, const std::string &fileName, const std::optional<ScreenInfo> &screen,
                UserNotifier &notifier, RejectedFile rejected = RejectedFile::KeepAside);

/// Stores screen in ScreenPpi/ScreenWidth and the magic, then writes the 8672
/// bytes of record to fileName through a temporary file renamed into place,
/// keeping the previous generation when DefQSO_Cycle is on. Throws EFileError
/// (naming the file) on any failure; the old file is then untouched.
void SaveConfig(TConfigRecord &record, const std::string &fileName, const ScreenInfo &screen);

/// The program's live configuration record, initialised from the built-in image.
/// Only the user-interface thread reads and writes it; worker threads read
/// ConfigSnapshot() instead.
TConfigRecord &Config();

/// LoadConfig of Config() from SAVE/VELLUM.CFG, then PublishConfigSnapshot().
bool LoadConfig(const std::optional<ScreenInfo> &screen, UserNotifier &notifier);
/// SaveConfig of Config() to SAVE/VELLUM.CFG.
void SaveConfig(const ScreenInfo &screen);

/// Hands copies of a record from the thread that writes it to threads that read
/// it: each snapshot is a complete, unchanging record, so readers never see a
/// half-written value and never race with the writer.
class ConfigPublisher {
public:
    explicit ConfigPublisher(const TConfigRecord &initial);
    /// Makes a copy of record the snapshot that readers get from now on.
    void Publish(const TConfigRecord &record);
    /// The latest published record; never null. Safe from any thread.
    std::shared_ptr<const TConfigRecord> Snapshot() const;

private:
    mutable std::mutex m_mutex;
    std::shared_ptr<const TConfigRecord> m_current;
};

/// Publishes Config() for the CW and sound threads. The user-interface thread
/// calls it after loading and after every change those threads read (CW speeds,
/// tone, ports, sound choices, setup dialog saved).
void PublishConfigSnapshot();
/// The configuration as last published; what the CW and sound threads read.
std::shared_ptr<const TConfigRecord> ConfigSnapshot();

} // namespace vellum
