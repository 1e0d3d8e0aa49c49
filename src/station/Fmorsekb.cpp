#include "Fmorsekb.h"

#include "Fbuttonframe.h"
#include "Fcwkeyer.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "app/windowservices.h"
#include "config/configrecord.h"
#include "logstore/Ftext.h"
#include "logstore/services.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

#include <cstring>

namespace vellum {

namespace {

/// Characters the keyboard sends besides letters and digits (cp1252: 196 "Ä", 214 "Ö").
constexpr const char *SentSigns = "\r !*,./=?\xC4\xD6";

TConfigRecord &configOf(TCwKeyer &keyer) { return keyer.Host().Context().Config(); }

} // namespace

TMorseKb::TMorseKb(TCwKeyer &keyer, QWidget *parent) : QWidget(parent, Qt::Window), m_keyer(keyer)
{
    setObjectName(QStringLiteral("MorseKb"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_display = new QLineEdit(this);
    m_display->setObjectName(QStringLiteral("MorseDisplay"));
    m_display->setReadOnly(true);
    m_display->setFocusPolicy(Qt::NoFocus);
    m_display->setMinimumWidth(m_display->fontMetrics().averageCharWidth() * 50);
    m_bar = new TButtonFrame(configOf(keyer).CWKEYS, [this](int key) { m_keyer.SendFunctionKey(key); }, this);
    auto *column = new QVBoxLayout(this);
    column->addWidget(m_display);
    column->addWidget(m_bar);
    buildMenus();
    m_marquee = new QTimer(this);
    connect(m_marquee, &QTimer::timeout, this, &TMorseKb::showMarquee);
    m_marquee->start(100);
    setFocusPolicy(Qt::StrongFocus);
    SettingsChanged();
}

TMorseKb::~TMorseKb() = default;

QAction *TMorseKb::addItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &key,
                           void (TMorseKb::*slot)())
{
    auto *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action); // the keys work with the menu closed
    }
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void TMorseKb::buildMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu *keyer = bar->addMenu(QStringLiteral("&Keyer"));
    keyer->setObjectName(QStringLiteral("KeyerMenu"));
    addItem(keyer, "StopSending1", QStringLiteral("Stop Sending"), QKeySequence(Qt::Key_Escape), &TMorseKb::stopSending);
    addItem(keyer, "EnterQSO1", QStringLiteral("Enter QSO"), QKeySequence(Qt::CTRL | Qt::Key_Return), &TMorseKb::enterQso);
    addItem(keyer, "Faster1", QStringLiteral("Faster (+)"), QKeySequence(Qt::ALT | Qt::Key_F10), &TMorseKb::faster);
    addItem(keyer, "Slower1", QStringLiteral("Slower (-)"), QKeySequence(Qt::ALT | Qt::Key_F9), &TMorseKb::slower);
    addItem(keyer, "SwitchToQSOWindow1", QStringLiteral("Switch to QSO Window"), QKeySequence(Qt::ALT | Qt::Key_K),
            &TMorseKb::switchToQsoWindow);
    addItem(keyer, "Settings1", QStringLiteral("Settings"), QKeySequence(Qt::ALT | Qt::Key_S), &TMorseKb::openSettings);
    addItem(keyer, "EditFunctionKeys1", QStringLiteral("Edit function Keys"), QKeySequence(Qt::ALT | Qt::Key_E),
            &TMorseKb::editFunctionKeys);
    m_showKeys = addItem(keyer, "ShowFunctionKeys1", QStringLiteral("Show function keys"), {}, &TMorseKb::toggleFunctionKeys);
    m_showKeys->setCheckable(true);
    addItem(keyer, "Help1", QStringLiteral("Help"), QKeySequence(Qt::ALT | Qt::Key_H), &TMorseKb::showHelp);
}

void TMorseKb::SettingsChanged()
{
    setWindowTitle(QStringLiteral("CW Keyboard %1 WPM").arg(m_keyer.DisplayedWpm()));
    bool show = configOf(m_keyer).showfunc;
    m_showKeys->setChecked(show);
    m_bar->setVisible(show);
    m_bar->Refresh();
}

