#pragma once
// The greeting lines at the foot of a label: "@@" becomes "Pse QSL" or "Tnx QSL",
// "%%" the group name and "&&" a blank and the operator's first name (the
// callsign's note, TNotes::NameFromNote).

#include <string>
#include <string_view>

namespace vellum {

struct GreetingValues {
    bool confirmed = false;
    bool printGroups = false;
    std::string groupName;
    std::string firstName;
};
/// The greeting with the first "@@", "%%" (with printGroups) and "&&" replaced.
std::string FillGreeting(std::string_view greeting, const GreetingValues &values);

} // namespace vellum
