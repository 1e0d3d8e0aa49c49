#include "Fterminal.h"

#include "Fcluster.h"
#include "Fmsghandover.h"
#include "Freceivedview.h"
#include "Fterminaldialogs.h"

#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/Ftext.h"
#include "logstore/paths.h"
#include "logstore/services.h"
#include "qso/qsoentry.h"
#include "station/Fbuttonframe.h"
#include "station/Ftcpchannel.h"
#include "station/macroexpand.h"
#include "station/channels.h"
#include "station/portmap.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

namespace vellum {

namespace {

constexpr QChar EscapeShown(0xA9); ///< Escape typed is shown as this character and sent as ESC
constexpr int ChunkSize = 255;
constexpr int KeptTypingLines = 14;
constexpr int PasteAskFrom = 80;
constexpr int PasteLimit = 32767;

std::span<const std::uint8_t> bytesOf(const std::string &text)
{
    return std::span(reinterpret_cast<const std::uint8_t *>(text.data()), text.size());
}

} // namespace

void TTypingArea::keyPressEvent(QKeyEvent *event)
{
    if (!keyHandler || !keyHandler(event))
        QPlainTextEdit::keyPressEvent(event);
}

TPacketW::TPacketW(TerminalKind kind, TClusterStation &station, QWidget *parent)
    : QWidget(parent), m_station(station), m_settings(ReadTerminalSettings(station.Config(), kind))
{
    setObjectName(kind == TerminalKind::Packet ? QStringLiteral("PacketWindow") : QStringLiteral("RttyWindow"));
    m_text.SetCapacity(static_cast<std::size_t>(m_settings.maxLines));
    m_text.SetHandLinesOn(m_settings.checkSpots);
    m_text.OnLine([this](const std::string &line) { m_station.SpotLine(line); });
    m_text.OnBell([this] {
        if (m_settings.bell)
            QApplication::beep();
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_view = new TReceivedView(m_text, m_splitter);
    m_typing = new TTypingArea(m_splitter);
    m_typing->setObjectName(QStringLiteral("TypingArea"));
    m_typing->setFont(m_view->font());
    m_typing->keyHandler = [this](QKeyEvent *event) { return typingKey(event); };
    m_pastePanel = new QLabel(this);
    m_pastePanel->setObjectName(QStringLiteral("PastePanel"));
    m_pastePanel->hide();
    m_keyBar = new TButtonFrame(TerminalKeys(station.Config(), kind), [this](int key) { FunctionKey(key); }, this);
    m_keyBar->setVisible(m_settings.showFunctions);
    layout->addWidget(m_splitter);
    layout->addWidget(m_keyBar);
    layout->addWidget(m_pastePanel);
    m_splitter->setStretchFactor(0, m_settings.split);
    m_splitter->setStretchFactor(1, 100 - m_settings.split);
    m_splitter->setChildrenCollapsible(false);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] {
        QList<int> sizes = m_splitter->sizes();
        int total = std::max(1, sizes.value(0) + sizes.value(1));
        StoreTerminalSplit(m_station.Config(), Kind(), sizes.value(0) * 100 / total);
    });
    m_view->OnResized([this] {
        m_text.SetWidth(m_view->CharactersWide());
        m_view->TextChanged(0);
    });
    m_view->OnTyping([this](QKeyEvent *event) {
        SetHolding(false); // typing into the received text leaves holding
        m_typing->setFocus();
        QApplication::sendEvent(m_typing, event);
    });
    m_view->OnLineDoubleClicked([this](std::size_t line) {
        if (Kind() != TerminalKind::Packet)
            return;
        std::string command = ReadCommandFor(m_text.LogicalLineAt(line));
        if (command.empty())
            return;
        SetImmediate(false);
        SetHolding(false);
        SendText(command);
    });
    m_pasteTimer = new QTimer(this);
    m_pasteTimer->setInterval(0);
    connect(m_pasteTimer, &QTimer::timeout, this, &TPacketW::pasteStep);
    buildMenu();
    updateCaption();
    resize(640, 420);
}

TPacketW::~TPacketW() { CloseTransport(); }

void TPacketW::KeepFixedPitch()
{
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPointSizeF(m_typing->font().pointSizeF());
    m_view->setFont(fixed);
    m_typing->setFont(fixed);
    m_text.SetWidth(m_view->CharactersWide());
    m_view->TextChanged(0);
}

void TPacketW::closeEvent(QCloseEvent *event) { event->ignore(); }

void TPacketW::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_splitShown)
        return;
    m_splitShown = true; // the stored splitter position, once the window has its height
    int height = std::max(2, m_splitter->height());
    m_splitter->setSizes({height * m_settings.split / 100, height - height * m_settings.split / 100});
}

