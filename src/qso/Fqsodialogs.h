#pragma once
// Small dialogs of the QSO window: the note editor and the fields skipped by Tab.

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QListWidget;
class QPlainTextEdit;

namespace vellum {

/// The note editor: one line per "|"-separated part of a note.
class TEditNote : public QDialog {
    Q_OBJECT
public:
    /// title: "Callsign Notes" or "QSO Notes"; dateText is what Ctrl+D inserts.
    /// radioText gives what Ctrl+R inserts (the radio's frequency; empty without a radio).
    TEditNote(const QString &title, const QString &note, const QString &dateText, QWidget *parent = nullptr,
              std::function<QString()> radioText = nullptr);
    /// The edited note, its lines joined with "|".
    QString Note() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPlainTextEdit *m_memo;
    QString m_dateText;
    std::function<QString()> m_radioText;
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

} // namespace vellum
