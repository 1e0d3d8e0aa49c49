#pragma once
// The online callbook's settings as one group of fields - service, user name,
// password (never shown), address and time limit. The lookup window's "Online
// Callbook Settings..." and the setup dialog's "Ext Data" page both edit them
// with it; they are kept in their own file, not in the configuration record.

#include "onlinecallbook.h"

#include <QGroupBox>

#include <string>

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace vellum {

class UserNotifier;

class TOnlineSettingsEditor : public QGroupBox {
    Q_OBJECT
public:
    /// The fields' object names: OnlineService, OnlineUser, OnlinePassword, OnlineUrl, OnlineTimeout.
    explicit TOnlineSettingsEditor(QWidget *parent);

    void Show(const OnlineCallbookSettings &settings);
    /// What the fields hold now (user name and address without surrounding blanks).
    OnlineCallbookSettings Settings() const;

private:
    QComboBox *m_service;
    QLineEdit *m_user;
    QLineEdit *m_password;
    QLineEdit *m_url;
    QSpinBox *m_timeout;
};

/// Writes settings to their file; false, after telling notifier why, when it cannot be written.
bool SaveOnlineSettingsOrTell(const OnlineCallbookSettings &settings, const std::string &fileName,
                              UserNotifier &notifier);

} // namespace vellum