// --- transports ------------------------------------------------------------------------

bool TPacketW::Open()
{
    if (m_settings.Serial()) {
        std::vector<std::string> problems;
        auto channel = MakeSerialChannel(TerminalSerialSettings(m_settings), PortMap::Load(problems).DevicePath(m_settings.port));
        if (!channel->Open()) {
            m_station.Notifier().error(std::string(TerminalName(Kind())) + " failed to open");
            return false;
        }
        ByteChannel &port = *channel;
        channel->OnTriggerAvail([this, &port](std::size_t count) { readChannel(port, count); });
        m_serial = std::move(channel);
    } else if (m_settings.Msg()) {
        m_msg = std::make_unique<TMsgHandOver>(m_station.Config().Packet_MsgHandshake.str());
        m_msg->OnText([this](const std::string &text) { Receive(bytesOf(text)); });
        m_msg->Listen();
    }
    return true; // a TCP/IP terminal connects when the user chooses an address
}

void TPacketW::CloseTransport()
{
    stopPaste();
    CloseConnection();
    if (m_serial)
        m_serial->Close();
    m_serial.reset();
    m_msg.reset();
}

void TPacketW::readChannel(ByteChannel &channel, std::size_t count)
{
    std::string bytes;
    bytes.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        if (auto byte = channel.GetChar())
            bytes += static_cast<char>(*byte);
    if (m_page)
        applyPageStep(m_page->Received(bytesOf(bytes)));
    else
        Receive(bytesOf(bytes));
}

void TPacketW::ConnectTo(const ClusterAddress &address)
{
    CloseConnection();
    m_address = address;
    makeTcp(address);
    m_tcp->OnSocketError([this](int code) {
        // A node that ends the session is no error: the closing text says so.
        if (!m_page && code != static_cast<int>(QAbstractSocket::RemoteHostClosedError))
            Receive(bytesOf("\rWinsock error = " + std::to_string(code) + "\r"));
    });
    if (address.IsPage()) {
        m_page = std::make_unique<HttpPageReader>(address);
        applyPageStep(m_page->Start());
    } else {
        m_tcp->OpenAsync();
    }
}

void TPacketW::retire()
{
    // The channel may be the one reporting right now: it is deleted after the current event.
    if (!m_tcp)
        return;
    m_retired.push_back(std::move(m_tcp));
    QTimer::singleShot(0, this, [this] { m_retired.clear(); });
}

void TPacketW::makeTcp(const ClusterAddress &address)
{
    m_tcp = std::make_unique<TTcpChannel>(address.host, address.port, !address.IsPage());
    TTcpChannel &tcp = *m_tcp;
    tcp.OnTriggerAvail([this, &tcp](std::size_t count) { readChannel(tcp, count); });
    tcp.OnConnected([this] { tcpConnected(); });
    tcp.OnClosed([this] { tcpClosed(); });
}

void TPacketW::CloseConnection()
{
    if (!m_tcp)
        return;
    m_closingOnPurpose = true;
    m_tcp->Close();
    m_closingOnPurpose = false;
    retire();
    if (m_page)
        m_station.SuspendSpotDisplay(false);
    m_page.reset();
    m_pageCaption.clear();
    updateCaption();
}

bool TPacketW::Connected() const { return m_tcp && m_tcp->IsOpen(); }

void TPacketW::tcpConnected()
{
    if (m_page)
        return applyPageStep(m_page->Connected());
    Receive(bytesOf("\rConnected to " + m_address.Text() + "\r"));
}

void TPacketW::tcpClosed()
{
    if (m_closingOnPurpose)
        return;
    if (m_page)
        return applyPageStep(m_page->Disconnected());
    m_text.FlushPartialLine(); // a line cut off by the end of the connection is delivered once
    Receive(bytesOf("\rConnection to " + m_address.Text() + " closed\r"));
}

