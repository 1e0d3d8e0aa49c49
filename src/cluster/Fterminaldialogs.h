#pragma once
// The dialogs of the terminals: "Select Internet address", the function-key
// editor (TPacketKeysDialog) and "Announce DX".

#include "terminalsettings.h"

#include "station/Fbuttonframe.h"

#include <QDialog>

#include <array>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;

namespace vellum {

struct TConfigRecord;

class TAddressDialog : public QDialog {
    Q_OBJECT
public:
    enum Outcome { Cancelled = 0, Chosen = 1, CloseConnection = 2 };
    /// Lists the lines of the address list file (none when it is missing).
    TAddressDialog(const std::string &addressFile, QWidget *parent = nullptr);
    std::string ChosenLine() const;
    QListWidget *List() const { return m_list; }

private:
    QListWidget *m_list;
};

/// The terminal's function-key editor: the shared editor titled "Packet function keys" or "RTTY function keys".
class TPacketKeysDialog : public TFunctionKeysDialog {
    Q_OBJECT
public:
    TPacketKeysDialog(TConfigRecord &config, TerminalKind kind, QWidget *parent = nullptr);
};

/// What "Announce DX" sends.
struct Announcement {
    std::string call;
    double kHz = 0;
    double qsxKHz = 0;
    std::string remarks;
    /// "DX " + call + " " + frequency, " QSX " + frequency when there is one, " " + remarks.
    std::string Text() const;
};

class TAnnounceDialog : public QDialog {
    Q_OBJECT
public:
    TAnnounceDialog(const Announcement &start, QWidget *parent = nullptr);
    Announcement Result() const;

private:
    QLineEdit *m_call, *m_freq, *m_qsx, *m_remarks;
};

} // namespace vellum
