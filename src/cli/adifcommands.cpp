// vellum-cli adif import | export: ADIF files into and out of a log file, with
// the answers the import's questions would get from the command's options.

#include "exchangejob.h"

#include "exchange/importfilter.h"

namespace vellum::cli {

namespace {

int adifCommand(CliContext &context)
{
    const std::string verb = context.arg(0, "adif command (import, export)");
    if (verb != "import" && verb != "export")
        throw CliError("unknown adif command '" + verb + "' (import, export)");
    if (verb == "import")
        return RunImportCommand(context, 1, AdifFilter(), RecordFormat::Adif);
    return RunExportCommand(context, 1, AdifFilter(), RecordFormat::Adif);
}

} // namespace

VELLUM_CLI_COMMAND("adif",
                   "adif import LOG FILE [--dupes stop|replace|ignore] [--prefix-zone keep|import] | "
                   "adif export LOG FILE",
                   adifCommand);

} // namespace vellum::cli