void TPacketW::applyPageStep(const HttpStep &step)
{
    if (!step.captions.empty()) {
        m_pageCaption = QString::fromStdString(step.captions.back());
        updateCaption();
    }
    if (step.warning)
        m_station.Notifier().warning(*step.warning);
    if (step.suspendSpots)
        m_station.SuspendSpotDisplay(true);
    if (step.resumeSpots)
        m_station.SuspendSpotDisplay(false);
    if (!step.send.empty() && m_tcp)
        m_tcp->PutString(step.send);
    if (!step.received.empty())
        Receive(bytesOf(step.received));
    if (step.close && m_tcp) {
        m_closingOnPurpose = true;
        m_tcp->Close();
        m_closingOnPurpose = false;
    }
    if (step.open && m_tcp) {
        retire(); // a redirect: the old connection goes, a new one is made
        makeTcp(m_page->Address());
        m_tcp->OpenAsync();
    }
}

// --- receiving and sending -------------------------------------------------------------

void TPacketW::Receive(std::span<const std::uint8_t> bytes)
{
    std::size_t removed = m_text.Receive(bytes);
    m_view->TextChanged(removed);
}

void TPacketW::SendText(const std::string &text)
{
    if (m_fake && Kind() == TerminalKind::Packet) {
        Receive(bytesOf(text)); // fake mode: what is sent comes back as if received
        return;
    }
    if (m_serial) {
        m_serial->PutString(text);
        return;
    }
    if (m_msg) {
        if (!m_msg->Send(text))
            m_station.Notifier().error(m_msg->Error());
        return;
    }
    if (!m_tcp || m_page)
        return; // page mode sends nothing; without a connection there is no peer
    std::string echo = text, line = text;
    if (!line.empty() && line.back() == '\r') {
        echo += '\n';
        line.back() = '\n';
    }
    Receive(bytesOf(echo));
    if (!m_tcp->PutString(line))
        m_station.Notifier().warning(text + (Connected() ? std::string() : std::string("\rNo connection active")));
}

