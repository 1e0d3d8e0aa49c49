#pragma once
// Sound files played through Qt Multimedia on the sound thread, and the check
// the setup runs when spoken announcements are chosen.

#include "spotannounce.h"

namespace vellum {

class WindowHost;

/// Plays a WAV file with QSoundEffect on the calling thread (it runs its own
/// event loop while the file plays); gives up after 30 s.
class QtSoundPlayer : public SoundPlayer {
public:
    bool Play(const std::string &file, const std::atomic<bool> &cancel) override;
};

/// Whether the machine has a sound output device.
bool SoundDeviceFound();

/// The setup's sound test: with a device it passes; without one the user is
/// asked whether to try anyway, the "country" sound is played and the user says
/// whether it played. A passed test is remembered for the run.
bool RunSoundTest(WindowHost &host);

} // namespace vellum
