#include "Fports.h"

#include "logstore/services.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace vellum {

TPortsDialog::TPortsDialog(UserNotifier &notifier, QWidget *parent) : QDialog(parent), m_notifier(notifier)
{
    setObjectName(QStringLiteral("PortsDialog"));
    setWindowTitle(QStringLiteral("Communication Ports"));
    std::vector<std::string> problems;
    m_ports = PortMap::Load(problems);
    for (const std::string &problem : problems)
        notifier.warning(PortMap::FileName() + ": " + problem);
    auto *form = new QFormLayout(this);
    for (int com = 1; com <= ComPortCount; ++com) {
        auto *edit = new QLineEdit(QString::fromStdString(m_ports.DevicePath(com)), this);
        edit->setObjectName(QStringLiteral("Port_COM%1").arg(com));
        form->addRow(QStringLiteral("COM%1").arg(com), edit);
        m_paths[static_cast<std::size_t>(com - 1)] = edit;
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool TPortsDialog::Save()
{
    PortMap edited = m_ports;
    for (int com = 1; com <= ComPortCount; ++com) {
        std::string path = m_paths[static_cast<std::size_t>(com - 1)]->text().trimmed().toStdString();
        edited.SetDevicePath(com, path);
        if (edited.DevicePath(com) != path) {
            m_notifier.error("COM" + std::to_string(com) + ": \"" + path + "\" is not a device path");
            return false;
        }
    }
    try {
        edited.Save();
    } catch (const std::exception &e) {
        m_notifier.error(e.what());
        return false;
    }
    m_ports = edited;
    return true;
}

} // namespace vellum
