#include "Freports.h"

#include "Fawardchart.h"
#include "Fqsltools.h"
#include "Freportform.h"

#include "app/programcontext.h"
#include "app/windowhost.h"
#include "awards/Fawdflag.h"
#include "qso/qsoentry.h"

#include <QRegularExpression>

namespace vellum {

namespace {

/// "DXCC" + "Listing (include deleted)" gives "DXCCListingincludedeleted1".
QString objectName(const ReportSpec &spec)
{
    QString name = QString::fromStdString(spec.menu + spec.item);
    name.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
    return name + QStringLiteral("1");
}

} // namespace

void RegisterReportWindows(WindowHost &host)
{
    const QString reports = QStringLiteral("&Reports");
    auto logOpen = [&host] { return host.Context().Log() != nullptr; };
    for (const ReportSpec &spec : ReportCatalog())
        host.AddQsoMenuItem({reports + QLatin1Char('/') + QString::fromStdString(spec.menu), objectName(spec),
                             QString::fromStdString(spec.item), {}, [&host, &spec] { OpenReport(host, spec); }, {},
                             logOpen});
    host.AddQsoMenuItem({reports, QStringLiteral("ChangeAwardFlags1"), QStringLiteral("Change Award Flags"), {},
                         [&host] {
                             if (TQsoData *log = host.Context().Log()) {
                                 TChangeAwardFlagsForm form(*log, host.MainWindow());
                                 QObject::connect(&form, &TChangeAwardFlagsForm::flagsChanged, &form, [&host] {
                                     host.Post(HostMessage::LogChanged);
                                     if (QsoEntry *entry = host.Entry())
                                         entry->RefreshFromLog();
                                 });
                                 form.exec();
                             }
                         },
                         {}, logOpen});
    host.AddQsoMenuItem({reports, QStringLiteral("AwardChart1"), QStringLiteral("Award Chart"), {},
                         [&host] {
                             if (TQsoData *log = host.Context().Log())
                                 (new TAwardChartForm(host, *log, host.MainWindow()))->show();
                         },
                         {}, logOpen});
    RegisterQslTools(host);
}

} // namespace vellum
