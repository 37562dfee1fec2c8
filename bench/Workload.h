// The files the benchmark works on, and the timed runs over them.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

// An element of three-axis segments on the demo project, the same segments as a segment file,
// an element of one segment to import them into, the editor scripts, and a G-code program of
// as many moves.
struct Workload {
    int segments = 0;
    std::string element;
    std::string lines;
    std::string program;  // a random walk of G1 moves in mm, as a CAM program writes them
    std::string importStart;
    std::string okScript;
    std::string importScript;
    std::string cancelScript;
    std::string insertScript;  // kInserts segments inserted in the middle of the list, then OK
    // The other shapes: a two-axis random walk of G1 moves, its moves as two-axis lines, an
    // element of one two-axis segment to import them into, the editor's script for that, and
    // the same lines with a Z of 0 for the floor.
    std::string planarProgram;
    std::string planarLines;
    std::string planarStart;
    std::string planarImportScript;
    std::string planarLinesWithZ;
};

// The inserts of insertScript: a script's edits on a long element.
inline constexpr int kInserts = 1000;

// Writes the files of a workload of segments into folder. Values look like a CAM program's:
// positions in micrometres, a few accelerations and speeds, each set on some segments only.
Workload WriteWorkload(const std::string& folder, int segments);

// One timed run: the processor time it took (user and system), the time on the clock, and
// the peak memory of its process. Processor time is what other work on the machine disturbs
// least.
struct Sample {
    double cpuSeconds = 0.0;
    double wallSeconds = 0.0;
    long peakKilobytes = 0;
};

// A stopwatch for the part of a run that work() times itself.
class Stopwatch {
  public:
    Stopwatch();
    // The times since the stopwatch was made.
    Sample Elapsed() const;

  private:
    double m_cpu;
    double m_wall;
};

// Runs work in a child process, which reports the times of the part it measures itself.
Sample MeasureInChild(const std::function<Sample()>& work);
// Runs a program and times the whole run; its standard output goes to output, its messages
// nowhere.
Sample MeasureProgram(const std::vector<std::string>& arguments,
                      const std::string& output = "/dev/null");
// The fastest of runs samples, by processor time; before each, prepare() puts the files back
// as they were.
Sample Fastest(int runs, const std::function<Sample()>& measure,
               const std::function<void()>& prepare = {});
// The fastest of runs samples each of measure and of its floor, taken in turn, so that the two
// meet the machine's load alike and their ratio moves less than either does.
std::pair<Sample, Sample> FastestInTurn(int runs, const std::function<Sample()>& measure,
                                        const std::function<Sample()>& floor,
                                        const std::function<void()>& prepare = {});
