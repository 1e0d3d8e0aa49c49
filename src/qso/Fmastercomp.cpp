#include "Fmastercomp.h"

#include "qsoentry.h"

#include "app/programcontext.h"
#include "logstore/Ftext.h"
#include "app/windowhost.h"


namespace vellum {

TMasterCompanion::TMasterCompanion(QsoEntry &entry, WindowHost &host)
    : TMasterLookup(ReferenceServices{host.Notifier(), host.Context().Settings()}), m_entry(entry), m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    host.PlaceCompanion(CompanionId::MasterCalls, this);
}

TMasterCompanion::~TMasterCompanion()
{
    m_host.CompanionClosed(CompanionId::MasterCalls, this);
}

void TMasterCompanion::RefreshCompanion() { LookupCall(ScreenText(m_entry.Text(QsoField::Call)).trimmed()); }

} // namespace vellum
