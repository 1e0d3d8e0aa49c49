// Makes the spoken sounds of spot announcements with the espeak-ng speech
// synthesizer: one WAV file per class word, band, mode and callsign character,
// in the directory given (default data of the program).

#include "cluster/spotannounce.h"

#include <filesystem>
#include <iostream>
#include <string>

#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

bool speak(const std::string &words, const std::string &file)
{
    std::string wav = file + ".tmp";
    const char *argv[] = {"espeak-ng", "-s", "150", "-w", wav.c_str(), words.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "espeak-ng", nullptr, nullptr, const_cast<char **>(argv), environ) != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return false;
    std::error_code error;
    std::filesystem::rename(wav, file, error);
    return !error;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_spot_sounds DIRECTORY\n";
        return 1;
    }
    std::string dir = argv[1];
    std::filesystem::create_directories(dir);
    for (const vellum::SpokenSound &sound : vellum::SpokenSounds()) {
        std::string file = vellum::SoundFile(dir, sound.name);
        if (std::filesystem::exists(file))
            continue;
        if (!speak(sound.words, file)) {
            std::cerr << "make_spot_sounds: espeak-ng could not make " << file << "\n";
            return 1;
        }
    }
    return 0;
}
