#include "Fpskaudio.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QAudioSource>
#include <QMediaDevices>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace vellum {

namespace {

QAudioFormat monoFormat(int rate)
{
    QAudioFormat format;
    format.setSampleRate(rate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

/// 8000 Hz when both devices take it, else 48000; 0 when neither rate suits both.
int commonRate(const QAudioDevice &input, const QAudioDevice &output)
{
    for (int rate : {8000, 48000})
        if (input.isFormatSupported(monoFormat(rate)) && output.isFormatSupported(monoFormat(rate)))
            return rate;
    return 0;
}

} // namespace

QtPskSoundDevice::QtPskSoundDevice() = default;

QtPskSoundDevice::~QtPskSoundDevice() { Close(); }

std::string QtPskSoundDevice::Open()
{
    Close();
    QAudioDevice input = QMediaDevices::defaultAudioInput();
    QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (input.isNull())
        return "no sound input device";
    if (output.isNull())
        return "no sound output device";
    m_rate = commonRate(input, output);
    if (m_rate == 0)
        return "the sound device takes neither 8000 nor 48000 Hz mono";
    m_source = std::make_unique<QAudioSource>(input, monoFormat(m_rate));
    m_sink = std::make_unique<QAudioSink>(output, monoFormat(m_rate));
    m_sink->setBufferSize(m_rate / 2 * 2); // half a second of 16-bit samples
    m_input = m_source->start();
    m_output = m_sink->start();
    if (!m_input || m_source->error() != QAudio::NoError) {
        Close();
        return "the sound input could not be started";
    }
    if (!m_output || m_sink->error() != QAudio::NoError) {
        Close();
        return "the sound output could not be started";
    }
    return {};
}

void QtPskSoundDevice::Close()
{
    if (m_source)
        m_source->stop();
    if (m_sink)
        m_sink->stop();
    m_input = m_output = nullptr;
    m_pendingByte.clear();
    m_source.reset();
    m_sink.reset();
}

std::vector<float> QtPskSoundDevice::Read()
{
    std::vector<float> samples;
    if (!m_input)
        return samples;
    // A read may end inside a sample: its first byte waits for the next read.
    QByteArray bytes = m_pendingByte + m_input->readAll();
    m_pendingByte = bytes.size() % 2 ? bytes.right(1) : QByteArray();
    samples.resize(static_cast<std::size_t>(bytes.size()) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::int16_t value;
        std::memcpy(&value, bytes.constData() + 2 * i, 2);
        samples[i] = static_cast<float>(value) / 32768.0f;
    }
    return samples;
}

std::size_t QtPskSoundDevice::OutputRoom() const
{
    return m_sink && m_output ? static_cast<std::size_t>(std::max<qsizetype>(0, m_sink->bytesFree())) / 2 : 0;
}

void QtPskSoundDevice::Write(const std::vector<float> &samples)
{
    if (!m_output || samples.empty())
        return;
    QByteArray bytes(static_cast<qsizetype>(samples.size() * 2), Qt::Uninitialized);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        auto value = static_cast<std::int16_t>(std::clamp(samples[i], -1.0f, 1.0f) * 32767.0f);
        std::memcpy(bytes.data() + 2 * i, &value, 2);
    }
    m_output->write(bytes);
}

} // namespace vellum
