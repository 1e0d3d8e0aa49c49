#pragma once
// "Country Editor": the countries of the country data with their mappings and
// exception calls on four pages (Details, Mappings, Callsigns, Messages), the
// consistency check and the merge of another country file. Leaving it with
// "&Save Changes and Exit" writes the country file; "Cancel Changes and Exit"
// reads it again, so the changes are kept or dropped as a whole.

#include "countryeditor.h"
#include "messagelist.h"

#include "logstore/daytime.h"

#include <QDialog>

#include <functional>
#include <memory>

class QListWidget;
class QTabWidget;
class QTableWidget;

namespace vellum {

class ProgressService;
class TCountryFields;
class UserNotifier;
class WindowHost;

class TFctyed : public QDialog {
    Q_OBJECT
public:
    enum Page { DetailsPage = 0, MappingsPage = 1, CallsPage = 2, MessagesPage = 3 };

    struct Options {
        DateFormat dateFormat = DateFormat::MonthDayYear;
        bool cycleFiles = false;
        ProgressService *progress = nullptr;
        /// The other country file to merge (the open dialog; tests script it); empty: cancelled.
        std::function<QString(QWidget *parent)> chooseOtherFile;
    };
    TFctyed(TCountryData &data, UserNotifier &notifier, Options options, QWidget *parent = nullptr);
    ~TFctyed() override;

    CountryEditor &Editor() { return *m_editor; }
    const MessageList &Messages() const { return m_messages; }
    QTabWidget *Pages() const { return m_pages; }

    /// Shows a country (as Find does).
    void ShowCountry(std::int32_t country);

    // --- commands ---
    void SaveAndExit();
    void CancelAndExit();
    void CheckClick();
    void MergeClick();
    void FindClick();
    void AddCountryClick();
    void UpdateCountryClick();
    void DeleteCountryClick();
    void AddMappingClick();
    void DeleteMappingClick();
    void UpdateMappingsClick();
    void AddCallClick();
    void DeleteCallClick();
    void UpdateCallsClick();
    /// Shows the country and selects the mapping a message line is about.
    void MessageActivated(int line);

protected:
    void reject() override;

private:
    void buildMenus();
    QWidget *buildMappingsPage();
    QWidget *buildCallsPage();
    QWidget *buildMessagesPage();
    /// Shows the editor's current country on the panel and the pages; Details becomes active.
    void showCurrent();
    void moveTo(void (CountryEditor::*step)());
    /// The page guard: false (after telling the user and switching) when page is not active.
    bool onPage(Page page);
    /// Tells the user why a command was refused; true when it was done.
    bool succeeded(const EditResult &result);
    void showMessages();
    /// Reads the country file again; the editor's changes are gone.
    void reloadCountryFile();

    TCountryData &m_data;
    UserNotifier &m_notifier;
    Options m_options;
    std::unique_ptr<CountryEditor> m_editor;
    MessageList m_messages;
    TCountryFields *m_fields = nullptr;
    QTabWidget *m_pages = nullptr;
    QTableWidget *m_mapGrid = nullptr;
    QTableWidget *m_callGrid = nullptr;
    QListWidget *m_messageList = nullptr;
    bool m_leaving = false;
};

/// The "&Countries" item of the main window's Databases menu (user level 2 and
/// up; refused while a log is open).
void RegisterCountryEditorWindows(WindowHost &host);

} // namespace vellum
