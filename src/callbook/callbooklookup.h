#pragma once
// Looking calls up in the callbook data of other makers. Each data source is a
// shared library a maker ships, dropped into the EXTDATA folder under its
// source's name; the library stays loaded between lookups and is replaced only
// when another source is chosen.
//
// The entry points of a source library, all with C linkage (extern "C"):
//   Amsoft       int AmsoftLookup(const unsigned char *path, const unsigned char *call, char *buffer)
//   Buckmaster   int LookupCallSign(const char *path, const char *call, int size, char *buffer)
//   Flying Horse int rCheckDatabaseFormat(const char *path, int16_t *status, int16_t *error)
//                int rGetCallInfo(const char *path, const char *call, char *buffer, int16_t *error)
//                int rGetVersionNr(int16_t *version)
//   QRZ          int QRZInit(const char *path)
//                int QRZSearch(int kind, const char *call, const char *call2, const char *call3,
//                              char *buffer, int format)
//                int QRZExit(void)
//   Octavia      int OctaviaLookup(const unsigned char *path, const unsigned char *call, char *buffer)
// "const unsigned char *" texts are length-prefixed (a length byte, at most 255
// characters); the others are NUL-terminated. Every buffer handed over holds
// CallbookBufferSize bytes.

#include "resultlines.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vellum {

/// The data sources (F_ExtAddrType).
enum class CallbookSource : int { None = 0, Amsoft = 1, Buckmaster = 2, FlyingHorse = 3, Qrz = 4, Octavia = 5, Online = 6 };
inline constexpr int LastCallbookSource = 6;

inline constexpr std::size_t CallbookBufferSize = 4096;

/// The file name of a source's library in EXTDATA ("AMSOFT32.so", ...); empty for
/// None and the online source, which need none.
std::string CallbookLibraryName(int source);
/// The data path as handed to a library: the configured path with "/" as the
/// separator, "/" when empty, always ending in "/".
std::string CallbookDataPath(std::string_view configured);

/// A loaded shared library.
class SharedLibrary {
public:
    /// Loads the file; Loaded() tells whether it worked.
    explicit SharedLibrary(const std::string &fileName);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary &) = delete;
    SharedLibrary &operator=(const SharedLibrary &) = delete;
    bool Loaded() const { return m_handle != nullptr; }
    /// The address of an entry point; null when the library lacks it.
    void *Symbol(const char *name) const;

private:
    void *m_handle = nullptr;
};

/// The lookup state of the program: the source library loaded and its name.
class CallbookLookup {
public:
    /// extDataDir: the folder the libraries are loaded from.
    explicit CallbookLookup(std::string extDataDir);
    ~CallbookLookup();

    /// Appends the result lines for call from the source, with the data at dataPath
    /// (as configured). Messages of failures are lines too.
    void Lookup(int source, std::string_view configuredPath, std::string_view call, CallbookLines &lines);
    /// The file name of the library loaded now (empty when none).
    const std::string &LoadedName() const { return m_loadedName; }
    /// How often a library was loaded (a new source, or the first use).
    int LoadCount() const { return m_loadCount; }

private:
    bool load(int source, CallbookLines &lines);
    void amsoft(const std::string &path, std::string_view call, CallbookLines &lines);
    void buckmaster(const std::string &path, std::string_view call, CallbookLines &lines);
    void flyingHorse(const std::string &path, std::string_view call, CallbookLines &lines);
    void qrz(const std::string &path, std::string_view call, CallbookLines &lines);
    void octavia(const std::string &path, std::string_view call, CallbookLines &lines);

    std::string m_extDataDir;
    std::unique_ptr<SharedLibrary> m_library;
    std::string m_loadedName;
    int m_loadCount = 0;
};

} // namespace vellum
