#pragma once
// "Setup Parameters": the sixteen pages of settings, built from the control
// table of setupcontrols.h (each widget's object name is its control name).
// The dialog edits a copy of the configuration; "Save Changes and Exit" puts
// the copy in force (SetupSaver), "Cancel Changes and Exit" drops it. "Write
// INI File" and "Merge INI file" exchange the copy with an INI text file.
//
// Buttons: "SaveExit", "CancelExit", "WriteIni", "MergeIni", "CalcFromGrid",
// "CalcFromLongLat"; the tabs "SetupPages"; the spot colour samples
// "SpotColor1".."SpotColor6"; the font group of the Screen page "ScreenFonts";
// the online callbook's settings on the "Ext Data" page "OnlineCallbook"
// (saved with "Save Changes and Exit" to their own file, never to an INI file).

#include "setup/setupcontrols.h"

#include "callbook/onlinecallbook.h"

#include <QDialog>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class QTabWidget;
class QWidget;

namespace vellum {

class TOnlineSettingsEditor;
class WindowHost;

/// The file dialogs of the setup dialog; tests script them.
class SetupFileChooser {
public:
    virtual ~SetupFileChooser() = default;
    /// The INI file to write, starting from proposed; empty when cancelled.
    virtual QString IniToWrite(QWidget *parent, const QString &proposed) = 0;
    /// The INI file to merge, starting in dir; empty when cancelled.
    virtual QString IniToMerge(QWidget *parent, const QString &dir) = 0;
};

class TSetupDialog : public QDialog {
    Q_OBJECT
public:
    /// Shows the settings of host's configuration; chooser null: the standard file dialogs.
    explicit TSetupDialog(WindowHost &host, SetupFileChooser *chooser = nullptr, QWidget *parent = nullptr);
    ~TSetupDialog() override;

    /// Makes the page with this caption the current one (the first page when none has it).
    void ShowPage(const QString &caption);
    /// The dialog's copy of the settings, with the page shown stored into it.
    const TConfigRecord &Copy();

    void SaveAndExit();
    void CancelAndExit();
    void WriteIniFile();
    void MergeIniFile();
    void CalculateFromGrid();
    void CalculateFromLongLat();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Bound {
        const SetupControl *control;
        QWidget *widget;
    };
    void buildPages();
    QWidget *buildPage(const SetupPage &page);
    QWidget *makeWidget(const SetupControl &control, QWidget *parent);
    void addExtras(const SetupPage &page, QWidget *pageWidget);
    void addSpotColours(QWidget *pageWidget);
    void addOnlineSettings(QWidget *pageWidget);
    void saveOnlineSettings();
    void pageChanged(int index);
    void loadPage(int index);
    void storePage(int index);
    void loadControl(const Bound &bound);
    void storeControl(const Bound &bound);
    bool checkNumberField(const SetupControl &control, QWidget *field);
    void cutoffBandChanged(int item);
    void radioTypeChanged();
    void showRadioDefaults();
    void chooseFont(QWidget *nameField);
    void chooseSpotColour(int colourClass);
    void showSpotColours();
    void chooseQslProgram();
    void appendCountryPrefix();
    QWidget *field(const char *name) const;

    WindowHost &m_host;
    SetupFileChooser *m_chooser;
    std::unique_ptr<SetupFileChooser> m_defaultChooser;
    TConfigRecord m_copy;
    std::vector<SetupPage> m_pages;
    std::vector<std::vector<Bound>> m_bound; ///< the widgets of each page
    QTabWidget *m_tabs = nullptr;
    int m_shownPage = 0;
    int m_cutoffBand = 1; ///< the band whose CW cutoff the QSO page shows
    bool m_merged = false;
    bool m_loading = false;
    QString m_radioNotes;
    TOnlineSettingsEditor *m_online = nullptr;
    OnlineCallbookSettings m_onlineShown; ///< as read from their file
};

} // namespace vellum
