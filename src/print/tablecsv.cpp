#include "tablecsv.h"

#include "logstore/fileio.h"

#include <filesystem>

namespace vellum {

std::string CsvValue(std::string_view value)
{
    if (value.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(value);
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string CsvLine(std::string_view tabbedRow)
{
    std::string line;
    bool first = true;
    for (std::string_view cell : SplitTabs(tabbedRow)) {
        if (!first)
            line += ',';
        line += CsvValue(cell);
        first = false;
    }
    return line;
}

namespace {

void writeLine(TStream &stream, const std::string &line)
{
    stream.Write(line.data(), line.size());
    stream.Write("\r\n", 2);
}

} // namespace

CsvResult WriteTableCsv(const std::string &fileName, const std::vector<TableColumn> &columns, const TableRows &rows,
                        JobMonitor *monitor, std::string_view caption)
{
    CsvResult result;
    try {
        std::filesystem::path parent = std::filesystem::path(fileName).parent_path();
        if (!parent.empty())
            std::filesystem::create_directories(parent);
        SafeFileWriter writer(fileName);
        std::string header;
        for (std::size_t i = 0; i < columns.size(); ++i)
            header += (i ? "," : "") + CsvValue(columns[i].name);
        writeLine(writer.Stream(), header);
        const std::int64_t count = rows.Count();
        if (monitor)
            monitor->Begin(caption, count);
        for (; result.rows < count; ++result.rows) {
            writeLine(writer.Stream(), CsvLine(rows.Row(result.rows)));
            if (monitor && !monitor->Advance(result.rows + 1)) {
                result.status = CsvResult::Status::Cancelled;
                break;
            }
        }
        if (monitor)
            monitor->End();
        if (result.Ok())
            writer.Commit(false);
    } catch (const std::exception &error) {
        if (monitor)
            monitor->End();
        result.status = CsvResult::Status::Failed;
        result.message = error.what();
    }
    return result;
}

} // namespace vellum
