#include "setup/configset.h"

#include "setup/detail/numberfields.h"

#include "config/configfields.h"
#include "config/configrules.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <type_traits>

namespace vellum {

namespace {

template <typename Number>
std::optional<Number> parseWhole(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+')
        text.remove_prefix(1);
    Number number{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size())
        return std::nullopt;
    return number;
}

template <typename Field>
std::string leafText(const Field &field)
{
    if constexpr (requires { Field::capacity; })
        return field.str();
    else if constexpr (std::is_same_v<Field, ByteBool>)
        return field ? "true" : "false";
    else if constexpr (std::is_same_v<Field, LeF64>) {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, field.get());
        return std::string(buffer, result.ptr);
    } else
        return std::to_string(detail::NumberOf(field));
}

template <typename Field>
void setLeaf(Field &field, std::string_view name, std::string_view value)
{
    const auto refuse = [&](const std::string &why) {
        throw SettingError(std::string(name) + "=" + std::string(value.substr(0, 40)) + ": " + why);
    };
    if constexpr (requires { Field::capacity; }) {
        field = value;
    } else if constexpr (std::is_same_v<Field, ByteBool>) {
        if (value == "true" || value == "1")
            field = true;
        else if (value == "false" || value == "0")
            field = false;
        else
            refuse("a flag is true, false, 1 or 0");
    } else if constexpr (std::is_same_v<Field, LeF64>) {
        const std::optional<double> number = parseWhole<double>(value);
        if (!number || !std::isfinite(*number))
            refuse("not a finite number");
        field = *number;
    } else {
        const auto [low, high] = detail::TypeRange<Field>();
        const std::optional<std::int64_t> number = parseWhole<std::int64_t>(value);
        if (!number || *number < low || *number > high)
            refuse("not a whole number from " + std::to_string(low) + " to " + std::to_string(high));
        detail::AssignNumber(field, *number);
    }
}

/// Calls found(field) for the leaf setting called name; false when there is none.
template <typename Record, typename Found>
bool withLeaf(Record &record, std::string_view name, Found &&found)
{
    bool seen = false;
    ForEachLeafSetting(record, [&](const std::string &path, auto &field) {
        if (!seen && path == name) {
            seen = true;
            found(field);
        }
    });
    return seen;
}

[[noreturn]] void unknownSetting(std::string_view name)
{
    throw SettingError("unknown setting '" + std::string(name.substr(0, 60)) + "' (see: config show)");
}

} // namespace

std::string SettingText(const TConfigRecord &record, std::string_view name)
{
    std::string text;
    if (!withLeaf(record, name, [&](const auto &field) { text = leafText(field); }))
        unknownSetting(name);
    return text;
}

void SetSetting(TConfigRecord &record, std::string_view name, std::string_view value)
{
    if (!withLeaf(record, name, [&](auto &field) { setLeaf(field, name, value); }))
        unknownSetting(name);
}

std::vector<SettingAdjustment> ApplySettings(TConfigRecord &record, const std::vector<std::string> &assignments)
{
    TConfigRecord changed = record;
    std::vector<std::pair<std::string, std::string>> asked;
    for (const std::string &assignment : assignments) {
        const std::size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0)
            throw SettingError("'" + assignment.substr(0, 60) + "' is not NAME=VALUE");
        const std::string name = assignment.substr(0, equals);
        const std::string_view value = std::string_view(assignment).substr(equals + 1);
        SetSetting(changed, name, value);
        // A text is compared as given, so that one cut to its capacity counts as adjusted.
        withLeaf(changed, name, [&](const auto &field) {
            using Field = std::remove_cvref_t<decltype(field)>;
            if constexpr (requires { Field::capacity; })
                asked.emplace_back(name, std::string(value));
            else
                asked.emplace_back(name, leafText(field));
        });
    }
    ClampStringLengths(changed);
    ClampSettings(changed);
    std::vector<SettingAdjustment> adjustments;
    for (const auto &[name, value] : asked) {
        const std::string stored = SettingText(changed, name);
        if (stored != value)
            adjustments.push_back({name, value, stored});
    }
    record = changed;
    return adjustments;
}

} // namespace vellum
