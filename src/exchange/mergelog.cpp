#include "mergelog.h"

#include "logstore/qsodata.h"
#include "logstore/selection.h"

namespace vellum {

MergeResult MergeLogFile(TQsoData &log, ImportQuestions &questions, const std::string &fileName)
{
    MergeResult result;
    DuplicateMode mode = DuplicateMode::EmptyLog;
    if (log.Count() > 0) {
        std::optional<DuplicatePolicy> policy = questions.AskDuplicatePolicy();
        if (!policy)
            return result;
        mode = *policy == DuplicatePolicy::Replace  ? DuplicateMode::Replace
               : *policy == DuplicatePolicy::Ignore ? DuplicateMode::Ignore
                                                    : DuplicateMode::Stop;
    }
    const std::int64_t before = log.Count();
    result.merged = log.ReadLog(fileName, LoadMode::Merge, mode);
    result.added = log.Count() - before;
    log.notifier().information(CountedNoun(result.added, "QSO") + "added");
    return result;
}

} // namespace vellum
