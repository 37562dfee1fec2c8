// The floor of this machine: the least a program must do for each benchmarked command. It
// parses the numbers with fast_float and prints with std::to_chars into one preallocated
// buffer, with nothing else in between: no units, no checks, no dialog.
//
//   vantrel_floor program ELEMENT        the program text of the element on standard output
//   vantrel_floor element ELEMENT OUTPUT the element text, written to OUTPUT and synced
//   vantrel_floor lines LINES OUTPUT     the element text of a segment file, written likewise
//   vantrel_floor gcode PROGRAM OUTPUT   the element of a program of G1 moves, written likewise
//
// It knows the benchmark's elements only (three axes in mm on the demo project, accelerations
// in m/s^2, speeds in m/s): for them it prints the texts vantrel prints, byte for byte. A value
// read from an element keeps its text; a value made anew is written at the fewest digits that
// read back to its count.
#include <fast_float/fast_float.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr int kColumns = 5;
constexpr const char* kEntries[kColumns] = {
    "X_TPOS[mm]=", "Y_TPOS[mm]=", "Z_TPOS[mm]=", "CACC[m/s^2]=", "CSPD[m/s]="};
constexpr int kFirstDynamics = 3;  // acceleration and speed follow the three positions
// The demo project's controller counts a micrometre, and a speed in mm/s.
constexpr double kCountsPerUnit = 1000.0;

struct Buffer {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    std::string_view View() const { return {bytes.get(), size}; }
};

Buffer ReadFile(const char* path) {
    Buffer file;
    const int fd = open(path, O_RDONLY);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) return file;
    file.bytes.reset(new char[static_cast<size_t>(info.st_size)]);
    while (file.size < static_cast<size_t>(info.st_size)) {
        const ssize_t got =
            read(fd, file.bytes.get() + file.size, static_cast<size_t>(info.st_size) - file.size);
        if (got <= 0) break;
        file.size += static_cast<size_t>(got);
    }
    close(fd);
    return file;
}

