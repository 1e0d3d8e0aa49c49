#include "maprender.h"

#include "Fmaprenderer.h"
#include "mapdata.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <filesystem>
#include <memory>

namespace vellum::worldmap {

std::unique_ptr<QGuiApplication> OffscreenApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    static int argc = 1;
    static char name[] = "vellum-cli";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

void WriteMapPng(const MapScene &scene, int width, int height, const std::string &fileName)
{
    std::unique_ptr<QGuiApplication> application = OffscreenApplication();
    if (width < 16 || height < 16 || width > 16384 || height > 16384)
        throw MapFileError("a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        MapRenderer().Paint(painter, scene, QSizeF(width, height));
    }
    QString target = QString::fromStdString(fileName);
    QString temporary = target + QStringLiteral(".tmp");
    if (!image.save(temporary, "PNG")) {
        QFile::remove(temporary);
        throw MapFileError(fileName + ": the picture cannot be written");
    }
    std::error_code error;
    std::filesystem::rename(temporary.toStdString(), fileName, error);
    if (error) {
        QFile::remove(temporary);
        throw MapFileError(fileName + ": the picture cannot be put in place: " + error.message());
    }
}

} // namespace vellum::worldmap
