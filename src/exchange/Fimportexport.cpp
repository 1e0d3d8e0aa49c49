#include "Fimportexport.h"
#include "Fpickiefilter.h"

#include "app/programcontext.h"
#include "awards/customaward.h"
#include "exchange/filterreader.h"
#include "logstore/Ftext.h"
#include "app/windowhost.h"
#include "logstore/Fdialogs.h"
#include "qso/qsoentry.h"
#include "config/configrecord.h"
#include "exchange/importfilter.h"
#include "logstore/daytime.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
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

bool FormExportFilter::IsSetUp() const { return m_entry && !m_entry->Filter().Conditions.empty(); }

bool FormExportFilter::Matches(const TQsoRec &rec) const { return m_entry && m_entry->MatchesFilter(rec); }

namespace {

/// The program's custom awards as a filter import checks "Awd group" and "Awd value".
class ProgramCustomAwards : public CustomAwardLookup {
public:
    explicit ProgramCustomAwards(const TCustAwardList &awards) : m_awards(awards) {}
    bool HasAward(std::string_view id) const override { return m_awards.IndexOf(id) >= 0; }
    bool AllowsValue(std::string_view id, std::string_view value) const override
    {
        std::int32_t at = m_awards.IndexOf(id);
        return at >= 0 && (!m_awards.At(at).HasValueList() || m_awards.At(at).ValueOfKey(value));
    }

private:
    const TCustAwardList &m_awards;
};

} // namespace

bool ImportWithFilter(WindowHost &host, ImportQuestions &questions,
                      const std::function<ImportResult(ImportContext &)> &import)
{
    ProgramContext &program = host.Context();
    TQsoData *log = program.Log();
    if (!log) {
        host.Notifier().error("Open or create a log before importing into it");
        return false;
    }
    ImportContext context{*log, program.Countries(), program.Resolver(), program.Config(), questions, {}, TodayDayNumber()};
    ProgramCustomAwards customAwards(program.CustomAwards());
    context.customAwards = &customAwards;
    ImportResult result = import(context);
    try {
        log->JournalCheckpoint(); // an import is journaled as the backup written after it
    } catch (const std::exception &e) {
        host.Notifier().error(std::string("The imported QSOs could not be made safe on disk:\r") + e.what());
    }
    if (host.QsoWindow())
        host.QsoWindow()->RefreshFromLog();
    return result.outcome == ImportOutcome::Finished || result.outcome == ImportOutcome::AbortedOnDuplicate;
}

bool ImportAdifFile(WindowHost &host, const QString &file, ImportQuestions &questions)
{
    return ImportWithFilter(host, questions, [&](ImportContext &context) {
        return ImportLog(context, file.toStdString(), AdifFilter(), RecordFormat::Adif);
    });
}

bool ExportWithFilter(WindowHost &host, const QString &file, const ImportFilter &filter)
{
    TQsoData *log = host.Context().Log();
    if (!log) {
        host.Notifier().error("Open a log before exporting it");
        return false;
    }
    FormExportFilter qsoFilter(host.Entry());
    ExportContext context{*log, host.Context().Countries(), &qsoFilter, {}, &host.Context().Config()};
    return ExportLog(context, file.toStdString(), filter, IsAdifFilter(filter) ? RecordFormat::Adif : RecordFormat::Filter)
        .written;
}

bool ExportAdifFile(WindowHost &host, const QString &file) { return ExportWithFilter(host, file, AdifFilter()); }

void RegisterExchangeWindows(WindowHost &host)
{
    host.AddMenuItem({QStringLiteral("&File"), QStringLiteral("ImportExport1"), QStringLiteral("&Import/Export"), {},
                      [&host] { ShowFilterWindow(host); }});
}

// --- the questions of an import ---------------------------------------------------------

TConfirmPZC::TConfirmPZC(const QString &call, const QString &date, const QString &resolvedPrefix, int resolvedZone,
                         const QString &importedPrefix, int importedZone, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ConfirmPZC"));
    setWindowTitle(QStringLiteral("Confirm Prefix/Zone change"));
    auto *grid = new QGridLayout(this);
    auto label = [&](const QString &text, int row, int column, const char *name) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        grid->addWidget(l, row, column);
    };
    label(call, 0, 0, "PZCCall");
    label(date, 0, 1, "PZCDate");
    label(QStringLiteral("VELLUM"), 1, 1, "PZCResolvedTitle");
    label(QStringLiteral("Import"), 1, 2, "PZCImportedTitle");
    label(QStringLiteral("Prefix"), 2, 0, "PZCPrefixTitle");
    label(resolvedPrefix, 2, 1, "PZCResolvedPrefix");
    label(importedPrefix, 2, 2, "PZCImportedPrefix");
    label(QStringLiteral("Zone"), 3, 0, "PZCZoneTitle");
    label(QString::number(resolvedZone), 3, 1, "PZCResolvedZone");
    label(QString::number(importedZone), 3, 2, "PZCImportedZone");
    int row = 4;
    int column = 0;
    for (auto [text, name, code] : {std::tuple{"VELLUM", "VellumBtn", 1}, std::tuple{"Import", "ImportBtn", 2},
                                    std::tuple{"Cancel", "CancelBtn", 0}}) {
        auto *button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, [this, code = code] { done(code); });
        grid->addWidget(button, row, column++);
    }
}

int TConfirmPZC::Ask() { return exec(); }

TAskDupesImport::TAskDupesImport(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AskDupesImport"));
    setWindowTitle(QStringLiteral("Options for duplicate QSOs"));
    auto *layout = new QVBoxLayout(this);
    m_choices = new QButtonGroup(this);
    int id = 0;
    for (auto [text, name] : {std::pair{"Issue warning and stop", "DupesStop"},
                              std::pair{"Imported QSO replaces existing QSO (SLOW)", "DupesReplace"},
                              std::pair{"Imported QSO is ignored", "DupesIgnore"}}) {
        auto *choice = new QRadioButton(QString::fromLatin1(text), this);
        choice->setObjectName(QString::fromLatin1(name));
        m_choices->addButton(choice, id++);
        layout->addWidget(choice);
    }
    m_choices->button(0)->setChecked(true);
    layout->addWidget(OkCancelButtons(this));
}

int TAskDupesImport::Choice() const { return m_choices->checkedId(); }

int TAskDupesImport::Ask() { return exec() == QDialog::Accepted ? Choice() : -1; }

} // namespace vellum
