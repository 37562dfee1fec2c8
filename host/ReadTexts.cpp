#include "host/ReadTexts.h"

#include <algorithm>

#include "base/CharClass.h"

void ReadTexts::Keep(std::string_view list, size_t count) {
    while (!list.empty() && IsBlank(list.front())) list.remove_prefix(1);
    while (!list.empty() && IsBlank(list.back())) list.remove_suffix(1);
    m_list.assign(list);
    m_readCount = count;
    m_runs.clear();
    if (count > 0) m_runs.push_back({0, 0, count});
}

void ReadTexts::Clear() {
    m_list.clear();
    m_list.shrink_to_fit();
    m_readCount = 0;
    m_runs.clear();
}

size_t ReadTexts::SplitAt(size_t index) {
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), index,
                                        [](size_t i, const Run& run) { return i < run.first; });
    auto position = static_cast<size_t>(after - m_runs.begin());
    if (position == 0) return 0;
    Run& before = m_runs[position - 1];
    if (index >= before.first + before.count) return position;
    if (index == before.first) return position - 1;
    const size_t head = index - before.first;
    const Run tail{index, before.token + head, before.count - head};
    before.count = head;
    m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(position), tail);
    return position;
}

void ReadTexts::Shift(size_t position, std::ptrdiff_t shift) {
    for (size_t i = position; i < m_runs.size(); ++i)
        m_runs[i].first = static_cast<size_t>(static_cast<std::ptrdiff_t>(m_runs[i].first) + shift);
}

void ReadTexts::Drop(size_t index) {
    Remove(index, 1);
    Insert(index);
}

void ReadTexts::Insert(size_t index) {
    if (m_runs.empty()) return;
    Shift(SplitAt(index), 1);
}

void ReadTexts::Remove(size_t index, size_t count) {
    if (m_runs.empty() || count == 0) return;
    const size_t from = SplitAt(index);
    const size_t to = SplitAt(index + count);
    m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(from),
                 m_runs.begin() + static_cast<std::ptrdiff_t>(to));
    Shift(from, -static_cast<std::ptrdiff_t>(count));
    if (m_runs.empty()) Clear();
}

void ReadTexts::Resize(size_t count) {
    if (m_runs.empty()) return;
    // Split first: it may move the runs.
    const size_t from = SplitAt(count);
    m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(from), m_runs.end());
    if (m_runs.empty()) Clear();
}

bool ReadTexts::HoldsAll(size_t count) const {
    return count > 0 && count == m_readCount && m_runs.size() == 1 && m_runs[0].first == 0 &&
           m_runs[0].token == 0 && m_runs[0].count == count;
}

std::string_view ReadTexts::Walk::TextOf(size_t index) {
    const std::vector<Run>& runs = m_texts.m_runs;
    while (m_run < runs.size() && index >= runs[m_run].first + runs[m_run].count) ++m_run;
    if (m_run == runs.size() || index < runs[m_run].first) return {};
    const size_t token = runs[m_run].token + (index - runs[m_run].first);
    const std::string& list = m_texts.m_list;
    // Tokens are the runs between blanks, as the values were read.
    const auto skipBlanks = [&] {
        while (m_at < list.size() && IsBlank(list[m_at])) ++m_at;
    };
    const auto skipToken = [&] {
        while (m_at < list.size() && !IsBlank(list[m_at])) ++m_at;
    };
    skipBlanks();
    for (; m_token < token; ++m_token) {
        skipToken();
        skipBlanks();
    }
    const size_t start = m_at;
    skipToken();
    ++m_token;
    return std::string_view(list).substr(start, m_at - start);
}