bool WriteAll(int fd, const char* bytes, size_t size) {
    while (size > 0) {
        const ssize_t put = write(fd, bytes, size);
        if (put <= 0) return false;
        bytes += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

const char* SkipBlanks(const char* p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\r')) ++p;
    return p;
}

using Columns = std::vector<double>[kColumns];
// Each value's text as read, for the element written back.
using Texts = std::vector<std::string_view>[kColumns];

void ParseElement(std::string_view text, Columns& columns, Texts* texts = nullptr) {
    for (int c = 0; c < kColumns; ++c) {
        // A two-axis element has no Z entry: its column stays empty and is not printed.
        const size_t found = text.find(kEntries[c]);
        if (found == std::string_view::npos) continue;
        const size_t start = found + std::strlen(kEntries[c]);
        const char* p = text.data() + start;
        const char* const end = text.data() + text.find('\n', start);
        columns[c].reserve(static_cast<size_t>(end - p) / 4);
        if (texts != nullptr) (*texts)[c].reserve(static_cast<size_t>(end - p) / 4);
        for (p = SkipBlanks(p, end); p < end; p = SkipBlanks(p, end)) {
            double value = 0;
            const char* const first = p;
            p = fast_float::from_chars(p, end, value).ptr;
            columns[c].push_back(value);
            if (texts != nullptr) (*texts)[c].emplace_back(first, static_cast<size_t>(p - first));
        }
    }
}

void ParseLines(std::string_view text, Columns& columns) {
    for (auto& column : columns) column.reserve(text.size() / 24);
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        if (lineEnd == nullptr) lineEnd = end;
        for (int c = 0; c < kColumns; ++c) {
            double value = 0;
            p = fast_float::from_chars(SkipBlanks(p, lineEnd), lineEnd, value).ptr;
            // The import stores an acceleration or speed equal to the one before as none.
            if (c >= kFirstDynamics && !columns[c].empty() && columns[c].back() == value) value = 0;
            columns[c].push_back(value);
        }
        p = lineEnd + 1;
    }
}

class Printer {
  public:
    explicit Printer(size_t capacity) : m_bytes(new char[capacity]), m_next(m_bytes.get()) {}
    Printer& operator<<(std::string_view text) {
        std::memcpy(m_next, text.data(), text.size());
        m_next += text.size();
        return *this;
    }
    Printer& operator<<(double value) {
        m_next = std::to_chars(m_next, m_next + 32, value).ptr;
        return *this;
    }
    Printer& Whole(double value) {
        m_next = std::to_chars(m_next, m_next + 32, std::llround(value)).ptr;
        return *this;
    }
    bool WriteTo(int fd) const {
        return WriteAll(fd, m_bytes.get(), static_cast<size_t>(m_next - m_bytes.get()));
    }

  private:
    std::unique_ptr<char[]> m_bytes;
    char* m_next;
};

int PrintProgram(const Columns& columns) {
    const size_t n = columns[0].size();
    Printer out(n * 400 + 4096);
    out << "  SETMODE 0xCF00; //Clear buffer\r\n  LPLANE (A, B, C);\r\n"
           "  RESRATIOX=1717986918u;\r\n  RESRATIOY=1717986918u;\r\n  RESRATIOZ=0u;\r\n"
           "  MODE LI; // Set Linear Interpolation Mode\r\n";
    const auto& [x, y, z, acceleration, speed] = columns;
    for (size_t i = 0; i < n; ++i) {
        if (acceleration[i] != 0) {
            out << "  VACC = " << acceleration[i]
                << "; // Vector Acceleration = " << acceleration[i] << "[m/s^2]\r\n";
        }
        if (speed[i] != 0) {
            out << "  VSPD = ";
            out.Whole(speed[i] * kCountsPerUnit)
                << "; // Vector Speed = " << speed[i] << "[m/s]\r\n";
        }
        out << "  // Increment position with (X, Y, Z) = (" << x[i] << "[mm], " << y[i] << "[mm], "
            << z[i] << "[mm])\r\n";
        for (const char* lpos : {"  LPOS1 ", "; LPOS2 "}) {
            out << lpos;
            out.Whole(x[i] * kCountsPerUnit) << "L, ";
            out.Whole(y[i] * kCountsPerUnit) << "L, ";
            out.Whole(z[i] * kCountsPerUnit) << "L";
        }
        out << ";\r\n";
        if (i == 0) out << "  UPD; //Execute immediate\r\n";
    }
    out << "  // Insert End Segment\r\n  LPOS1 0L, 0L, 0L; LPOS2 0L, 0L, 0L;\r\n"
           "  WMC (A, B, C); // wait for motion completion\r\n";
    return out.WriteTo(STDOUT_FILENO) ? 0 : 1;
}

// The element around its columns; value(out, column, index) prints one value.
template <class PrintValue>
int PrintElement(size_t n, const char* header, const char* path, PrintValue value,
                 const bool* present = nullptr) {
    Printer out(n * kColumns * 26 + 4096);
    out << header;
    for (int c = 0; c < kColumns; ++c) {
        if (present != nullptr && !present[c]) continue;
        out << kEntries[c];
        for (size_t i = 0; i < n; ++i) {
            if (i > 0) out << " ";
            value(out, c, i);
        }
        out << "\n";
    }
    out << "Execute=0\nWaitForCompletion=1\n";
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = fd >= 0 && out.WriteTo(fd) && fsync(fd) == 0;
    if (fd >= 0) close(fd);
    return written ? 0 : 1;
}

constexpr const char* kElementHeader =
    "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
    "SlaveX=0\nSlaveY=1\nSlaveZ=2\n";
// The header of the demo project's new element, which an import starts from.
constexpr const char* kNewElementHeader =
    "ProfileType=1\nClearBuffer=1\nConfigureMode=1\nInsertEndSegment=1\n"
    "SlaveX=0\nSlaveY=1\nSlaveZ=2\n";

int PrintReadElement(const Texts& texts, const char* path) {
    bool present[kColumns];
    for (int c = 0; c < kColumns; ++c) present[c] = !texts[c].empty();
    return PrintElement(
        texts[0].size(), kElementHeader, path,
        [&](Printer& out, int c, size_t i) { out << texts[c][i]; }, present);
}

int PrintMadeElement(const Columns& columns, const char* path) {
    return PrintElement(columns[0].size(), kElementHeader, path,
                        [&](Printer& out, int c, size_t i) { out << columns[c][i]; });
}

// The increments of a program of absolute G1 moves in mm, each axis rounded to its count, as
// the import makes them; a move of no count on any axis is joined to the next. The first
// segment takes the feed (F in mm/min, in m/s) and the acceleration given (1 m/s^2).
struct CountColumns {
    std::vector<long long> counts[3];
    double feed = 0;
};

CountColumns ParseProgram(std::string_view text) {
    CountColumns path;
    for (auto& axis : path.counts) axis.reserve(text.size() / 24);
    long long at[3] = {0, 0, 0};
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        if (lineEnd == nullptr) lineEnd = end;
        long long next[3] = {at[0], at[1], at[2]};
        bool move = false;
        for (p = SkipBlanks(p, lineEnd); p < lineEnd; p = SkipBlanks(p, lineEnd)) {
            const char letter = *p++;
            double value = 0;
            p = fast_float::from_chars(p, lineEnd, value).ptr;
            if (letter == 'F') path.feed = value / 60.0 / 1000.0;
            if (letter < 'X' || letter > 'Z') continue;
            next[letter - 'X'] = std::llround(value * kCountsPerUnit);
            move = true;
        }
        if (move && (next[0] != at[0] || next[1] != at[1] || next[2] != at[2])) {
            for (int axis = 0; axis < 3; ++axis) {
                path.counts[axis].push_back(next[axis] - at[axis]);
                at[axis] = next[axis];
            }
        }
        p = lineEnd + 1;
    }
    return path;
}

