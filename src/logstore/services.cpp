#include "services.h"

#include "qsorec.h"

namespace vellum {

void CallResolver::ResolveCountry(TQsoRec &rec) const
{
    // Without country data every call is of no known country.
    rec.Country = 0;
    rec.Zone = 0;
}

std::string CallResolver::WpxPrefix(std::string_view) const { return {}; }

} // namespace vellum
