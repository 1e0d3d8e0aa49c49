#include "customawardfile.h"

#include "country/textimport.h"

#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/trim.h"

#include <filesystem>
#include <optional>

namespace vellum {

namespace {

/// The reader's state: the award being read and where it started.
class AwardReader {
public:
    AwardReader(TCustAwardList &list, UserNotifier &notifier, std::string_view sourceName)
        : m_list(list), m_notifier(notifier), m_sourceName(sourceName)
    {
    }

    /// Reads one trimmed, non-empty line; false when it ends the reading.
    bool Line(int number, std::string_view line)
    {
        m_number = number;
        m_line = line;
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            return startAward(Trim(line.substr(1, line.size() - 2)));
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return true;
        return keyLine(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }

    /// Closes the award being read: it joins the list unless its identifier is listed.
    void CloseAward()
    {
        if (!m_current)
            return;
        if (!m_list.Add(*m_current))
            message(CustAwardText::DuplicateAward + m_current->Ident, m_startNumber, m_startLine);
        m_current.reset();
    }

    /// Drops the award being read (the reading ended in the middle of it).
    void DropAward() { m_current.reset(); }

private:
    bool startAward(std::string_view ident)
    {
        CloseAward();
        if (ident.empty())
            return fail(CustAwardText::BadAward + std::string(m_line));
        m_current.emplace(ident);
        m_startNumber = m_number;
        m_startLine = std::string(m_line);
        return true;
    }

    bool keyLine(std::string_view key, std::string_view value)
    {
        if (!m_current)
            return fail(CustAwardText::NoAward);
        if (key.empty())
            return fail(CustAwardText::BadKey + std::string(key));
        if (value.empty())
            return fail(CustAwardText::BadValuePair + std::string(value));
        TCustAward &award = *m_current;
        if (key == "awdname")
            award.Name = std::string(value.substr(0, CustAwardNameCapacity));
        else if (key == "prefix")
            award.AddCountries(value);
        else if (key == "modes")
            award.SetModes(value);
        else if (key == "bands")
            award.SetBands(value);
        else if (key == "pictmsk")
            award.Picture = std::string(value.substr(0, CustAwardValueCapacity));
        else
            return valueEntry(award, key, value);
        return true;
    }

    bool valueEntry(TCustAward &award, std::string_view key, std::string_view value)
    {
        switch (award.AddValue(key, value)) {
        case TCustAward::AddValueResult::DuplicateKey:
            return fail(CustAwardText::DuplicateKey + UpperAscii(key.substr(0, CustAwardValueCapacity)));
        case TCustAward::AddValueResult::DuplicateValue:
            return fail(CustAwardText::DuplicateValue + std::string(value));
        case TCustAward::AddValueResult::Added: break;
        }
        return true;
    }

    bool fail(const std::string &text)
    {
        message(text, m_number, std::string(m_line));
        return false;
    }

    void message(const std::string &text, int number, const std::string &line)
    {
        m_notifier.error(text + "\r" + std::string(m_sourceName) + " line " + std::to_string(number) + ": " + line);
    }

    TCustAwardList &m_list;
    UserNotifier &m_notifier;
    std::string_view m_sourceName;
    std::optional<TCustAward> m_current;
    int m_startNumber = 0;
    std::string m_startLine;
    int m_number = 0;
    std::string_view m_line;
};

} // namespace

bool ReadCustomAwards(std::string_view text, TCustAwardList &list, UserNotifier &notifier,
                      std::string_view sourceName)
{
    AwardReader reader(list, notifier, sourceName);
    bool complete = true;
    ForEachImportLine(text, nullptr, [&](int number, std::string_view line) {
        if (complete)
            complete = reader.Line(number, Trim(line));
    });
    if (complete)
        reader.CloseAward();
    else
        reader.DropAward();
    return complete;
}

std::string CustomAwardFileName() { return FindFileNoCase(SaveDir(), "VELLUM.AWD"); }

bool LoadCustomAwards(TCustAwardList &list, const std::string &fileName, UserNotifier &notifier)
{
    list.Clear();
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec))
        return true;
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileOrTell(fileName, notifier);
    if (!bytes)
        return false;
    std::string name = std::filesystem::path(fileName).filename().string();
    return ReadCustomAwards(std::string_view(reinterpret_cast<const char *>(bytes->data()), bytes->size()), list,
                            notifier, name);
}

} // namespace vellum
