#include "greetings.h"

namespace vellum {

namespace {

void replaceFirst(std::string &text, std::string_view what, std::string_view with)
{
    std::size_t at = text.find(what);
    if (at != std::string::npos)
        text.replace(at, what.size(), with);
}

} // namespace

std::string FillGreeting(std::string_view greeting, const GreetingValues &values)
{
    std::string text(greeting);
    replaceFirst(text, "@@", values.confirmed ? "Tnx QSL" : "Pse QSL");
    if (values.printGroups)
        replaceFirst(text, "%%", values.groupName);
    replaceFirst(text, "&&", values.firstName.empty() ? std::string() : " " + values.firstName);
    return text;
}

} // namespace vellum
