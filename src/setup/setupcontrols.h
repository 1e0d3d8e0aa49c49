#pragma once
// The controls of the setup dialog as data. Each page's caption is a section of
// the INI form and each control on it a key, named like the control (which is
// also the widget's object name). A control knows the setting it edits, its
// kind, its choices and its range, so the dialog, the INI form and the tests
// share one set of value rules.

#include "config/configrecord.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vellum {

enum class ControlKind {
    Text,       ///< an entry field of a string setting
    Integer,    ///< a whole number within low..high
    Real,       ///< a real number within realLow..realHigh
    Choice,     ///< a list of texts; the setting holds values[i] for item i
    TextChoice, ///< a list of texts; the setting holds textValues[i] for item i
    Check,      ///< a check box
    CheckList,  ///< a list of check boxes, one per item
};

/// A control's value as the setting holds it: text (Text, TextChoice), a number
/// (Integer, Choice; Check as 0 or 1), a real number (Real) or the marks of a check list.
using ControlValue = std::variant<std::string, std::int64_t, double, std::vector<bool>>;

struct SetupControl {
    std::string name;    ///< the control's name: INI key and object name
    std::string caption; ///< what the dialog shows beside it
    ControlKind kind = ControlKind::Text;
    std::vector<std::string> items;       ///< Choice, TextChoice, CheckList: the texts shown, in order
    std::vector<std::int64_t> values;     ///< Choice: the stored value of each item
    std::vector<std::string> textValues;  ///< TextChoice: the stored text of each item
    std::int64_t low = 0, high = 0;       ///< Integer: the range the field accepts
    double realLow = 0, realHigh = 0;     ///< Real: the range the field accepts
    std::size_t capacity = 0;             ///< Text: the characters the setting holds
    bool iniKey = true;                   ///< false: shown and edited, but not part of the INI form
    std::function<ControlValue(const TConfigRecord &)> get;
    std::function<void(TConfigRecord &, const ControlValue &)> set;

    /// The item showing the setting's value; -1 when no item does.
    int ItemOf(const TConfigRecord &record) const;
    /// Stores the value of item (Choice, TextChoice); nothing for an index outside the list.
    void SetItem(TConfigRecord &record, int item) const;
    /// The item whose text equals text ignoring the case of a..z; -1 when none.
    int FindItem(std::string_view text) const;
    /// Whether a number lies within the field's range (Integer, Real).
    bool InRange(double number) const;
    /// "Value in range <low> to <high> expected".
    std::string RangeMessage() const;
};

struct SetupPage {
    std::string caption; ///< the tab's caption and the INI section
    std::vector<SetupControl> controls;
    const SetupControl *Find(std::string_view name) const;
};

/// The lists that depend on files of the program directory.
struct SetupChoices {
    std::vector<std::string> radios;  ///< radio definitions (file names without ".rig" in RadiosDir)
    std::vector<std::string> reports; ///< report definitions (sections of the report definition file)
};

/// The radio definitions of RadiosDir() and the reports of the report definition
/// file, each list sorted; the stored radio and report of record are added when
/// their files are missing, so that showing the dialog does not lose them.
SetupChoices FindSetupChoices(const TConfigRecord &record);

/// The sixteen pages with their controls, in page order. The band labels of the
/// check lists follow bandsInMHz ("Show band in MHz"); band choosers always show
/// the band names, which are also their INI values.
std::vector<SetupPage> SetupPages(const SetupChoices &choices, bool bandsInMHz);

/// The texts of the address data sources (list index of F_ExtAddrType) and the
/// library each needs in ExtDataDir (empty for "None").
extern const std::vector<std::string> AddressSourceNames;
std::string AddressSourceLibrary(int source);

/// The notes and the standard baud rate of a radio definition (section GENERAL of
/// RadiosDir()/<name>.rig); empty and 0 when it cannot be read.
struct RadioSummary {
    std::string notes;
    std::int32_t baud = 0;
};
RadioSummary ReadRadioSummary(const std::string &name);

} // namespace vellum
