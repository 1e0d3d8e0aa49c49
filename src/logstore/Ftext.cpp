#include "Ftext.h"

#include "cp1252.h"

namespace vellum {

QString ScreenText(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

std::string CoreText(const QString &text) { return Utf8ToCp1252(text.toStdString()); }

} // namespace vellum
