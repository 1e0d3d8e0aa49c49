#pragma once
// The sound of the PSK31 window behind a small interface: the program's sound card
// through Qt Multimedia, and in tests a source that plays generated samples.


#include <QByteArray>

#include <memory>
#include <string>
#include <vector>

class QAudioSink;
class QAudioSource;
class QIODevice;

namespace vellum {

class PskSoundDevice {
public:
    virtual ~PskSoundDevice() = default;
    /// Starts input and output; empty on success, else the reason.
    virtual std::string Open() = 0;
    virtual void Close() = 0;
    /// Samples per second of input and output (8000 or 48000).
    virtual int SampleRate() const = 0;
    /// The samples recorded since the last call (-1 to 1).
    virtual std::vector<float> Read() = 0;
    /// How many samples the output takes now.
    virtual std::size_t OutputRoom() const = 0;
    virtual void Write(const std::vector<float> &samples) = 0;
};

/// The default sound input and output of the system, 16-bit mono at 8000 Hz, or
/// 48000 Hz when the device does not take 8000.
class QtPskSoundDevice : public PskSoundDevice {
public:
    QtPskSoundDevice();
    ~QtPskSoundDevice() override;
    std::string Open() override;
    void Close() override;
    int SampleRate() const override { return m_rate; }
    std::vector<float> Read() override;
    std::size_t OutputRoom() const override;
    void Write(const std::vector<float> &samples) override;

private:
    std::unique_ptr<QAudioSource> m_source;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice *m_input = nullptr;
    QIODevice *m_output = nullptr;
    QByteArray m_pendingByte;
    int m_rate = 8000;
};

} // namespace vellum
