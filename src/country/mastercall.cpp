#include "mastercall.h"

#include "textimport.h"

#include "logstore/fileio.h"
#include "logstore/paths.h"
#include "logstore/shortstring.h"

#include <algorithm>
#include <filesystem>

namespace vellum {

namespace {

constexpr std::uint8_t FirstCharacterBit = 0x80;
constexpr std::uint8_t EndOfCalls = 0xFF;

bool isCallCharacter(char c) { return c == '/' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

/// Whether pattern, "?" matching any character, lies in call at offset.
bool matchesAt(std::string_view call, std::string_view pattern, std::size_t offset)
{
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] != '?' && pattern[i] != call[offset + i])
            return false;
    return true;
}

bool matches(std::string_view call, const MasterSearch &search)
{
    if (call.size() < search.pattern.size())
        return false;
    std::size_t last = search.substring ? call.size() - search.pattern.size() : 0;
    for (std::size_t offset = 0; offset <= last; ++offset)
        if (matchesAt(call, search.pattern, offset))
            return true;
    return false;
}

} // namespace

bool TMasterCalls::LoadBytes(std::span<const std::uint8_t> bytes)
{
    Clear();
    if (bytes.size() < MasterMagic.size() ||
        !std::equal(MasterMagic.begin(), MasterMagic.end(), bytes.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }))
        return false;
    // The stored length of the longest call is not trusted: it is recounted.
    std::string call;
    bool inCall = false;
    auto finish = [&] {
        if (inCall && !call.empty() && std::all_of(call.begin(), call.end(), isCallCharacter)) {
            m_starts.push_back(static_cast<std::uint32_t>(m_block.size()));
            m_block += call;
            m_longest = std::max(m_longest, call.size());
        }
        call.clear();
    };
    for (std::size_t i = MasterMagic.size() + 1; i < bytes.size() && bytes[i] != EndOfCalls; ++i) {
        if (bytes[i] & FirstCharacterBit) {
            finish();
            inCall = true;
        }
        if (call.size() < MasterCallCapacity)
            call += static_cast<char>(bytes[i] & ~FirstCharacterBit);
    }
    finish();
    return true;
}

void TMasterCalls::Clear()
{
    m_block.clear();
    m_starts.clear();
    m_longest = 0;
}

std::string_view TMasterCalls::Call(std::size_t index) const
{
    std::size_t start = m_starts[index];
    std::size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_block.size();
    return std::string_view(m_block).substr(start, end - start);
}

std::optional<MasterSearch> PrepareMasterSearch(std::string_view text, bool substring)
{
    MasterSearch search{UpperAscii(text), substring};
    std::string_view pattern = search.pattern;
    if (!pattern.empty() && pattern.front() == '?') {
        search.substring = true;
        pattern.remove_prefix(std::min(pattern.find_first_not_of('?'), pattern.size()));
    }
    while (!pattern.empty() && pattern.back() == '?')
        pattern.remove_suffix(1);
    if (pattern.size() < 2)
        return std::nullopt;
    search.pattern = std::string(pattern);
    return search;
}

std::vector<std::string_view> TMasterCalls::Search(std::string_view text, bool substring) const
{
    std::vector<std::string_view> found;
    std::optional<MasterSearch> search = PrepareMasterSearch(text, substring);
    if (!search)
        return found;
    for (std::size_t i = 0; i < Count(); ++i)
        if (std::string_view call = Call(i); matches(call, *search))
            found.push_back(call);
    return found;
}

std::vector<std::string> MasterCandidates(std::span<const std::uint8_t> bytes, MasterSource source)
{
    std::vector<std::string> calls;
    std::string run;
    bool lineStart = true, comment = false;
    auto endRun = [&] {
        if (run.size() >= MasterCallMinimum)
            calls.push_back(run);
        run.clear();
    };
    for (std::uint8_t byte : bytes) {
        char c = static_cast<char>(byte);
        if (c == '\n' || c == '\r') {
            endRun();
            lineStart = true;
            comment = false;
            continue;
        }
        if (lineStart && c == '#' && source == MasterSource::CallList)
            comment = true;
        lineStart = false;
        if (!comment && (isLetter(c) || isCallCharacter(c))) {
            if (run.size() < MasterCallCapacity)
                run += UpperAscii(std::string_view(&c, 1));
        } else {
            endRun();
        }
    }
    endRun();
    std::sort(calls.begin(), calls.end());
    calls.erase(std::unique(calls.begin(), calls.end()), calls.end());
    return calls;
}

std::vector<std::uint8_t> MasterFileBytes(const std::vector<std::string> &calls)
{
    std::vector<std::uint8_t> bytes(MasterMagic.begin(), MasterMagic.end());
    std::size_t longest = 0;
    for (const std::string &call : calls)
        longest = std::max(longest, call.size());
    bytes.push_back(static_cast<std::uint8_t>(std::min<std::size_t>(longest, 255)));
    for (const std::string &call : calls)
        for (std::size_t i = 0; i < call.size(); ++i)
            bytes.push_back(static_cast<std::uint8_t>(i == 0 ? call[i] | FirstCharacterBit : call[i]));
    bytes.push_back(EndOfCalls);
    return bytes;
}

std::size_t ConvertMasterFile(const std::string &source, const std::string &target, bool cycleFiles,
                              MasterSource kind)
{
    std::vector<std::string> calls = MasterCandidates(ReadWholeFile(source), kind);
    WriteWholeFile(target, MasterFileBytes(calls), cycleFiles);
    return calls.size();
}

std::string MasterFileName() { return FindFileNoCase(ProgramDir(), "VELLUM.MAS"); }

bool OpenMasterFile(TMasterCalls &calls, const std::string &fileName, UserNotifier &notifier)
{
    calls.Clear();
    std::error_code ec;
    if (!std::filesystem::exists(fileName, ec)) {
        notifier.warning(std::string(MasterText::NotFound) + fileName + "\r" + MasterText::NotFoundEnd);
        return false;
    }
    std::optional<std::vector<std::uint8_t>> bytes = ReadFileOrTell(fileName, notifier);
    if (!bytes)
        return false;
    if (!calls.LoadBytes(*bytes)) {
        notifier.error(MasterText::NotMasterFile);
        return false;
    }
    return true;
}

bool RunMasterConversion(TMasterCalls &calls, const std::string &source, const std::string &fileName,
                         bool cycleFiles, UserNotifier &notifier)
{
    std::size_t count = 0;
    try {
        count = ConvertMasterFile(source, fileName, cycleFiles, MasterSource::AnyBytes);
    } catch (const std::exception &e) {
        notifier.error(e.what());
        return false;
    }
    notifier.information(std::string(MasterText::ConversionFinished) + std::to_string(count) + MasterText::Calls);
    return OpenMasterFile(calls, fileName, notifier);
}

} // namespace vellum
