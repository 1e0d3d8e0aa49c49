// vellum-cli labels LOG [--layout NAME] --pdf OUT [--kind qsl|sequence|swl] [--mark]
// The QSL labels of a run as a PDF, made by the same code as "Print QSL labels":
// the layouts of the configuration and of SAVE/VELLUM.LAB, the print list of the
// run's kind and the label printer. --mark sets the printed marks of what was
// printed and saves the log, only after the PDF was written.

#include "cli.h"

#include "config/configfile.h"
#include "labels/labeljob.h"
#include "labels/labellayout.h"
#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"
#include "print/pdfoutput.h"

#include <iostream>

namespace vellum::cli {

namespace {

LabelKind kindOf(const std::string &name)
{
    if (name == "qsl")
        return LabelKind::Qsl;
    if (name == "sequence")
        return LabelKind::Sequence;
    if (name == "swl")
        return LabelKind::Swl;
    throw CliError("--kind is qsl, sequence or swl, not '" + name + "'");
}

LabelLayout chooseLayout(CliContext &context, const std::string &name)
{
    LabelFileContents file = ReadLabelFile(DataFileName(DataFile::Labels));
    if (!file.error.empty())
        context.notifier.warning(DataFileName(DataFile::Labels) + ": " + file.error);
    std::vector<LabelChoice> list = LabelList(Config(), file.layouts);
    if (name.empty())
        return list[static_cast<std::size_t>(CurrentLabelIndex(Config(), list.size()))].layout;
    for (const LabelChoice &choice : list)
        if (choice.name == name)
            return choice.layout;
    std::string names;
    for (const LabelChoice &choice : list)
        names += (names.empty() ? "" : ", ") + choice.name;
    throw CliError("no label layout is named '" + name + "' (there are: " + names + ")");
}

int labelsRun(CliContext &context)
{
    std::string layoutName = context.takeOption("--layout");
    std::string pdf = context.takeOption("--pdf");
    LabelKind kind = kindOf(context.takeOption("--kind", "qsl"));
    bool mark = context.takeFlag("--mark");
    const std::string &fileName = context.arg(0, "log file");
    if (pdf.empty())
        throw CliError("give the PDF to write with --pdf OUT");
    if (!context.countryResolver)
        throw CliError("the country file is needed to order the labels");

    TQsoData log(context.services);
    int errorsBefore = context.notifier.errors;
    if (!log.ReadLog(fileName, LoadMode::Load, DuplicateMode::EmptyLog))
        throw CliError(context.notifier.errors == errorsBefore ? fileName + ": cannot be read as a log" : "");

    LabelJobSetup setup;
    setup.kind = kind;
    setup.options = LabelOptionsFrom(Config());
    setup.layout = chooseLayout(context, layoutName);
    LabelPrintList list(log, *context.countryResolver);
    list.Collect(ListSettingsFrom(kind, setup.options));
    if (kind != LabelKind::Swl)
        list.ApplyAlternateMethod();

    LabelJobResult printed;
    TablePrintResult written = WriteSurfacePdf(
        [&](PrintSurface &surface) {
            printed = PrintLabelRun(surface, list.Items(), setup, LookupsOf(log, context.countries));
            TablePrintResult result;
            result.pages = printed.pages;
            result.rows = static_cast<std::int64_t>(printed.printed.size());
            result.message = printed.problem;
            if (!printed.problem.empty() || printed.aborted)
                result.status = TablePrintResult::Status::Rejected;
            return result;
        },
        "QSL labels", pdf, PaperOf(setup.layout));
    if (!written.Ok())
        throw CliError(pdf + ": " + written.message);
    if (!written.message.empty())
        context.notifier.warning(written.message);
    if (mark) {
        ClearPrintedMarks(log, kind);
        MarkPrinted(list.Items(), printed);
        log.SetModified();
        try {
            log.WriteLog(true);
        } catch (const EFileError &e) {
            throw CliError(std::string("the labels were printed, but the marks could not be saved: ") + e.what());
        }
    }
    std::cout << "{\"file\":" << JsonString(pdf) << ",\"listed\":" << list.Items().size()
              << ",\"printed\":" << printed.printed.size() << ",\"labels\":" << printed.labels
              << ",\"pages\":" << printed.pages << ",\"marked\":" << (mark ? "true" : "false") << "}\n";
    return 0;
}

} // namespace

VELLUM_CLI_COMMAND("labels", "labels LOG [--layout NAME] --pdf OUT [--kind qsl|sequence|swl] [--mark]", labelsRun);

} // namespace vellum::cli
