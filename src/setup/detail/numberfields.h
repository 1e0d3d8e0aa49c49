#pragma once
// Numeric settings of any stored type (bytes, little-endian numbers, flags) as
// 64-bit numbers: read, written and the range the type holds.

#include "config/lefields.h"

#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

namespace vellum::detail {

template <typename Field>
std::int64_t NumberOf(const Field &field)
{
    if constexpr (std::is_arithmetic_v<Field>)
        return static_cast<std::int64_t>(field);
    else if constexpr (std::is_same_v<Field, ByteBool>)
        return field ? 1 : 0;
    else
        return static_cast<std::int64_t>(field.get());
}

/// Stores value; the caller has checked it against TypeRange.
template <typename Field>
void AssignNumber(Field &field, std::int64_t value)
{
    if constexpr (std::is_arithmetic_v<Field>)
        field = static_cast<Field>(value);
    else if constexpr (std::is_same_v<Field, ByteBool>)
        field = value != 0;
    else
        field = static_cast<decltype(field.get())>(value);
}

/// The smallest and largest value the field's type holds (0..1 for a flag).
template <typename Field>
std::pair<std::int64_t, std::int64_t> TypeRange()
{
    if constexpr (std::is_same_v<Field, ByteBool>)
        return {0, 1};
    else if constexpr (std::is_arithmetic_v<Field>)
        return {std::numeric_limits<Field>::min(), std::numeric_limits<Field>::max()};
    else {
        using Stored = decltype(std::declval<const Field &>().get());
        return {std::numeric_limits<Stored>::min(), std::numeric_limits<Stored>::max()};
    }
}

} // namespace vellum::detail
