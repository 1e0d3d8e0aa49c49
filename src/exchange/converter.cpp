#include "converter.h"

#include "importfilter.h"

#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char **environ;

namespace vellum {

namespace {

namespace fs = std::filesystem;

bool plainFileName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

/// Starts the script; -1 when it cannot be.
pid_t spawnScript(const std::string &script, const std::string &file, const std::string &dir)
{
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return -1;
    // A process group of its own, so that a stop at the time limit ends what the script started too.
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return -1;
    }
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    std::vector<std::string> args = {"/bin/sh", script, file, dir};
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn_file_actions_addchdir_np(&actions, dir.c_str()) != 0 ||
        posix_spawn(&pid, "/bin/sh", &actions, &attributes, argv.data(), environ) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

/// Waits for the process to end, stopping it at the limit; true when it ended by itself.
bool waitFor(pid_t pid, std::chrono::milliseconds limit)
{
    auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (true) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(-pid, SIGKILL); // the script's whole process group
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return false;
}

} // namespace

std::string ConverterScript(const std::string &importDir, const ImportFilter &filter)
{
    std::string id = filter.Id.str();
    if (!plainFileName(id))
        return {};
    for (const std::string &name : {id + ".sh", id + ".BAT"}) {
        std::string path = FindFileNoCase(importDir, name);
        std::error_code ec;
        if (fs::is_regular_file(path, ec))
            return path;
    }
    return {};
}

ConversionResult RunConverter(const std::string &importDir, const ImportFilter &filter, const std::string &file,
                              std::chrono::milliseconds limit)
{
    ConversionResult result;
    result.output = (fs::path(importDir) / "export.txt").string();
    std::error_code ec;
    fs::remove(result.output, ec);
    std::string script = ConverterScript(importDir, filter);
    if (script.empty())
        return result;
    pid_t pid = spawnScript(script, fs::absolute(file, ec).string(), importDir);
    if (pid < 0)
        return result;
    result.timedOut = !waitFor(pid, limit);
    result.outcome = !result.timedOut && fs::exists(result.output, ec) ? ConversionOutcome::Converted
                                                                       : ConversionOutcome::Failed;
    return result;
}

ImportResult ImportThroughConverter(ImportContext &context, const ImportFilter &filter, const std::string &file,
                                    std::chrono::milliseconds limit)
{
    std::string dir = context.importDir.empty() ? ImportDir() : context.importDir;
    ConversionResult conversion = RunConverter(dir, filter, file, limit);
    if (conversion.outcome == ConversionOutcome::NotStarted) {
        context.log.notifier().error(ConverterText::NotStarted + filter.Id.str());
        return {};
    }
    if (conversion.outcome == ConversionOutcome::Failed) {
        context.log.notifier().error(std::string(ConverterText::Failed) +
                                     (conversion.timedOut ? ": the converter did not end in time and was stopped" : ""));
        return {};
    }
    return ImportLog(context, conversion.output, filter, RecordFormat::Filter);
}

} // namespace vellum
