#pragma once
// "Communication Ports": which device each of COM1..COM8 is.

#include "portmap.h"

#include <QDialog>

#include <array>

class QLineEdit;

namespace vellum {

class UserNotifier;

class TPortsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPortsDialog(UserNotifier &notifier, QWidget *parent = nullptr);
    /// Writes the ports file; false (after a message) when it cannot.
    bool Save();

private:
    UserNotifier &m_notifier;
    PortMap m_ports;
    std::array<QLineEdit *, ComPortCount> m_paths{};
};

} // namespace vellum
