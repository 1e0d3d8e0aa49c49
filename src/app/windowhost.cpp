#include "windowhost.h"

#include "programcontext.h"
#include "windowservices.h"

#include "config/configrecord.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>

#include <algorithm>

namespace vellum {

namespace {

constexpr QEvent::Type HostMessageEvent = static_cast<QEvent::Type>(QEvent::User + 1025);
constexpr QEvent::Type SetTableRowEvent = static_cast<QEvent::Type>(QEvent::User + 1024);
constexpr QEvent::Type DeferRequestEvent = static_cast<QEvent::Type>(QEvent::User + 1026);

class HostMessageNote : public QEvent {
public:
    explicit HostMessageNote(HostMessage message) : QEvent(HostMessageEvent), message(message) {}
    HostMessage message;
};

class SetTableRow : public QEvent {
public:
    SetTableRow(int row, QAbstractItemView *table) : QEvent(SetTableRowEvent), row(row), table(table) {}
    int row;
    QPointer<QAbstractItemView> table;
};

class DeferMessage : public QEvent {
public:
    DeferMessage(QEvent::Type type, int code, QObject *requester) : QEvent(type), code(code), requester(requester) {}
    int code;
    QPointer<QObject> requester;
};

/// The WindowPos record of each companion, in the order of CompanionId.
constexpr std::array<int, CompanionCount> CompanionPositions = {
    WindowIndex::CTY,  WindowIndex::ZONE,  WindowIndex::STATE, WindowIndex::IOTA, WindowIndex::CALL,
    WindowIndex::LOGB, WindowIndex::EXT,   WindowIndex::SUN,   WindowIndex::GRID, WindowIndex::MASTR,
    WindowIndex::WORLD, WindowIndex::WPX,  WindowIndex::PSK31, WindowIndex::CNTY};

} // namespace

const QEvent::Type WindowHost::DeferReplyEvent = static_cast<QEvent::Type>(QEvent::User + 1027);

int CompanionPosition(CompanionId id) { return CompanionPositions[static_cast<std::size_t>(id)]; }

WindowHost::WindowHost(ProgramContext &context, WindowServices &windows, QWidget *mainWindow)
    : QObject(mainWindow), m_context(context), m_windows(windows), m_mainWindow(mainWindow)
{
    Handle(HostMessage::WindowsRescaled, nullptr, [this] {
        for (CompanionSlot &companion : m_companions)
            if (auto *window = dynamic_cast<CompanionWindow *>(companion.window.data()); window && window->IsSummaryPanel())
                companion.refreshRequest = true;
    });
}

WindowHost::~WindowHost() = default;

UserNotifier &WindowHost::Notifier() const { return m_context.Notifier(); }

// --- the QSO window ----------------------------------------------------------------

TQsoWindowBase *WindowHost::OpenQsoWindow(TQsoData &log)
{
    CloseQsoWindow();
    if (!m_qsoWindowMaker)
        return nullptr;
    m_qsoWindow = m_qsoWindowMaker(log, *this);
    if (!m_qsoWindow)
        return nullptr;
    m_qsoWindow->show();
    reopenCompanions();
    Post(HostMessage::QsoWindowOpened);
    return m_qsoWindow;
}

void WindowHost::CloseQsoWindow()
{
    if (!m_qsoWindow)
        return;
    closeCompanions(); // they show this window's log: they go with it
    delete m_qsoWindow.data();
    m_qsoWindow = nullptr;
    Post(HostMessage::QsoWindowClosed);
}

QsoEntry *WindowHost::Entry() const { return m_qsoWindow ? m_qsoWindow->Entry() : nullptr; }

void WindowHost::FocusQsoWindow()
{
    if (!m_qsoWindow)
        return;
    m_qsoWindow->raise();
    m_qsoWindow->activateWindow();
    // Keep the field the user was in; only a window without one gets the focus itself.
    if (QWidget *field = m_qsoWindow->focusWidget())
        field->setFocus();
    else
        m_qsoWindow->setFocus();
}

// --- companion windows --------------------------------------------------------------

void WindowHost::RegisterCompanion(CompanionId id, CompanionMaker maker) { entry(id).maker = std::move(maker); }

bool WindowHost::OpenCompanion(CompanionId id)
{
    CompanionSlot &companion = entry(id);
    if (companion.window) {
        companion.window->show();
        companion.window->raise();
        return true;
    }
    QWidget *window = companion.maker ? companion.maker(*this) : nullptr;
    if (!window)
        return false;
    companion.window = window;
    companion.refreshRequest = true;
    companion.highlightRequest = false;
    window->show();
    return true;
}

QWidget *WindowHost::Companion(CompanionId id) const { return entry(id).window.data(); }

void WindowHost::PlaceCompanion(CompanionId id, QWidget *window)
{
    m_windows.RestoreWindowPos(window, CompanionPosition(id));
    m_windows.ApplyWindowStyle(window);
}

void WindowHost::CompanionClosed(CompanionId id, QWidget *window)
{
    m_windows.SaveWindowPos(window, CompanionPosition(id));
    if (entry(id).window == window)
        entry(id).window = nullptr;
}

void WindowHost::closeCompanions()
{
    TConfigRecord &config = m_context.Config();
    for (int i = 0; i < CompanionCount; ++i) {
        auto id = static_cast<CompanionId>(i);
        QWidget *window = Companion(id);
        config.WindowPos[static_cast<std::size_t>(CompanionPosition(id))].Open = window != nullptr;
        delete window;
        entry(id).window = nullptr;
    }
}

void WindowHost::reopenCompanions()
{
    const TConfigRecord &config = m_context.Config();
    for (int i = 0; i < CompanionCount; ++i) {
        auto id = static_cast<CompanionId>(i);
        if (config.WindowPos[static_cast<std::size_t>(CompanionPosition(id))].Open)
            OpenCompanion(id);
    }
}

void WindowHost::RequestRefresh(CompanionId id) { entry(id).refreshRequest = true; }

void WindowHost::RequestRefreshAll()
{
    for (CompanionSlot &companion : m_companions)
        companion.refreshRequest = true;
}

void WindowHost::RequestHighlightAll()
{
    for (CompanionSlot &companion : m_companions)
        companion.highlightRequest = true;
}

void WindowHost::SetSpotFileReader(QObject *receiver, std::function<void(const std::string &)> reader)
{
    m_spotFileReceiver = receiver;
    m_spotFileReader = std::move(reader);
}

bool WindowHost::FeedSpotFile(const std::string &fileName)
{
    if (!m_spotFileReceiver || !m_spotFileReader)
        return false;
    m_spotFileReader(fileName);
    return true;
}

void WindowHost::RunClockUpdate()
{
    if (m_clockUpdate)
        m_clockUpdate();
}

void WindowHost::RunIdle()
{
    if (m_qsoWindow && m_locationChanged) {
        m_locationChanged = false;
        m_qsoWindow->ShowLocation();
        RequestRefresh(CompanionId::Sun);
        RequestRefresh(CompanionId::World);
    }
    for (CompanionSlot &entry : m_companions) {
        auto *companion = dynamic_cast<CompanionWindow *>(entry.window.data());
        if (!companion)
            continue;
        if (entry.refreshRequest) {
            entry.refreshRequest = entry.highlightRequest = false;
            companion->RefreshCompanion();
        } else if (entry.highlightRequest && companion->IsSummaryPanel()) {
            entry.highlightRequest = false;
            companion->HighlightCompanion();
        }
    }
    m_idleHooks = live(std::move(m_idleHooks));
    for (std::size_t i = 0; i < m_idleHooks.size(); ++i) // a hook may add another
        if (!m_idleHooks[i].hasReceiver || m_idleHooks[i].receiver)
            m_idleHooks[i].run();
}

// --- messages -----------------------------------------------------------------------

std::vector<WindowHost::Handler> WindowHost::live(std::vector<Handler> handlers)
{
    std::erase_if(handlers, [](const Handler &h) { return h.hasReceiver && !h.receiver; });
    return handlers;
}

void WindowHost::Handle(HostMessage message, QObject *receiver, std::function<void()> handler)
{
    m_handlers[message].push_back({receiver, receiver != nullptr, std::move(handler)});
}

void WindowHost::Post(HostMessage message)
{
    auto &handlers = m_handlers[message];
    handlers = live(std::move(handlers));
    if (handlers.empty())
        return; // nobody listens: nothing to deliver
    if (std::find(m_pending.begin(), m_pending.end(), message) != m_pending.end())
        return; // the message already waiting serves this request too
    m_pending.push_back(message);
    QCoreApplication::postEvent(this, new HostMessageNote(message));
}

void WindowHost::deliver(HostMessage message)
{
    std::erase(m_pending, message);
    std::vector<Handler> handlers = live(m_handlers[message]); // a handler may register others
    for (const Handler &handler : handlers)
        if (!handler.hasReceiver || handler.receiver)
            handler.run();
}

void WindowHost::HandleSetupAction(SetupAction action, QObject *receiver, std::function<bool()> handler)
{
    m_setupActions[action] = {receiver, receiver != nullptr, std::move(handler)};
}

std::optional<bool> WindowHost::RunSetupAction(SetupAction action)
{
    auto it = m_setupActions.find(action);
    if (it == m_setupActions.end() || (it->second.hasReceiver && !it->second.receiver) || !it->second.run)
        return std::nullopt;
    return it->second.run();
}

void WindowHost::PostSetTableRow(int row, QAbstractItemView *table)
{
    QCoreApplication::postEvent(this, new SetTableRow(row, table));
}

void WindowHost::PostDeferRequest(int code, QObject *requester)
{
    for (const auto &[pendingCode, pendingRequester] : m_deferPending)
        if (pendingCode == code && pendingRequester == requester)
            return; // the answer already on its way serves this request too
    m_deferPending.emplace_back(code, requester);
    QCoreApplication::postEvent(this, new DeferMessage(DeferRequestEvent, code, requester));
}

void WindowHost::customEvent(QEvent *event)
{
    if (event->type() == HostMessageEvent) {
        deliver(static_cast<HostMessageNote *>(event)->message);
    } else if (event->type() == SetTableRowEvent) {
        auto *message = static_cast<SetTableRow *>(event);
        if (message->table && message->table->model()) {
            message->table->setCurrentIndex(message->table->model()->index(message->row, 0));
            message->table->viewport()->update();
        }
    } else if (event->type() == DeferRequestEvent) {
        auto *message = static_cast<DeferMessage *>(event);
        std::erase_if(m_deferPending,
                      [&](const auto &p) { return p.first == message->code && p.second == message->requester; });
        if (message->requester)
            QCoreApplication::postEvent(message->requester, new DeferMessage(DeferReplyEvent, message->code, nullptr));
    } else {
        QObject::customEvent(event);
    }
}

// --- menus, idle hooks, panels ------------------------------------------------------

void WindowHost::AddMenuItem(MenuItem item)
{
    m_menuItems.push_back(item);
    emit menuItemAdded(m_menuItems.back());
}

void WindowHost::AddIdleHook(QObject *receiver, std::function<void()> hook)
{
    m_idleHooks.push_back({receiver, receiver != nullptr, std::move(hook)});
}

void WindowHost::SetQsoKeyHandler(QObject *receiver, std::function<bool(const QKeyEvent &)> handler)
{
    m_qsoKeyReceiver = receiver;
    m_qsoKeyHandler = std::move(handler);
}

bool WindowHost::QsoKeyPressed(const QKeyEvent &key)
{
    return m_qsoKeyReceiver && m_qsoKeyHandler && m_qsoKeyHandler(key);
}

void WindowHost::SetSpecialKeys(bool on)
{
    if (on == m_specialKeys)
        return;
    m_specialKeys = on;
    QsoMenusChanged();
}

void WindowHost::SetStatusPanel(const QString &name, QLabel *panel) { m_panels[name] = panel; }

QLabel *WindowHost::StatusPanel(const QString &name) const
{
    auto it = m_panels.find(name);
    return it == m_panels.end() ? nullptr : it->second.data();
}

void WindowHost::ShowContestNumber(int number)
{
    if (QLabel *panel = StatusPanel(QStringLiteral("M_Nr"))) {
        panel->setText(number > 0 ? QString::number(number) : QString());
        panel->setVisible(number > 0);
    }
}

} // namespace vellum
