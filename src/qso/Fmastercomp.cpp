#include "Fmastercomp.h"

#include "Fqso.h"

#include "app/Fmain.h"
#include "app/windowservices.h"
#include "config/configrecord.h"

#include <QLineEdit>

namespace vellum {

TMasterCompanion::TMasterCompanion(TMainForm &main, TQSOForm &form)
    : TMasterLookup(ReferenceServices{main.Notifier(), *main.Services().settings}), m_main(main), m_form(form)
{
    setAttribute(Qt::WA_DeleteOnClose);
    main.Windows().RestoreWindowPos(this, WindowIndex::MASTR);
    main.Windows().ApplyWindowStyle(this);
}

TMasterCompanion::~TMasterCompanion()
{
    m_main.CompanionClosed(9, this);
}

void TMasterCompanion::RefreshCompanion() { LookupCall(m_form.Field("FQso_Call")->text().trimmed()); }

} // namespace vellum
