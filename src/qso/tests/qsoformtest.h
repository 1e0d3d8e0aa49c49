#pragma once
// The QSO window of a whole program, typed into offscreen.

#include "app/testing/Fprogram.h"

#include "qso/Fqso.h"
#include "qsowindowtest.h"

#include "app/windowhost.h"
#include "exchange/Fimportexport.h"
#include "logstore/qsodata.h"
#include "testsupport/Fwindowtest.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

namespace vellum {

class QsoFormTest : public test::QsoWindowTest {
protected:
    QsoFormTest() : QsoWindowTest(VELLUM_DEFAULT_DATA_DIR, "qso-window") {}
    void SetUp() override
    {
        SetHomeInBerlin();
        config.DefQSO_Mode = 14;
        config.DefQSO_band = 5;
        config.DefQSO_WarnOnMove = 1;
        StartWithNewLog({RegisterQsoWindows, RegisterExchangeWindows});
    }

    QLineEdit *field(const char *name) { return form->findChild<QLineEdit *>(QString::fromLatin1(name)); }
    QComboBox *list(const char *name) { return form->findChild<QComboBox *>(QString::fromLatin1(name)); }
    QsoEntry &entry() { return *form->Entry(); }
    TQsoData &log() { return *main->Log(); }

    /// Types text into a field as a user would, replacing what it held.
    void type(const char *name, const QString &text)
    {
        QLineEdit *edit = field(name);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
    }
    void leave(const char *name) { emit field(name)->editingFinished(); }
    void enter(const char *name = "FQso_Call") { QTest::keyClick(field(name), Qt::Key_Return); }
    void chooseMode(const char *modeName)
    {
        int index = list("Fqso_modex")->findText(modeName);
        list("Fqso_modex")->setCurrentIndex(index);
        emit list("Fqso_modex")->activated(index);
    }
    void chooseBand(const char *bandName)
    {
        int index = list("Fqso_bandx")->findText(bandName);
        list("Fqso_bandx")->setCurrentIndex(index);
        emit list("Fqso_bandx")->activated(index);
    }
    /// An off-line QSO typed in full.
    void addOffline(const QString &call, const QString &date, const QString &time)
    {
        type("FQso_Call", call);
        leave("FQso_Call");
        type("FQso_Date", date);
        type("FQso_Time", time);
        enter();
    }

    /// Runs action on the next modal window (a pick list, a dialog) once it is open.
    static void whenModal(std::function<void(QWidget *)> action, int tries = 100)
    {
        QTimer::singleShot(5, [action, tries] {
            if (QWidget *modal = QApplication::activeModalWidget())
                action(modal);
            else if (tries > 0)
                whenModal(action, tries - 1);
        });
    }
    /// Lets queued work run until done() holds.
    static bool waitFor(const std::function<bool()> &done) { return test::WaitFor(done); }

};


} // namespace vellum
