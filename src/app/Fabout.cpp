#include "Fabout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vellum {

TSplashScreen::TSplashScreen(bool withOkButton, QWidget *parent)
    : QDialog(parent, withOkButton ? Qt::Dialog : Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashScreen"));
    setWindowTitle(QStringLiteral("About VELLUM"));
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("<h1>VELLUM</h1>"), this);
    title->setObjectName(QStringLiteral("Title"));
    title->setAlignment(Qt::AlignCenter);
    auto *version = new QLabel(QStringLiteral("Version 5.03"), this);
    version->setObjectName(QStringLiteral("Version"));
    version->setAlignment(Qt::AlignCenter);
    auto *about = new QLabel(QStringLiteral("A logbook and station control program for DXers"), this);
    about->setObjectName(QStringLiteral("About"));
    about->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(about);
    if (withOkButton) {
        auto *ok = new QPushButton(QStringLiteral("OK"), this);
        ok->setObjectName(QStringLiteral("OKButton"));
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        layout->addWidget(ok, 0, Qt::AlignCenter);
    }
    setMinimumWidth(360);
}

} // namespace vellum
