#include "bench/Workload.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <stdexcept>

namespace {

constexpr int kColumns = 5;
constexpr const char* kEntries[kColumns] = {
    "X_TPOS[mm]=", "Y_TPOS[mm]=", "Z_TPOS[mm]=", "CACC[m/s^2]=", "CSPD[m/s]="};

// A value with a fixed number of decimals, as a CAM program writes it.
std::string Fixed(double value, int decimals) {
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, end.ptr);
}

// The segments' values, column by column.
std::vector<std::string> MakeColumns(int segments) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> micrometres(-50000, 50000);
    std::uniform_int_distribution<int> depth(-500, 500);
    std::uniform_int_distribution<int> pick(0, 3);
    const char* const accelerations[] = {"0", "0.5", "1.25", "0"};
    const char* const speeds[] = {"0", "0.05", "0.1", "0.025"};
    std::vector<std::string> columns(kColumns);
    for (auto& column : columns) column.reserve(static_cast<size_t>(segments) * 8);
    for (int i = 0; i < segments; ++i) {
        const std::string values[kColumns] = {
            Fixed(micrometres(random) / 1000.0, 3), Fixed(micrometres(random) / 1000.0, 3),
            Fixed(depth(random) / 100.0, 2), accelerations[pick(random)], speeds[pick(random)]};
        for (int c = 0; c < kColumns; ++c) {
            if (i > 0) columns[static_cast<size_t>(c)] += ' ';
            columns[static_cast<size_t>(c)] += values[c];
        }
    }
    return columns;
}

// The segment file: each segment's values on a line of their own.
void WriteLines(const std::string& path, const std::vector<std::string>& columns) {
    std::ofstream out(path, std::ios::binary);
    std::vector<size_t> at(kColumns, 0);
    while (at[0] < columns[0].size()) {
        for (size_t c = 0; c < kColumns; ++c) {
            size_t end = columns[c].find(' ', at[c]);
            if (end == std::string::npos) end = columns[c].size();
            out << (c ? " " : "") << std::string_view(columns[c]).substr(at[c], end - at[c]);
            at[c] = end + 1;
        }
        out << '\n';
    }
}

void WriteElement(const std::string& path, const std::vector<std::string>& columns) {
    std::ofstream out(path, std::ios::binary);
    out << "ProfileType=1\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
           "SlaveX=0\nSlaveY=1\nSlaveZ=2\n";
    for (int c = 0; c < kColumns; ++c)
        out << kEntries[c] << columns[static_cast<size_t>(c)] << '\n';
    out << "Execute=0\nWaitForCompletion=1\n";
}

// An element of one two-axis segment, without a Z entry.
void WritePlanarElement(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "ProfileType=0\nConfigureMode=1\nClearBuffer=1\nInsertEndSegment=1\n"
           "SlaveX=0\nSlaveY=1\nX_TPOS[mm]=1\nY_TPOS[mm]=0\nCACC[m/s^2]=0\nCSPD[m/s]=0\n"
           "Execute=0\nWaitForCompletion=1\n";
}

// The programs' walk, the same each time: steps of up to 1 mm across and 0.1 mm down (none in
// two axes); visit(x, y, z) gets each move's end.
template <class Visit>
void WalkMoves(int moves, bool withZ, Visit visit) {
    std::mt19937 random(20240612);
    std::uniform_real_distribution<double> across(-1.0, 1.0);
    std::uniform_real_distribution<double> down(-0.1, 0.1);
    double x = 0, y = 0, z = 0;
    for (int i = 0; i < moves; ++i) {
        x += across(random);
        y += across(random);
        if (withZ) z += down(random);
        visit(x, y, z);
    }
}

// The walk as absolute moves with three decimals.
void WriteProgram(const std::string& path, int moves, bool withZ = true) {
    std::string text = "G21\nG90\nG1 F6000\n";
    text.reserve(static_cast<size_t>(moves) * 32);
    WalkMoves(moves, withZ, [&](double x, double y, double z) {
        text += "G1 X" + Fixed(x, 3) + " Y" + Fixed(y, 3);
        if (withZ) text += " Z" + Fixed(z, 3);
        text += "\n";
    });
    std::ofstream(path, std::ios::binary) << text;
}

// The two-axis walk's moves as a segment file, as a CAM path's increments come: each move's to
// a micrometre (those that round to no count left out), an acceleration and a speed on the first
// line only, and a Z of 0 between them and the moves for the floor, which reads five columns.
void WritePlanarWalkLines(const std::string& path, int moves, bool withZeroZ) {
    std::string text;
    text.reserve(static_cast<size_t>(moves) * 24);
    long long lastX = 0, lastY = 0;
    WalkMoves(moves, false, [&](double x, double y, double) {
        const long long atX = std::llround(x * 1000.0);
        const long long atY = std::llround(y * 1000.0);
        // A move that rounds to no count of the demo drive's 2.5 um either way is no segment:
        // it joins the next, as the G-code import joins it.
        constexpr long long kLeastCounted = 2;  // micrometres
        if (std::llabs(atX - lastX) < kLeastCounted && std::llabs(atY - lastY) < kLeastCounted)
            return;
        const bool first = text.empty();
        text += Fixed(static_cast<double>(atX - lastX) / 1000.0, 3) + " " +
                Fixed(static_cast<double>(atY - lastY) / 1000.0, 3);
        if (withZeroZ) text += " 0";
        text += first ? " 1 0.1\n" : " 0 0\n";
        lastX = atX;
        lastY = atY;
    });
    std::ofstream(path, std::ios::binary) << text;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double ProcessorTime() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

// Waits for the child; its processor time and peak memory come with it.
Sample Finish(pid_t child, double started) {
    int status = 0;
    struct rusage usage {};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("a benchmarked run failed");
    return {Seconds(usage.ru_utime) + Seconds(usage.ru_stime), Now() - started, usage.ru_maxrss};
}

}  // namespace

