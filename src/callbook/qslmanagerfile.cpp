#include "qslmanagerfile.h"

#include "logstore/bytes.h"
#include "logstore/paths.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <limits>

namespace vellum {

std::optional<QslManagerRecord> QslManagerRecordAt(std::span<const std::uint8_t> file, std::uint64_t position)
{
    if (position >= file.size() / QslManagerRecordSize)
        return std::nullopt;
    ByteReader reader(file.subspan(static_cast<std::size_t>(position) * QslManagerRecordSize, QslManagerRecordSize));
    QslManagerRecord record;
    record.call = reader.shortString(13);
    record.manager = reader.shortString(13);
    record.remark = reader.shortString(15);
    record.date = reader.shortString(8);
    return record;
}

void AddQslManagerLines(std::span<const std::uint8_t> file, std::uint64_t position, std::string_view call,
                        CallbookLines &lines)
{
    for (auto record = QslManagerRecordAt(file, position); record && record->call == call;
         record = QslManagerRecordAt(file, ++position)) {
        std::string line = (record->call + " via ").substr(0, 18) + record->manager;
        line = line.substr(0, 31);
        if (!record->remark.empty())
            line += " " + record->remark;
        lines.push_back(line + " date: " + record->date);
    }
}

void AddQslManagerFileLines(const std::string &dataPath, std::uint64_t position, std::string_view call,
                            CallbookLines &lines)
{
    std::string name = FindFileNoCase(FindFileNoCase(dataPath, "Data"), "QslMgr.dat");
    errno = 0;
    std::ifstream in(name, std::ios::binary);
    if (!in) {
        lines.push_back("IOERR=" + std::to_string(errno ? errno : ENOENT));
        return;
    }
    // Only the records from the position on are read: the file is large.
    if (position > std::numeric_limits<std::uint64_t>::max() / QslManagerRecordSize)
        return;
    in.seekg(static_cast<std::streamoff>(position * QslManagerRecordSize));
    std::vector<std::uint8_t> chunk;
    std::vector<std::uint8_t> record(QslManagerRecordSize);
    while (in.read(reinterpret_cast<char *>(record.data()), QslManagerRecordSize)) {
        auto parsed = QslManagerRecordAt(record, 0);
        if (!parsed || parsed->call != call)
            break;
        chunk.insert(chunk.end(), record.begin(), record.end());
    }
    AddQslManagerLines(chunk, 0, call, lines);
}

} // namespace vellum
