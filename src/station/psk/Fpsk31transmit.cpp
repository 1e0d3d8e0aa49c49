// The transmit side of the PSK31 window: the Tx button, keying the transmitter,
// typing, function keys and paste.
#include "Fpsk31.h"

#include "Fpskdialog.h"

#include "station/macroexpand.h"

#include "app/programcontext.h"
#include "app/qsowindow.h"
#include "app/windowhost.h"
#include "config/configrecord.h"
#include "logstore/Ftext.h"
#include "logstore/services.h"
#include "qso/qsoentry.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>

#include <string>

namespace vellum {

bool TPSK31Window::TxDown() const { return m_txButton->isChecked(); }

void TPSK31Window::SetTx(bool down)
{
    m_txButton->setChecked(down);
    if (down) {
        m_engine->SetTXFrequency(m_txHz);
        keyTransmitter(true);
        m_engine->StartTX(Settings().Mode);
    } else if (m_engine->GetTXCharsRemaining() != 0) {
        m_engine->AbortTX();
        m_engine->ClearTXBuffer();
    } else {
        m_engine->StopTX();
    }
}

void TPSK31Window::keyTransmitter(bool on)
{
    TPsk31Settings &s = Settings();
    psk::PskKeying keying{s.KEYING, s.KEYDTR != 0, s.OTHERH != 0};
    std::string error;
    if (m_key.Key(on, keying, error))
        return;
    s.KEYING = psk::KeyingVox;
    m_host.Notifier().error("Error keying Tx using port COM" + std::to_string(keying.ComNumber()) + "\r" + error);
    if (m_dialog)
        m_dialog->KeyingFellBack();
}

void TPSK31Window::TypeCharacter(int code)
{
    m_transmit->moveCursor(QTextCursor::End);
    switch (code) {
    case 24:
        if (!TxDown())
            SetTx(true);
        return;
    case 27:
        m_engine->SendTXCharacter(1, 1);
        return;
    case 3:
        m_engine->SetCWIDString(m_host.Context().Config().Personal_Callsign.str());
        m_engine->SetCWIDSpeed(1);
        m_engine->SendTXCharacter(2, 1);
        return;
    default:
        m_engine->SendTXCharacter(code, 0);
        typeInto(m_transmit, code);
    }
}

void TPSK31Window::TypeText(const QString &text)
{
    for (char c : CoreText(text))
        TypeCharacter(static_cast<unsigned char>(c));
}

void TPSK31Window::FunctionKey(int key)
{
    QsoEntry *entry = m_host.Entry();
    TConfigRecord &config = m_host.Context().Config();
    MacroExpansion expansion = MacroExpand(key, config.PSK31KEYS,
                                           CurrentMacroEnvironment(config, entry ? entry->MacroFields() : QsoMacroFields{}),
                                           m_host.Notifier());
    TypeText(ScreenText(expansion.text));
    if (expansion.enterQso && entry && entry->Mode() == QsoWindowMode::AddRealTime)
        entry->AddQso();
}

void TPSK31Window::PasteClipboard()
{
    // The clipboard ends lines with a line feed alone: each becomes the carriage return PSK31 sends.
    std::string text = CoreText(QApplication::clipboard()->text().replace(QStringLiteral("\r\n"), QStringLiteral("\r"))
                                    .replace(QLatin1Char('\n'), QLatin1Char('\r')));
    for (char c : text)
        if (static_cast<unsigned char>(c) > 12)
            TypeCharacter(static_cast<unsigned char>(c));
}

} // namespace vellum
