#pragma once
// The world map printed through the print engine: a page with the caption and
// the date at the top and the map filling the rest, on a printer or a PDF file.

#include "mapscene.h"

#include "print/printsurface.h"

#include <string>

class QPagedPaintDevice;

namespace vellum::worldmap {

/// Prints the scene on one page of the device (landscape is the caller's choice);
/// false when the device failed.
bool PrintMap(QPagedPaintDevice &device, PrintMargins unprintable, const MapScene &scene, const std::string &caption);

} // namespace vellum::worldmap
