#pragma once
// Settings set by name from outside (vellum-cli config set): the names are the
// leaf paths of the configuration record ("Personal_Callsign",
// "WindowPos[3].Width", "AwardSetup[0].ValidBands[5]"), as the JSON dump names
// them. Values are checked against the setting's type, then the record is
// clamped as after loading a configuration file.

#include "config/configrecord.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vellum {

/// A name that is no setting, or a value its setting cannot hold.
class SettingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A setting that holds another value than the one asked for, after the rules
/// of the configuration (a text cut to its capacity, an index outside its list
/// replaced by the default, ...).
struct SettingAdjustment {
    std::string name;
    std::string asked;
    std::string stored;
};

/// The value of a setting as text: numbers in decimal, flags "true"/"false",
/// texts as they are. Throws SettingError for an unknown name.
std::string SettingText(const TConfigRecord &record, std::string_view name);

/// Sets one setting from text; throws SettingError for an unknown name or a
/// value the setting's type cannot hold (not a number, out of the type's
/// range, not a flag). Texts are cut to the setting's capacity.
void SetSetting(TConfigRecord &record, std::string_view name, std::string_view value);

/// Applies "NAME=VALUE" assignments in order to a copy of record, then clamps it
/// as after loading. On any SettingError record is unchanged and the error is
/// thrown; otherwise record takes the result and the settings that hold another
/// value than asked are returned.
std::vector<SettingAdjustment> ApplySettings(TConfigRecord &record, const std::vector<std::string> &assignments);

} // namespace vellum
