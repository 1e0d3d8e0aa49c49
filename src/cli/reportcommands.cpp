// vellum-cli report list | report LOG NAME [--selection S] (--pdf OUT | --csv OUT | --text)
// The reports the program offers and their output, made by the same code as the
// logbook window's: the layouts of the report definitions file (SAVE/VELLUM.REP).

#include "cli.h"

#include "awards/customaward.h"
#include "awards/customawardfile.h"
#include "config/configfile.h"
#include "config/configrecord.h"
#include "logbook/logbookreport.h"
#include "logstore/cp1252.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "logstore/selection.h"
#include "print/pdfoutput.h"
#include "print/tablecsv.h"

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

int reportRun(CliContext &context)
{
    std::string selection = context.takeOption("--selection");
    std::string pdf = context.takeOption("--pdf");
    std::string csv = context.takeOption("--csv");
    bool text = context.takeFlag("--text");
    if (int(!pdf.empty()) + int(!csv.empty()) + int(text) != 1)
        throw CliError("give one of --pdf OUT, --csv OUT or --text");
    const std::string &fileName = context.arg(0, "log file");
    const std::string &name = context.arg(1, "report name");

    TReportDefinitions definitions = loadDefinitions(context);
    int report = definitions.IndexOfName(name);
    if (report < 0)
        throw CliError("no report is named '" + name + "' (see: vellum-cli report list)");
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
    std::vector<TableColumn> columns = LogbookColumns(definition, sources.bandInMHz);

    if (text) {
        writeText(columns, rows);
        return 0;
    }
    if (!csv.empty()) {
        CsvResult result = WriteTableCsv(csv, columns, rows);
        if (!result.Ok())
            throw CliError(csv + ": " + result.message);
        std::cout << "{\"file\":" << JsonString(csv) << ",\"rows\":" << result.rows << "}\n";
        return 0;
    }
    TablePrintJob job;
    job.title = LogbookTitle(definition, definition.sort, false);
    job.columns = columns;
    job.rows = &rows;
    TablePrintResult result = WriteTablePdf(job, TableStyleFrom(config), pdf);
    if (!result.Ok())
        throw CliError(pdf + ": " + result.message);
    if (!result.message.empty())
        context.notifier.warning(result.message);
    std::cout << "{\"file\":" << JsonString(pdf) << ",\"rows\":" << result.rows << ",\"pages\":" << result.pages
              << "}\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("report list", "report list", reportList);
VELLUM_CLI_COMMAND("report", "report LOG NAME [--selection S] (--pdf OUT | --csv OUT | --text)", reportRun);

} // namespace vellum::cli
