#pragma once
// Import and export from the program: the questions an import asks as dialogs,
// the QSO window's search as export filter, and the runs of an import or export
// that the filter window starts.

#include "exchange/exportlog.h"
#include "exchange/importlog.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QString;
class QWidget;

namespace vellum {

class QsoEntry;
class WindowHost;

/// "Confirm Prefix/Zone change": 1 keeps the resolved values ("VELLUM"), 2 the
/// imported ones ("Import"), 0 skips the QSO ("Cancel").
class TConfirmPZC : public QDialog {
    Q_OBJECT
public:
    TConfirmPZC(const QString &call, const QString &date, const QString &resolvedPrefix, int resolvedZone,
                const QString &importedPrefix, int importedZone, QWidget *parent = nullptr);
    int Ask();
};

/// "Options for duplicate QSOs": 0 warn and stop, 1 replace (slow), 2 ignore; -1 Cancel.
class TAskDupesImport : public QDialog {
    Q_OBJECT
public:
    explicit TAskDupesImport(QWidget *parent = nullptr);
    int Ask();
    int Choice() const;

private:
    QButtonGroup *m_choices;
};


/// The import's questions as the dialogs "Options for duplicate QSOs" and "Confirm Prefix/Zone change".
class QtImportQuestions : public ImportQuestions {
public:
    explicit QtImportQuestions(QWidget *parent) : m_parent(parent) {}
    std::optional<DuplicatePolicy> AskDuplicatePolicy() override;
    PrefixZoneChoice ConfirmPrefixZone(const PrefixZoneQuestion &question) override;

private:
    QWidget *m_parent;
};

/// The QSO window's search as the QSO filter of an export.
class FormExportFilter : public ExportQsoFilter {
public:
    explicit FormExportFilter(const QsoEntry *entry) : m_entry(entry) {}
    bool IsSetUp() const override;
    bool Matches(const TQsoRec &rec) const override;

private:
    const QsoEntry *m_entry;
};

/// Runs an import into the open log, then journals it and refreshes the QSO window;
/// false when there is no log or nothing was imported.
bool ImportWithFilter(WindowHost &host, ImportQuestions &questions,
                      const std::function<ImportResult(ImportContext &)> &import);
/// Imports an ADIF file into the open log; false when there is no log or nothing was imported.
bool ImportAdifFile(WindowHost &host, const QString &file, ImportQuestions &questions);
/// Exports the open log through a filter (ADIF for an ADIF filter).
bool ExportWithFilter(WindowHost &host, const QString &file, const ImportFilter &filter);
/// Exports the open log as an ADIF file.
bool ExportAdifFile(WindowHost &host, const QString &file);
/// Puts "&Import/Export" into the main window's "&File" menu: it opens "Import / Export Filters".
void RegisterExchangeWindows(WindowHost &host);

} // namespace vellum
