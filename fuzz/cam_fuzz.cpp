// Any G-code program or CSV table: read into a path, or refused with a message naming the line,
// never a crash. The first byte chooses the reader, so one corpus grows both.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/CMC_Units.h"
#include "toolpath/element/PathError.h"
#include "toolpath/exchange/CsvReader.h"
#include "toolpath/exchange/GcodeReader.h"

namespace {

// The demo project's X drive: 2000 counts per 5 mm, 1 ms samples.
const CMC_Units& DemoDriveUnits() {
    static const CMC_Units units(DriveScale{"mm", 2000.0, 5.0, 0.001});
    return units;
}

void Read(std::uint8_t choice, std::string_view text) {
    if (choice & 1) {
        GcodeOptions options;
        options.threeAxes = (choice & 2) != 0;
        if (choice & 4) options.rapid = ProgramQuantity{6000.0, true};
        ReadGcode(text, "fuzz.nc", options);
        return;
    }
    CsvOptions options;
    options.absolute = (choice & 2) != 0;
    options.threeAxes = (choice & 4) != 0;
    options.units = &DemoDriveUnits();
    options.columnUnits = ColumnUnits{{"mm", "mm", "mm"}, "m/s", "m/s^2"};
    ReadCsv(text, "fuzz.csv", options);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    try {
        Read(data[0], std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    } catch (const PathError&) {
    }
    return 0;
}
