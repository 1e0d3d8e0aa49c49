#include "Fextdatalookup.h"

#include "Fonlinesettings.h"
#include "Fqslprogram.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/Ftext.h"
#include "logstore/paths.h"
#include "logstore/trim.h"
#include "qso/Fqsodialogs.h"
#include "qso/qsoentry.h"
#include "qso/qsofields.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

namespace vellum {

namespace {

QString shownText(const std::string &text) { return ScreenText(text); }

/// The online callbook's settings, edited in a small dialog and saved to their file.
void editOnlineSettings(QWidget *parent, CallbookState &state, UserNotifier &notifier)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("OnlineCallbookSettings"));
    dialog.setWindowTitle(QStringLiteral("Online Callbook"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *editor = new TOnlineSettingsEditor(&dialog);
    editor->Show(state.Online().Settings());
    layout->addWidget(editor);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    OnlineCallbookSettings settings = editor->Settings();
    if (SaveOnlineSettingsOrTell(settings, OnlineSettingsFileName(), notifier))
        state.Online().SetSettings(settings);
}

} // namespace

CallbookState::CallbookState(QObject *parent)
    : QObject(parent), m_sources(ExtDataDir()),
      m_online(new OnlineCallbookClient(LoadOnlineSettings(OnlineSettingsFileName()), this))
{
}

void CallbookState::ReloadOnlineSettings()
{
    // New settings start a new session and an empty cache; the same ones keep both.
    OnlineCallbookSettings stored = LoadOnlineSettings(OnlineSettingsFileName());
    if (!(stored == m_online->Settings()))
        m_online->SetSettings(std::move(stored));
}

TExtDataLookup::TExtDataLookup(QsoEntry &entry, WindowHost &host, CallbookState &state)
    : QWidget(nullptr), m_entry(entry), m_host(host), m_state(state)
{
    setObjectName(QStringLiteral("ExtDataLookup"));
    setWindowTitle(QStringLiteral("Callsign / Mgr lookup"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_panel = new QWidget(this);
    auto *row = new QHBoxLayout(m_panel);
    row->setContentsMargins(4, 4, 4, 4);
    auto field = [this, row](const char *name, const QString &label) {
        auto *edit = new QLineEdit(m_panel);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(12);
        row->addWidget(new QLabel(label, m_panel));
        row->addWidget(edit);
        return edit;
    };
    m_call = field("F_Call", QStringLiteral("Callsign"));
    m_manager = field("F_mgr", QStringLiteral("QSL Mgr"));
    layout->addWidget(m_panel);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Lines"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    layout->addWidget(m_list);
    makePopupMenu();
    connect(m_manager, &QLineEdit::textChanged, this, [this] { updateEnabling(); });
    connect(m_call, &QLineEdit::textChanged, this, [this] { updateEnabling(); });
    const TConfigRecord &config = host.Context().Config();
    resize(420, 260);
    host.PlaceCompanion(CompanionId::External, this);
    SetFullSize(config.F_ExtFullSize);
    Action("AutomaticUpdate1")->setChecked(config.F_ExtAutoUpdate);
    updateEnabling();
}

TExtDataLookup::~TExtDataLookup()
{
    if (m_busy)
        m_state.Online().Cancel(); // its answer would come to a window that is gone
    TConfigRecord &config = m_host.Context().Config();
    config.F_ExtFullSize = !m_panel->isHidden();
    config.F_ExtAutoUpdate = Action("AutomaticUpdate1")->isChecked();
    m_host.CompanionClosed(CompanionId::External, this);
}

void TExtDataLookup::makePopupMenu()
{
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto item = [this](const char *name, const QString &caption, QKeySequence key, auto slot) {
        auto *action = new QAction(caption, this);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    item("LookupCallsign1", QStringLiteral("Lookup Callsign"), QKeySequence(Qt::Key_Return), [this] { LookupTyped(); });
    item("SetQSLManager1", QStringLiteral("Set QSL Manager"), QKeySequence(), [this] { SetQslManager(); });
    item("CopyToClipBoard1", QStringLiteral("Copy to ClipBoard"), QKeySequence(Qt::CTRL | Qt::Key_C),
         [this] { CopyToClipboard(); });
    item("CopyToQSLManagerAddress1", QStringLiteral("Copy to QSL Manager Address"), QKeySequence(Qt::ALT | Qt::Key_M),
         [this] { CopyToManagerAddress(); });
    item("SwitchToQSOWindow1", QStringLiteral("Switch to QSO Window"), QKeySequence(Qt::Key_F9),
         [this] { m_host.FocusQsoWindow(); });
    item("Close1", QStringLiteral("Close"), QKeySequence(Qt::Key_Escape), [this] { close(); });
    item("FullSize1", QStringLiteral("Full Size"), QKeySequence(), [this](bool on) { SetFullSize(on); })
        ->setCheckable(true);
    item("AutomaticUpdate1", QStringLiteral("Automatic Update"), QKeySequence(), [this](bool on) { SetAutomaticUpdate(on); })
        ->setCheckable(true);
    item("OnlineCallbook1", QStringLiteral("Online Callbook Settings..."), QKeySequence(),
         [this] { editOnlineSettings(this, m_state, m_host.Notifier()); });
}

QAction *TExtDataLookup::Action(const char *name) const { return findChild<QAction *>(QString::fromLatin1(name)); }

int TExtDataLookup::source() const { return m_host.Context().Config().F_ExtAddrType; }

QStringList TExtDataLookup::Lines() const
{
    QStringList lines;
    for (int i = 0; i < m_list->count(); ++i)
        lines << m_list->item(i)->text();
    return lines;
}

void TExtDataLookup::add(const CallbookLines &lines)
{
    for (const std::string &line : lines)
        m_list->addItem(shownText(line));
}

void TExtDataLookup::LookupTyped()
{
    if (m_manager->hasFocus())
        Lookup(m_manager->text(), true);
    else
        Lookup(m_call->text(), false);
}

void TExtDataLookup::Lookup(const QString &text, bool manager)
{
    QString wanted = text.trimmed().toUpper().left(12);
    if (wanted.isEmpty()) {
        QApplication::beep();
        return;
    }
    if (m_busy)
        return; // lookups do not nest
    m_busy = true;
    m_call->setText(manager ? QString() : wanted);
    m_manager->setText(manager ? wanted : QString());
    m_list->clear();
    std::string call = CoreText(wanted);
    sourceLines(call, [this, call, manager] {
        if (manager)
            finished();
        else
            afterCallLines(call);
    });
}

void TExtDataLookup::sourceLines(const std::string &call, std::function<void()> then)
{
    int chosen = source();
    if (chosen == static_cast<int>(CallbookSource::None)) {
        then();
    } else if (chosen == static_cast<int>(CallbookSource::Online)) {
        m_list->addItem(QStringLiteral("Looking up %1 ...").arg(shownText(call)));
        QListWidgetItem *waiting = m_list->item(m_list->count() - 1);
        // The client outlives the window; a window closed while waiting cancels the lookup.
        m_state.Online().Lookup(call, [this, waiting, then](const OnlineAnswer &answer) {
            delete waiting;
            add(answer.lines);
            then();
        });
    } else {
        CallbookLines lines;
        const TConfigRecord &config = m_host.Context().Config();
        m_state.Sources().Lookup(chosen, config.F_ExtAddrPath.str(), call, lines);
        add(lines);
        then();
    }
}

void TExtDataLookup::afterCallLines(const std::string &call)
{
    const TConfigRecord &config = m_host.Context().Config();
    std::string program = NormalizeStoredPath(std::string(Trim(config.F_ExtQSLProg.str())));
    if (config.F_ExtQSLEnabled && !program.empty()) {
        CallbookLines lines;
        RunQslProgram(program, call, m_state.QslProgramTimeoutMs, lines);
        add(lines);
    }
    CallbookLines shown;
    for (const QString &line : Lines())
        shown.push_back(CoreText(line));
    std::string manager = ManagerFromLines(shown, call);
    m_manager->setText(shownText(manager));
    if (source() != 0 && !manager.empty()) {
        m_list->addItem(shownText("----Address for " + manager));
        sourceLines(manager, [this] { finished(); });
        return;
    }
    finished();
}

void TExtDataLookup::finished()
{
    m_busy = false;
    updateEnabling();
    emit lookupFinished();
}

void TExtDataLookup::updateEnabling()
{
    bool sameCall = m_call->text() == ScreenText(std::string(Trim(m_entry.Text(QsoField::Call))));
    Action("SetQSLManager1")
        ->setEnabled(!m_manager->text().isEmpty() && sameCall && m_entry.Mode() != QsoWindowMode::SearchEntry);
}

void TExtDataLookup::SetQslManager()
{
    updateEnabling();
    if (!Action("SetQSLManager1")->isEnabled())
        return;
    m_entry.Edit(QsoField::Manager, CoreText(m_manager->text()));
    m_entry.Leave(QsoField::Manager);
}

void TExtDataLookup::CopyToClipboard()
{
    QList<QListWidgetItem *> chosen = m_list->selectedItems();
    if (chosen.isEmpty())
        for (int i = 0; i < m_list->count(); ++i)
            chosen << m_list->item(i);
    else
        std::sort(chosen.begin(), chosen.end(),
                  [this](QListWidgetItem *a, QListWidgetItem *b) { return m_list->row(a) < m_list->row(b); });
    QString text;
    for (QListWidgetItem *item : chosen)
        text += item->text() + QStringLiteral("\r\n");
    QApplication::clipboard()->setText(text);
}

void TExtDataLookup::CopyToManagerAddress()
{
    CopyToClipboard();
    if (Trim(m_entry.Text(QsoField::Manager)).empty())
        m_entry.Edit(QsoField::Manager, std::string(Trim(m_entry.Text(QsoField::Call))));
    std::optional<std::vector<std::string>> lines = m_entry.ManagerAddress();
    if (!lines)
        return;
    QStringList shown;
    for (const std::string &line : *lines)
        shown << shownText(line);
    for (const QString &line : QApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        shown << line;
    TEditNote editor(QStringLiteral("Address for ") + shownText(std::string(Trim(m_entry.Text(QsoField::Manager)))),
                     shown.join('|'), QString(), this);
    if (editor.exec() != QDialog::Accepted)
        return;
    std::vector<std::string> edited;
    for (const QString &line : editor.Note().split('|'))
        edited.push_back(CoreText(line));
    m_entry.SetManagerAddress(edited);
}

void TExtDataLookup::SetFullSize(bool on)
{
    if (on == !m_panel->isHidden() && Action("FullSize1")->isChecked() == on)
        return;
    int height = m_panel->sizeHint().height();
    bool wasShown = !m_panel->isHidden();
    m_panel->setVisible(on);
    Action("FullSize1")->setChecked(on);
    if (wasShown != on)
        resize(width(), std::max(60, this->height() + (on ? height : -height)));
}

void TExtDataLookup::SetAutomaticUpdate(bool on)
{
    Action("AutomaticUpdate1")->setChecked(on);
    if (on)
        RefreshCompanion();
}

void TExtDataLookup::RefreshCompanion()
{
    updateEnabling(); // the QSO window's call or mode may have changed
    if (!Action("AutomaticUpdate1")->isChecked())
        return;
    QString call = ScreenText(std::string(Trim(m_entry.Text(QsoField::Call))));
    if (!call.isEmpty() && call != m_call->text())
        Lookup(call, false);
}

namespace {

bool searchEnabled(const TConfigRecord &config)
{
    return config.F_ExtAddrType != 0 || (config.F_ExtQSLEnabled && !Trim(config.F_ExtQSLProg.str()).empty());
}

/// "Search External Data" (F3): the manager when its field has the focus and holds one, else the call.
void searchExternalData(WindowHost &host)
{
    QsoEntry *entry = host.Entry();
    if (!entry)
        return;
    QWidget *focus = QApplication::focusWidget();
    bool manager = focus && focus->objectName() == QLatin1String(ControlName(QsoField::Manager)) &&
                   !Trim(entry->Text(QsoField::Manager)).empty();
    std::string text(Trim(entry->Text(manager ? QsoField::Manager : QsoField::Call)));
    if (text.empty()) {
        QApplication::beep();
        return;
    }
    if (!host.OpenCompanion(CompanionId::External))
        return;
    if (auto *window = qobject_cast<TExtDataLookup *>(host.Companion(CompanionId::External))) {
        window->raise();
        window->Lookup(ScreenText(text), manager);
    }
}

} // namespace

void RegisterCallbookWindows(WindowHost &host)
{
    auto *state = new CallbookState(&host);
    host.RegisterCompanion(CompanionId::External, [state](WindowHost &h) -> QWidget * {
        QsoEntry *entry = h.Entry();
        return entry ? new TExtDataLookup(*entry, h, *state) : nullptr;
    });
    // The setup dialog may have saved new online settings.
    host.Handle(HostMessage::SettingsChanged, state, [state] { state->ReloadOnlineSettings(); });
    WindowHost *hostPointer = &host;
    host.AddQsoMenuItem({QStringLiteral("&QSO"), QStringLiteral("SearchExternal1"), QStringLiteral("Search External Data"),
                         QKeySequence(Qt::Key_F3), [hostPointer] { searchExternalData(*hostPointer); }, QString(),
                         [hostPointer] { return searchEnabled(hostPointer->Context().Config()); }});
    host.HandleSetupAction(SetupAction::CheckAddressSource, &host, [hostPointer] {
        int chosen = hostPointer->Context().Config().F_ExtAddrType;
        if (chosen == static_cast<int>(CallbookSource::Online) || chosen == 0)
            return true;
        std::error_code ec;
        return std::filesystem::exists(FindFileNoCase(ExtDataDir(), CallbookLibraryName(chosen)), ec);
    });
}

} // namespace vellum
