#include "Fimportexport.h"

#include "Fqso.h"
#include "Fqsodialogs.h"

#include "app/Fmain.h"
#include "logstore/Ftext.h"
#include "config/configrecord.h"
#include "country/resolver.h"
#include "exchange/importfilter.h"
#include "logstore/daytime.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vellum {

std::optional<DuplicatePolicy> QtImportQuestions::AskDuplicatePolicy()
{
    int choice = TAskDupesImport(m_parent).Ask();
    if (choice < 0)
        return std::nullopt;
    return static_cast<DuplicatePolicy>(choice);
}

PrefixZoneChoice QtImportQuestions::ConfirmPrefixZone(const PrefixZoneQuestion &q)
{
    TConfirmPZC dialog(ScreenText(q.call), ScreenText(q.dateText), ScreenText(q.ownPrefix), q.ownZone,
                       ScreenText(q.importedPrefix), q.importedZone, m_parent);
    return static_cast<PrefixZoneChoice>(dialog.Ask());
}

bool FormExportFilter::IsSetUp() const { return m_form && !m_form->Filter().Conditions.empty(); }

bool FormExportFilter::Matches(const TQsoRec &rec) const { return m_form && m_form->MatchesFilter(rec); }

bool ImportAdifFile(TMainForm &main, const QString &file, ImportQuestions &questions)
{
    TQsoData *log = main.Log();
    if (!log) {
        main.Notifier().error("Open or create a log before importing into it");
        return false;
    }
    const auto *resolver = dynamic_cast<const CountryResolver *>(main.Services().resolver);
    if (!resolver)
        return false;
    ImportContext context{*log, main.Countries(), *resolver, main.ConfigRecord(), questions, {}, TodayDayNumber()};
    ImportResult result = ImportLog(context, file.toStdString(), AdifFilter(), RecordFormat::Adif);
    if (main.QsoWindow())
        main.QsoWindow()->RefreshFromLog();
    return result.outcome == ImportOutcome::Finished || result.outcome == ImportOutcome::AbortedOnDuplicate;
}

bool ExportAdifFile(TMainForm &main, const QString &file)
{
    TQsoData *log = main.Log();
    if (!log) {
        main.Notifier().error("Open a log before exporting it");
        return false;
    }
    FormExportFilter filter(dynamic_cast<TQSOForm *>(main.QsoWindow()));
    ExportContext context{*log, main.Countries(), &filter, {}};
    return ExportLog(context, file.toStdString(), AdifFilter(), RecordFormat::Adif).written;
}

void RunImportExport(TMainForm &main)
{
    QMessageBox box(&main);
    box.setObjectName(QStringLiteral("ImportExport"));
    box.setWindowTitle(QStringLiteral("Import / Export Filters"));
    box.setText(QStringLiteral("ADIF: import a file into the open log, or export the log."));
    QPushButton *import = box.addButton(QStringLiteral("Import ADIF..."), QMessageBox::ActionRole);
    QPushButton *exportButton = box.addButton(QStringLiteral("Export ADIF..."), QMessageBox::ActionRole);
    box.addButton(QMessageBox::Cancel);
    box.exec();
    QString dir = QString::fromStdString(ImportDir());
    QString filter = QStringLiteral("ADIF files (*.adi *.adif *.ADI *.ADIF);;All files (*)");
    if (box.clickedButton() == import) {
        QString file = QFileDialog::getOpenFileName(&main, QStringLiteral("Import ADIF file"), dir, filter);
        QtImportQuestions questions(&main);
        if (!file.isEmpty())
            ImportAdifFile(main, file, questions);
    } else if (box.clickedButton() == exportButton) {
        QString file = QFileDialog::getSaveFileName(&main, QStringLiteral("Export ADIF file"), dir, filter);
        if (!file.isEmpty())
            ExportAdifFile(main, file);
    }
    if (main.QsoWindow())
        main.QsoWindow()->activateWindow();
}

} // namespace vellum
