#include "spotrecord.h"

#include "logstore/fileio.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vellum {

namespace {

constexpr std::uint8_t Header[6] = {5, 'S', 'P', 'O', 'T', 'B'};

std::string setAside(const std::string &fileName)
{
    std::string aside = fileName + ".bad";
    std::error_code error;
    std::filesystem::rename(fileName, aside, error);
    return error ? std::string() : aside;
}

bool usable(const TSpotRecord &spot)
{
    double freq = spot.Freq;
    double qsx = spot.Qsx;
    return std::isfinite(freq) && freq > 0 && std::isfinite(qsx) && qsx >= 0;
}

} // namespace

SpotFileContents ReadSpotFile(const std::string &fileName)
{
    SpotFileContents contents;
    std::error_code error;
    if (!std::filesystem::exists(fileName, error))
        return contents;
    std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
    if (bytes.size() < sizeof(Header) || std::memcmp(bytes.data(), Header, sizeof(Header)) != 0) {
        contents.state = SpotFileState::Incompatible;
        contents.setAsideAs = setAside(fileName);
        return contents;
    }
    std::size_t count = (bytes.size() - sizeof(Header)) / sizeof(TSpotRecord);
    contents.spots.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        TSpotRecord spot;
        std::memcpy(&spot, bytes.data() + sizeof(Header) + i * sizeof(TSpotRecord), sizeof(TSpotRecord));
        if (usable(spot))
            contents.spots.push_back(spot);
    }
    contents.state = SpotFileState::Read;
    if ((bytes.size() - sizeof(Header)) % sizeof(TSpotRecord) != 0) {
        contents.state = SpotFileState::Damaged;
        contents.setAsideAs = setAside(fileName);
    }
    return contents;
}

void WriteSpotFile(const std::string &fileName, const std::vector<TSpotRecord> &spots, bool cycleFiles)
{
    if (spots.empty()) {
        std::error_code error;
        std::filesystem::remove(fileName, error);
        return;
    }
    std::vector<std::uint8_t> bytes(sizeof(Header) + spots.size() * sizeof(TSpotRecord));
    std::memcpy(bytes.data(), Header, sizeof(Header));
    std::memcpy(bytes.data() + sizeof(Header), spots.data(), spots.size() * sizeof(TSpotRecord));
    WriteWholeFile(fileName, bytes, cycleFiles);
}

} // namespace vellum
