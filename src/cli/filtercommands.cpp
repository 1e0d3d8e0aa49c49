// vellum-cli import | export | filters: text files into and out of a log file
// through a filter of the filter file (SAVE/VELLUM.IEP, or --iep FILE), and the
// list of the filters. A filter whose identifier begins with "ADIF" reads and
// writes ADIF.

#include "exchangejob.h"

#include "exchange/converter.h"
#include "exchange/delimitedline.h"
#include "exchange/filterfile.h"
#include "exchange/filterformats.h"
#include "exchange/filtertext.h"
#include "exchange/importfilter.h"

#include "logstore/daytime.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"

#include <iostream>

namespace vellum::cli {

namespace {

std::vector<ImportFilter> readFilters(const std::string &iepFile)
{
    try {
        FilterFileContents contents = ReadFilterFile(iepFile);
        if (!contents.problem.empty())
            std::cerr << contents.problem << "\n";
        return contents.filters;
    } catch (const EFileError &e) {
        throw CliError(e.what());
    }
}

/// The filter named by --filter in the filter file of --iep (or the program
/// directory's); the built-in ADIF filter answers "ADIF" when the file has none.
ImportFilter chosenFilter(CliContext &context)
{
    std::string id = context.takeOption("--filter");
    std::string iep = context.takeOption("--iep", DataFileName(DataFile::ImportExportFilters));
    if (id.empty())
        throw CliError("--filter ID is missing (vellum-cli filters lists them)");
    FilterList list(readFilters(iep));
    int at = list.Find(id);
    if (at >= 0)
        return list.At(static_cast<std::size_t>(at));
    if (id == "ADIF")
        return AdifFilter();
    throw CliError("no filter '" + id + "' in " + iep);
}

RecordFormat formatOf(const ImportFilter &filter)
{
    return IsAdifFilter(filter) ? RecordFormat::Adif : RecordFormat::Filter;
}

int importCommand(CliContext &context)
{
    ImportFilter filter = chosenFilter(context);
    if (filter.Usage == FilterUsage::BinaryImport)
        throw CliError("the filter " + filter.Id.str() + " imports through its converter: use the program's window");
    return RunImportCommand(context, 0, filter, formatOf(filter));
}

int exportCommand(CliContext &context)
{
    ImportFilter filter = chosenFilter(context);
    if (filter.Usage != FilterUsage::ImportExport && filter.Id.view() != "ADIF")
        throw CliError("the filter " + filter.Id.str() + " is for import only (its usage is " +
                       std::string(UsageName(filter.Usage)) + ")");
    return RunExportCommand(context, 0, filter, formatOf(filter));
}

std::string filterJson(const ImportFilter &filter)
{
    std::string json = "{\"id\":" + JsonString(filter.Id.view()) + ",\"usage\":" +
                       JsonString(UsageName(filter.Usage)) + ",\"description\":" + JsonString(filter.Description.view()) +
                       ",\"ext\":" + JsonString(filter.Ext.view()) + ",\"noteExt\":" + JsonString(filter.NoteExt.view()) +
                       ",\"recLen\":" + std::to_string(filter.RecLen) + ",\"layout\":" +
                       JsonString(IsDelimitedFilter(filter) ? "comma-separated" : "fixed columns") + ",\"fields\":[";
    bool first = true;
    for (int field = 0; field < ImportFieldCount; ++field) {
        const FieldSpec &spec = filter.FieldSpecs[static_cast<std::size_t>(field)];
        if (spec.position == 0)
            continue;
        json += std::string(first ? "" : ",") + "{\"name\":" + JsonString(ImportFieldNames[static_cast<std::size_t>(field)].name) +
                ",\"position\":" + std::to_string(spec.position) + ",\"format\":" +
                JsonString(FormatName(field, spec.format)) + ",\"length\":" + std::to_string(spec.length) + "}";
        first = false;
    }
    json += "],\"problems\":[";
    first = true;
    for (const std::string &problem : FilterProblems(filter)) {
        json += std::string(first ? "" : ",") + JsonString(problem);
        first = false;
    }
    return json + "]}";
}

/// filters compile TEXT OUT: the filter file of filters in their text form (the shipped defaults).
int compileFilters(CliContext &context)
{
    const std::string &textFile = context.arg(1, "text file");
    const std::string &out = context.arg(2, "filter file");
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(textFile);
    } catch (const EFileError &e) {
        throw CliError(e.what());
    }
    FilterTextResult parsed =
        ParseFilterText(std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()), TodayDayNumber());
    for (const std::string &error : parsed.errors)
        std::cerr << textFile << " " << error << "\n";
    for (const ImportFilter &filter : parsed.filters)
        for (const std::string &problem : FilterProblems(filter))
            std::cerr << textFile << " [" << filter.Id.str() << "] " << problem << "\n";
    if (!parsed.errors.empty())
        return 1;
    try {
        WriteFilterFile(out, FilterList(parsed.filters).Filters(), false);
    } catch (const EFileError &e) {
        throw CliError(e.what());
    }
    return 0;
}

int filtersCommand(CliContext &context)
{
    if (!context.args.empty() && context.args[0] == "compile")
        return compileFilters(context);
    std::string iep = context.takeOption("--iep", DataFileName(DataFile::ImportExportFilters));
    FilterList list(readFilters(iep));
    std::cout << "[";
    for (std::size_t i = 0; i < list.Size(); ++i)
        std::cout << (i ? ",\n" : "") << filterJson(list.At(i));
    std::cout << "]\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("import",
                   "import LOG FILE --filter ID [--iep FILE] [--dupes stop|replace|ignore] [--prefix-zone keep|import]",
                   importCommand);
VELLUM_CLI_COMMAND("export", "export LOG FILE --filter ID [--iep FILE]", exportCommand);
VELLUM_CLI_COMMAND("filters", "filters [--iep FILE] | filters compile TEXT OUT", filtersCommand);

} // namespace vellum::cli
