#include "wavfile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vellum::psk {

namespace {

void put32(std::vector<unsigned char> &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
void put16(std::vector<unsigned char> &out, std::uint16_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
std::uint32_t get32(const std::vector<unsigned char> &in, std::size_t at)
{
    return static_cast<std::uint32_t>(in[at]) | static_cast<std::uint32_t>(in[at + 1]) << 8 |
           static_cast<std::uint32_t>(in[at + 2]) << 16 | static_cast<std::uint32_t>(in[at + 3]) << 24;
}
std::uint16_t get16(const std::vector<unsigned char> &in, std::size_t at)
{
    return static_cast<std::uint16_t>(in[at] | in[at + 1] << 8);
}

} // namespace

void WriteWav(const std::string &fileName, const WavSound &sound)
{
    std::vector<unsigned char> bytes;
    std::uint32_t data = static_cast<std::uint32_t>(sound.samples.size() * 2);
    bytes.insert(bytes.end(), {'R', 'I', 'F', 'F'});
    put32(bytes, 36 + data);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(bytes, 16);
    put16(bytes, 1); // PCM
    put16(bytes, 1); // mono
    put32(bytes, static_cast<std::uint32_t>(sound.sampleRate));
    put32(bytes, static_cast<std::uint32_t>(sound.sampleRate * 2));
    put16(bytes, 2);
    put16(bytes, 16);
    bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
    put32(bytes, data);
    for (float s : sound.samples)
        put16(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767))));
    std::ofstream out(fileName, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error(fileName + ": cannot be written");
}

WavSound ParseWav(const std::vector<unsigned char> &bytes)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error("not a WAV file");
    WavSound sound;
    int channels = 0, bits = 0, format = 0;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        std::uint32_t size = get32(bytes, at + 4);
        std::size_t body = at + 8;
        std::size_t available = bytes.size() - body;
        std::size_t length = std::min<std::size_t>(size, available); // a cut-off last chunk is read as far as it goes
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0 && length >= 16) {
            format = get16(bytes, body);
            channels = get16(bytes, body + 2);
            sound.sampleRate = static_cast<int>(get32(bytes, body + 4));
            bits = get16(bytes, body + 14);
        } else if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            if (format != 1 || bits != 16 || channels < 1 || sound.sampleRate < 1000 || sound.sampleRate > 384000)
                throw std::runtime_error("only 16-bit PCM sound is read");
            std::size_t frame = static_cast<std::size_t>(channels) * 2;
            sound.samples.reserve(length / frame);
            for (std::size_t i = 0; i + frame <= length; i += frame)
                sound.samples.push_back(static_cast<std::int16_t>(get16(bytes, body + i)) / 32768.0f);
            return sound;
        }
        if (size > available)
            break;
        at = body + size + (size & 1);
    }
    throw std::runtime_error("no sound data in the WAV file");
}

WavSound ReadWav(const std::string &fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw std::runtime_error(fileName + ": cannot be read");
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        return ParseWav(bytes);
    } catch (const std::runtime_error &error) {
        throw std::runtime_error(fileName + ": " + error.what());
    }
}

} // namespace vellum::psk
