#include "Fqslprogram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>

namespace vellum {

void RunQslProgram(const std::string &program, std::string_view call, int timeoutMs, CallbookLines &lines)
{
    QFileInfo info(QString::fromStdString(program));
    QString resultFile = info.absoluteDir().filePath(QStringLiteral("manager.res"));
    QFile::remove(resultFile);
    lines.push_back("----QSL info from: " + program);
    if (!SafeCallForProgram(call)) {
        lines.emplace_back("Error in QSL lookup = the call may hold only letters, digits and \"/\"");
        return;
    }
    QProcess process;
    process.setProgram(info.absoluteFilePath());
    process.setArguments({QString::fromLatin1(call.data(), static_cast<qsizetype>(call.size()))});
    process.setWorkingDirectory(info.absolutePath());
    process.setStandardOutputFile(resultFile);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    // Starting is given a few seconds of its own on a busy machine; the limit is for the search.
    if (!process.waitForStarted(std::max(timeoutMs, 5000))) {
        lines.push_back("Error in QSL lookup = " + std::to_string(static_cast<int>(process.error())) + " (" +
                        process.errorString().toStdString() + ")");
        return;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        lines.push_back("Error in QSL lookup = no answer within " + std::to_string(timeoutMs / 1000) + " s");
        return;
    }
    QFile result(resultFile);
    if (!result.open(QIODevice::ReadOnly)) {
        lines.emplace_back("No result file found");
        return;
    }
    // The result of one call is short; a runaway program's output is not read whole.
    QByteArray text = result.read(1 << 20);
    AddQslProgramResult(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), call, lines);
}

} // namespace vellum