void TMorseKb::TypeCharacter(char character)
{
    if (character >= 'a' && character <= 'z')
        character = static_cast<char>(character - 'a' + 'A');
    bool sent = (character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9') ||
                (character != '\0' && std::strchr(SentSigns, character) != nullptr);
    if (!sent)
        return;
    m_keyer.Sender().Queue(std::string(1, character));
    if (character != '\r')
        m_typed = (m_typed + character).substr(m_typed.size() >= 255 ? 1 : 0);
}

void TMorseKb::keyPressEvent(QKeyEvent *event)
{
    m_bar->SetControl(event->modifiers() & Qt::ControlModifier);
    if (int key = TButtonFrame::KeyNumberOf(event->key(), event->modifiers())) {
        m_keyer.SendFunctionKey(key);
        return;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
        m_keyer.Sender().DeleteLast();
        if (!m_typed.empty())
            m_typed.pop_back();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        TypeCharacter('\r');
        return;
    case Qt::Key_Plus:
        faster();
        return;
    case Qt::Key_Minus:
        slower();
        return;
    default:
        break;
    }
    std::string text = CoreText(event->text());
    if (text.size() == 1)
        TypeCharacter(KeyerUpperCase(text)[0]);
    else
        QWidget::keyPressEvent(event);
}

void TMorseKb::keyReleaseEvent(QKeyEvent *event)
{
    m_bar->SetControl(event->key() != Qt::Key_Control && (event->modifiers() & Qt::ControlModifier));
    QWidget::keyReleaseEvent(event);
}

bool TMorseKb::event(QEvent *event)
{
    // Ctrl let go in another window: the bar shows keys 1 to 8 again.
    if (event->type() == QEvent::WindowDeactivate)
        m_bar->SetControl(false);
    return QWidget::event(event);
}

void TMorseKb::closeEvent(QCloseEvent *event)
{
    m_keyer.Host().Windows().SaveWindowPos(this, WindowIndex::CW);
    QWidget::closeEvent(event);
}

void TMorseKb::showMarquee()
{
    // The marquee shows what still waits to be sent; without it, what was typed.
    QString text = ScreenText(configOf(m_keyer).marquee ? m_keyer.Sender().Buffer() : m_typed);
    if (text != m_display->text())
        m_display->setText(text);
}

void TMorseKb::stopSending() { m_keyer.Sender().Abort(); }

void TMorseKb::enterQso() { m_keyer.EnterQso(); }

void TMorseKb::switchToQsoWindow() { m_keyer.Host().FocusQsoWindow(); }

void TMorseKb::faster()
{
    m_keyer.ChangeSpeed(2);
    SettingsChanged();
}

void TMorseKb::slower()
{
    m_keyer.ChangeSpeed(-2);
    SettingsChanged();
}

void TMorseKb::openSettings()
{
    m_keyer.OpenSettings(this);
    SettingsChanged();
}

void TMorseKb::editFunctionKeys()
{
    TFunctionKeysDialog dialog(QStringLiteral("CW"), configOf(m_keyer).CWKEYS, this);
    m_keyer.Host().Windows().ApplyWindowStyle(&dialog);
    if (dialog.exec() == QDialog::Accepted)
        m_bar->Refresh();
}

void TMorseKb::toggleFunctionKeys()
{
    configOf(m_keyer).showfunc = m_showKeys->isChecked();
    SettingsChanged();
}

void TMorseKb::showHelp()
{
    m_keyer.Host().Notifier().information(
        "CW Keyboard\r"
        "Letters, digits and . , / = ? ! (SK) * (AR) are sent as typed; Backspace takes back the last one.\r"
        "Enter releases held text when \"Immediate\" is off. Text between < and > is heard on the sidetone only.\r"
        "F1..F8 send function keys 1 to 8, Ctrl+F1..Ctrl+F8 keys 9 to 16.\r"
        "+ / Alt+F10 faster, - / Alt+F9 slower, Esc stops sending, Ctrl+Enter enters the QSO.");
}

} // namespace vellum
