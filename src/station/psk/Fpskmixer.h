#pragma once
// The volume control of the PSK31 window: a mixer program of the system, named by
// a one-line file in the program directory (default "pavucontrol").

#include <string>

namespace vellum {

inline constexpr const char *DefaultMixerCommand = "pavucontrol";

/// The mixer command of the program directory's PSK31.MIXER, or the default.
std::string LoadMixerCommand();
/// Stores the command (empty: the default); false with the reason when it cannot be written.
bool SaveMixerCommand(const std::string &command, std::string &error);
/// Starts the command (program and arguments, no shell) detached; empty on success, else the message.
std::string RunMixerCommand(const std::string &command);

} // namespace vellum
