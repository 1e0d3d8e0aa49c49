// vellum-cli report list | report LOG NAME [--selection S] (--pdf OUT | --csv OUT | --text)
// The reports the program offers and their output, made by the same code as the
// windows': the logbook layouts of the report definitions file (SAVE/VELLUM.REP)
// and the award reports of the "Reports" menu ("DXCC Listing", ...), which take
// --band B --mode-group G where the program asks "Select Band/Mode", --award ID
// for a custom award and --contest-start "YYYY-MM-DD HH:MM" for the rate sheet.

#include "cli.h"

#include "awardcli.h"

#include "awards/customaward.h"
#include "awards/customawardfile.h"
#include "config/configfile.h"
#include "config/configrecord.h"
#include "logbook/logbookreport.h"
#include "logstore/cp1252.h"
#include "logstore/paths.h"
#include "logstore/daytime.h"
#include "logstore/qsodata.h"
#include "logstore/qsotables.h"
#include "logstore/selection.h"
#include "print/pdfoutput.h"
#include "print/tablecsv.h"
#include "reports/reportcatalog.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace vellum::cli {

namespace {

TReportDefinitions loadDefinitions(CliContext &context)
{
    std::vector<std::string> problems;
    TReportDefinitions definitions = TReportDefinitions::Load(ReportDefinitionsFileName(), problems);
    for (const std::string &problem : problems)
        context.notifier.warning(ReportDefinitionsFileName() + ": " + problem);
    return definitions;
}

int reportList(CliContext &context)
{
    TReportDefinitions definitions = loadDefinitions(context);
    std::cout << "{\"reports\":[";
    for (int i = 0; i < definitions.Count(); ++i) {
        ReportDefinition d = definitions.Get(i);
        std::cout << (i ? "," : "") << "{\"name\":" << JsonString(d.name) << ",\"kind\":\"logbook\",\"sort\":"
                  << JsonString(SortName(d.sort)) << ",\"note_width\":" << d.noteWidth << ",\"columns\":[";
        for (std::size_t c = 0; c < d.columns.size(); ++c)
            std::cout << (c ? "," : "") << JsonString(LogbookFieldTable[d.columns[c]].name);
        std::cout << "]}";
    }
    for (const ReportSpec &spec : ReportCatalog())
        std::cout << (definitions.Count() || &spec != &ReportCatalog().front() ? "," : "") << "{\"name\":"
                  << JsonString(spec.Name()) << ",\"kind\":" << JsonString(spec.Family()) << ",\"menu\":"
                  << JsonString(spec.menu) << ",\"item\":" << JsonString(spec.item)
                  << ",\"asks_band_mode\":" << (spec.AsksModeBand() ? "true" : "false")
                  << ",\"asks_award\":" << (spec.AsksCustomAward() ? "true" : "false")
                  << ",\"marks\":" << (spec.Marks() ? "true" : "false") << "}";
    std::cout << "]}\n";
    return 0;
}

/// The rows as text: each cell padded to its column's width, aligned as the column says.
void writeText(const std::vector<TableColumn> &columns, const TableRows &rows)
{
    auto pad = [](std::string_view text, const TableColumn &column) {
        std::string cell(text.substr(0, static_cast<std::size_t>(column.width)));
        std::size_t room = static_cast<std::size_t>(column.width) - cell.size();
        std::size_t before = column.align == PrintAlign::Right ? room : column.align == PrintAlign::Center ? room / 2 : 0;
        return std::string(before, ' ') + cell + std::string(room - before, ' ');
    };
    auto line = [&](const std::vector<std::string_view> &cells) {
        std::string text;
        for (std::size_t i = 0; i < columns.size(); ++i)
            text += (i ? " " : "") + pad(i < cells.size() ? cells[i] : std::string_view(), columns[i]);
        std::cout << Cp1252ToUtf8(text) << '\n';
    };
    std::vector<std::string_view> names;
    for (const TableColumn &column : columns)
        names.push_back(column.name);
    line(names);
    for (std::int64_t i = 0; i < rows.Count(); ++i) {
        std::string row = rows.Row(i);
        line(SplitTabs(row));
    }
}

/// Where a report goes: one of --pdf OUT, --csv OUT or --text.
struct ReportOutput {
    std::string pdf;
    std::string csv;
    bool text = false;

    static ReportOutput Take(CliContext &context)
    {
        ReportOutput output{context.takeOption("--pdf"), context.takeOption("--csv"), context.takeFlag("--text")};
        if (int(!output.pdf.empty()) + int(!output.csv.empty()) + int(output.text) != 1)
            throw CliError("give one of --pdf OUT, --csv OUT or --text");
        return output;
    }

