#pragma once
// The master-call window as a companion of the QSO window (entry 9).

#include "app/qsowindow.h"
#include "country/Fmaster.h"

#include <memory>

namespace vellum {

class QsoEntry;
class WindowHost;

class TMasterCompanion : public TMasterLookup, public CompanionWindow {
    Q_OBJECT
public:
    TMasterCompanion(QsoEntry &entry, WindowHost &host);
    ~TMasterCompanion() override;
    /// Lists the master calls that match the QSO window's call field.
    void RefreshCompanion() override;

private:
    QsoEntry &m_entry;
    WindowHost &m_host;
};

} // namespace vellum