void TPacketW::SendUnsent()
{
    QString all = m_typing->toPlainText();
    QString unsent = all.mid(m_unsentStart);
    unsent.replace(QChar('\n'), QChar('\r'));
    for (qsizetype at = 0; at < unsent.size(); at += ChunkSize) {
        std::string chunk = CoreText(unsent.mid(at, ChunkSize));
        for (char &c : chunk)
            if (static_cast<unsigned char>(c) == 0xA9)
                c = 27;
        SendText(chunk);
    }
    // Only the last lines of what was typed stay.
    QTextDocument *document = m_typing->document();
    while (document->blockCount() > KeptTypingLines) {
        QTextCursor cursor(document->firstBlock());
        cursor.select(QTextCursor::BlockUnderCursor);
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    m_typing->moveCursor(QTextCursor::End);
    m_unsentStart = static_cast<int>(m_typing->toPlainText().size());
}

// --- the typing area --------------------------------------------------------------------

void TPacketW::TypeText(const QString &text, bool injected)
{
    for (QChar c : text)
        typed(c, injected);
}

void TPacketW::typed(QChar c, bool injected)
{
    if (m_page) {
        applyPageStep(m_page->Start()); // any key in page mode starts, or aborts, the fetch
        return;
    }
    int code = c.unicode();
    if (c == QChar('\n'))
        code = 13;
    if (code >= 1 && code <= 26 && code != 8)
        return controlCharacter(code, injected);
    m_typing->moveCursor(QTextCursor::End);
    m_typing->insertPlainText(QString(c));
    if (Immediate())
        SendUnsent();
}

void TPacketW::controlCharacter(int code, bool injected)
{
    if (code == 13) {
        m_typing->moveCursor(QTextCursor::End);
        m_typing->insertPlainText(QStringLiteral("\n")); // Enter stays in the typing area as a line break
        SendUnsent();
        if (m_immediate && !m_settings.alwaysImmediate)
            SetImmediate(false); // Enter ends toggled immediate mode
        return;
    }
    SendUnsent();
    SendText(std::string(1, static_cast<char>(code)));
    if (!injected && !Immediate())
        SetImmediate(true);
}

bool TPacketW::editingKey(QKeyEvent *event)
{
    // Text before the unsent part is history: keys that would change it beep.
    QTextCursor cursor = m_typing->textCursor();
    int from = std::min(cursor.position(), cursor.anchor());
    bool changes = !event->text().isEmpty() || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    bool atStart = event->key() == Qt::Key_Backspace && !cursor.hasSelection() && from <= m_unsentStart;
    if (changes && (from < m_unsentStart || atStart)) {
        QApplication::beep();
        return true;
    }
    return false;
}

bool TPacketW::typingKey(QKeyEvent *event)
{
    Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    int key = event->key();
    m_keyBar->SetControl(key != Qt::Key_Control && (mods & Qt::ControlModifier));
    if (int number = TButtonFrame::KeyNumberOf(key, mods)) {
        FunctionKey(number);
        return true;
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Home || key == Qt::Key_End) {
        QScrollBar *bar = m_view->verticalScrollBar();
        int step = key == Qt::Key_PageUp ? -bar->pageStep() : key == Qt::Key_PageDown ? bar->pageStep() : 0;
        bar->setValue(key == Qt::Key_Home ? 0 : key == Qt::Key_End ? bar->maximum() : bar->value() + step);
        return true;
    }
    if (key == Qt::Key_Insert) {
        if (mods == Qt::AltModifier)
            SetImmediate(!m_immediate);
        else if (mods == Qt::ControlModifier)
            CopyToClipboard();
        else if (mods == Qt::ShiftModifier)
            PasteFromClipboard();
        else
            SetHolding(!Holding());
        return true;
    }
    if (key == Qt::Key_Escape) {
        if (Pasting())
            stopPaste();
        else
            typed(EscapeShown, false);
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        typed(QChar('\r'), false);
        return true;
    }
    if (editingKey(event))
        return true;
    if (mods & Qt::ControlModifier && key >= Qt::Key_A && key <= Qt::Key_Z) {
        controlCharacter(key - Qt::Key_A + 1, false);
        return true;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        for (QChar c : event->text())
            typed(c, false);
        return true;
    }
    if (m_page)
        return true;
    return false; // cursor keys, Backspace and Delete in the unsent text
}

void TPacketW::SetImmediate(bool on)
{
    m_immediate = on;
    updateCaption();
}

void TPacketW::SetHolding(bool on)
{
    m_view->SetHolding(on);
    updateCaption();
}

bool TPacketW::Holding() const { return m_view->Holding(); }

void TPacketW::SetFakeMode(bool on)
{
    m_fake = on;
    updateCaption();
}

QString TPacketW::BaseCaption() const { return QString::fromLatin1(TerminalName(Kind())) + QStringLiteral(" Window"); }

void TPacketW::updateCaption()
{
    QString caption = BaseCaption();
    if (m_fake)
        caption += QStringLiteral(" [FAKEMODE]");
    if (m_settings.alwaysImmediate)
        caption += QStringLiteral(" (ALWAYS IN IMMEDIATE MODE)");
    else if (m_immediate)
        caption += QStringLiteral(" (IMMEDIATE MODE)");
    if (Holding())
        caption += QStringLiteral(" (HOLDING)");
    setWindowTitle(m_pageCaption.isEmpty() ? caption : m_pageCaption);
    setToolTip(BaseCaption() + QStringLiteral(" (PopUp)"));
}

// --- menu commands ----------------------------------------------------------------------

void TPacketW::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("TerminalMenu"));
    auto item = [this](const char *name, const QString &caption, QKeySequence key, auto slot) {
        QAction *action = m_menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    item("ToggleHolding1", QStringLiteral("Toggle holding"), {}, [this] { SetHolding(!Holding()); });
    item("CopyToClipBoard1", QStringLiteral("Copy to ClipBoard"), {}, [this] { CopyToClipboard(); });
    item("PasteFromClipBoard1", QStringLiteral("Paste from ClipBoard"), {}, [this] { PasteFromClipboard(); });
    item("ClearAllText1", QStringLiteral("Clear all text"), {}, [this] { ClearText(); });
    m_escapeAction = item("TypeEsc1", QStringLiteral("Type Esc character"), {}, [this] {
        if (Pasting())
            stopPaste();
        else
            typed(EscapeShown, false);
    });
    item("InternetConnection1", QStringLiteral("Internet connection"), {}, [this] { InternetConnection(); });
    item("EditFunctionKeys1", QStringLiteral("Edit function keys"), QKeySequence(Qt::ALT | Qt::Key_E),
         [this] { EditFunctionKeys(); });
    QAction *show = item("ShowFunctionKeys1", QStringLiteral("Show function keys"), {},
                         [this] { ShowFunctionKeys(!m_settings.showFunctions); });
    show->setCheckable(true);
    show->setChecked(m_settings.showFunctions);
    item("AnnounceDX1", QStringLiteral("Announce DX"), QKeySequence(Qt::ALT | Qt::Key_A), [this] { m_station.AnnounceDx(); });
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        findChild<QAction *>(QStringLiteral("InternetConnection1"))->setEnabled(m_settings.Tcp());
        findChild<QAction *>(QStringLiteral("AnnounceDX1"))->setEnabled(m_station.CanAnnounce());
    });
    for (QWidget *target : {static_cast<QWidget *>(m_view), static_cast<QWidget *>(m_typing)}) {
        target->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(target, &QWidget::customContextMenuRequested, this,
                [this, target](const QPoint &at) { m_menu->exec(target->mapToGlobal(at)); });
    }
}

