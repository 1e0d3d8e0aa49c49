#include "callbooklookup.h"

#include "qslmanagerfile.h"

#include "logstore/paths.h"

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <vector>

namespace vellum {

namespace {

using ShortText = std::array<unsigned char, 256>;

/// A length-prefixed text of at most 255 characters.
ShortText shortText(std::string_view text)
{
    ShortText out{};
    std::size_t length = std::min<std::size_t>(text.size(), 255);
    out[0] = static_cast<unsigned char>(length);
    std::copy_n(text.begin(), length, out.begin() + 1);
    return out;
}

/// A buffer for a library's answer, with a NUL after its end that no library
/// is told about, so reading its text always stops.
class AnswerBuffer {
public:
    AnswerBuffer() : m_bytes(CallbookBufferSize + 1, '\0') {}
    char *data() { return m_bytes.data(); }
    std::span<const char> text() const { return {m_bytes.data(), CallbookBufferSize}; }

private:
    std::vector<char> m_bytes;
};

template <typename Function>
Function entryPoint(const SharedLibrary &library, const char *name)
{
    return reinterpret_cast<Function>(library.Symbol(name));
}

} // namespace

std::string CallbookLibraryName(int source)
{
    static const std::array<const char *, 6> names = {"", "AMSOFT32.so", "Hamcal32.so", "RACCD32a.so", "QRZ32.so",
                                                      "octavia32.so"};
    return source > 0 && source < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(source)] : "";
}

std::string CallbookDataPath(std::string_view configured)
{
    std::string path = NormalizeStoredPath(std::string(configured));
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

SharedLibrary::SharedLibrary(const std::string &fileName) : m_handle(dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL)) {}

SharedLibrary::~SharedLibrary()
{
    if (m_handle)
        dlclose(m_handle);
}

void *SharedLibrary::Symbol(const char *name) const { return m_handle ? dlsym(m_handle, name) : nullptr; }

CallbookLookup::CallbookLookup(std::string extDataDir) : m_extDataDir(std::move(extDataDir)) {}

CallbookLookup::~CallbookLookup() = default;

bool CallbookLookup::load(int source, CallbookLines &lines)
{
    std::string name = CallbookLibraryName(source);
    if (m_library && m_loadedName == name)
        return true;
    m_library.reset();
    m_loadedName.clear();
    // A path with a "/" makes dlopen take the file itself, never a library of the system.
    auto library = std::make_unique<SharedLibrary>(FindFileNoCase(m_extDataDir, name));
    if (!library->Loaded()) {
        lines.push_back("DLL not found: " + name);
        return false;
    }
    m_library = std::move(library);
    m_loadedName = name;
    ++m_loadCount;
    return true;
}

void CallbookLookup::Lookup(int source, std::string_view configuredPath, std::string_view call, CallbookLines &lines)
{
    auto kind = static_cast<CallbookSource>(source);
    if (source < static_cast<int>(CallbookSource::Amsoft) || source > static_cast<int>(CallbookSource::Octavia)) {
        lines.push_back("Unknown callbook Nr = " + std::to_string(source));
        return;
    }
    if (!load(source, lines))
        return;
    std::string path = CallbookDataPath(configuredPath);
    switch (kind) {
    case CallbookSource::Amsoft: amsoft(path, call, lines); break;
    case CallbookSource::Buckmaster: buckmaster(path + "HAM0/", call, lines); break;
    case CallbookSource::FlyingHorse: flyingHorse(path, call, lines); break;
    case CallbookSource::Qrz: qrz(path, call, lines); break;
    default: octavia(path, call, lines); break;
    }
}

namespace {

/// Calls an entry point taking the path and the call as length-prefixed texts and the
/// answer buffer; nothing when the library lacks it.
std::optional<int> callWithShortTexts(const SharedLibrary &library, const char *name, const std::string &path,
                                      std::string_view call, AnswerBuffer &buffer)
{
    using Lookup = int (*)(const unsigned char *, const unsigned char *, char *);
    auto lookup = entryPoint<Lookup>(library, name);
    if (!lookup)
        return std::nullopt;
    ShortText shortPath = shortText(path), shortCall = shortText(call);
    return lookup(shortPath.data(), shortCall.data(), buffer.data());
}

} // namespace

