// vellum-cli awd check: reads a custom award definition file and prints the
// awards it defines, or the messages the program would show for it.

#include "cli.h"

#include "awards/customawardfile.h"

#include "logstore/fileio.h"

#include <filesystem>
#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

std::string switches(const bool *first, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += first[i] ? '1' : '0';
    return text;
}

std::string awardJson(const TCustAward &award)
{
    std::ostringstream out;
    out << "{\"ident\":" << JsonString(award.Ident) << ",\"name\":" << JsonString(award.Name)
        << ",\"countries\":" << JsonString(award.Countries)
        << ",\"modes\":\"" << switches(award.ModeGroups.data() + 1, award.ModeGroups.size() - 1) << "\""
        << ",\"bands\":\"" << switches(award.Bands.data() + 1, award.Bands.size() - 1) << "\""
        << ",\"picture\":" << JsonString(award.Picture) << ",\"values\":[";
    for (std::size_t i = 0; i < award.Values().size(); ++i)
        out << (i ? "," : "") << "{\"key\":" << JsonString(award.Values()[i].key)
            << ",\"name\":" << JsonString(award.Values()[i].longName) << "}";
    out << "]}";
    return out.str();
}

int awdCheck(CliContext &context)
{
    const std::string &file = context.arg(1, "award definition file");
    std::vector<std::uint8_t> bytes = ReadWholeFile(file);
    TCustAwardList list;
    RecordingNotifier messages;
    bool complete = ReadCustomAwards(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()),
                                     list, messages, std::filesystem::path(file).filename().string());
    std::ostringstream out;
    out << "{\"file\":" << JsonString(file) << ",\"complete\":" << (complete ? "true" : "false") << ",\"awards\":[";
    for (std::int32_t i = 0; i < list.Count(); ++i)
        out << (i ? "," : "") << awardJson(list.At(i));
    out << "],\"messages\":[";
    for (std::size_t i = 0; i < messages.shown.size(); ++i)
        out << (i ? "," : "") << JsonString(messages.shown[i].text);
    out << "]}";
    std::cout << out.str() << "\n";
    return messages.shown.empty() ? 0 : 1;
}

int awdCommand(CliContext &context)
{
    const std::string &sub = context.arg(0, "awd subcommand (check)");
    if (sub == "check")
        return awdCheck(context);
    throw CliError("unknown awd subcommand '" + sub + "' (check)");
}

} // namespace

VELLUM_CLI_COMMAND("awd", "awd check FILE  (the custom awards a definition file defines, or its messages)",
                   awdCommand);

} // namespace vellum::cli
