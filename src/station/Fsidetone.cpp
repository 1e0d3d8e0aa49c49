#include "Fsidetone.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>

#include <limits>

namespace vellum {

namespace {
constexpr int BufferMs = 20;         // what the sink holds ahead: the tone's delay
constexpr int QuietSecondsToClose = 5;
} // namespace

SidetoneStream::SidetoneStream(SidetoneWave &wave, QObject *parent) : QIODevice(parent), m_wave(wave)
{
    open(QIODevice::ReadOnly);
}

qint64 SidetoneStream::bytesAvailable() const
{
    return std::numeric_limits<int>::max() / 2 + QIODevice::bytesAvailable();
}

qint64 SidetoneStream::readData(char *data, qint64 maxSize)
{
    qint64 count = maxSize / 2;
    m_wave.Fill(reinterpret_cast<std::int16_t *>(data), static_cast<std::size_t>(count));
    return count * 2;
}

SidetonePlayer::SidetonePlayer(SidetoneWave &wave, std::atomic<bool> &running) : m_wave(wave), m_running(running) {}

SidetonePlayer::~SidetonePlayer() { stopPlaying(); }

bool SidetonePlayer::Playing() const { return m_sink && m_sink->state() == QAudio::ActiveState; }

void SidetonePlayer::ensurePlaying()
{
    if (m_sink)
        return;
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    QAudioFormat format;
    format.setSampleRate(TSidetone::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isNull() || !device.isFormatSupported(format)) {
        m_running = false; // no sound card: the sidetone stays silent
        return;
    }
    m_stream = new SidetoneStream(m_wave, this);
    m_sink = new QAudioSink(device, format, this);
    m_sink->setBufferSize(TSidetone::SampleRate * 2 * BufferMs / 1000);
    m_sink->start(m_stream);
    if (!m_quietTimer) {
        m_quietTimer = new QTimer(this);
        connect(m_quietTimer, &QTimer::timeout, this, [this] { closeWhenQuiet(); });
    }
    m_quietTicks = 0;
    m_quietTimer->start(1000);
}

void SidetonePlayer::closeWhenQuiet()
{
    m_quietTicks = m_wave.Silent() ? m_quietTicks + 1 : 0;
    if (m_quietTicks >= QuietSecondsToClose)
        stopPlaying();
}

void SidetonePlayer::stopPlaying()
{
    if (m_quietTimer)
        m_quietTimer->stop();
    if (m_sink) {
        m_sink->stop();
        delete m_sink;
        m_sink = nullptr;
    }
    delete m_stream;
    m_stream = nullptr;
    m_running = false;
}

TSidetone::TSidetone() : m_player(new SidetonePlayer(m_wave, m_running))
{
    m_thread.setObjectName(QStringLiteral("Sidetone"));
    m_player->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_player, &QObject::deleteLater);
    m_thread.start(QThread::TimeCriticalPriority);
}

TSidetone::~TSidetone()
{
    m_wave.Off();
    m_thread.quit(); // the player closes its sink on its own thread as it goes
    m_thread.wait();
}

void TSidetone::Start(int hz)
{
    m_wave.Set(true, hz);
    if (!m_running.exchange(true))
        QMetaObject::invokeMethod(m_player, &SidetonePlayer::ensurePlaying, Qt::QueuedConnection);
}

void TSidetone::Stop() { m_wave.Off(); }

bool TSidetone::Playing() const
{
    bool playing = false;
    QMetaObject::invokeMethod(m_player, [&] { playing = m_player->Playing(); }, Qt::BlockingQueuedConnection);
    return playing;
}

} // namespace vellum
