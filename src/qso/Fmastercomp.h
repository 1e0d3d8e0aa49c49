#pragma once
// The master-call window as a companion of the QSO window (entry 9).

#include "app/qsowindow.h"
#include "country/Fmaster.h"

#include <memory>

namespace vellum {

class TMainForm;
class TQSOForm;

class TMasterCompanion : public TMasterLookup, public CompanionWindow {
    Q_OBJECT
public:
    TMasterCompanion(TMainForm &main, TQSOForm &form);
    ~TMasterCompanion() override;
    /// Lists the master calls that match the QSO window's call field.
    void RefreshCompanion() override;

private:
    TMainForm &m_main;
    TQSOForm &m_form;
};

} // namespace vellum
