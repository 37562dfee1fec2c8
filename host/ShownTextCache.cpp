#include "host/ShownTextCache.h"

namespace {
// A list box shows texts of a few bytes; the reserve is a guess that is only address space
// until it is written.
constexpr size_t kReservedBytesPerText = 8;
}  // namespace

void ShownTextCache::Keep(size_t index, std::string_view text, size_t count, std::uint64_t key) {
    if (index < Count()) return;
    // Offsets must fit beside the marks; beyond that the texts are simply not kept.
    if (m_bytes.size() + text.size() > kOffset) return;
    if (m_ends.empty()) {
        m_ends.reserve(count);
        m_bytes.reserve(count * kReservedBytesPerText);
    }
    const auto before = static_cast<std::uint32_t>(m_bytes.size());
    m_ends.resize(index, before | kNotKept);
    m_bytes += text;
    m_ends.push_back(static_cast<std::uint32_t>(m_bytes.size()));
    m_recent[RecentSlot(key)] = static_cast<std::uint32_t>(index);
}

void ShownTextCache::ForgetFrom(size_t index) {
    if (index >= Count()) return;
    m_bytes.resize(EndOf(index));
    m_ends.resize(index);
}