Workload WriteWorkload(const std::string& folder, int segments) {
    const std::string base = folder + "/" + std::to_string(segments);
    Workload workload;
    workload.segments = segments;
    workload.element = base + ".element";
    workload.lines = base + ".txt";
    workload.program = base + ".nc";
    workload.importStart = base + "-start.element";
    workload.okScript = folder + "/ok.script";
    workload.importScript = base + "-import.script";
    workload.cancelScript = folder + "/cancel.script";
    workload.insertScript = base + "-insert.script";
    const std::vector<std::string> columns = MakeColumns(segments);
    WriteElement(workload.element, columns);
    WriteLines(workload.lines, columns);
    WriteProgram(workload.program, segments);
    WriteElement(workload.importStart, {"1", "0", "0", "0", "0"});
    WriteText(workload.okScript, "ok\n");
    WriteText(workload.cancelScript, "cancel\n");
    WriteText(workload.importScript, "file " + workload.lines + "\nclick IDC_IMPORT\nok\n");
    std::string inserts = "select IDC_SEGMENT_LIST " + std::to_string(segments / 2) + "\n";
    for (int i = 0; i < kInserts; ++i) inserts += "click IDC_INSERT_BELOW\n";
    WriteText(workload.insertScript, inserts + "ok\n");
    workload.planarProgram = base + "-planar.nc";
    workload.planarLines = base + "-planar.txt";
    workload.planarStart = base + "-planar-start.element";
    workload.planarImportScript = base + "-planar-import.script";
    workload.planarLinesWithZ = base + "-planar-z.txt";
    WriteProgram(workload.planarProgram, segments, false);
    WritePlanarWalkLines(workload.planarLines, segments, false);
    WritePlanarWalkLines(workload.planarLinesWithZ, segments, true);
    WritePlanarElement(workload.planarStart);
    WriteText(workload.planarImportScript,
              "file " + workload.planarLines + "\nclick IDC_IMPORT\nok\n");
    return workload;
}

Stopwatch::Stopwatch() : m_cpu(ProcessorTime()), m_wall(Now()) {}

Sample Stopwatch::Elapsed() const { return {ProcessorTime() - m_cpu, Now() - m_wall, 0}; }

Sample MeasureInChild(const std::function<Sample()>& work) {
    int report[2];
    if (pipe(report) != 0) throw std::runtime_error("no pipe for the child");
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        const Sample measured = work();
        const bool sent = write(report[1], &measured, sizeof measured) == sizeof measured;
        _exit(sent ? 0 : 1);
    }
    close(report[1]);
    Sample measured;
    const bool received = read(report[0], &measured, sizeof measured) == sizeof measured;
    close(report[0]);
    measured.peakKilobytes = Finish(child, Now()).peakKilobytes;
    if (!received) throw std::runtime_error("a benchmarked child reported nothing");
    return measured;
}

Sample MeasureProgram(const std::vector<std::string>& arguments, const std::string& output) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const double started = Now();
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        // The import's summary would break the table; a failed run is reported by its status.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    try {
        return Finish(child, started);
    } catch (const std::runtime_error&) {
        // Its messages went nowhere: the command is what lets it be run again by hand.
        std::string command;
        for (const std::string& argument : arguments) command += " " + argument;
        throw std::runtime_error("this run failed:" + command);
    }
}

namespace {

// Keeps sample where it took less processor time than best, or where it is the first run's.
void KeepFaster(Sample& best, const Sample& sample, int run) {
    if (run == 0 || sample.cpuSeconds < best.cpuSeconds) best = sample;
}

}  // namespace

Sample Fastest(int runs, const std::function<Sample()>& measure,
               const std::function<void()>& prepare) {
    Sample best;
    for (int run = 0; run < runs; ++run) {
        if (prepare) prepare();
        KeepFaster(best, measure(), run);
    }
    return best;
}

std::pair<Sample, Sample> FastestInTurn(int runs, const std::function<Sample()>& measure,
                                        const std::function<Sample()>& floor,
                                        const std::function<void()>& prepare) {
    std::pair<Sample, Sample> best;
    for (int run = 0; run < runs; ++run) {
        if (prepare) prepare();
        KeepFaster(best.first, measure(), run);
        KeepFaster(best.second, floor(), run);
    }
    return best;
}
