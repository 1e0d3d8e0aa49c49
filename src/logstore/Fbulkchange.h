#pragma once
// "Set Group Number" and "Set New Mode": give every QSO in scope (the QSOs the
// selection admits and, while the QSO window searches, that match the search)
// one new group number or mode.

#include "selection.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QFormLayout;
class QLabel;
class QSpinBox;

namespace vellum {

class TQsoData;
class UserNotifier;

/// What both dialogs share: the label F_Changing ("Changing up to " and the
/// number in scope), OKBtn and CancelBtn. "OK" applies the change, tells the
/// user "Changed " and the number changed, and closes the dialog.
class TBulkChangeForm : public QDialog {
    Q_OBJECT
public:
    /// The number of QSOs changed by "OK" (0 before).
    std::int64_t Changed() const { return m_changed; }

protected:
    /// The log must outlive the dialog; an empty scope means the selection in force.
    TBulkChangeForm(TQsoData &log, QsoScope scope, UserNotifier &notifier, const char *caption, QWidget *parent);
    /// Puts the value control and its caption above the buttons.
    void addValueRow(const char *caption, QWidget *control);
    /// Applies the new value to the QSOs in scope; returns the number changed.
    virtual std::int64_t apply(TQsoData &log, const QsoScope &scope) = 0;

private slots:
    void OKClick();

private:
    TQsoData &m_log;
    QsoScope m_scope;
    UserNotifier &m_notifier;
    std::int64_t m_changed = 0;
    QLabel *m_changing = nullptr;
    QFormLayout *m_values = nullptr;
};

/// "Set Group Number": F_NewGroup ("New Group number", 0..255).
class TSetGroupForm : public TBulkChangeForm {
    Q_OBJECT
public:
    TSetGroupForm(TQsoData &log, UserNotifier &notifier, QsoScope scope = {}, QWidget *parent = nullptr);

protected:
    std::int64_t apply(TQsoData &log, const QsoScope &scope) override;

private:
    QSpinBox *m_group = nullptr;
};

/// "Set New Mode": F_NewMode ("New Mode", the modes 1..15, "SSB" at first).
class TSetModeForm : public TBulkChangeForm {
    Q_OBJECT
public:
    TSetModeForm(TQsoData &log, UserNotifier &notifier, QsoScope scope = {}, QWidget *parent = nullptr);

protected:
    std::int64_t apply(TQsoData &log, const QsoScope &scope) override;

private:
    QComboBox *m_mode = nullptr;
};

} // namespace vellum
