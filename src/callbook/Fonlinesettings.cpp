#include "Fonlinesettings.h"

#include "logstore/services.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

namespace vellum {

TOnlineSettingsEditor::TOnlineSettingsEditor(QWidget *parent)
    : QGroupBox(QStringLiteral("Online callbook"), parent), m_service(new QComboBox(this)),
      m_user(new QLineEdit(this)), m_password(new QLineEdit(this)), m_url(new QLineEdit(this)),
      m_timeout(new QSpinBox(this))
{
    setObjectName(QStringLiteral("OnlineCallbook"));
    m_service->setObjectName(QStringLiteral("OnlineService"));
    m_service->addItems({QStringLiteral("QRZ.com XML"), QStringLiteral("HamQTH XML")});
    m_user->setObjectName(QStringLiteral("OnlineUser"));
    m_password->setObjectName(QStringLiteral("OnlinePassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_url->setObjectName(QStringLiteral("OnlineUrl"));
    m_url->setPlaceholderText(QStringLiteral("the service's own address"));
    m_timeout->setObjectName(QStringLiteral("OnlineTimeout"));
    m_timeout->setRange(1, 300);
    m_timeout->setSuffix(QStringLiteral(" s"));
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Service"), m_service);
    form->addRow(QStringLiteral("User name"), m_user);
    form->addRow(QStringLiteral("Password"), m_password);
    form->addRow(QStringLiteral("Address"), m_url);
    form->addRow(QStringLiteral("Time limit"), m_timeout);
    Show(OnlineCallbookSettings());
}

void TOnlineSettingsEditor::Show(const OnlineCallbookSettings &settings)
{
    m_service->setCurrentIndex(static_cast<int>(settings.service));
    m_user->setText(QString::fromStdString(settings.user));
    m_password->setText(QString::fromStdString(settings.password));
    m_url->setText(QString::fromStdString(settings.baseUrl));
    m_timeout->setValue(settings.timeoutSeconds);
}

OnlineCallbookSettings TOnlineSettingsEditor::Settings() const
{
    OnlineCallbookSettings settings;
    settings.service = static_cast<OnlineService>(m_service->currentIndex());
    settings.user = m_user->text().trimmed().toStdString();
    settings.password = m_password->text().toStdString();
    settings.baseUrl = m_url->text().trimmed().toStdString();
    settings.timeoutSeconds = m_timeout->value();
    return settings;
}

bool SaveOnlineSettingsOrTell(const OnlineCallbookSettings &settings, const std::string &fileName,
                              UserNotifier &notifier)
{
    try {
        SaveOnlineSettings(settings, fileName);
        return true;
    } catch (const std::exception &error) {
        notifier.error(std::string("The online callbook settings could not be saved:\r") + error.what());
        return false;
    }
}

} // namespace vellum
