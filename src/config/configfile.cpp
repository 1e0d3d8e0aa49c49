#include "config/configfile.h"

#include "config/configrules.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

namespace vellum {

namespace fs = std::filesystem;

ConfigImageState CheckConfigImage(std::span<const std::uint8_t> image)
{
    if (image.empty())
        return ConfigImageState::Empty;
    if (image.size() != ConfigRecordSize)
        return ConfigImageState::WrongSize;
    const std::size_t length = std::min<std::size_t>(image[0], ConfigMagic.size());
    const std::string_view magic(reinterpret_cast<const char *>(image.data() + 1), length);
    return magic == ConfigMagic ? ConfigImageState::Valid : ConfigImageState::WrongMagic;
}

void ReadConfigImage(TConfigRecord &record, std::span<const std::uint8_t, ConfigRecordSize> image)
{
    std::memcpy(&record, image.data(), ConfigRecordSize);
    ClampStringLengths(record);
    ClampSettings(record);
    record.ContestEnabled = false;
}

namespace {

struct ConfigFile {
    ConfigImageState state = ConfigImageState::Empty;
    std::uintmax_t size = 0;
    std::vector<std::uint8_t> bytes; ///< read only when the size is right
};

// A missing or unreadable file counts as empty; only a file of the right size is read.
ConfigFile probeConfigFile(const std::string &fileName)
{
    ConfigFile file;
    std::error_code ec;
    if (!fs::is_regular_file(fileName, ec))
        return file;
    file.size = fs::file_size(fileName, ec);
    if (ec || file.size == 0) {
        file.size = 0;
        return file;
    }
    if (file.size != ConfigRecordSize) {
        file.state = ConfigImageState::WrongSize;
        return file;
    }
    try {
        file.bytes = ReadWholeFile(fileName);
    } catch (const EFileError &) {
        return {};
    }
    file.size = file.bytes.size();
    file.state = CheckConfigImage(file.bytes);
    return file;
}

std::string keptAsideName(const std::string &fileName)
{
    std::string generation = GenerationName(fileName);
    return generation.empty() ? fileName + "~" : generation;
}

std::string rejectionText(const std::string &fileName, const ConfigFile &file, RejectedFile rejected)
{
    std::string text = "The configuration file " + fileName + " cannot be used: ";
    if (file.state == ConfigImageState::WrongSize)
        text += "it has " + std::to_string(file.size) + " bytes instead of " + std::to_string(ConfigRecordSize) + ".";
    else
        text += "it does not begin with " + std::string(ConfigMagic) + ".";
    text += "\rThe default settings are used.";
    if (rejected == RejectedFile::LeaveAlone)
        return text;
    const std::string kept = keptAsideName(fileName);
    std::error_code ec;
    fs::copy_file(fileName, kept, fs::copy_options::overwrite_existing, ec);
    if (ec)
        return text + "\rThe file could not be kept as " + kept + " (" + ec.message() +
               ") and will be replaced when the settings are saved.";
    return text + "\rThe file has been kept as " + kept + ".";
}

} // namespace

bool LoadConfig(TConfigRecord &record, const std::string &fileName, const std::optional<ScreenInfo> &screen,
                UserNotifier &notifier, RejectedFile rejected)
{
    const ConfigFile file = probeConfigFile(fileName);
    if (file.state == ConfigImageState::Valid) {
        ReadConfigImage(record, std::span<const std::uint8_t, ConfigRecordSize>(file.bytes.data(), ConfigRecordSize));
        if (screen && (record.ScreenPpi != screen->pixelsPerInch || record.ScreenWidth != screen->width)) {
            notifier.information("Screen characteristics have changed,\rusing defaults setting");
            ResetScreenDefaults(record, screen->pixelsPerInch);
        }
        return true;
    }
    record = BuiltInConfig();
    ResetScreenDefaults(record, screen ? screen->pixelsPerInch : DesignPixelsPerInch);
    record.ContestEnabled = false;
    if (file.state != ConfigImageState::Empty)
        notifier.warning(rejectionText(fileName, file, rejected));
    return false;
}

void SaveConfig(TConfigRecord &record, const std::string &fileName, const ScreenInfo &screen)
{
    record.magic = ConfigMagic;
    record.ScreenPpi = screen.pixelsPerInch;
    record.ScreenWidth = screen.width;
    WriteWholeFile(fileName, ConfigBytes(record), record.DefQSO_Cycle);
}

TConfigRecord &Config()
{
    static TConfigRecord record = BuiltInConfig();
    return record;
}

namespace {
ConfigPublisher &programPublisher()
{
    static ConfigPublisher publisher(Config());
    return publisher;
}
} // namespace

bool LoadConfig(const std::optional<ScreenInfo> &screen, UserNotifier &notifier)
{
    const bool loaded = LoadConfig(Config(), DataFileName(DataFile::Config), screen, notifier);
    PublishConfigSnapshot();
    return loaded;
}

void SaveConfig(const ScreenInfo &screen) { SaveConfig(Config(), DataFileName(DataFile::Config), screen); }

ConfigPublisher::ConfigPublisher(const TConfigRecord &initial)
    : m_current(std::make_shared<const TConfigRecord>(initial))
{
}

void ConfigPublisher::Publish(const TConfigRecord &record)
{
    auto copy = std::make_shared<const TConfigRecord>(record);
    std::lock_guard lock(m_mutex);
    m_current = std::move(copy);
}

std::shared_ptr<const TConfigRecord> ConfigPublisher::Snapshot() const
{
    std::lock_guard lock(m_mutex);
    return m_current;
}

void PublishConfigSnapshot() { programPublisher().Publish(Config()); }

std::shared_ptr<const TConfigRecord> ConfigSnapshot() { return programPublisher().Snapshot(); }

} // namespace vellum
