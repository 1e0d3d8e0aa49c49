// vellum-screenshots: pictures of the QSO window for the documentation. Runs the
// whole program on a fresh program directory with the screen defaults of the
// screen it runs on (set its resolution with QT_FONT_DPI on the offscreen
// platform) and saves the QSO window, with a QSO being entered, as a PNG.
//
//   vellum-screenshots OUTPUT.png

#include "Fprogram.h"

#include "config/configrules.h"
#include "qso/Fqso.h"
#include "qso/qsoentry.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>

#include <cmath>
#include <cstdio>

using namespace vellum;

namespace {

/// Types a QSO into the window as a user would, so that the picture shows a working window.
void typeQso(QsoEntry &entry)
{
    const std::pair<QsoField, const char *> typed[] = {
        {QsoField::Call, "DL1ABC"}, {QsoField::RstSent, "599"}, {QsoField::RstRcvd, "579"}, {QsoField::QsoNote, "Hans, nice signal"}};
    for (const auto &[field, text] : typed) {
        entry.Entered(field);
        entry.Edit(field, text);
        entry.Leave(field);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vellum-screenshots OUTPUT.png\n");
        return 2;
    }
    int ppi = static_cast<int>(std::lround(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
    test::TestProgram program(VELLUM_DEFAULT_DATA_DIR, "screenshots");
    ResetScreenDefaults(program.config, ppi); // as a first start on this screen
    program.config.LASTLOG = "<none>";
    program.config.Personal_Callsign = "QQ1XYZ";
    program.config.QsoWindowSize = 5; // every row of fields
    TMainForm &main = program.Start({RegisterQsoWindows});
    program.chooser.answers = {QString::fromStdString(program.SaveFile("DEMO.VLL"))};
    main.NewClick();
    TQsoWindowBase *window = main.QsoWindow();
    if (!window || !window->Entry()) {
        std::fprintf(stderr, "vellum-screenshots: no QSO window\n");
        return 1;
    }
    typeQso(*window->Entry());
    QApplication::processEvents();
    if (!window->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "vellum-screenshots: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %d ppi, scale %d %%\n", argv[1], ppi, int(program.config.F_FormScale));
    return 0;
}
