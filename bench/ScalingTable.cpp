// `make bench`: one table of how the element's operations scale with its segments, next to the
// machine's floor (vantrel_floor), each in a process of its own so that its peak memory is its
// own. The commands run as a user runs them, end to end; read, write and the list fill are
// timed inside a process that does only them.
//
// Usage: vantrel_bench [SEGMENTS...]   (default 10000 100000 1000000)
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/io/FileAccess.h"
#include "app/project/BuiltinData.h"
#include "app/project/Project.h"
#include "app/project/ProjectFile.h"
#include "bench/Workload.h"
#include "module/model/CInternalData.h"
#include "module/plugin/VantrelExports.h"
#include "platform/ActiveBackendGuard.h"
#include "platform/HeadlessBackend.h"

namespace {

// Runs of each measurement; the fastest counts, as the others met a busier machine.
constexpr int kRuns = 5;

// The editor's modal run times itself: that is the list fill and the first refresh.
class TimedBackend : public HeadlessBackend {
  public:
    using HeadlessBackend::HeadlessBackend;
    INT_PTR RunModal(CDialog& dialog) override {
        const Stopwatch stopwatch;
        const INT_PTR result = HeadlessBackend::RunModal(dialog);
        fill = stopwatch.Elapsed();
        return result;
    }
    Sample fill;
};

std::unique_ptr<Project> DemoProject() { return LoadProjectText(DemoProjectText(), "demo"); }

Sample ReadAndValidate(const Workload& workload) {
    auto project = DemoProject();
    const Stopwatch stopwatch;
    const CString text(ReadWholeFile(workload.element));
    CInternalData data(project->Controller(), project->Motion());
    CString error;
    if (!data.ReadParameters(text, error)) throw std::runtime_error(error.GetString());
    return stopwatch.Elapsed();
}

Sample Write(const Workload& workload) {
    auto project = DemoProject();
    CInternalData data(project->Controller(), project->Motion());
    CString error;
    data.ReadParameters(CString(ReadWholeFile(workload.element)), error);
    const Stopwatch stopwatch;
    CString text;
    data.WriteParameters(text);
    WriteFileAtomically(workload.element + ".written", text.str());
    return stopwatch.Elapsed();
}

Sample FillList(const Workload& workload) {
    void* module = dlopen(VANTREL_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) throw std::runtime_error(dlerror());
    auto edit = reinterpret_cast<EditMotionSequenceFn>(dlsym(module, "EditMotionSequence"));
    auto project = DemoProject();
    CString text(ReadWholeFile(workload.element));
    std::ostringstream dumps;
    TimedBackend backend("cancel\n", "bench", dumps);
    ActiveBackendGuard active(backend);
    edit(project->Controller(), project->Motion(), text);
    return backend.fill;
}

void CopyFile(const std::string& from, const std::string& to) {
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
}

struct Row {
    const char* operation;
    Sample sample;
    const Sample* floor = nullptr;  // the floor this operation is held against
};

void PrintHeader() {
    std::printf("%10s  %-44s %9s %9s %8s %12s %8s %7s %7s %7s\n", "segments", "operation", "cpu ms",
                "wall ms", "us/seg", "segments/s", "peak MB", "B/seg", "x cpu", "x wall");
}

void PrintRow(int segments, const Row& row) {
    const Sample& sample = row.sample;
    const double peakBytes = static_cast<double>(sample.peakKilobytes) * 1024.0;
    std::printf("%10d  %-44s %9.1f %9.1f %8.3f %12.0f %8.1f %7.0f", segments, row.operation,
                sample.cpuSeconds * 1e3, sample.wallSeconds * 1e3,
                sample.cpuSeconds / segments * 1e6, segments / sample.cpuSeconds, peakBytes / 1e6,
                peakBytes / segments);
    if (row.floor != nullptr) {
        std::printf(" %7.2f %7.2f", sample.cpuSeconds / row.floor->cpuSeconds,
                    sample.wallSeconds / row.floor->wallSeconds);
    }
    std::printf("\n");
}

// The other shapes of element, each with the floor on the same file.
struct OtherShapes {
    Sample planar, planarFloor;
    Sample walk, walkFloor;
    Sample linear3, linear3Floor;
    Sample planarImport, planarImportFloor;
};

// edit --script ok on element (with the project's options before it), and the floor on it.
std::pair<Sample, Sample> MeasureEditOk(const Workload& w, const std::string& element,
                                        const std::vector<std::string>& projectOptions,
                                        const std::string& folder) {
    const std::string edited = folder + "/shape-edited.element";
    std::vector<std::string> edit = {VANTREL_PROGRAM, "edit"};
    edit.insert(edit.end(), projectOptions.begin(), projectOptions.end());
    edit.insert(edit.end(), {edited, "--script", w.okScript});
    return FastestInTurn(
        kRuns, [&] { return MeasureProgram(edit); },
        [&] {
            return MeasureProgram({VANTREL_FLOOR, "element", element, folder + "/floor.element"});
        },
        [&] { CopyFile(element, edited); });
}

// Elements imported from random walks of G1 moves (positions to a micrometre, so that their
// values repeat as a CAM path's do): in two axes, in three (walk, made already), in three on
// linear3.toml's drive (1/1024 mm counts); and the two-axis walk's moves as lines imported
// into a two-axis element, against the floor on the same lines with a Z of 0.
OtherShapes MeasureOtherShapes(const Workload& w, const std::string& walk,
                               const std::string& folder) {
    const std::string planar = folder + "/planar.element";
    const std::string linear3 = folder + "/linear3.element";
    const std::vector<std::string> onLinear3 = {"-p", VANTREL_LINEAR3_PROJECT};
    MeasureProgram(
        {VANTREL_PROGRAM, "import", w.planarProgram, "-o", planar, "--accel", "1000mm/s^2"});
    MeasureProgram({VANTREL_PROGRAM, "import", "-p", VANTREL_LINEAR3_PROJECT, w.program, "-o",
                    linear3, "--accel", "1000mm/s^2"});
    OtherShapes shapes;
    std::tie(shapes.planar, shapes.planarFloor) = MeasureEditOk(w, planar, {}, folder);
    std::tie(shapes.walk, shapes.walkFloor) = MeasureEditOk(w, walk, {}, folder);
    std::tie(shapes.linear3, shapes.linear3Floor) = MeasureEditOk(w, linear3, onLinear3, folder);
    const std::string edited = folder + "/shape-edited.element";
    std::tie(shapes.planarImport, shapes.planarImportFloor) = FastestInTurn(
        kRuns,
        [&] {
            return MeasureProgram(
                {VANTREL_PROGRAM, "edit", edited, "--script", w.planarImportScript});
        },
        [&] {
            return MeasureProgram(
                {VANTREL_FLOOR, "lines", w.planarLinesWithZ, folder + "/floor.element"});
        },
        [&] { CopyFile(w.planarStart, edited); });
    return shapes;
}

void MeasureSize(const std::string& folder, int segments) {
    const Workload w = WriteWorkload(folder, segments);
    const std::string edited = folder + "/edited.element";
    const std::string written = folder + "/floor.element";
    const std::string imported = folder + "/imported.element";
    const std::string csv = folder + "/export.csv", gcode = folder + "/export.nc";
    const std::string svg = folder + "/plot.svg", png = folder + "/plot.png";
    auto inChild = [](Sample (*work)(const Workload&), const Workload& workload) {
        return [work, &workload] { return MeasureInChild([&] { return work(workload); }); };
    };
    auto program = [](std::vector<std::string> arguments) {
        return [arguments] { return MeasureProgram(arguments); };
    };
    // Each command with its floor, in turn.
    const auto [translate, floorProgram] =
        FastestInTurn(kRuns, program({VANTREL_PROGRAM, "translate", w.element}),
                      program({VANTREL_FLOOR, "program", w.element}));
    const auto [editOk, floorElement] =
        FastestInTurn(kRuns, program({VANTREL_PROGRAM, "edit", edited, "--script", w.okScript}),
                      program({VANTREL_FLOOR, "element", w.element, written}),
                      [&] { CopyFile(w.element, edited); });
    const auto [importLines, floorLines] =
        FastestInTurn(kRuns, program({VANTREL_PROGRAM, "edit", edited, "--script", w.importScript}),
                      program({VANTREL_FLOOR, "lines", w.lines, written}),
                      [&] { CopyFile(w.importStart, edited); });
    const auto [import, floorProgramElement] = FastestInTurn(
        kRuns,
        program({VANTREL_PROGRAM, "import", w.program, "-o", imported, "--accel", "1000mm/s^2"}),
        program({VANTREL_FLOOR, "gcode", w.program, written}));
    const Sample translateImported =
        Fastest(kRuns, program({VANTREL_PROGRAM, "translate", imported}));
    const OtherShapes other = MeasureOtherShapes(w, imported, folder);
    const Row rows[] = {
        {"read + validate (in process)", Fastest(kRuns, inChild(ReadAndValidate, w))},
        {"write (in process)", Fastest(kRuns, inChild(Write, w))},
        {"fill the segment list, headless (in process)", Fastest(kRuns, inChild(FillList, w))},
        {"vantrel translate", translate, &floorProgram},
        {"floor: parse + print the program", floorProgram},
        // The path commands, each over the translate of the same element.
        {"vantrel stats (x translate)",
         Fastest(kRuns, program({VANTREL_PROGRAM, "stats", w.element})), &translate},
        {"vantrel export -o x.csv (x translate)",
         Fastest(kRuns, program({VANTREL_PROGRAM, "export", w.element, "-o", csv})), &translate},
        {"vantrel export -o x.nc (x translate)",
         Fastest(kRuns, program({VANTREL_PROGRAM, "export", w.element, "-o", gcode})), &translate},
        {"vantrel plot -o x.svg (x translate)",
         Fastest(kRuns, program({VANTREL_PROGRAM, "plot", w.element, "-o", svg})), &translate},
        {"vantrel plot -o x.png (x translate)",
         Fastest(kRuns, program({VANTREL_PROGRAM, "plot", w.element, "-o", png})), &translate},
        {"vantrel translate, the imported element", translateImported},
        {"vantrel import x.nc (x its translate)", import, &translateImported},
        {"vantrel import x.nc (x the floor below)", import, &floorProgramElement},
        {"floor: read G1 lines, quantise, print", floorProgramElement},
        {"vantrel edit --script ok (read+valid.+write)", editOk, &floorElement},
        {"floor: parse + print the element", floorElement},
        // Over the plain OK: what the inserts cost, which must not grow with the list.
        {"vantrel edit: 1000 inserts mid-list + OK",
         Fastest(kRuns, program({VANTREL_PROGRAM, "edit", edited, "--script", w.insertScript}),
                 [&] { CopyFile(w.element, edited); }),
         &editOk},
        {"vantrel edit: import the lines + OK", importLines, &floorLines},
        {"floor: parse the lines + print the element", floorLines},
        {"edit --script ok: two-axis walk", other.planar, &other.planarFloor},
        {"floor: parse + print that element", other.planarFloor},
        {"edit --script ok: three-axis walk", other.walk, &other.walkFloor},
        {"floor: parse + print that element", other.walkFloor},
        {"edit --script ok: walk on linear3.toml", other.linear3, &other.linear3Floor},
        {"floor: parse + print that element", other.linear3Floor},
        {"edit: import two-axis lines + OK", other.planarImport, &other.planarImportFloor},
        {"floor: parse those lines (Z of 0) + print", other.planarImportFloor},
    };
    for (const Row& row : rows) PrintRow(segments, row);
}

// The floor's texts are vantrel's, byte for byte: the program, the element written back, the
// element of the imported lines and that of the imported program. The name of the first that
// differs, or none.
std::string TextTheFloorPrintsOtherwise(const std::string& folder) {
    const Workload w = WriteWorkload(folder, 1000);
    const std::string ours = folder + "/ours", floor = folder + "/floor";
    const auto differ = [&] { return ReadWholeFile(ours) != ReadWholeFile(floor); };
    MeasureProgram({VANTREL_PROGRAM, "translate", w.element}, ours);
    MeasureProgram({VANTREL_FLOOR, "program", w.element}, floor);
    if (differ()) return "the program";
    CopyFile(w.element, ours);
    MeasureProgram({VANTREL_PROGRAM, "edit", ours, "--script", w.okScript});
    MeasureProgram({VANTREL_FLOOR, "element", w.element, floor});
    if (differ()) return "the element saved";
    CopyFile(w.importStart, ours);
    MeasureProgram({VANTREL_PROGRAM, "edit", ours, "--script", w.importScript});
    MeasureProgram({VANTREL_FLOOR, "lines", w.lines, floor});
    if (differ()) return "the element of the lines";
    std::filesystem::remove(ours);
    MeasureProgram({VANTREL_PROGRAM, "import", w.program, "-o", ours, "--accel", "1000mm/s^2"});
    MeasureProgram({VANTREL_FLOOR, "gcode", w.program, floor});
    if (differ()) return "the element of the program";
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 100000, 1000000};
    char pattern[] = "/tmp/vantrel-bench-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (folder == nullptr) return 1;
    std::string differs;
    try {
        differs = TextTheFloorPrintsOtherwise(folder);
        PrintHeader();
        for (int segments : sizes) {
            if (segments < 1) throw std::runtime_error("segment counts must be positive");
            MeasureSize(folder, segments);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vantrel_bench: %s\n", error.what());
        std::filesystem::remove_all(folder);
        return 1;
    }
    std::filesystem::remove_all(folder);
    std::printf(
        "the fastest of %d runs by processor time (user and system), a command and its floor in "
        "turn; us/seg and segments/s from processor time;\nx cpu, x wall: the time over that of "
        "the floor below; peak: the run's largest resident set\n",
        kRuns);
    if (differs.empty())
        std::printf("the floor prints vantrel's texts byte for byte: yes\n");
    else
        std::printf("the floor prints vantrel's texts byte for byte: NO (%s)\n", differs.c_str());
    return 0;
}
