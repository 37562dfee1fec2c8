#include "toolpath/exchange/GcodeReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "base/CharClass.h"
#include "base/EscapedText.h"
#include "base/RunningSum.h"
#include "base/SourcePlace.h"
#include "base/TextLines.h"
#include "base/numbertext/Layout.h"
#include "base/numbertext/Parse.h"
#include "toolpath/element/PathError.h"
#include "toolpath/exchange/ArcChords.h"

namespace {

// More chords than this for one arc is a tolerance typed wrong, not a path to follow.
constexpr double kMostChordsPerArc = 1e6;
// An arc's end may lie this much (relative to its radius) off the circle, besides the tolerance.
constexpr double kRadiusSlack = 1e-3;
// Refusals named one by one; a file with more is named wrong throughout.
constexpr size_t kMostRefusals = 100;
// Lines a warning names besides its first.
constexpr size_t kMostWarningLines = 5;
// Digits of a number summed as a whole number: fifteen stay below 2^53, so their sum is exact.
constexpr size_t kSummedDigits = 15;

struct Word {
    char letter = 0;
    double value = 0.0;
    std::string_view text;     // as written, for messages
    std::uint32_t column = 0;  // where it starts on its line, from 1; 0 when not written there
};

enum class Motion { None, Rapid, Feed, Clockwise, CounterClockwise };
enum class Plane { XY, ZX, YZ };

// G words by modal group: two of one group on a line contradict each other.
enum Group { kMotion, kPlane, kUnits, kDistance, kNoEffect, kGroupCount };

// The words of one line, sorted by what they do.
struct LineWords {
    std::array<const Word*, kGroupCount> g{};
    std::array<int, kGroupCount> gNumber{};
    std::array<const Word*, 3> axis{};    // X, Y, Z
    std::array<const Word*, 3> offset{};  // I, J, K
    const Word* radius = nullptr;
    const Word* feed = nullptr;
    const Word* lengthWord = nullptr;    // H
    std::array<const Word*, 2> pq{};     // P, Q: a dwell's time, G64's tolerances
    const Word* dwell = nullptr;         // G4
    const Word* home = nullptr;          // G28, G30
    const Word* lengthOffset = nullptr;  // G43, G44
    const Word* blending = nullptr;      // G64
    bool dropAxes = false;               // the axis words belong to a word that is left out
    bool lengthLine = false;             // G43 or G44 stands on the line, refused or left out
    bool subProgram = false;             // M98 or M99 stands on the line
};

// Thrown to leave a line whose refusal has been noted.
struct LineRefused {};

// The axes (a, b, c) of each plane: the two it spans and the one across it, as X = 0, Y = 1,
// Z = 2. Viewed from the positive c axis, G3 turns from a towards b.
constexpr std::array<int, 3> kPlaneAxes[] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};
constexpr const char* kPlaneNames[] = {"G17 (XY)", "G18 (ZX)", "G19 (YZ)"};
constexpr char kOffsetLetters[] = {'I', 'J', 'K'};

std::string Number(double value) { return numbertext::Significant(value, 6).Str(); }

// UTF-8 continuation bytes carry no character of their own, so they take no column.
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::uint32_t ContinuationBytesIn(std::string_view text) {
    return static_cast<std::uint32_t>(std::count_if(text.begin(), text.end(), IsContinuationByte));
}

// Why a G word that the import does not follow is refused.
const char* RefusalOf(int number) {
    switch (number) {
        case 10:
        case 92:
            return "setting coordinate offsets is not supported";
        case 15:
        case 16:
            return "polar coordinates are not supported";
        case 41:
        case 42:
            return "cutter compensation is not supported";
        case 50:
        case 51:
            return "scaling is not supported";
        case 53:
            return "machine coordinates are not supported";
        case 68:
        case 69:
            return "coordinate rotation is not supported";
        case 93:
        case 95:
            return "only feeds in units per minute (G94) are supported";
        default:
            break;
    }
    if (number >= 55 && number <= 59)
        return "work offsets other than G54 are not supported (the path is read from the "
               "program's zero point)";
    if (number == 73 || number == 74 || number == 76 || (number >= 81 && number <= 89))
        return "canned cycles are not supported";
    return "not supported";
}

