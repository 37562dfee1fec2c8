// The files the benchmark works on, and the timed runs over them.
#pragma once

#include <functional>
#include <string>
#include <vector>

// An element of three-axis segments on the demo project, the same segments as a segment file,
// an element of one segment to import them into, and the editor scripts.
struct Workload {
    int segments = 0;
    std::string element;
    std::string lines;
    std::string importStart;
    std::string okScript;
    std::string importScript;
    std::string cancelScript;
};

// Writes the files of a workload of segments into folder. Values look like a CAM program's:
// positions in micrometres, a few accelerations and speeds, each set on some segments only.
Workload WriteWorkload(const std::string& folder, int segments);

// One timed run: seconds, and the peak memory of its process.
struct Sample {
    double seconds = 0.0;
    long peakKilobytes = 0;
};

// Runs work in a child process, which reports the seconds of the part it times itself.
Sample MeasureInChild(const std::function<double()>& work);
// Runs a program and times the whole run; its standard output goes to output.
Sample MeasureProgram(const std::vector<std::string>& arguments,
                      const std::string& output = "/dev/null");
// The fastest of runs samples; before each, prepare() puts the files back as they were.
Sample Fastest(int runs, const std::function<Sample()>& measure,
               const std::function<void()>& prepare = {});
