// The texts a list of values was read from, so that a save writes a value whose count did not
// change as the user wrote it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The read list is kept once, as it was; which values still hold their read text is kept as
// runs of values that hold consecutive tokens of it, so that an untouched list costs nothing
// per value and each edit adds a run or two at most. Most edits keep the values' order; a swap
// does not, so the tokens of the values, taken in order, may also lie back in the list.
class ReadTexts {
  public:
    // Keeps list, the blank-separated tokens that count values were read from in order (the
    // blanks around it left out).
    void Keep(std::string_view list, size_t count);
    void Clear();

    // Value index no longer holds its read text.
    void Drop(size_t index);
    // A new value without a read text at index; the values from index on move up one.
    void Insert(size_t index);
    // The values from index on, count of them, are gone; those after them move down.
    void Remove(size_t index, size_t count);
    // The list is cut to count values, or lengthened with values without read texts.
    void Resize(size_t count);
    // Values a and b exchange their read texts (or the lack of one).
    void Swap(size_t a, size_t b);

    // Whether the count values are still those read, every one with its text: the list as it
    // was read then stands for them all, its spacing included. Inline: a list asks for every
    // value it shows.
    bool HoldsAll(size_t count) const {
        return count > 0 && count == m_readCount && m_runs.size() == 1 && m_runs[0].first == 0 &&
               m_runs[0].token == 0 && m_runs[0].count == count;
    }
    const std::string& List() const { return m_list; }

    // Visits the read texts of values in increasing order of index. It steps along the list
    // from one value's token to the next one's, back as well where values were swapped, so a
    // whole walk costs the list's length and the distances of the swaps.
    class Walk {
      public:
        explicit Walk(const ReadTexts& texts) : m_texts(texts) {}
        // The read text of value index (empty when it has none); index above the last asked.
        // Inline: past the last run, as in a column made without read texts, every value has
        // none.
        std::string_view TextOf(size_t index) {
            return m_run == m_texts.m_runs.size() ? std::string_view() : TextInRuns(index);
        }

      private:
        std::string_view TextInRuns(size_t index);
        void GoTo(size_t token);

        const ReadTexts& m_texts;
        size_t m_run = 0;
        size_t m_token = 0;  // the token that starts at m_at
        size_t m_at = 0;
        size_t m_end = 0;  // where that token ends, when above m_at
    };

  private:
    // Values first to first + count - 1 hold tokens token to token + count - 1.
    struct Run {
        size_t first;
        size_t token;
        size_t count;
    };

    // Splits the run holding index so that a run starts at index; the run's position.
    size_t SplitAt(size_t index);
    // Moves the runs from position on by shift values (negative: down).
    void Shift(size_t position, std::ptrdiff_t shift);
    // Value index's token, which it no longer holds; false when it held none.
    bool Take(size_t index, size_t& token);
    // Value index, which holds no token, holds token.
    void Put(size_t index, size_t token);
    // Joins neighbouring runs that hold consecutive tokens.
    void JoinRuns();

    std::string m_list;
    size_t m_readCount = 0;   // the tokens of m_list
    std::vector<Run> m_runs;  // in order, apart
};
