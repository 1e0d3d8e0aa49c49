#pragma once
// Mono 16-bit WAV files for the PSK31 tools: written whole, read with every
// length checked (a file that is not 16-bit PCM is refused with the reason).

#include <string>
#include <vector>

namespace vellum::psk {

struct WavSound {
    int sampleRate = 8000;
    std::vector<float> samples; ///< -1..1; the first channel of a multi-channel file
};

/// Throws std::runtime_error naming the file when it cannot be written.
void WriteWav(const std::string &fileName, const WavSound &sound);
/// Throws std::runtime_error with the reason when the file cannot be read as 16-bit PCM.
WavSound ReadWav(const std::string &fileName);
WavSound ParseWav(const std::vector<unsigned char> &bytes);

} // namespace vellum::psk
