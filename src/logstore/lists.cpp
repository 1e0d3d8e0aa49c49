#include "lists.h"

namespace vellum {

namespace {
SortIndicatorHook &sortHook()
{
    static SortIndicatorHook hook;
    return hook;
}
} // namespace

void SetSortIndicatorHook(SortIndicatorHook hook) { sortHook() = std::move(hook); }

void NotifySortIndicator(bool begin)
{
    if (sortHook())
        sortHook()(begin);
}

} // namespace vellum
