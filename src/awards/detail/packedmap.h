#pragma once
// A small open-addressing hash map keyed by a short text (up to 15 characters)
// packed into 128 bits, for the award model's lookups by WPX prefix and by call
// that must not cost a search of the log or a heap allocation.

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace vellum::detail {

/// A text of up to 15 characters: the length in the low byte, then the characters.
struct PackedKey {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    bool empty() const { return low == 0; }
    friend bool operator==(const PackedKey &, const PackedKey &) = default;
};

enum class KeyCase { Exact, Blind };

/// Packs text (cut to 15 characters); with KeyCase::Blind a..z are taken as A..Z.
inline PackedKey PackKey(std::string_view text, KeyCase keyCase)
{
    PackedKey key;
    std::size_t length = text.size() < 15 ? text.size() : 15;
    key.low = length;
    for (std::size_t i = 0; i < length; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (keyCase == KeyCase::Blind && c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - 'a' + 'A');
        std::size_t at = i + 1;
        if (at < 8)
            key.low |= static_cast<std::uint64_t>(c) << (8 * at);
        else
            key.high |= static_cast<std::uint64_t>(c) << (8 * (at - 8));
    }
    return key;
}

/// Keys must not be empty.
template <typename Value>
class PackedMap {
public:
    PackedMap() : m_slots(1024) {}

    /// The value of a key, or nullptr.
    Value *Find(const PackedKey &key)
    {
        for (std::size_t i = slotOf(key);; i = (i + 1) & (m_slots.size() - 1)) {
            if (m_slots[i].first == key)
                return &m_slots[i].second;
            if (m_slots[i].first.empty())
                return nullptr;
        }
    }

    /// The value of a key, inserted with value when the key is new.
    Value &FindOrInsert(const PackedKey &key, Value value = {})
    {
        if (Value *found = Find(key))
            return *found;
        if (2 * (m_size + 1) > m_slots.size())
            grow();
        ++m_size;
        return place(key, std::move(value));
    }

private:
    using Slot = std::pair<PackedKey, Value>;

    std::size_t slotOf(const PackedKey &key) const
    {
        std::uint64_t h = key.low * 0x9E3779B97F4A7C15ull ^ (key.high + 0x632BE59BD9B4E019ull);
        h ^= h >> 29;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 32;
        return static_cast<std::size_t>(h) & (m_slots.size() - 1);
    }
    Value &place(const PackedKey &key, Value value)
    {
        std::size_t i = slotOf(key);
        while (!m_slots[i].first.empty())
            i = (i + 1) & (m_slots.size() - 1);
        m_slots[i] = Slot(key, std::move(value));
        return m_slots[i].second;
    }
    void grow()
    {
        std::vector<Slot> old(2 * m_slots.size());
        old.swap(m_slots);
        for (Slot &slot : old)
            if (!slot.first.empty())
                place(slot.first, std::move(slot.second));
    }

    std::vector<Slot> m_slots;
    std::size_t m_size = 0;
};

} // namespace vellum::detail
