#pragma once
// Label sheet layouts: the 116-byte record (the same as the configuration's two
// custom layouts), the layouts file SAVE/VELLUM.LAB (a plain sequence of records
// of ready-made sheets), the list the editor and the print dialog offer
// ("Custom1", "Custom2", then the file's layouts in file order), the checks a
// layout read from outside must pass, and the paper it asks for.

#include "config/configrecord.h"
#include "print/printsurface.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vellum {

inline constexpr std::size_t LabelLayoutSize = 116;
static_assert(sizeof(LabelLayout) == LabelLayoutSize);
inline constexpr double MmPerInch = 25.4;

/// The stored bytes of a layout and back (the record is its own byte image).
std::array<std::uint8_t, LabelLayoutSize> StoreLayout(const LabelLayout &layout);
LabelLayout LoadLayout(std::span<const std::uint8_t, LabelLayoutSize> bytes);

/// The layouts of a label file's bytes; a size that is not a whole number of
/// records is an error (what: the message), and nothing is taken from it.
struct LabelFileContents {
    std::vector<LabelLayout> layouts;
    std::string error;
};
LabelFileContents ReadLabelBytes(std::span<const std::uint8_t> bytes);
/// The layouts of a file; a file that does not exist holds none (no error).
LabelFileContents ReadLabelFile(const std::string &fileName);
/// Writes the layouts as the whole file through the safe writer; throws EFileError.
void WriteLabelFile(const std::string &fileName, const std::vector<LabelLayout> &layouts, bool cycleFiles = false);

/// Why a layout cannot be printed with, or empty: no rows or columns, a zero or
/// negative label size or pitch, or lengths that are not finite numbers.
std::string CheckLayout(const LabelLayout &layout);
/// CheckLayout, and whether one label fits the page (width x height in inches).
std::string CheckLayoutOnPage(const LabelLayout &layout, double pageWidth, double pageHeight);

/// An entry of the label list.
struct LabelChoice {
    std::string name;
    LabelLayout layout;
    int custom = 0; ///< 1 or 2 for Custom1 and Custom2, 0 for a layout of the file
};
std::vector<LabelChoice> LabelList(const TConfigRecord &config, const std::vector<LabelLayout> &fileLayouts);
/// The index of the list to show for F_CurrentLabel (0 when it is out of range).
int CurrentLabelIndex(const TConfigRecord &config, std::size_t listSize);

/// The paper a layout asks for: its PaperName, or "Custom" with its page size.
PaperSpec PaperOf(const LabelLayout &layout);
/// Whether a paper name means a page size of the layout's own ("CUSTOM", "USER DEFINED", any case).
bool IsCustomPaperName(std::string_view name);

} // namespace vellum
