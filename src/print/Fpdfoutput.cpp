#include "pdfoutput.h"

#include "Fpaintsurface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

namespace vellum {

/// Fonts and the paint engine need a Qt application; a command-line run makes an
/// offscreen one for itself.
void EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "vellum-cli";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

namespace {

TablePrintResult failed(std::string message)
{
    TablePrintResult result;
    result.status = TablePrintResult::Status::Rejected;
    result.message = std::move(message);
    return result;
}

} // namespace

TablePrintResult WriteSurfacePdf(const SurfaceJob &job, const std::string &title, const std::string &fileName,
                                 const PaperSpec &paper)
{
    EnsureGuiApplication();
    const QString target = QString::fromStdString(fileName);
    const QFileInfo info(target);
    if (!QDir().mkpath(info.absolutePath()))
        return failed("Cannot create the folder of " + fileName);
    const QString temporary = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".part");
    TablePrintResult result;
    std::string paperWarning;
    {
        QPdfWriter writer(temporary);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("Vellum"));
        writer.setTitle(PrintText(title));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        paperWarning = ApplyPaper(writer, paper);
        PaintSurface surface(writer, {}, false);
        result = job(surface);
        if (!surface.Finish() && result.Ok())
            result = failed("Cannot write " + fileName);
    }
    if (result.Ok()) {
        std::error_code error;
        std::filesystem::rename(temporary.toStdString(), fileName, error);
        if (error)
            result = failed("Cannot write " + fileName + ": " + error.message());
    }
    QFile::remove(temporary);
    if (!paperWarning.empty())
        result.message = paperWarning + (result.message.empty() ? "" : "; " + result.message);
    return result;
}

TablePrintResult WriteTablePdf(const TablePrintJob &job, const TableStyle &style, const std::string &fileName,
                               const PaperSpec &paper, JobMonitor *monitor)
{
    return WriteSurfacePdf([&](PrintSurface &surface) { return PrintTable(surface, job, style, monitor); }, job.title,
                           fileName, paper);
}

TablePrintResult WritePagesPdf(const std::string &title, const PageJob &job, const std::string &fileName)
{
    return WriteSurfacePdf([&](PrintSurface &surface) { return RunPageJob(surface, job); }, title, fileName);
}

TablePrintResult RunPageJob(PrintSurface &surface, const PageJob &job)
{
    PrintEngine engine(surface);
    engine.SetMargins({0.5, 0.5, 0.5, 0.5});
    TablePrintResult result;
    if (!job(engine))
        result.status = engine.Aborted() ? TablePrintResult::Status::Aborted : TablePrintResult::Status::NothingFits;
    result.pages = engine.PageNumber();
    return result;
}

} // namespace vellum
