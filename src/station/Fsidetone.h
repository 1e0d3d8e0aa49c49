#pragma once
// The sidetone on the sound card: the keyer's sine played through a low-latency
// QAudioSink that lives on a thread of its own, so that the keyer thread only
// flips an atomic switch and the user-interface thread never delays the tone.

#include "morsesender.h"
#include "sidetonewave.h"

#include <QIODevice>
#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

class QAudioSink;
class QTimer;

namespace vellum {

/// The wave as a never-ending stream of 16-bit mono samples for a sink to pull.
class SidetoneStream : public QIODevice {
    Q_OBJECT
public:
    explicit SidetoneStream(SidetoneWave &wave, QObject *parent = nullptr);
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    SidetoneWave &m_wave;
};

/// Runs on the sidetone thread: opens the sink when a tone is wanted, closes it after a
/// few quiet seconds.
class SidetonePlayer : public QObject {
    Q_OBJECT
public:
    SidetonePlayer(SidetoneWave &wave, std::atomic<bool> &running);
    ~SidetonePlayer() override;
    bool Playing() const;

public slots:
    void ensurePlaying();
    void stopPlaying();

private:
    void closeWhenQuiet();
    SidetoneWave &m_wave;
    std::atomic<bool> &m_running;
    SidetoneStream *m_stream = nullptr;
    QAudioSink *m_sink = nullptr;
    QTimer *m_quietTimer = nullptr;
    int m_quietTicks = 0;
};

class TSidetone : public Sidetone {
public:
    static constexpr int SampleRate = 48000;
    TSidetone();
    ~TSidetone() override;
    void Start(int hz) override;
    void Stop() override;
    /// Whether the sink is open and playing (asked of the sidetone thread).
    bool Playing() const;
    SidetoneWave &Wave() { return m_wave; }

private:
    SidetoneWave m_wave{SampleRate};
    std::atomic<bool> m_running{false};
    QThread m_thread;
    SidetonePlayer *m_player;
};

} // namespace vellum
