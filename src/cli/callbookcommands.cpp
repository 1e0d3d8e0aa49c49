// vellum-cli callbook CALL: the call looked up in the configured callbook CD-ROM
// source (its library in EXTDATA), with its QSL manager's address, as JSON lines.
// The online callbook needs the program's network loop and is left to the window.

#include "cli.h"

#include "callbook/callbooklookup.h"
#include "config/configfile.h"
#include "config/configrecord.h"
#include "logstore/paths.h"
#include "logstore/shortstring.h"
#include "logstore/trim.h"

#include <iostream>

namespace vellum::cli {

namespace {

int callbookCommand(CliContext &context)
{
    std::string call = UpperAscii(std::string(Trim(context.arg(0, "CALL")))).substr(0, 12);
    const TConfigRecord &config = Config();
    int source = config.F_ExtAddrType;
    if (source == static_cast<int>(CallbookSource::None) || source == static_cast<int>(CallbookSource::Online))
        throw CliError("callbook: no callbook CD-ROM source is chosen (F_ExtAddrType " + std::to_string(source) + ")");
    CallbookLookup lookup(ExtDataDir());
    CallbookLines lines;
    lookup.Lookup(source, config.F_ExtAddrPath.str(), call, lines);
    std::string manager = ManagerFromLines(lines, call);
    if (!manager.empty()) {
        lines.push_back("----Address for " + manager);
        lookup.Lookup(source, config.F_ExtAddrPath.str(), manager, lines);
    }
    std::cout << "{\"call\":" << JsonString(call) << ",\"manager\":" << JsonString(manager) << ",\"lines\":[";
    for (std::size_t i = 0; i < lines.size(); ++i)
        std::cout << (i ? "," : "") << JsonString(lines[i]);
    std::cout << "]}\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("callbook", "callbook CALL  (the configured CD-ROM source)", callbookCommand);

} // namespace vellum::cli
