#pragma once
// The core's cp1252 texts on the screen and back: the one conversion every
// window uses where a core text meets a Qt widget.

#include <QString>

#include <string>
#include <string_view>

namespace vellum {

/// cp1252 text of the core for the screen (the five undefined bytes become U+FFFD).
QString ScreenText(std::string_view cp1252);
/// Screen text for the core, in cp1252; characters cp1252 lacks become "?".
std::string CoreText(const QString &text);

} // namespace vellum
