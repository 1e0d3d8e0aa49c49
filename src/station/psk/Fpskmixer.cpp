#include "Fpskmixer.h"

#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/trim.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <fstream>
#include <span>

namespace vellum {

namespace {

std::string mixerFile() { return ProgramDir() + "/PSK31.MIXER"; }

} // namespace

std::string LoadMixerCommand()
{
    std::ifstream in(mixerFile());
    std::string line;
    if (in && std::getline(in, line) && !Trim(line).empty())
        return std::string(Trim(line));
    return DefaultMixerCommand;
}

bool SaveMixerCommand(const std::string &command, std::string &error)
{
    std::string text = std::string(Trim(command)) + "\n";
    try {
        WriteWholeFile(mixerFile(), std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size()), false);
        return true;
    } catch (const std::exception &failure) {
        error = failure.what();
        return false;
    }
}

std::string RunMixerCommand(const std::string &command)
{
    QStringList words = QProcess::splitCommand(QString::fromStdString(command));
    if (words.isEmpty())
        return "No mixer program is set";
    QString program = words.takeFirst();
    if (QStandardPaths::findExecutable(program).isEmpty() && !QFileInfo(program).isExecutable())
        return "The mixer program \"" + program.toStdString() + "\" was not found; install it or name another in the PSK31 Settings";
    if (!QProcess::startDetached(program, words))
        return "The mixer program \"" + program.toStdString() + "\" could not be started";
    return {};
}

} // namespace vellum