    /// Writes the table; a file that cannot be written is a CliError.
    void Write(TablePrintJob &job, CliContext &context) const
    {
        if (text) {
            writeText(job.columns, *job.rows);
            return;
        }
        if (!csv.empty()) {
            CsvResult result = WriteTableCsv(csv, job.columns, *job.rows);
            if (!result.Ok())
                throw CliError(csv + ": " + result.message);
            std::cout << "{\"file\":" << JsonString(csv) << ",\"rows\":" << result.rows << "}\n";
            return;
        }
        TablePrintResult result = WriteTablePdf(job, TableStyleFrom(Config()), pdf);
        if (!result.Ok())
            throw CliError(pdf + ": " + result.message);
        if (!result.message.empty())
            context.notifier.warning(result.message);
        std::cout << "{\"file\":" << JsonString(pdf) << ",\"rows\":" << result.rows << ",\"pages\":" << result.pages
                  << "}\n";
    }
};

/// --band B --mode-group G: the answer to "Select Band/Mode" (at most one of them specific).
ModeBandChoice modeBandOptions(CliContext &context)
{
    std::string band = context.takeOption("--band");
    std::string group = context.takeOption("--mode-group");
    ModeBandChoice choice;
    if (!group.empty() && group != "ALL") {
        auto name = std::find_if(ModeGroupNames.begin() + 1, ModeGroupNames.end(),
                                 [&](const char *n) { return group == n; });
        if (name == ModeGroupNames.end())
            throw CliError("unknown mode group '" + group + "' (ALL, PHO, CW or RTTY)");
        choice.ChooseGroup(static_cast<int>(name - ModeGroupNames.begin()));
    }
    if (!band.empty() && band != "ALL") {
        int index = BandOfName(band);
        if (!IsRealBand(index))
            throw CliError("unknown band '" + band + "' (160m to 23cm, Sat, or ALL)");
        if (choice.group != 0)
            throw CliError("give --band or --mode-group, not both");
        choice.ChooseBand(index);
    }
    return choice;
}

ContestStart contestOption(CliContext &context)
{
    std::string text = context.takeOption("--contest-start");
    if (text.empty())
        return {Config().ContestStartDate, Config().ContestStartTime};
    int hours = 0, minutes = 0;
    if (text.size() != 16 || std::sscanf(text.c_str() + 11, "%2d:%2d", &hours, &minutes) != 2 ||
        !TimeOfDay(hours, minutes))
        throw CliError("--contest-start '" + text + "' is not YYYY-MM-DD HH:MM");
    return {dateArgument(text.substr(0, 10), "--contest-start"), *TimeOfDay(hours, minutes)};
}

/// A report of the "Reports" menu. The log file is read, never written: the marks
/// a submission would set are counted in the answer.
int awardReportRun(CliContext &context, const ReportSpec &spec, const ReportOutput &output)
{
    ModeBandChoice choice = modeBandOptions(context);
    std::string awardId = context.takeOption("--award");
    ContestStart contest = contestOption(context);
    TCustAwardList awards;
    const TCustAward *custom = nullptr;
    if (spec.AsksCustomAward()) {
        LoadCustomAwards(awards, DataFileName(DataFile::CustomAwards), context.notifier);
        std::int32_t index = awards.IndexOf(awardId);
        if (index < 0)
            throw CliError(awardId.empty() ? "give the custom award with --award ID"
                                           : "no custom award is named '" + awardId + "'");
        custom = &awards.At(index);
    }
    LoadedLog loaded = loadLogWithAwards(context);
    ProducedReport report =
        ProduceReport(spec, {*loaded.model, *loaded.log, context.notifier, choice, custom, contest});
    TextRows rows = report.table.Rows();
    TablePrintJob job;
    job.title = report.table.title;
    job.columns = report.table.columns;
    job.rows = &rows;
    job.multiColumn = report.table.multiColumn;
    output.Write(job, context);
    if (spec.Marks())
        context.notifier.information(std::to_string(report.plan.changes.size()) +
                              " QSO(s) would be marked submitted; the log file is not changed");
    return 0;
}

int reportRun(CliContext &context)
{
    std::string selection = context.takeOption("--selection");
    ReportOutput output = ReportOutput::Take(context);
    const std::string &fileName = context.arg(0, "log file");
    const std::string &name = context.arg(1, "report name");

    TReportDefinitions definitions = loadDefinitions(context);
    int report = definitions.IndexOfName(name);
    if (report < 0) {
        if (const ReportSpec *spec = FindReport(name)) {
            if (!selection.empty())
                context.args.insert(context.args.end(), {"--selection", selection});
            return awardReportRun(context, *spec, output);
        }
        throw CliError("no report is named '" + name + "' (see: vellum-cli report list)");
    }
    ReportDefinition definition = definitions.Get(report);

    TQsoData log(context.services);
    int errorsBefore = context.notifier.errors;
    if (!log.ReadLog(fileName, LoadMode::Load, DuplicateMode::EmptyLog))
        throw CliError(context.notifier.errors == errorsBefore ? fileName + ": cannot be read as a log" : "");
    if (!selection.empty() && !SetCurrentSelection(log, SelectionIndexOfName(log, selection)))
        throw CliError(fileName + ": has no selection named '" + selection + "'");

    TCustAwardList awards;
    LoadCustomAwards(awards, DataFileName(DataFile::CustomAwards), context.notifier);
    const TConfigRecord &config = Config();
    LogbookSources sources{&log, context.countries, &awards, log.settings().dateFormat(),
                           static_cast<bool>(config.DefQSO_ShowBandMHz)};
    LogbookCells cells(sources, definition.noteWidth);
    LogbookList list;
    list.Build(log, definition.sort);
    LogbookRows rows(list, cells, definition.columns);
    TablePrintJob job;
    job.title = LogbookTitle(definition, definition.sort, false);
    job.columns = LogbookColumns(definition, sources.bandInMHz);
    job.rows = &rows;
    output.Write(job, context);
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("report list", "report list", reportList);
VELLUM_CLI_COMMAND("report",
                   "report LOG NAME [--selection S] [--band B | --mode-group G] [--award ID] "
                   "[--contest-start \"YYYY-MM-DD HH:MM\"] [--today YYYY-MM-DD] (--pdf OUT | --csv OUT | --text)",
                   reportRun);

} // namespace vellum::cli