// The group of a G word the import follows, or kGroupCount when it refuses it.
Group GroupOf(int number) {
    switch (number) {
        case 0:
        case 1:
        case 2:
        case 3:
            return kMotion;
        case 17:
        case 18:
        case 19:
            return kPlane;
        case 20:
        case 21:
            return kUnits;
        case 90:
        case 91:
            return kDistance;
        case 40:  // the states these cancel are the ones the import assumes
        case 49:
        case 80:
        case 94:
        case 54:  // the one work system: positions are from the program's zero point
        case 61:  // exact stop and blending: the controller joins the segments its own way
        case 64:
            return kNoEffect;
        default:
            return kGroupCount;
    }
}

// Why a word of no effect on the path is left out, for its warning.
const char* NoEffectWarning(int number) {
    switch (number) {
        case 40:
            return "cutter compensation off: the import follows the programmed path anyway";
        case 49:
            return "tool length compensation off: the import reads Z as programmed anyway";
        case 80:
            return "canned cycles off: the import has none on";
        case 94:
            return "feeds per minute: the import reads F so anyway";
        case 54:
            return "the only work system: the path is read from the program's zero point";
        case 61:
            return "exact stop: the controller joins the element's segments its own way";
        case 64:
            return "path blending: the controller joins the element's segments its own way";
        default:
            return "has no effect on the path";
    }
}

// Words whose axis words are data of their own (a point, an offset, a dwell): left out, they
// take the line's axis words with them.
bool TakesTheAxisWords(int number) {
    return number == 4 || number == 10 || number == 28 || number == 30 || number == 53 ||
           number == 92 || number == 73 || number == 74 || number == 76 ||
           (number >= 81 && number <= 89);
}

constexpr std::string_view kIgnorableLetters = "ABCUVW";

std::string WordName(char letter, double value) {
    return std::string(1, letter) + numbertext::Significant(value, 6).Str();
}

}  // namespace

std::string AddIgnoredWords(std::string_view list, GcodeOptions& options) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string_view::npos) end = list.size();
        std::string word;
        for (char c : list.substr(start, end - start))
            if (!IsBlankOrCr(c)) word += ToUpper(c);
        start = end + 1;
        if (word.empty()) continue;
        if (word.size() == 1 && kIgnorableLetters.find(word[0]) != std::string_view::npos) {
            options.ignoredLetters += word;
            continue;
        }
        double number = 0.0;
        const bool isG = word[0] == 'G' && word.size() > 1 &&
                         numbertext::ParseNumber(std::string_view(word).substr(1), number) ==
                             numbertext::ParseResult::Ok &&
                         number >= 0.0 && number <= 999.0 && number == std::floor(number);
        if (!isG)
            return Quoted(word) +
                   " is not a word that can be ignored (a G word such as G43, or A, B, C, U, V, "
                   "W)";
        const Group group = GroupOf(static_cast<int>(number));
        if (group != kGroupCount && group != kNoEffect)
            return Quoted(word) + " is followed by the import; it cannot be ignored";
        options.ignoredG.push_back(static_cast<int>(number));
    }
    return "";
}

namespace {

class Interpreter {
  public:
    Interpreter(const std::string& fileName, const GcodeOptions& options)
        : m_fileName(fileName), m_options(options) {
        m_path.units.position = {"mm", "mm", "mm"};
        m_path.units.speed = "mm/s";
    }

