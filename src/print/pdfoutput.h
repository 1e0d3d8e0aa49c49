#pragma once
// Tables written as PDF files without a window: what "Report Setup"'s File
// destination and vellum-cli use. Qt-free header over the Qt PDF writer (it
// makes an offscreen Qt application when the program has none).

#include "tableprint.h"

#include <functional>
#include <string>

namespace vellum {

/// Fonts and the paint engine need a Qt application: a command-line run makes an
/// offscreen one for itself (nothing happens when the program has one).
void EnsureGuiApplication();

/// Prints the job into the PDF file fileName on paper. The file appears only when
/// the job printed (a temporary file beside it is renamed into place); an aborted
/// job, a layout that fits nothing or a file that cannot be written leaves the
/// old file untouched. result.message says what went wrong; a paper warning is
/// added to it.
TablePrintResult WriteTablePdf(const TablePrintJob &job, const TableStyle &style, const std::string &fileName,
                               const PaperSpec &paper = {}, JobMonitor *monitor = nullptr);

/// A job that draws on the PDF's surface; its result tells whether it printed.
using SurfaceJob = std::function<TablePrintResult(PrintSurface &surface)>;
/// Runs any print job into the PDF file fileName, as WriteTablePdf does: the file
/// appears only when the job printed and the PDF was written.
TablePrintResult WriteSurfacePdf(const SurfaceJob &job, const std::string &title, const std::string &fileName,
                                 const PaperSpec &paper = {});
/// A job that lays its pages out itself on the engine (the award chart): false
/// when it did not print.
using PageJob = std::function<bool(PrintEngine &engine)>;
/// Runs a page job on a surface with half-inch margins.
TablePrintResult RunPageJob(PrintSurface &surface, const PageJob &job);
/// A page job into a PDF file, as WriteTablePdf writes tables.
TablePrintResult WritePagesPdf(const std::string &title, const PageJob &job, const std::string &fileName);

} // namespace vellum
