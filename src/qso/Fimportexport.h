#pragma once
// ADIF import and export from the "&File" menu: the questions an import asks,
// as the dialogs of the QSO window, and the command itself.

#include "exchange/exportlog.h"
#include "exchange/importlog.h"

class QString;
class QWidget;

namespace vellum {

class TMainForm;
class TQSOForm;

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
    explicit FormExportFilter(TQSOForm *form) : m_form(form) {}
    bool IsSetUp() const override;
    bool Matches(const TQsoRec &rec) const override;

private:
    TQSOForm *m_form;
};

/// Imports an ADIF file into the open log; false when there is no log or nothing was imported.
bool ImportAdifFile(TMainForm &main, const QString &file, ImportQuestions &questions);
/// Exports the open log as an ADIF file.
bool ExportAdifFile(TMainForm &main, const QString &file);
/// "&Import/Export": asks what to do and which file, then imports or exports.
void RunImportExport(TMainForm &main);

} // namespace vellum
