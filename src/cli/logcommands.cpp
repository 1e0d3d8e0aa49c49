// vellum-cli log info | dump | convert | generate

#include "cli.h"

#include "logstore/fileio.h"
#include "logstore/loggen.h"
#include "logstore/qsodata.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace vellum::cli {

namespace {

/// Reads a log file; a failure (already told on stderr) becomes a CliError.
/// Makes the directory an output file goes into.
void makeParentDir(const std::string &fileName)
{
    std::error_code ec;
    auto parent = std::filesystem::path(fileName).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
}

std::unique_ptr<TQsoData> loadLog(CliContext &context, const std::string &fileName)
{
    auto log = std::make_unique<TQsoData>(context.services);
    int errorsBefore = context.notifier.errors;
    if (!log->ReadLog(fileName, LoadMode::Load, DuplicateMode::EmptyLog)) {
        // The reader has said what is wrong, naming the file.
        throw CliError(context.notifier.errors == errorsBefore ? fileName + ": cannot be read as a log" : "");
    }
    return log;
}

char formatLetter(const std::string &fileName)
{
    TBufferedFileStream stream(fileName, FileMode::Read);
    std::uint8_t header[9];
    return stream.ReadSome(header, sizeof header) == sizeof header ? static_cast<char>(header[8]) : '?';
}

template <typename Names>
std::string jsonArray(const Names &names)
{
    std::string out = "[";
    bool first = true;
    for (const auto &name : names) {
        out += (first ? "" : ",") + JsonString(name);
        first = false;
    }
    return out + "]";
}

int logInfo(CliContext &context)
{
    const std::string &file = context.arg(1, "log file");
    auto log = loadLog(context, file);
    std::vector<std::string> selections;
    for (std::size_t i = 1; i < log->Selections.size(); ++i)
        selections.push_back(log->Selections[i].Name.str());
    std::cout << "{\"format\":" << JsonString(std::string(1, formatLetter(file)))
              << ",\"header_word\":" << log->LogHeaderWord << ",\"qsos\":" << log->Count()
              << ",\"notes\":" << log->Notes.Count() << ",\"swl\":" << log->SwlList.Count()
              << ",\"groups\":" << jsonArray(log->GroupNames) << ",\"selections\":" << jsonArray(selections) << "}\n";
    return 0;
}

void dumpQso(std::ostream &out, const TQsoRec &r)
{
    out << "{\"Call\":" << JsonString(r.Call.view()) << ",\"Time\":" << r.Time << ",\"Date\":" << r.Date
        << ",\"Band\":" << +r.Band << ",\"Mode\":" << +r.Mode << ",\"AwdFlags\":" << r.AwdFlags
        << ",\"RstRcvd\":" << r.RstRcvd << ",\"RstSent\":" << r.RstSent << ",\"State\":" << +r.State
        << ",\"Iota\":" << JsonString(r.Iota.view()) << ",\"County\":" << r.County
        << ",\"Grid\":" << JsonString(r.Grid.view()) << ",\"QslDate\":" << r.QslDate
        << ",\"QslMethod\":" << +r.QslMethod << ",\"Satellite\":" << +r.Satellite << ",\"Group\":" << +r.Group
        << ",\"PrtSeqNr\":" << r.PrtSeqNr << ",\"Recvd\":" << JsonString(r.Recvd.view())
        << ",\"Country\":" << r.Country << ",\"Zone\":" << +r.Zone << ",\"QslFlags\":" << +r.QslFlags
        << ",\"CustAwd\":" << JsonString(r.CustAwd.view()) << ",\"CustValue\":" << JsonString(r.CustValue.view())
        << ",\"WpxPfx\":" << JsonString(r.WpxPfx.view()) << ",\"QsoNote\":" << JsonString(r.QsoNote.text())
        << "}\n";
}

int logDump(CliContext &context)
{
    bool notes = context.takeFlag("--notes");
    bool swl = context.takeFlag("--swl");
    auto log = loadLog(context, context.arg(1, "log file"));
    std::ostream &out = std::cout;
    if (notes) {
        for (const TNoteRec *note : log->Notes)
            out << "{\"Call\":" << JsonString(note->Call.view()) << ",\"Text\":" << JsonString(note->Text) << "}\n";
    } else if (swl) {
        for (const TSwlRec *s : log->SwlList)
            out << "{\"Call\":" << JsonString(s->Call.view()) << ",\"Date\":" << s->Date << ",\"Time\":" << s->Time
                << ",\"Band\":" << +s->Band << ",\"Mode\":" << +s->Mode << ",\"Group\":" << +s->Group
                << ",\"Printed\":" << +s->Printed << "}\n";
    } else {
        for (const TQsoRec *rec : *log)
            dumpQso(out, *rec);
    }
    return 0;
}

int logConvert(CliContext &context)
{
    auto log = loadLog(context, context.arg(1, "input log file"));
    log->LogFileName = context.arg(2, "output log file");
    makeParentDir(log->LogFileName);
    log->SetModified();
    log->WriteLog(true);
    return 0;
}

int logGenerate(CliContext &context)
{
    GeneratorOptions options;
    options.qsos = std::stoll(context.takeOption("--qsos", "1000"));
    options.seed = std::stoull(context.takeOption("--seed", "1"));
    if (options.qsos < 0 || options.qsos > 100000000)
        throw CliError("--qsos must be between 0 and 100000000");
    TQsoData log(context.services);
    GenerateLog(log, options);
    log.LogFileName = context.arg(1, "output log file");
    makeParentDir(log.LogFileName);
    log.WriteLog(true);
    return 0;
}

int logCommand(CliContext &context)
{
    const std::string &verb = context.arg(0, "log command (info, dump, convert, generate)");
    if (verb == "info")
        return logInfo(context);
    if (verb == "dump")
        return logDump(context);
    if (verb == "convert")
        return logConvert(context);
    if (verb == "generate")
        return logGenerate(context);
    throw CliError("unknown log command '" + verb + "'");
}

} // namespace

VELLUM_CLI_COMMAND("log",
                   "log info FILE | log dump FILE [--notes|--swl] | log convert IN OUT | "
                   "log generate --qsos N [--seed S] OUT",
                   logCommand);

} // namespace vellum::cli
