#pragma once
// The award chart written as a PNG or SVG file (Qt-free header; PNG is painted
// by Qt Gui, with an offscreen application when the caller has none).

#include "chartdrawing.h"

#include <string>

namespace vellum {

/// Writes the picture through a temporary file renamed into place; false with
/// error set when the file cannot be written (the old file is left as it was).
bool WriteChartPng(const AwardChart &chart, const BandYearGrid &grid, const std::string &fileName, std::string &error);

} // namespace vellum
