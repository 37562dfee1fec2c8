#include "host/ShownTextCache.h"

#include <cstring>

namespace {
// A list box shows texts of a few bytes; the reserve is a guess that is only address space
// until it is written.
constexpr size_t kReservedBytesPerText = 8;
}  // namespace

void ShownTextCache::Keep(size_t index, std::string_view text, size_t count) {
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
}

void ShownTextCache::ForgetFrom(size_t index) {
    if (index >= Count()) return;
    m_bytes.resize(EndOf(index));
    m_ends.resize(index);
}

void ShownTextCache::Remember(std::uint64_t key, std::string_view text) {
    ShortText kept;
    if (m_resting != 0 || text.empty() || text.size() > sizeof kept.text) return;
    kept.size = static_cast<std::uint8_t>(text.size());
    std::memcpy(kept.text, text.data(), text.size());
    m_remembered.Remember(key, kept);
}

void ShownTextCache::Clear() {
    ForgetFrom(0);
    m_remembered.Clear();
    m_looks = m_found = m_resting = 0;
}
