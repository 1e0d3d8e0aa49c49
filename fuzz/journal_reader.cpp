// Fuzzes the journal reader: reading the bytes as a journal and replaying what
// was read over a small log, twice.

#include "logstore/journal.h"
#include "logstore/qsodata.h"

#include <cstdint>
#include <span>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    vellum::JournalContents contents = vellum::ReadJournal(std::span<const std::uint8_t>(data, size));
    vellum::TQsoData log;
    log.Selections.push_back(vellum::AllQsosSelection());
    for (int i = 0; i < 3; ++i) {
        auto rec = std::make_unique<vellum::TQsoRec>();
        rec->Call = "K" + std::to_string(i);
        rec->Date = static_cast<std::uint16_t>(40000 + i);
        log.AddQso(std::move(rec));
    }
    vellum::ReplayJournal(log, contents.Entries);
    vellum::ReplayJournal(log, contents.Entries);
    return 0;
}
