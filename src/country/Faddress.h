#pragma once
// The manager address editor "QSL Manager Addresses": a drop-down list of the
// managers' calls, the selected manager's address in a text box (one line per
// address line), and the text import and export.

#include "Freference.h"
#include "addresses.h"

class QComboBox;
class QPlainTextEdit;

namespace vellum {

/// The editor; exec() it modally. Named controls: FAddr_Manager (the editable
/// drop-down list), FAddr_Address, FAddr_Add ("Add Address"), FAddr_Delete
/// ("Delete Address"), FAddr_Search ("Search Manager"), FAddr_Save,
/// FAddr_Cancel, FAddr_Export, FAddr_Import.
class TEditAddressDialog : public TReferenceEditor {
    Q_OBJECT
public:
    TEditAddressDialog(TCountryData &data, const ReferenceServices &services, QWidget *parent = nullptr);
    const AddressRows &WorkingCopy() const { return m_rows; }

    /// Adds the call typed in the drop-down list with an empty address and puts
    /// the focus on the address; a call already listed (or none) is refused with
    /// "Please change the manager\rbefore adding an entry".
    void AddAddressClick();
    /// Removes the selected manager ("QQ0QQ" takes its place when none is left).
    void DeleteAddressClick();
    /// Selects the first manager whose call is not less than the typed text
    /// (the last one when none is).
    void SearchManagerClick();

protected:
    void applyWorkingCopy(TCountryData &data) override;
    std::string exportText(std::int64_t &rows) override;
    const char *exportNoun() const override { return AddressText::Noun; }
    bool importFile(const std::string &fileName, UserNotifier &notifier, ProgressService *progress) override;
    void workingCopyReplaced() override;

private:
    void fillManagers(int select);
    void managerChosen(int row);
    /// Stores the text box into the manager shown, when it was changed.
    void storeShownAddress();

    AddressRows m_rows;
    QComboBox *m_manager = nullptr;
    QPlainTextEdit *m_address = nullptr;
    int m_shown = -1;
};

} // namespace vellum
