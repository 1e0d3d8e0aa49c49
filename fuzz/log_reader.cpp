// Fuzzes the log file reader: loading the bytes as a log, and merging them into
// a small log under every duplicate mode.

#include "logstore/logfile.h"

#include <cstdint>
#include <span>
#include <string>

namespace {

void mergeInto(std::span<const std::uint8_t> bytes, vellum::DuplicateMode mode)
{
    vellum::TQsoData log;
    for (int i = 0; i < 3; ++i) {
        auto rec = std::make_unique<vellum::TQsoRec>();
        rec->Call = "K" + std::to_string(i);
        rec->Date = static_cast<std::uint16_t>(40000 + i);
        log.AddQso(std::move(rec));
    }
    log.Notes.SetNote("K1", "op");
    vellum::ReadLogBytes(log, bytes, "fuzz.vll", vellum::LoadMode::Merge, mode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    {
        vellum::TQsoData log;
        vellum::ReadLogBytes(log, bytes, "fuzz.vll", vellum::LoadMode::Load, vellum::DuplicateMode::EmptyLog);
    }
    for (auto mode : {vellum::DuplicateMode::Stop, vellum::DuplicateMode::Replace, vellum::DuplicateMode::Ignore})
        mergeInto(bytes, mode);
    return 0;
}
