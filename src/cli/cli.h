#pragma once
// vellum-cli: the command-line companion. Each subsystem adds its commands in a
// file of its own (logcommands.cpp, configcommands.cpp, ...) with
// VELLUM_CLI_COMMAND, and may register a set-up step that plugs its real parts
// into the context (the configuration, the country data) before a command runs.

#include "logstore/services.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vellum {

class CountryResolver;
class TCountryData;
}

namespace vellum::cli {

/// A failure a command reports: one line on stderr and exit status 1.
class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Writes messages to stderr and answers questions from the command's options.
class CliNotifier : public UserNotifier {
public:
    Answer show(MessageKind kind, std::string_view text, Buttons buttons) override;
    std::vector<Answer> answers; ///< given in order; Yes (or Ok) when used up
    int errors = 0;
};

/// What a command works with: the program directory and the services of the core.
struct CliContext {
    std::string programDir;           ///< from --dir, $VELLUM_DIR or the default
    std::vector<std::string> args;    ///< the command's words after its name, --dir removed
    CliNotifier notifier;
    LogServices services;             ///< notifier set; set-up steps fill in the rest
    std::vector<std::shared_ptr<void>> owned; ///< objects the set-up steps made
    TCountryData *countries = nullptr; ///< the country data of this run, when it could be loaded
    const CountryResolver *countryResolver = nullptr; ///< its resolver (also services.resolver)

    /// The value of --name VALUE in args (removed from args), or fallback.
    std::string takeOption(const std::string &name, const std::string &fallback = {});
    /// The whole number of --name VALUE in args (removed from args), or fallback; a
    /// CliError when it is no number from low to high.
    int takeNumber(const std::string &name, int fallback, int low, int high);
    /// Whether --name is in args (removed from args).
    bool takeFlag(const std::string &name);
    /// The positional argument at index, or a CliError naming what is missing.
    const std::string &arg(std::size_t index, const char *what) const;
};

using CommandHandler = std::function<int(CliContext &)>;

/// Registers a top-level command ("log", "config", "cty", "resolve", ...), or a
/// subcommand of one as "command sub" ("config set"), which is dispatched before
/// the command itself.
struct CommandRegistrar {
    CommandRegistrar(const char *name, const char *usage, CommandHandler handler);
};

/// Registers a set-up step run (in order of `order`, low first) before every command.
struct SetupRegistrar {
    SetupRegistrar(int order, std::function<void(CliContext &)> step);
};

#define VELLUM_CLI_CONCAT2(a, b) a##b
#define VELLUM_CLI_CONCAT(a, b) VELLUM_CLI_CONCAT2(a, b)
#define VELLUM_CLI_COMMAND(name, usage, handler) \
    static ::vellum::cli::CommandRegistrar VELLUM_CLI_CONCAT(commandRegistrar_, __LINE__)(name, usage, handler)
#define VELLUM_CLI_SETUP(order, step) \
    static ::vellum::cli::SetupRegistrar VELLUM_CLI_CONCAT(setupRegistrar_, __LINE__)(order, step)

/// Writes text as a JSON string literal (the text is cp1252; it is converted to UTF-8).
std::string JsonString(std::string_view cp1252Text);

/// The day number of a date written YYYY-MM-DD; a CliError when it is not a valid date.
std::uint16_t IsoDateArgument(const std::string &text);
/// A day number as YYYY-MM-DD (empty for day 0).
std::string IsoDateText(std::uint16_t day);

} // namespace vellum::cli
