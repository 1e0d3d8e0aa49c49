#include "setup/Fsetupactions.h"

#include "setup/Fsetup.h"
#include "setup/setupchanges.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configfile.h"
#include "config/configrules.h"
#include "logstore/paths.h"
#include "logstore/qsodata.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>

#include <memory>

namespace vellum {

namespace {

/// Swallows the tool tips of every window while hints are off.
class HintFilter : public QObject {
public:
    using QObject::QObject;
    bool show = true;

protected:
    bool eventFilter(QObject *, QEvent *event) override { return !show && event->type() == QEvent::ToolTip; }
};

ScreenInfo currentScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {DesignPixelsPerInch, 1920};
    return {static_cast<std::int32_t>(screen->logicalDotsPerInch()), screen->size().width()};
}

/// What stops before the new settings are copied in: what would run on settings
/// changing underneath it.
void stopChanged(WindowHost &host, const SetupChanges &changes)
{
    if (changes.radio)
        host.RunSetupAction(SetupAction::StopRadio);
    if (changes.packetTerminal)
        host.RunSetupAction(SetupAction::ClosePacketTerminal);
    if (changes.secondTerminal)
        host.RunSetupAction(SetupAction::CloseSecondTerminal);
    if (changes.rotator)
        host.RunSetupAction(SetupAction::StopRotator);
}

void startChanged(WindowHost &host, const SetupChanges &changes, TConfigRecord &live)
{
    if (changes.radio && !live.Hardware_RadioType.empty())
        host.RunSetupAction(SetupAction::StartRadio);
    // Keying on the radio's port lines needs a running radio; without a radio
    // subsystem nobody can say, and the choice stays.
    const bool keysOnRadioPort = live.hardware_cwport == 5 || live.hardware_cwport == 6;
    if (keysOnRadioPort && host.RunSetupAction(SetupAction::RadioRunning) == false)
        live.hardware_cwport = 1;
    if (changes.cwKeyer)
        host.RunSetupAction(SetupAction::ReconfigureCwKeyer);
    if (changes.packetTerminal && live.TNC_Type > 1)
        host.RunSetupAction(SetupAction::ReopenPacketTerminal);
    if (changes.secondTerminal && live.RTTY_Type > 1)
        host.RunSetupAction(SetupAction::ReopenSecondTerminal);
    if (changes.grayNowIgnored)
        host.RunSetupAction(SetupAction::RefreshSpotList);
}

void followWindowsAndAwards(WindowHost &host, const SetupChanges &changes)
{
    if (changes.screen) {
        const ScreenInfo screen = currentScreen();
        host.Windows().RescaleWindows(false, screen.pixelsPerInch, screen.width);
        host.Post(HostMessage::WindowsRescaled);
    }
    if (changes.awards) {
        if (TQsoData *log = host.Context().Log())
            log->InvalidateAwardTables();
        host.RequestRefreshAll();
    }
    if (changes.rotator)
        host.RunSetupAction(SetupAction::RestartRotator);
}

/// Sound announcements need a sound that plays; the sound subsystem asks the user.
void checkSoundAndAddressData(WindowHost &host, TConfigRecord &live)
{
    constexpr std::int32_t CwAnnounce = 1;
    if (live.Packet_DXVoice > CwAnnounce && host.RunSetupAction(SetupAction::TestSound) == false)
        live.Packet_DXVoice = 0; // "System Beep"
    if (live.F_ExtAddrType != 0 && host.RunSetupAction(SetupAction::CheckAddressSource) == false) {
        host.Notifier().error("A file which is needed to support\raddress lookups could not be found\rThe file: " +
                              AddressSourceLibrary(live.F_ExtAddrType) + "\rneeds to be in the EXTDATA directory");
        live.F_ExtAddrType = 0;
    }
}

} // namespace

void ApplyShowHints(bool show)
{
    static QPointer<HintFilter> filter;
    if (!filter && qApp) {
        filter = new HintFilter(qApp);
        qApp->installEventFilter(filter);
    }
    if (filter)
        filter->show = show;
}

void PutSettingsInForce(WindowHost &host, const TConfigRecord &edited, bool iniMerged)
{
    TConfigRecord &live = host.Context().Config();
    const SetupChanges changes = CompareSetup(live, edited, host.QsoWindow() != nullptr);
    stopChanged(host, changes);
    live = edited;
    startChanged(host, changes, live);
    followWindowsAndAwards(host, changes);
    checkSoundAndAddressData(host, live);
    if (changes.ownCall || iniMerged)
        ApplyOwnCall(live);
    if (&live == &Config())
        PublishConfigSnapshot();
    try {
        SaveConfig(live, DataFileName(DataFile::Config), currentScreen());
    } catch (const std::exception &e) {
        host.Notifier().error(std::string("The settings are in force but could not be saved:\r") + e.what());
    }
    ApplyShowHints(live.DefQSO_ShowHints);
    host.Post(HostMessage::SettingsChanged);
}

bool RunSetupDialog(WindowHost &host, const QString &page)
{
    TSetupDialog dialog(host, nullptr, host.MainWindow());
    dialog.ShowPage(page);
    return dialog.exec() == QDialog::Accepted;
}

void RegisterSetupWindows(WindowHost &host)
{
    ApplyShowHints(host.Context().Config().DefQSO_ShowHints);
    host.AddMenuItem({QStringLiteral("&File"), QStringLiteral("Preferences1"), QStringLiteral("Preferences"), {},
                      [&host] { RunSetupDialog(host, QStringLiteral("Personal")); }, QStringLiteral("Info1")});
    // A new user sets call and locator before the first QSO: the Personal page opens
    // once a run, without blocking, when a log opens and no own call is set.
    auto asked = std::make_shared<bool>(false);
    host.Handle(HostMessage::QsoWindowOpened, &host, [&host, asked] {
        if (*asked || !host.Context().Config().Personal_Callsign.empty())
            return;
        *asked = true;
        auto *dialog = new TSetupDialog(host, nullptr, host.MainWindow());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->ShowPage(QStringLiteral("Personal"));
        dialog->open();
        if (QWidget *call = dialog->findChild<QWidget *>(QStringLiteral("Personal_Callsign")))
            call->setFocus();
    });
}

} // namespace vellum
