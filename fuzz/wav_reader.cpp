// Fuzz target: WAV files. Reading any bytes either gives sound within -1..1 or
// refuses the file with a reason; it never reads past the bytes.

#include "station/psk/wavfile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    try {
        vellum::psk::WavSound sound = vellum::psk::ParseWav(bytes);
        if (sound.samples.size() > size)
            std::abort();
        for (float s : sound.samples)
            if (!(s >= -1.0f && s <= 1.0f))
                std::abort();
    } catch (const std::runtime_error &) {
    }
    return 0;
}
