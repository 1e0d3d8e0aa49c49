#pragma once
// Small dialogs of the QSO window: the note editor, the fields skipped by Tab,
// and the two questions an import asks.

#include <QDialog>

#include <array>
#include <string>

class QButtonGroup;
class QListWidget;
class QPlainTextEdit;

namespace vellum {

/// The note editor: one line per "|"-separated part of a note.
class TEditNote : public QDialog {
    Q_OBJECT
public:
    /// title: "Callsign Notes" or "QSO Notes"; dateText is what Ctrl+D inserts.
    TEditNote(const QString &title, const QString &note, const QString &dateText, QWidget *parent = nullptr);
    /// The edited note, its lines joined with "|".
    QString Note() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *m_memo;
    QString m_dateText;
};

/// "Tab Disabled Fields": the 23 fields from "Prefix" to "Satellite" that Tab may skip.
class TTabDisabled : public QDialog {
    Q_OBJECT
public:
    static const std::array<const char *, 23> FieldNames;
    TTabDisabled(const std::array<bool, 23> &disabled, QWidget *parent = nullptr);
    std::array<bool, 23> Disabled() const;

private:
    QListWidget *m_list;
};

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

} // namespace vellum
