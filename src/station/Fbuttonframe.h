#pragma once
// TButtonFrame: the bar of eight function-key buttons that the CW keyboard and
// the terminals share, and TFunctionKeysDialog, the editor of the sixteen texts.
// Holding Ctrl switches the bar to keys 9 to 16.

#include "config/configrecord.h"

#include <QDialog>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vellum {

class TButtonFrame : public QWidget {
    Q_OBJECT
public:
    /// keys must outlive the bar; chosen gets the key number 1..16.
    TButtonFrame(const FunctionKeys &keys, std::function<void(int)> chosen, QWidget *parent = nullptr);
    /// Shows keys 9..16 ("+1".."+8") while Ctrl is held, else keys 1..8.
    void SetControl(bool control);
    bool Control() const { return m_control; }
    /// Labels and widths again after the texts changed.
    void Refresh();
    /// F1..F8 (keys 1..8) and Ctrl+F1..Ctrl+F8 (keys 9..16); Shift or Alt: none. 0 for other keys.
    static int KeyNumberOf(int qtKey, Qt::KeyboardModifiers modifiers);

private:
    const FunctionKeys &m_keys;
    std::function<void(int)> m_chosen;
    std::array<QPushButton *, 8> m_buttons{};
    bool m_control = false;
};

/// "<title> function keys": eight fields of 75 characters, "Control keys" switches them to keys
/// 9..16 (labelled 11..18); OK stores all sixteen texts.
class TFunctionKeysDialog : public QDialog {
    Q_OBJECT
public:
    TFunctionKeysDialog(const QString &title, FunctionKeys &keys, QWidget *parent = nullptr);
    void accept() override;

private:
    void showPage(bool control);
    void keepPage();
    FunctionKeys &m_keys;
    std::array<QString, 16> m_texts;
    std::array<QLineEdit *, 8> m_fields{};
    std::array<QLabel *, 8> m_labels{};
    QCheckBox *m_controlKeys = nullptr;
    bool m_page = false;
};

} // namespace vellum