    void ReadLine(std::string_view line, std::uint32_t number) {
        m_line = number;
        ++m_path.counts.lines;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] == '%') return;
        if (line[first] == '/') {
            Warn("/", "block delete: the line is skipped, as with block delete on");
            return;
        }
        try {
            SplitWords(line);
            if (m_words.empty()) return;
            LineWords words = SortWords();
            ResolveLineWords(words);
            Apply(words);
        } catch (const LineRefused&) {
            // Noted; the next line is read.
        }
    }

    ImportedPath Finish() {
        if (!m_refusals.empty()) {
            if (m_refusalCount > m_refusals.size())
                m_refusals.push_back(PlaceMessage(
                    {m_fileName}, "and " + std::to_string(m_refusalCount - m_refusals.size()) +
                                      " more refusals"));
            throw PathError(std::move(m_refusals));
        }
        for (const WarningGroup& group : m_warningGroups) m_path.warnings.push_back(Text(group));
        if (m_rapidsAtFeed > 0) {
            m_path.warnings.push_back(PlaceMessage(
                {m_fileName, m_firstRapidAtFeed},
                std::to_string(m_rapidsAtFeed) +
                    " G0 moves run at the current feed; give --rapid SPEED for a speed of their "
                    "own"));
        }
        if (m_firstMoveWithoutFeed > 0) {
            m_path.warnings.push_back(
                PlaceMessage({m_fileName, m_firstMoveWithoutFeed},
                             "moves before the first F keep the speed the controller has"));
        }
        return std::move(m_path);
    }

  private:
    // Notes a refusal; the line goes on without the word. A word not written on the line (the
    // motion mode of an earlier one) has no column.
    void Note(std::string_view text, std::uint32_t column, const std::string& problem) {
        if (++m_refusalCount > kMostRefusals) return;
        m_refusals.push_back(
            PlaceMessage({m_fileName, m_line, column}, QuoteForMessage(text), problem));
    }

    void Note(const Word& word, const std::string& problem) {
        Note(word.text, word.column, problem);
    }

    // Notes a refusal and leaves the line.
    [[noreturn]] void Refuse(std::string_view text, std::uint32_t column,
                             const std::string& problem) {
        Note(text, column, problem);
        throw LineRefused();
    }

    [[noreturn]] void Refuse(const Word& word, const std::string& problem) {
        Refuse(word.text, word.column, problem);
    }

    // Notes a refusal that every later line would repeat, and stops with those noted so far.
    [[noreturn]] void Stop(const Word& word, const std::string& problem) {
        Note(word, problem);
        throw PathError(std::move(m_refusals));
    }

    // Words of the same warning are told once, with the lines they stand on.
    struct WarningGroup {
        std::string word;
        std::string problem;
        std::uint32_t firstLine = 0;
        std::vector<std::uint32_t> moreLines;
        std::size_t count = 0;
    };

    void Warn(const std::string& word, const std::string& problem) {
        ++m_path.counts.wordsWithWarnings;
        for (WarningGroup& group : m_warningGroups) {
            if (group.word != word || group.problem != problem) continue;
            if (++group.count <= kMostWarningLines + 1) group.moreLines.push_back(m_line);
            return;
        }
        m_warningGroups.push_back({word, problem, m_line, {}, 1});
    }

    void Warn(const Word& word, const std::string& problem) {
        Warn(WordName(word.letter, word.value), problem);
    }

    std::string Text(const WarningGroup& group) const {
        std::string problem = group.problem;
        if (group.count > 1) {
            problem += " (" + std::to_string(group.count) + " lines; also line";
            problem += group.moreLines.size() > 1 ? "s " : " ";
            for (size_t i = 0; i < group.moreLines.size() && i < kMostWarningLines; ++i)
                problem += (i > 0 ? ", " : "") + std::to_string(group.moreLines[i]);
            if (group.count - 1 > kMostWarningLines) problem += ", ...";
            problem += ")";
        }
        return PlaceMessage({m_fileName, group.firstLine}, group.word, problem);
    }

    // Bytes that do not print are shown by their code, so the message stays readable.
    [[noreturn]] void RefuseCharacter(char c, std::uint32_t column) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte < 0x7f) Refuse(std::string(1, c), column, "unexpected character");
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", byte);
        Refuse(std::string("byte ") + code, column, "unexpected character");
    }

    // Columns count characters, a tab as one. Outside comments every character the reader
    // takes is one byte, so only the comments' multi-byte characters are subtracted.
    void SplitWords(std::string_view line) {
        m_words.clear();
        std::uint32_t extraBytes = 0;
        size_t i = 0;
        while (i < line.size()) {
            const char c = line[i];
            const auto column = static_cast<std::uint32_t>(i + 1) - extraBytes;
            if (IsBlankOrCr(c)) {
                ++i;
            } else if (c == '(') {
                const size_t close = line.find(')', i);
                if (close == std::string_view::npos)
                    Refuse(line.substr(i), column, "the comment is not closed");
                extraBytes += ContinuationBytesIn(line.substr(i, close - i));
                i = close + 1;
            } else if (c == ';') {
                return;
            } else if (IsLetter(c)) {
                i = ReadWord(line, i, column);
            } else {
                RefuseCharacter(c, column);
            }
        }
    }

    // Reads the word at start (a letter, blanks allowed, then a number) and returns its end.
    size_t ReadWord(std::string_view line, size_t start, std::uint32_t column) {
        size_t i = start + 1;
        while (i < line.size() && IsBlankOrCr(line[i])) ++i;
        const size_t numberStart = i;
        const bool negative = i < line.size() && line[i] == '-';
        if (i < line.size() && (line[i] == '+' || line[i] == '-')) ++i;
        // The digits are summed as they are found: most numbers are exact quotients of them,
        // and need no reading of their own.
        std::uint64_t whole = 0;
        size_t digits = 0;
        int places = 0;
        const auto takeDigits = [&](bool fraction) {
            for (; i < line.size() && IsDigit(line[i]); ++i, ++digits) {
                if (digits < kSummedDigits)
                    whole = whole * 10 + static_cast<std::uint64_t>(line[i] - '0');
                if (fraction) ++places;
            }
        };
        takeDigits(false);
        if (i < line.size() && line[i] == '.') {
            ++i;
            takeDigits(true);
        }
        Word word;
        word.letter = ToUpper(line[start]);
        word.text = line.substr(start, i - start);
        word.column = column;
        if (digits == 0) Refuse(word, "a number must follow the letter");
        if (digits <= kSummedDigits && numbertext::ExactQuotient(whole, places, word.value)) {
            // A zero is read without its sign.
            if (negative && whole != 0) word.value = -word.value;
        } else if (numbertext::ParseNumber(line.substr(numberStart, i - numberStart), word.value) !=
                   numbertext::ParseResult::Ok) {
            Refuse(word, "the number is out of range");
        }
        m_words.push_back(word);
        return i;
    }

    LineWords SortWords() {
        LineWords sorted;
        for (const Word& word : m_words) SortWord(word, sorted);
        return sorted;
    }

    void SortWord(const Word& word, LineWords& sorted) {
        if (m_options.ignoredLetters.find(word.letter) != std::string::npos) {
            Warn(std::string(1, word.letter), "left out, as --ignore asks");
            return;
        }
        switch (word.letter) {
            case 'G':
                return SortG(word, sorted);
            case 'X':
            case 'Y':
            case 'Z':
                return Place(word, sorted.axis[static_cast<size_t>(word.letter - 'X')]);
            case 'I':
            case 'J':
            case 'K':
                return Place(word, sorted.offset[static_cast<size_t>(word.letter - 'I')]);
            case 'R':
                return Place(word, sorted.radius);
            case 'F':
                return Place(word, sorted.feed);
            case 'N':  // line and program numbers
            case 'O':
                return;
            case 'M':
                return IgnoreM(word, sorted);
            case 'H':
                ++m_path.counts.wordsIgnored;
                return Place(word, sorted.lengthWord);
            case 'P':
            case 'Q':
                return Place(word, sorted.pq[word.letter == 'P' ? 0 : 1]);
            case 'S':
            case 'T':
            case 'D':
                ++m_path.counts.wordsIgnored;
                return;
            case 'A':
            case 'B':
            case 'C':
            case 'U':
            case 'V':
            case 'W':
                return Note(word, "the element has no such axis (only X, Y and Z); give --ignore " +
                                      std::string(1, word.letter) +
                                      " when the axis stays where it is");
            default:
                return Note(word, "not supported");
        }
    }

    // A second word for one slot is refused; the line goes on with the first.
    void Place(const Word& word, const Word*& slot) {
        if (slot) return Note(word, "the line already has " + std::string(slot->text));
        slot = &word;
    }

    // Machine functions do not move the path, except calls of sub-programs, whose moves the
    // import would lose.
    void IgnoreM(const Word& word, LineWords& sorted) {
        if (word.value == 98.0 || word.value == 99.0) {
            sorted.subProgram = true;  // its P names the program
            return Note(word, "sub-programs are not supported");
        }
        ++m_path.counts.wordsIgnored;
    }

    bool IsIgnored(int g) const {
        return std::find(m_options.ignoredG.begin(), m_options.ignoredG.end(), g) !=
               m_options.ignoredG.end();
    }

    void SortG(const Word& word, LineWords& sorted) {
        const double number = word.value;
        if (number < 0.0 || number > 999.0 || number != std::floor(number))
            return Note(word, "not supported");
        const int g = static_cast<int>(number);
        sorted.lengthLine = sorted.lengthLine || g == 43 || g == 44;
        if (IsIgnored(g)) {
            Warn(word, TakesTheAxisWords(g)
                           ? "left out with the line's axis words, as --ignore asks"
                           : "left out, as --ignore asks");
            sorted.dropAxes = sorted.dropAxes || TakesTheAxisWords(g);
            return;
        }
        switch (g) {
            case 4:
                return Place(word, sorted.dwell);
            case 28:
            case 30:
                return Place(word, sorted.home);
            case 43:
            case 44:
                return Place(word, sorted.lengthOffset);
            default:
                break;
        }
        const Group group = GroupOf(g);
        if (group == kGroupCount) {
            // Its axis words are its own data; refused with it, they would only be refused again.
            sorted.dropAxes = sorted.dropAxes || TakesTheAxisWords(g);
            return Note(word, RefusalOf(g));
        }
        if (group == kNoEffect) {
            Warn(word, NoEffectWarning(g));
            if (g == 64) sorted.blending = &word;
            return;
        }
        Place(word, sorted.g[group]);
        sorted.gNumber[group] = g;
    }

    bool HasAxisWord(const LineWords& words) const {
        return std::any_of(words.axis.begin(), words.axis.end(), [](const Word* w) { return w; });
    }

    // The words whose meaning depends on the rest of their line.
    void ResolveLineWords(LineWords& words) {
        if (words.dwell) {
            // A dwell's time is P, or on some controls X.
            Warn(*words.dwell, "the element cannot dwell; the dwell is left out");
            words.pq[0] = nullptr;
            words.axis[0] = nullptr;
        }
        if (words.home) ResolveHome(words);
        if (words.lengthOffset) ResolveLengthOffset(words);
        if (words.dropAxes) {
            words.axis = {};
            words.radius = nullptr;  // a canned cycle's retract plane
        }
        // Programs take the tool to its first height on the G43 line before any G0: a control
        // starts in rapid motion.
        if (words.lengthLine && m_motion == Motion::None && !words.g[kMotion])
            m_motion = Motion::Rapid;
        const bool pqTaken = words.blending || words.dropAxes || words.subProgram;
        for (const Word* pq : words.pq) {
            if (pq && !pqTaken) Note(*pq, "not supported (P and Q belong to G4 and G64 here)");
        }
    }

    void ResolveHome(LineWords& words) {
        const std::string name = WordName('G', words.home->value);
        if (!HasAxisWord(words)) {
            Warn(*words.home, "without axis words it moves nothing; left out");
            return;
        }
        Note(*words.home,
             "returning to the home position moves the machine off the path; give "
             "--ignore " +
                 name + " when it only ends the program");
        words.axis = {};
    }

    void ResolveLengthOffset(LineWords& words) {
        const std::string name = WordName('G', words.lengthOffset->value);
        if (words.lengthWord && words.lengthWord->value == 0.0) {
            Warn(*words.lengthOffset, "with H0 it offsets nothing; left out");
            return;
        }
        const std::string length =
            words.lengthWord ? " (" + std::string(words.lengthWord->text) + ")" : "";
        Note(*words.lengthOffset,
             "tool length compensation" + length +
                 " moves Z by a length the file does not give; give --ignore " + name +
                 " when Z is programmed for the tool's tip");
    }

    void Apply(const LineWords& words) {
        if (words.g[kUnits]) m_unitScale = words.gNumber[kUnits] == 20 ? kMillimetresPerInch : 1.0;
        if (words.g[kPlane]) m_plane = static_cast<Plane>(words.gNumber[kPlane] - 17);
        if (words.g[kDistance]) m_incremental = words.gNumber[kDistance] == 91;
        if (words.feed) {
            if (!(words.feed->value > 0.0)) Refuse(*words.feed, "a feed must be above 0");
            m_feed = words.feed->value * m_unitScale / 60.0;
        }
        if (words.g[kMotion]) m_motion = static_cast<Motion>(words.gNumber[kMotion] + 1);

        const Word* first = FirstGeometryWord(words);
        if (!first) return;
        if (m_motion == Motion::None)
            Refuse(*first, "no motion mode (G0, G1, G2 or G3) is in effect");
        if (words.axis[2] && !m_options.threeAxes)
            Refuse(*words.axis[2], "a 2D element has no Z axis");
        const std::array<RunningSum, 3> target = Target(words);
        // A refused move still ends where it was programmed to, so that the moves after it are
        // judged from there.
        try {
            AddMotion(words, target);
        } catch (const LineRefused&) {
            m_position = target;
            throw;
        }
        m_position = target;
    }

    void AddMotion(const LineWords& words, const std::array<RunningSum, 3>& target) {
        if (m_motion == Motion::Rapid || m_motion == Motion::Feed) {
            if (const Word* arcWord = FirstArcWord(words))
                Refuse(*arcWord, "I, J, K and R belong to arcs (G2, G3)");
            CheckRoomFor(1, *FirstGeometryWord(words));
            AddMove(ValueOf(target), SpeedOfMove());
        } else {
            AddArc(words, ValueOf(target));
        }
    }

    static const Word* FirstArcWord(const LineWords& words) {
        for (const Word* offset : words.offset)
            if (offset) return offset;
        return words.radius;
    }

    static const Word* FirstGeometryWord(const LineWords& words) {
        for (const Word* axis : words.axis)
            if (axis) return axis;
        return FirstArcWord(words);
    }

    std::array<RunningSum, 3> Target(const LineWords& words) const {
        std::array<RunningSum, 3> target = m_position;
        for (size_t i = 0; i < 3; ++i) {
            if (!words.axis[i]) continue;
            const double value = words.axis[i]->value * m_unitScale;
            if (m_incremental)
                target[i].Add(value);
            else
                target[i].Set(value);
        }
        return target;
    }

    static Vec3 ValueOf(const std::array<RunningSum, 3>& sums) {
        return {sums[0].Value(), sums[1].Value(), sums[2].Value()};
    }

    double SpeedOfMove() {
        if (m_motion == Motion::Rapid && m_options.rapid) {
            const ProgramQuantity& rapid = *m_options.rapid;
            return rapid.inProgramUnits ? rapid.value * m_unitScale / 60.0 : rapid.value;
        }
        if (m_motion == Motion::Rapid && m_rapidsAtFeed++ == 0) m_firstRapidAtFeed = m_line;
        if (m_feed == 0.0 && m_firstMoveWithoutFeed == 0) m_firstMoveWithoutFeed = m_line;
        return m_feed;
    }

    // Stops at the word whose moves would pass the bound, before they are made: every later
    // move would pass it too.
    void CheckRoomFor(size_t moves, const Word& word) {
        if (moves > m_options.maxSegments - std::min(m_options.maxSegments, m_path.moves.size()))
            Stop(word, TooManySegments(m_options.maxSegments));
    }

    // A speed is written only where it changes; zero keeps the one before.
    void AddMove(const Vec3& end, double speed) {
        PathMove move;
        move.end = end;
        move.line = m_line;
        if (speed > 0.0 && speed != m_lastSpeed) {
            move.speed = speed;
            m_lastSpeed = speed;
        }
        m_path.moves.push_back(move);
    }

    void AddArc(const LineWords& words, const Vec3& end) {
        const Word modal{'G', 0.0, m_motion == Motion::Clockwise ? "G2" : "G3", 0};
        const Word& word = words.g[kMotion] ? *words.g[kMotion] : modal;
        const auto& axes = kPlaneAxes[static_cast<size_t>(m_plane)];
        if (!m_options.threeAxes && m_plane != Plane::XY)
            Refuse(word, std::string("an arc in the ") + kPlaneNames[static_cast<size_t>(m_plane)] +
                             " plane moves Z, which a 2D element does not have");
        const Vec3 start = ValueOf(m_position);
        PlaneArc arc;
        arc.clockwise = m_motion == Motion::Clockwise;
        for (size_t i = 0; i < 3; ++i) {
            arc.start[i] = start[static_cast<size_t>(axes[i])];
            arc.end[i] = end[static_cast<size_t>(axes[i])];
        }
        PlaceCentre(words, word, arc);
        const double tolerance = ToleranceInMillimetres();
        CheckRadii(arc, word, tolerance);
        const double chordTolerance = tolerance - m_options.roundingAllowance;
        // The same for every arc: named once, and the reading stops there.
        if (!(chordTolerance > 0.0))
            Stop(word, "the tolerance (" + Number(tolerance) +
                           " mm) is not above what rounding to counts may add (" +
                           Number(m_options.roundingAllowance) + " mm); give a larger --tolerance");
        const double radius = std::max(RadiusAt(arc, arc.start), RadiusAt(arc, arc.end));
        const double chords = ChordCount(radius, ArcSweep(arc), chordTolerance);
        if (!(chords <= kMostChordsPerArc))
            Refuse(word, "the arc needs more than " + Number(kMostChordsPerArc) +
                             " chords; give a larger --tolerance");
        CheckRoomFor(static_cast<size_t>(chords), word);
        m_chords.clear();
        AppendChords(arc, static_cast<size_t>(chords), m_chords);
        const double speed = SpeedOfMove();
        for (const Vec3& chordEnd : m_chords) {
            Vec3 point{};
            for (size_t i = 0; i < 3; ++i) point[static_cast<size_t>(axes[i])] = chordEnd[i];
            AddMove(point, speed);
        }
        ++m_path.counts.arcs;
        m_path.counts.chords += m_chords.size();
    }

    double ToleranceInMillimetres() const {
        const ProgramQuantity& tolerance = m_options.tolerance;
        return tolerance.inProgramUnits ? tolerance.value * m_unitScale : tolerance.value;
    }

    void PlaceCentre(const LineWords& words, const Word& word, PlaneArc& arc) {
        const auto& axes = kPlaneAxes[static_cast<size_t>(m_plane)];
        if (words.radius) {
            if (FirstArcWord(words) != words.radius)
                Refuse(*words.radius, "give either R or I, J, K, not both");
            return PlaceCentreByRadius(*words.radius, arc);
        }
        const Word* across = words.offset[static_cast<size_t>(axes[2])];
        if (across)
            Refuse(*across, std::string(1, kOffsetLetters[axes[2]]) + " is not an offset in the " +
                                kPlaneNames[static_cast<size_t>(m_plane)] + " plane");
        const Word* offsetA = words.offset[static_cast<size_t>(axes[0])];
        const Word* offsetB = words.offset[static_cast<size_t>(axes[1])];
        if (!offsetA && !offsetB) Refuse(word, "an arc needs its centre (I, J, K) or R");
        arc.centreA = arc.start[0] + (offsetA ? offsetA->value * m_unitScale : 0.0);
        arc.centreB = arc.start[1] + (offsetB ? offsetB->value * m_unitScale : 0.0);
    }

    // The centre lies left of the chord for a counterclockwise arc under half a turn; a
    // negative R asks for the arc over half a turn.
    void PlaceCentreByRadius(const Word& radiusWord, PlaneArc& arc) {
        const double dA = arc.end[0] - arc.start[0];
        const double dB = arc.end[1] - arc.start[1];
        const double distance = std::hypot(dA, dB);
        if (distance == 0.0)
            Refuse(radiusWord,
                   "an R arc cannot end where it starts; give I, J, K for a full circle");
        const double radius = std::abs(radiusWord.value) * m_unitScale;
        double across = radius * radius - distance * distance / 4.0;
        if (across < 0.0) {
            if (distance / 2.0 - radius > ToleranceInMillimetres())
                Refuse(radiusWord, "the radius is less than half the way to the end point");
            across = 0.0;
        }
        const double side = (arc.clockwise ? -1.0 : 1.0) * (radiusWord.value < 0.0 ? -1.0 : 1.0);
        const double h = side * std::sqrt(across) / distance;
        arc.centreA = arc.start[0] + dA / 2.0 - h * dB;
        arc.centreB = arc.start[1] + dB / 2.0 + h * dA;
    }

    void CheckRadii(const PlaneArc& arc, const Word& word, double tolerance) {
        const double startRadius = RadiusAt(arc, arc.start);
        const double endRadius = RadiusAt(arc, arc.end);
        if (startRadius == 0.0) Refuse(word, "the arc's centre is its start point");
        const double off = std::abs(endRadius - startRadius);
        if (off > std::max(tolerance, kRadiusSlack * startRadius))
            Refuse(word, "the end point lies " + Number(off) + " mm off the arc's circle (radius " +
                             Number(startRadius) + " mm at the start, " + Number(endRadius) +
                             " mm at the end)");
    }

    const std::string& m_fileName;
    const GcodeOptions& m_options;
    ImportedPath m_path;
    std::vector<Word> m_words;
    std::vector<Vec3> m_chords;
    std::uint32_t m_line = 0;
    std::array<RunningSum, 3> m_position{};
    Motion m_motion = Motion::None;
    Plane m_plane = Plane::XY;
    double m_unitScale = 1.0;  // millimetres per program unit
    bool m_incremental = false;
    double m_feed = 0.0;       // mm/s; 0 before the first F
    double m_lastSpeed = 0.0;  // the speed the last move set
    std::vector<std::string> m_refusals;
    std::size_t m_refusalCount = 0;
    std::vector<WarningGroup> m_warningGroups;
    std::size_t m_rapidsAtFeed = 0;
    std::uint32_t m_firstRapidAtFeed = 0;
    std::uint32_t m_firstMoveWithoutFeed = 0;
};

}  // namespace

ImportedPath ReadGcode(std::string_view text, const std::string& fileName,
                       const GcodeOptions& options) {
    Interpreter interpreter(fileName, options);
    ForEachLine(text, [&](std::string_view line, std::uint32_t number) {
        interpreter.ReadLine(line, number);
    });
    return interpreter.Finish();
}
