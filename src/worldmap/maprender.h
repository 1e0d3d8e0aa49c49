#pragma once
// The world map's picture written without a window: what vellum-cli uses.
// Qt-free header over the QPainter renderer (it makes an offscreen Qt
// application when the program has none).

#include "mapscene.h"

#include <string>

namespace vellum::worldmap {

/// Draws the scene on a width x height picture and writes it as a PNG file (a
/// temporary file beside it renamed into place); a MapFileError names what failed.
void WriteMapPng(const MapScene &scene, int width, int height, const std::string &fileName);
/// Prints the scene through the print engine into a landscape PDF file with the caption above the map.
void WriteMapPdf(const MapScene &scene, const std::string &caption, const std::string &fileName);

} // namespace vellum::worldmap
