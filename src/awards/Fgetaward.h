#pragma once
// The dialog "Get award": the defined custom awards by name, in alphabetical
// order, for the custom award report to ask which award to report.

#include "customaward.h"

#include <QDialog>

class QComboBox;

namespace vellum {

/// The dialog. Named controls: FGetAwd_Award (the list "Custom award"),
/// FGetAwd_OK, FGetAwd_Cancel.
class TGetCustAwdForm : public QDialog {
    Q_OBJECT
public:
    /// The list shows the award names alphabetically, the first one chosen; OK
    /// is disabled while there is no award.
    explicit TGetCustAwdForm(const TCustAwardList &awards, QWidget *parent = nullptr);

    /// The chosen award's position in the award list; -1 when there is none.
    std::int32_t ChosenAward() const;

    /// Asks for an award: its position in the award list, or -1 when the user
    /// cancels or no award is defined.
    static std::int32_t GetAward(const TCustAwardList &awards, QWidget *parent = nullptr);

private:
    QComboBox *m_award;
};

} // namespace vellum
