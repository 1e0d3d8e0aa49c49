#include "reporttable.h"

#include "awards/awardstatus.h"
#include "logstore/daytime.h"
#include "logstore/qsotables.h"

namespace vellum {

void ReportTable::AddColumn(std::string name, int width, PrintAlign align)
{
    if (width < 0) {
        width = -width;
        align = PrintAlign::Right;
    }
    columns.push_back(MakeTableColumn(std::move(name), width, align));
}

ReportLine &ReportLine::Add(std::string_view cell)
{
    if (!m_first)
        m_text += '\t';
    m_first = false;
    m_text += cell;
    return *this;
}

ReportLine &ReportLine::Count(std::int64_t count) { return count == 0 ? Add(".") : Number(count); }

ReportLine &ReportLine::Number(std::int64_t number) { return Add(std::to_string(number)); }

void ModeBandChoice::ChooseGroup(int newGroup)
{
    group = newGroup;
    if (group != 0)
        band = 0;
}

void ModeBandChoice::ChooseBand(int newBand)
{
    band = newBand;
    if (band != 0)
        group = 0;
}

std::string SelectedModeBandText(const ModeBandChoice &choice)
{
    std::string modePart = choice.group > 0 && choice.group < 4
                               ? std::string("Mode = ") + ModeGroupNames[static_cast<std::size_t>(choice.group)]
                               : std::string("ALL modes");
    std::string bandPart = IsRealBand(choice.band) ? std::string(", Band = ") + BandTable[static_cast<std::size_t>(choice.band)].name
                                                   : std::string(", ALL bands");
    return " (" + modePart + bandPart + ")";
}

std::string ReportDate(std::uint16_t day) { return day == 0 ? std::string() : FormatDayMonthName(day); }

} // namespace vellum
