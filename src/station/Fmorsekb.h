#pragma once
// "CW Keyboard" (TMorseKb): typed text goes to the keyer, the function keys send
// their macros, the display follows the send buffer (the marquee).

#include <QWidget>

class QAction;
class QLineEdit;
class QTimer;

namespace vellum {

class TButtonFrame;
class TCwKeyer;

class TMorseKb : public QWidget {
    Q_OBJECT
public:
    TMorseKb(TCwKeyer &keyer, QWidget *parent = nullptr);
    ~TMorseKb() override;

    /// Queues a typed character: letters upper-cased; carriage return, blank, "!", "*", ",",
    /// ".", "/", digits, "=", "?", letters, "Ä" and "Ö" are sent, others are ignored.
    void TypeCharacter(char character);
    /// The caption and the function-key bar after the settings changed.
    void SettingsChanged();
    TButtonFrame *ButtonBar() const { return m_bar; }
    QLineEdit *Display() const { return m_display; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    QAction *addItem(class QMenu *menu, const char *name, const QString &caption, const QKeySequence &key,
                     void (TMorseKb::*slot)());
    void buildMenus();
    void stopSending();
    void enterQso();
    void switchToQsoWindow();
    void faster();
    void slower();
    void openSettings();
    void editFunctionKeys();
    void toggleFunctionKeys();
    void showHelp();
    void showMarquee();

    TCwKeyer &m_keyer;
    QLineEdit *m_display = nullptr;
    TButtonFrame *m_bar = nullptr;
    QAction *m_showKeys = nullptr;
    QTimer *m_marquee = nullptr;
    std::string m_typed; ///< what was typed, shown while the marquee is off
};

} // namespace vellum