void TPacketW::CopyToClipboard()
{
    if (m_typing->hasFocus()) {
        m_typing->copy();
        return;
    }
    QApplication::clipboard()->setText(ScreenText(m_text.CopyText(Holding())));
}

void TPacketW::ClearText()
{
    m_text.Clear();
    m_view->TextChanged(0);
}

void TPacketW::PasteFromClipboard()
{
    QTextCursor cursor = m_typing->textCursor();
    if (std::min(cursor.position(), cursor.anchor()) < m_unsentStart) {
        QApplication::beep();
        return;
    }
    QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) {
        m_station.Notifier().warning("ClipBoard does not contain text");
        return;
    }
    text = text.left(PasteLimit);
    if (text.size() >= PasteAskFrom &&
        m_station.Notifier().confirm("Paste " + std::to_string(text.size()) + " characters", Buttons::OkCancel) !=
            Answer::Ok)
        return;
    // The clipboard is typed in steps from the event loop, so the window stays usable and Esc stops it.
    m_pasteLeft = text;
    m_pasteTotal = static_cast<int>(text.size());
    m_escapeAction->setText(QStringLiteral("Stop sending ClipBoard"));
    if (m_pasteTotal >= PasteAskFrom)
        showStatus(QStringLiteral("Sending Contents of ClipBoard  Press ESC to Abort  Transfered 0%"));
    m_pasteTimer->start();
}

void TPacketW::pasteStep()
{
    for (int n = 0; n < 16 && !m_pasteLeft.isEmpty(); ++n) {
        if (m_serial && m_serial->OutBuffFree() < 100)
            return; // the TNC catches up first
        QChar c = m_pasteLeft.front();
        m_pasteLeft.remove(0, 1);
        if (c != QChar('\n'))
            typed(c == QChar('\r') ? QChar('\r') : c, true);
    }
    int done = m_pasteTotal - static_cast<int>(m_pasteLeft.size());
    if (m_pastePanel->isVisible())
        showStatus(QStringLiteral("Sending Contents of ClipBoard  Press ESC to Abort  Transfered %1%")
                       .arg(qRound(100.0 * done / std::max(1, m_pasteTotal))));
    if (m_pasteLeft.isEmpty())
        stopPaste();
}

void TPacketW::stopPaste()
{
    m_pasteTimer->stop();
    m_pasteLeft.clear();
    if (m_escapeAction)
        m_escapeAction->setText(QStringLiteral("Type Esc character"));
    m_pastePanel->hide();
}

void TPacketW::showStatus(const QString &text)
{
    m_pastePanel->setText(text);
    m_pastePanel->show();
}

void TPacketW::FunctionKey(int key)
{
    // The key's text expanded with the QSO being entered, typed as if keyed.
    QsoEntry *entry = m_station.Host().Entry();
    MacroEnvironment environment =
        CurrentMacroEnvironment(m_station.Config(), entry ? entry->MacroFields() : QsoMacroFields{});
    MacroExpansion expansion = MacroExpand(key, TerminalKeys(m_station.Config(), Kind()), environment, m_station.Notifier());
    TypeText(ScreenText(expansion.text), true);
    if (expansion.enterQso && entry && entry->Mode() == QsoWindowMode::AddRealTime)
        entry->AddQso();
}

void TPacketW::EditFunctionKeys()
{
    TPacketKeysDialog dialog(m_station.Config(), Kind(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_keyBar->Refresh();
}

void TPacketW::ShowFunctionKeys(bool shown)
{
    m_settings.showFunctions = shown;
    StoreShowFunctions(m_station.Config(), Kind(), shown);
    m_keyBar->setVisible(shown);
}

void TPacketW::InternetConnection()
{
    if (!m_settings.Tcp())
        return;
    TAddressDialog dialog(DataFileName(DataFile::TelnetAddresses), this);
    switch (dialog.exec()) {
    case TAddressDialog::Chosen: ConnectTo(ParseClusterAddress(dialog.ChosenLine())); break;
    case TAddressDialog::CloseConnection: CloseConnection(); break;
    default: break;
    }
}

} // namespace vellum
