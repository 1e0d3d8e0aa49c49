// vellum: the desktop program.

#include "Fabout.h"
#include "Fmain.h"
#include "singleinstance.h"
#include "vellumapp.h"

#include "calendar/Fcalendar.h"
#include "callbook/Fextdatalookup.h"
#include "cluster/Fcluster.h"
#include "ctyeditor/Fctyed.h"
#include "exchange/Fimportexport.h"
#include "geo/Fsunwindows.h"
#include "logbook/Flogbook.h"
#include "station/Fstation.h"
#include "station/psk/Fpsk31.h"
#include "qso/Fqso.h"
#include "reports/Freports.h"
#include "setup/Fsetupactions.h"
#include "weaksignal/Fweaksignal.h"
#include "worldmap/Fworldmap.h"

#include "config/configfile.h"
#include "country/countrydata.h"
#include "country/countryfile.h"
#include "logstore/paths.h"

#include <QScreen>

#include <cstdio>

int main(int argc, char **argv)
{
    using namespace vellum;
    VellumApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    QString dir;
    if (int at = static_cast<int>(arguments.indexOf(QStringLiteral("--dir"))); at >= 0 && at + 1 < arguments.size()) {
        dir = arguments[at + 1];
        arguments.remove(at, 2);
    }
    QString programDir = QString::fromStdString(ChooseProgramDir(dir.toStdString()));

    auto splash = std::make_unique<TSplashScreen>(false);
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    bool firstStart = false;
    try {
        firstStart = PrepareProgramDir(programDir);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "vellum: %s\n", e.what());
        return 1;
    }
    SingleInstance instance(programDir);
    if (!instance.acquire())
        return 0; // the running instance comes to the front

    QtNotifier notifier;
    QScreen *screen = QGuiApplication::primaryScreen();
    ScreenInfo info{screen ? static_cast<std::int32_t>(screen->logicalDotsPerInch()) : 120,
                    screen ? screen->size().width() : 1920};
    LoadConfig(info, notifier);
    TCountryData countries;
    if (!LoadCountryFile(countries, notifier))
        return 1; // the program cannot run without its country data; the box said which file

    MainFormOptions options;
    options.arguments = arguments;
    options.firstStart = firstStart;
    TMainForm main(Config(), countries, options);
    app.setMainForm(&main);
    // Each subsystem with windows registers them once.
    RegisterQsoWindows(main.Host());
    RegisterExchangeWindows(main.Host());
    RegisterSetupWindows(main.Host());
    RegisterStationWindows(main.Host());
    RegisterClusterWindows(main.Host());
    RegisterPskWindows(main.Host());
    RegisterWeakSignalWindows(main.Host());
    RegisterLogbookWindows(main.Host());
    RegisterReportWindows(main.Host());
    RegisterCalendarWindows(main.Host());
    RegisterCountryEditorWindows(main.Host());
    RegisterWorldMapWindows(main.Host());
    RegisterGeoWindows(main.Host());
    RegisterCallbookWindows(main.Host());
    QObject::connect(&instance, &SingleInstance::raiseRequested, &main, [&main] {
        main.showNormal();
        main.raise();
        main.activateWindow();
    });
    main.FormShow();
    splash.reset();
    return app.exec();
}
