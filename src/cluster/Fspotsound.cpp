#include "Fspotsound.h"

#include "app/windowhost.h"
#include "logstore/paths.h"
#include "logstore/services.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <chrono>

namespace vellum {

namespace {

constexpr int TickMs = 20;
constexpr auto LongestSound = std::chrono::seconds(30);
constexpr auto StartWithin = std::chrono::seconds(3);

bool soundTestPassed = false;

} // namespace

bool QtSoundPlayer::Play(const std::string &file, const std::atomic<bool> &cancel)
{
    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(TickMs);
    bool asked = false;
    bool heard = false;
    bool failed = false;
    auto start = std::chrono::steady_clock::now();
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] { heard = heard || effect.isPlaying(); });
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        auto elapsed = std::chrono::steady_clock::now() - start;
        failed = effect.status() == QSoundEffect::Error || (!heard && elapsed > StartWithin);
        if (cancel || failed || elapsed > LongestSound || (heard && !effect.isPlaying())) {
            effect.stop();
            loop.quit();
        } else if (!asked && effect.status() == QSoundEffect::Ready) {
            effect.play();
            asked = true;
        }
    });
    tick.start();
    loop.exec();
    return heard && !failed;
}

bool SoundDeviceFound() { return !QMediaDevices::audioOutputs().isEmpty(); }

bool RunSoundTest(WindowHost &host)
{
    if (SoundDeviceFound() || soundTestPassed)
        return true;
    UserNotifier &notifier = host.Notifier();
    if (notifier.show(MessageKind::Confirmation,
                      "A sound system was not detected automatically\rdo want you want try if it works anyway?",
                      Buttons::YesNo) != Answer::Yes)
        return false;
    QtSoundPlayer player;
    std::atomic<bool> never{false};
    if (!player.Play(SoundFile(SoundsDir(), "Country"), never)) {
        notifier.error("File did not play; sorry");
        return false;
    }
    soundTestPassed =
        notifier.show(MessageKind::Confirmation, "Did the file play correctly?", Buttons::YesNo) == Answer::Yes;
    return soundTestPassed;
}

} // namespace vellum