void CallbookLookup::amsoft(const std::string &path, std::string_view call, CallbookLines &lines)
{
    AnswerBuffer buffer;
    std::optional<int> result = callWithShortTexts(*m_library, "AmsoftLookup", path, call, buffer);
    if (!result)
        lines.emplace_back("Amsoft entry point not found");
    else if (*result == -2)
        lines.emplace_back("Amsoft data files not found");
    else if (*result == -1)
        lines.push_back(std::string(call) + " not found");
    else if (*result == 0)
        AddCarriageReturnLines(buffer.text(), lines);
}

void CallbookLookup::buckmaster(const std::string &path, std::string_view call, CallbookLines &lines)
{
    using Lookup = int (*)(const char *, const char *, int, char *);
    auto lookup = entryPoint<Lookup>(*m_library, "LookupCallSign");
    if (!lookup) {
        lines.push_back("Buckmaster DLL error:" + std::to_string(ENOENT));
        return;
    }
    AnswerBuffer buffer;
    std::string callText(call);
    int result = lookup(path.c_str(), callText.c_str(), static_cast<int>(CallbookBufferSize), buffer.data());
    if (result == -1)
        lines.push_back(callText + " not found");
    else if (result > 0)
        AddBuckmasterFields(buffer.text(), call, "----QSL info from: " + m_loadedName, lines);
    else
        lines.push_back("Buckmaster Error: " + std::to_string(result));
}

void CallbookLookup::flyingHorse(const std::string &path, std::string_view call, CallbookLines &lines)
{
    using Check = int (*)(const char *, std::int16_t *, std::int16_t *);
    using GetInfo = int (*)(const char *, const char *, char *, std::int16_t *);
    using Version = int (*)(std::int16_t *);
    auto check = entryPoint<Check>(*m_library, "rCheckDatabaseFormat");
    auto getInfo = entryPoint<GetInfo>(*m_library, "rGetCallInfo");
    auto version = entryPoint<Version>(*m_library, "rGetVersionNr");
    if (!check || !getInfo || !version) {
        lines.emplace_back("Flying Horse entry point not found");
        return;
    }
    std::int16_t status = -1, error = -1;
    check(path.c_str(), &status, &error);
    if (status != 0 || error != 0) {
        lines.emplace_back("Flying Horse Error: CheckDatabaseFormat: DLL does not match with CD");
        return;
    }
    AnswerBuffer buffer;
    std::string callText(call);
    error = 0;
    getInfo(path.c_str(), callText.c_str(), buffer.data(), &error);
    if (error == 1101) {
        lines.push_back(callText + " not found");
        return;
    }
    if (error != 0) {
        lines.push_back("Flying Horse Error: " + std::to_string(error));
        return;
    }
    std::int64_t managerRecord = AddFlyingHorseFields(buffer.text(), lines);
    std::int16_t versionNumber = 0;
    version(&versionNumber);
    if (versionNumber >= 9 && managerRecord != 0) {
        lines.push_back("----QSL info from: " + m_loadedName);
        AddQslManagerFileLines(path, static_cast<std::uint64_t>(managerRecord), call, lines);
    }
}

void CallbookLookup::qrz(const std::string &path, std::string_view call, CallbookLines &lines)
{
    using Init = int (*)(const char *);
    using Search = int (*)(int, const char *, const char *, const char *, char *, int);
    using Exit = int (*)();
    auto init = entryPoint<Init>(*m_library, "QRZInit");
    auto search = entryPoint<Search>(*m_library, "QRZSearch");
    auto exit = entryPoint<Exit>(*m_library, "QRZExit");
    if (!init || !search || !exit) {
        lines.emplace_back("QRZ entry point not found");
        return;
    }
    if (init(path.c_str()) <= 0) {
        lines.emplace_back("QRZ Error: Database not found");
        return;
    }
    AnswerBuffer buffer;
    std::string callText(call);
    int count = search(1, callText.c_str(), callText.c_str(), callText.c_str(), buffer.data(), 2);
    if (count <= 0)
        lines.push_back(callText + " not found");
    else
        AddCountedLines(buffer.text(), count, lines);
    exit();
}

void CallbookLookup::octavia(const std::string &path, std::string_view call, CallbookLines &lines)
{
    AnswerBuffer buffer;
    std::optional<int> result = callWithShortTexts(*m_library, "OctaviaLookup", path, call, buffer);
    if (!result)
        lines.emplace_back("Octavia entry point not found");
    else if (*result != 0)
        AddCarriageReturnLinesSkippingEmptyRest(buffer.text(), lines);
    else
        lines.push_back(std::string(call) + " not found");
}

} // namespace vellum
