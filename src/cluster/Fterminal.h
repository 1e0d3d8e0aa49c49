#pragma once
// A packet or cluster terminal (TPacketW): the received text above, the typing
// area below, one transport (a serial TNC, a telnet cluster, a web page of
// spots, or the message hand-over), and every complete received line handed to
// the spot list.

#include "clusteraddress.h"
#include "httppage.h"
#include "terminalsettings.h"
#include "terminaltext.h"

#include <QPlainTextEdit>
#include <QWidget>

#include <memory>

class QLabel;
class QMenu;
class QSplitter;
class QTimer;

namespace vellum {

class ByteChannel;
class TClusterStation;
class TMsgHandOver;
class TReceivedView;
class TTcpChannel;

/// The typing area: text before the unsent part cannot be changed.
class TTypingArea : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;
    std::function<bool(QKeyEvent *)> keyHandler;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

class TPacketW : public QWidget {
    Q_OBJECT
public:
    TPacketW(TerminalKind kind, TClusterStation &station, QWidget *parent = nullptr);
    ~TPacketW() override;

    TerminalKind Kind() const { return m_settings.kind; }
    const TerminalSettings &Settings() const { return m_settings; }
    /// Connects the configured transport; false (after "Packet failed to open") when a serial port cannot open.
    bool Open();
    void CloseTransport();

    /// "Internet connection": a telnet session or a page fetch to this address.
    void ConnectTo(const ClusterAddress &address);
    void CloseConnection();
    bool Connected() const;
    TTcpChannel *Tcp() const { return m_tcp.get(); }
    const HttpPageReader *Page() const { return m_page.get(); }

    /// Received bytes from any transport (also text handed over by another program).
    void Receive(std::span<const std::uint8_t> bytes);
    /// Sends text by the terminal's transport as the sending rules say.
    void SendText(const std::string &text);
    /// Types text into the typing area as if keyed (injected: by a macro or an announcement).
    void TypeText(const QString &text, bool injected = true);
    /// Sends the unsent text of the typing area.
    void SendUnsent();

    void SetImmediate(bool on);
    bool Immediate() const { return m_immediate || m_settings.alwaysImmediate; }
    void SetHolding(bool on);
    bool Holding() const;
    void SetFakeMode(bool on);
    /// The texts the menu offers.
    void CopyToClipboard();
    void PasteFromClipboard();
    void ClearText();
    /// F1..F8 (keys 1..8), Ctrl+F1..F8 (9..16): the key's text, expanded, typed.
    void FunctionKey(int key);
    void EditFunctionKeys();
    void InternetConnection();

    TerminalText &Text() { return m_text; }
    TReceivedView *View() const { return m_view; }
    TTypingArea *Typing() const { return m_typing; }
    QMenu *Menu() const { return m_menu; }
    QString BaseCaption() const;
    /// The received text and the typing area in a fixed-pitch font of the size the
    /// program's style gave them (columns of cluster output must line up).
    void KeepFixedPitch();
    /// "Show function keys".
    void ShowFunctionKeys(bool shown);
    class TButtonFrame *KeyBar() const { return m_keyBar; }
    /// The paste running in steps; false when none.
    bool Pasting() const { return m_pasteLeft.size() > 0; }

protected:
    /// The user cannot close a terminal: the setup opens and closes it.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool typingKey(QKeyEvent *event);
    bool editingKey(QKeyEvent *event);
    void typed(QChar c, bool injected);
    void controlCharacter(int code, bool injected);
    int unsentStart() const { return m_unsentStart; }
    void updateCaption();
    void buildMenu();
    void readChannel(ByteChannel &channel, std::size_t count);
    void applyPageStep(const struct HttpStep &step);
    void makeTcp(const ClusterAddress &address);
    void retire();
    void tcpConnected();
    void tcpClosed();
    void pasteStep();
    void stopPaste();
    void showStatus(const QString &text);

    TClusterStation &m_station;
    TerminalSettings m_settings;
    TerminalText m_text;
    TReceivedView *m_view;
    TTypingArea *m_typing;
    QSplitter *m_splitter;
    QLabel *m_pastePanel;
    class TButtonFrame *m_keyBar = nullptr;
    QMenu *m_menu = nullptr;
    QAction *m_escapeAction = nullptr;
    std::unique_ptr<ByteChannel> m_serial;
    std::unique_ptr<TTcpChannel> m_tcp;
    std::vector<std::unique_ptr<TTcpChannel>> m_retired; ///< closed channels, deleted after the current event
    std::unique_ptr<HttpPageReader> m_page;
    std::unique_ptr<TMsgHandOver> m_msg;
    ClusterAddress m_address;
    QString m_pageCaption; ///< the caption page mode shows ("" = the terminal's own)
    bool m_closingOnPurpose = false;
    bool m_splitShown = false;
    bool m_immediate = false;
    bool m_fake = false;
    int m_unsentStart = 0;
    QString m_pasteLeft;
    int m_pasteTotal = 0;
    QTimer *m_pasteTimer;
};

} // namespace vellum
