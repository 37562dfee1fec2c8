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

bool ReadTexts::Take(size_t index, size_t& token) {
    const size_t from = SplitAt(index);
    if (SplitAt(index + 1) == from) return false;
    token = m_runs[from].token;
    m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(from));
    return true;
}

void ReadTexts::Put(size_t index, size_t token) {
    const auto at = std::lower_bound(m_runs.begin(), m_runs.end(), index,
                                     [](const Run& run, size_t i) { return run.first < i; });
    m_runs.insert(at, Run{index, token, 1});
}

void ReadTexts::JoinRuns() {
    if (m_runs.empty()) return;
    size_t kept = 0;
    for (size_t i = 1; i < m_runs.size(); ++i) {
        Run& last = m_runs[kept];
        const Run& next = m_runs[i];
        if (last.first + last.count == next.first && last.token + last.count == next.token) {
            last.count += next.count;
        } else {
            m_runs[++kept] = next;
        }
    }
    m_runs.resize(kept + 1);
}

void ReadTexts::Swap(size_t a, size_t b) {
    if (m_runs.empty() || a == b) return;
    size_t tokenA = 0;
    size_t tokenB = 0;
    const bool heldA = Take(a, tokenA);
    const bool heldB = Take(b, tokenB);
    if (heldB) Put(a, tokenB);
    if (heldA) Put(b, tokenA);
    JoinRuns();
}

std::string_view ReadTexts::Walk::TextInRuns(size_t index) {
    const std::vector<Run>& runs = m_texts.m_runs;
    while (m_run < runs.size() && index >= runs[m_run].first + runs[m_run].count) ++m_run;
    if (m_run == runs.size() || index < runs[m_run].first) return {};
    GoTo(runs[m_run].token + (index - runs[m_run].first));
    const std::string& list = m_texts.m_list;
    if (m_end <= m_at) {
        m_end = m_at;
        while (m_end < list.size() && !IsBlank(list[m_end])) ++m_end;
    }
    return std::string_view(list).substr(m_at, m_end - m_at);
}

// Tokens are the runs between blanks, as the values were read; the list starts with one.
void ReadTexts::Walk::GoTo(size_t token) {
    const std::string& list = m_texts.m_list;
    for (; m_token < token; ++m_token) {
        m_at = std::max(m_at, m_end);
        while (m_at < list.size() && !IsBlank(list[m_at])) ++m_at;
        while (m_at < list.size() && IsBlank(list[m_at])) ++m_at;
    }
    if (m_token <= token) return;
    m_end = 0;
    for (; m_token > token; --m_token) {
        while (m_at > 0 && IsBlank(list[m_at - 1])) --m_at;
        while (m_at > 0 && !IsBlank(list[m_at - 1])) --m_at;
    }
}
