#include "labellayout.h"

#include "logstore/fileio.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace vellum {

std::array<std::uint8_t, LabelLayoutSize> StoreLayout(const LabelLayout &layout)
{
    std::array<std::uint8_t, LabelLayoutSize> bytes{};
    std::memcpy(bytes.data(), &layout, LabelLayoutSize);
    return bytes;
}

LabelLayout LoadLayout(std::span<const std::uint8_t, LabelLayoutSize> bytes)
{
    LabelLayout layout;
    std::memcpy(&layout, bytes.data(), LabelLayoutSize);
    return layout;
}

LabelFileContents ReadLabelBytes(std::span<const std::uint8_t> bytes)
{
    LabelFileContents contents;
    if (bytes.size() % LabelLayoutSize != 0) {
        contents.error = "The label file is damaged: " + std::to_string(bytes.size()) +
                         " bytes are not a whole number of layouts";
        return contents;
    }
    for (std::size_t at = 0; at < bytes.size(); at += LabelLayoutSize)
        contents.layouts.push_back(LoadLayout(bytes.subspan(at).first<LabelLayoutSize>()));
    return contents;
}

LabelFileContents ReadLabelFile(const std::string &fileName)
{
    std::error_code error;
    if (!std::filesystem::exists(fileName, error))
        return {};
    try {
        std::vector<std::uint8_t> bytes = ReadWholeFile(fileName);
        return ReadLabelBytes(bytes);
    } catch (const EFileError &e) {
        return {{}, e.what()};
    }
}

void WriteLabelFile(const std::string &fileName, const std::vector<LabelLayout> &layouts, bool cycleFiles)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(layouts.size() * LabelLayoutSize);
    for (const LabelLayout &layout : layouts) {
        auto stored = StoreLayout(layout);
        bytes.insert(bytes.end(), stored.begin(), stored.end());
    }
    WriteWholeFile(fileName, bytes, cycleFiles);
}

namespace {

bool positive(double value) { return std::isfinite(value) && value > 0; }
bool notNegative(double value) { return std::isfinite(value) && value >= 0; }

std::string named(const LabelLayout &layout, const std::string &problem)
{
    return "Label \"" + layout.LabelID.str() + "\": " + problem;
}

} // namespace

std::string CheckLayout(const LabelLayout &layout)
{
    if (layout.NumAcross == 0 || layout.NumDown == 0)
        return named(layout, "the number of labels across and down must be at least 1");
    if (!positive(layout.LabelWidth) || !positive(layout.LabelHeight))
        return named(layout, "the label width and height must be above 0");
    if ((layout.NumAcross > 1 && !positive(layout.SpacingWidth)) ||
        (layout.NumDown > 1 && !positive(layout.SpacingHeight)))
        return named(layout, "the horizontal and vertical pitch must be above 0");
    if (!notNegative(layout.SpacingLeft) || !notNegative(layout.SpacingTop) || !std::isfinite(layout.RightShift) ||
        !std::isfinite(layout.DownShift) || !notNegative(layout.SpacingWidth) || !notNegative(layout.SpacingHeight))
        return named(layout, "a spacing or shift is not a valid length");
    if (IsCustomPaperName(layout.PaperName.view()) && (!positive(layout.PageWidth) || !positive(layout.PageHeight)))
        return named(layout, "the page width and height must be above 0");
    return {};
}

std::string CheckLayoutOnPage(const LabelLayout &layout, double pageWidth, double pageHeight)
{
    std::string problem = CheckLayout(layout);
    if (!problem.empty())
        return problem;
    constexpr double Slack = 1e-6;
    if (layout.SpacingLeft + layout.LabelWidth > pageWidth + Slack ||
        layout.SpacingTop + layout.LabelHeight > pageHeight + Slack)
        return named(layout, "the label is larger than the page");
    return {};
}

std::vector<LabelChoice> LabelList(const TConfigRecord &config, const std::vector<LabelLayout> &fileLayouts)
{
    std::vector<LabelChoice> list;
    list.push_back({"Custom1", config.CustLab[0], 1});
    list.push_back({"Custom2", config.CustLab[1], 2});
    for (const LabelLayout &layout : fileLayouts)
        list.push_back({layout.LabelID.str(), layout, 0});
    return list;
}

int CurrentLabelIndex(const TConfigRecord &config, std::size_t listSize)
{
    std::int32_t current = config.F_CurrentLabel;
    return current >= 0 && static_cast<std::size_t>(current) < listSize ? current : 0;
}

bool IsCustomPaperName(std::string_view name)
{
    std::string upper;
    for (char c : name)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper == "CUSTOM" || upper == "USER DEFINED";
}

PaperSpec PaperOf(const LabelLayout &layout)
{
    PaperSpec paper;
    paper.portrait = layout.Portrait;
    if (IsCustomPaperName(layout.PaperName.view())) {
        paper.name = "Custom";
        // Tenths of a millimetre; a length that is no number or absurdly large (a damaged
        // record) gives 0, which the paper setting refuses with its warning.
        auto tenths = [](double inches) {
            return std::isfinite(inches) && inches > 0 && inches < 1000 ? static_cast<int>(std::lround(inches * 254)) : 0;
        };
        paper.widthTenthMm = tenths(layout.PageWidth);
        paper.heightTenthMm = tenths(layout.PageHeight);
    } else {
        paper.name = layout.PaperName.str();
    }
    return paper;
}

} // namespace vellum
