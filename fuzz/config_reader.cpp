// Fuzz target: configuration file images. Every input is classified as a file
// would be, and is also laid over a whole record with the right magic, so that
// the checks after loading see every kind of content. After loading, every
// string must lie within its field and clamping must change nothing more.

#include "config/configfields.h"
#include "config/configfile.h"
#include "config/configrules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

namespace {

using namespace vellum;

void touchEveryLeaf(const TConfigRecord &record)
{
    std::uint64_t sum = 0;
    ForEachLeafSetting(record, [&sum](const std::string &, const auto &field) {
        using Field = std::remove_cvref_t<decltype(field)>;
        if constexpr (requires { Field::capacity; }) {
            if (field.size() > Field::capacity)
                std::abort();
            for (char c : field.view())
                sum += static_cast<unsigned char>(c);
        } else {
            sum += static_cast<std::uint64_t>(static_cast<double>(field) != 0);
        }
    });
    volatile std::uint64_t sink = sum;
    (void)sink;
}

void readImage(std::span<const std::uint8_t> image)
{
    if (CheckConfigImage(image) != ConfigImageState::Valid)
        return;
    TConfigRecord record = BuiltInConfig();
    ReadConfigImage(record, image.first<ConfigRecordSize>());
    if (record.ContestEnabled)
        std::abort();
    touchEveryLeaf(record);
    TConfigRecord again = record;
    ClampSettings(again);
    if (std::memcmp(&again, &record, ConfigRecordSize) != 0)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    readImage(std::span<const std::uint8_t>(data, size));
    std::vector<std::uint8_t> image(ConfigRecordSize, 0);
    std::memcpy(image.data(), data, std::min(size, ConfigRecordSize));
    image[0] = static_cast<std::uint8_t>(ConfigMagic.size());
    std::memcpy(image.data() + 1, ConfigMagic.data(), ConfigMagic.size());
    readImage(image);
    return 0;
}
