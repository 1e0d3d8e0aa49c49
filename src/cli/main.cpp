// vellum-cli: dispatches to the commands the subsystems register.

#include "cli.h"

#include "logstore/cp1252.h"
#include "logstore/daytime.h"
#include "logstore/paths.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <map>

namespace vellum::cli {

namespace {
struct CommandEntry {
    std::string usage;
    CommandHandler handler;
};

std::map<std::string, CommandEntry> &commands()
{
    static std::map<std::string, CommandEntry> table;
    return table;
}

std::vector<std::pair<int, std::function<void(CliContext &)>>> &setupSteps()
{
    static std::vector<std::pair<int, std::function<void(CliContext &)>>> steps;
    return steps;
}

void printUsage()
{
    std::cerr << "usage: vellum-cli [--dir DIR] COMMAND ...\n";
    for (const auto &[name, entry] : commands())
        std::cerr << "  " << entry.usage << "\n";
}
} // namespace

CommandRegistrar::CommandRegistrar(const char *name, const char *usage, CommandHandler handler)
{
    commands()[name] = {usage, std::move(handler)};
}

SetupRegistrar::SetupRegistrar(int order, std::function<void(CliContext &)> step)
{
    setupSteps().emplace_back(order, std::move(step));
}

Answer CliNotifier::show(MessageKind kind, std::string_view text, Buttons buttons)
{
    std::string line(text);
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::replace(line.begin(), line.end(), '\n', ' ');
    const char *prefix = kind == MessageKind::Error ? "error: " : kind == MessageKind::Warning ? "warning: " : "";
    if (kind == MessageKind::Error)
        ++errors;
    std::cerr << prefix << Cp1252ToUtf8(line) << "\n";
    if (!answers.empty()) {
        Answer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

std::string CliContext::takeOption(const std::string &name, const std::string &fallback)
{
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end())
        return fallback;
    if (it + 1 == args.end())
        throw CliError("option " + name + " needs a value");
    std::string value = *(it + 1);
    args.erase(it, it + 2);
    return value;
}

int CliContext::takeNumber(const std::string &name, int fallback, int low, int high)
{
    std::string text = takeOption(name);
    if (text.empty())
        return fallback;
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw CliError(name + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                       ", not " + text);
    return value;
}

bool CliContext::takeFlag(const std::string &name)
{
    auto it = std::find(args.begin(), args.end(), name);
    if (it == args.end())
        return false;
    args.erase(it);
    return true;
}

const std::string &CliContext::arg(std::size_t index, const char *what) const
{
    if (index >= args.size())
        throw CliError(std::string("missing ") + what);
    return args[index];
}

std::uint16_t IsoDateArgument(const std::string &text)
{
    std::optional<std::uint16_t> day;
    if (text.size() == 10 && text[4] == '-' && text[7] == '-')
        day = ParseDate(text, DateFormat::YearMonthDay);
    if (!day)
        throw CliError("invalid date '" + text + "' (YYYY-MM-DD, 1900-03-02 to 2079-06-05)");
    return *day;
}

std::string IsoDateText(std::uint16_t day) { return FormatDate(day, DateFormat::YearMonthDay, false); }

std::string JsonString(std::string_view cp1252Text)
{
    std::string utf8 = Cp1252ToUtf8(cp1252Text);
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

} // namespace vellum::cli

int main(int argc, char **argv)
{
    using namespace vellum::cli;
    std::ios::sync_with_stdio(false);
    CliContext context;
    std::string dir;
    std::vector<std::string> words(argv + 1, argv + argc);
    for (auto it = words.begin(); it != words.end();) {
        if (*it == "--dir" && it + 1 != words.end()) {
            dir = *(it + 1);
            it = words.erase(it, it + 2);
        } else {
            ++it;
        }
    }
    if (words.empty() || words[0] == "--help" || words[0] == "-h") {
        printUsage();
        return words.empty() ? 1 : 0;
    }
    // A subcommand a subsystem registers on its own ("config set") goes before its command.
    std::size_t nameWords = 1;
    auto command = commands().end();
    if (words.size() >= 2)
        command = commands().find(words[0] + " " + words[1]);
    if (command != commands().end())
        nameWords = 2;
    else
        command = commands().find(words[0]);
    if (command == commands().end()) {
        std::cerr << "vellum-cli: unknown command '" << words[0] << "'\n";
        printUsage();
        return 1;
    }
    context.args.assign(words.begin() + static_cast<std::ptrdiff_t>(nameWords), words.end());
    context.programDir = vellum::ChooseProgramDir(dir);
    vellum::SetProgramDir(context.programDir);
    context.services.notifier = &context.notifier;
    try {
        auto steps = setupSteps();
        std::stable_sort(steps.begin(), steps.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        for (auto &[order, step] : steps)
            step(context);
        return command->second.handler(context);
    } catch (const std::exception &e) {
        std::string text = e.what();
        std::replace(text.begin(), text.end(), '\n', ' ');
        if (!text.empty()) // empty: the message was already shown
            std::cerr << "vellum-cli: " << text << "\n";
        return 1;
    }
}