// A count of micrometres in mm at its fewest digits: the point moved, trailing zeros dropped.
void PrintCount(Printer& out, long long count) {
    char digits[24];
    char* next = digits;
    if (count < 0) *next++ = '-';
    const unsigned long long size = count < 0 ? 0ULL - static_cast<unsigned long long>(count)
                                              : static_cast<unsigned long long>(count);
    next = std::to_chars(next, digits + sizeof digits, size / 1000).ptr;
    unsigned fraction = static_cast<unsigned>(size % 1000);
    if (fraction != 0) {
        *next++ = '.';
        for (unsigned place = 100; fraction != 0; place /= 10) {
            *next++ = static_cast<char>('0' + fraction / place);
            fraction %= place;
        }
    }
    out << std::string_view(digits, static_cast<size_t>(next - digits));
}

int PrintProgramElement(const CountColumns& program, const char* path) {
    const double first[2] = {1.0, program.feed};
    return PrintElement(program.counts[0].size(), kNewElementHeader, path,
                        [&](Printer& out, int c, size_t i) {
                            if (c < kFirstDynamics) return PrintCount(out, program.counts[c][i]);
                            out << (i == 0 ? first[c - kFirstDynamics] : 0.0);
                        });
}

}  // namespace

int main(int argc, char** argv) {
    const std::string_view mode = argc > 2 ? argv[1] : "";
    const Buffer input = argc > 2 ? ReadFile(argv[2]) : Buffer{};
    Columns columns;
    if (mode == "program") {
        ParseElement(input.View(), columns);
        return PrintProgram(columns);
    }
    if (argc > 3 && mode == "element") {
        Texts texts;
        ParseElement(input.View(), columns, &texts);
        return PrintReadElement(texts, argv[3]);
    }
    if (argc > 3 && mode == "lines") {
        ParseLines(input.View(), columns);
        return PrintMadeElement(columns, argv[3]);
    }
    if (argc > 3 && mode == "gcode")
        return PrintProgramElement(ParseProgram(input.View()), argv[3]);
    std::fputs(
        "usage: vantrel_floor program ELEMENT | element ELEMENT OUTPUT | lines LINES OUTPUT | "
        "gcode "
        "PROGRAM OUTPUT\n",
        stderr);
    return 2;
}
