#pragma once
// A reader of the public cty.dat prefix file: one entity per header line
// ("name: CQ: ITU: continent: latitude: longitude: UTC offset: prefix:") followed
// by its prefixes and exact calls ("=CALL"), separated by commas and ended by ";".
// cty.dat writes longitudes West positive and UTC offsets behind UTC positive;
// the values here are as the file gives them.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// A cty.dat text that does not follow the format; the message names the line.
class CtyFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// One prefix or exact call of an entity, with its overrides ("(n)" CQ zone,
/// "[n]" ITU zone; -1 when not given). Other overrides are read and dropped.
struct CtyPrefix {
    std::string text;
    bool exactCall = false;
    int cqZone = -1;
    int ituZone = -1;
};

struct CtyEntity {
    std::string name;
    int cqZone = 0;
    int ituZone = 0;
    std::string continent;
    double latitude = 0;     ///< North positive
    double westLongitude = 0; ///< as cty.dat writes it: West positive
    double utcBehind = 0;    ///< as cty.dat writes it: hours behind UTC positive
    std::string primaryPrefix; ///< without the "*"
    bool waeOnly = false;      ///< marked "*": counted for CQ/WAE awards, not for DXCC
    std::vector<CtyPrefix> prefixes;
    int line = 0;              ///< line of the header, for messages
};

/// Reads every entity of a cty.dat text. Throws CtyFormatError naming the line
/// of the first entry that does not follow the format.
std::vector<CtyEntity> ParseCtyDat(std::string_view text);

} // namespace vellum
