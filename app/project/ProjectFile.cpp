#include "app/project/ProjectFile.h"

#include <toml++/toml.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>

#include "app/cli/AppError.h"
#include "app/io/FileAccess.h"
#include "app/project/TomlNesting.h"
#include "base/EscapedText.h"
#include "base/SourcePlace.h"
#include "host/CMC_Units.h"
#include "host/CMC_Value.h"
#include "host/ControllerParameters.h"

namespace {

// The controller numbers its slaves and axes with one byte.
constexpr std::size_t kMaxSlaves = 255;
constexpr std::int64_t kMaxAxisId = 255;

const char* const kDefaultVariables[] = {"CACC", "CSPD", "TPOS"};

// What a real drive has; within these every internal unit is a finite, nonzero size.
struct Range {
    double min;
    double max;
    const char* text;
};
constexpr Range kCountsPerRev{1.0, 2147483648.0, "from 1 to 2147483648 (2^31)"};
constexpr Range kTravelPerRev{1e-6, 1e6, "from 0.000001 to 1000000 position units"};
constexpr Range kSampleTime{1e-6, 1.0, "from 0.000001 to 1 (seconds: 1 us to 1 s)"};
constexpr Range kRate{
    1e-12, 1e12, "above 0 and at most 1e12 (position units per second, or per second squared)"};
constexpr Range kTravel{-1e12, 1e12, "from -1e12 to 1e12 position units"};
constexpr Range kMinSegmentTime{1e-6, 10.0, "from 0.000001 to 10 (seconds)"};
// A project describes a controller of at most 255 slaves: far below this.
constexpr std::uint64_t kProjectSizeLimit = std::uint64_t{16} << 20;

// A key's path for messages: each part from the file is shortened on its own, so that the
// key's last part, which tells what is wrong, is never cut off.
std::string Dotted(std::string_view path, std::string_view key) {
    if (path.empty()) return QuoteForMessage(key);
    return std::string(path) + "." + QuoteForMessage(key);
}

bool IsPositionUnit(const CMC_Unit* unit) {
    if (unit == nullptr || unit->GetQuantity() != UnitQuantity::Position) return false;
    return unit->GetFamily() == UnitFamily::Length || unit->GetFamily() == UnitFamily::Angle;
}

// The position unit names of the catalogue, for the message that refuses an unknown one.
std::string KnownPositionUnits() {
    CMC_Units catalogue;
    std::string names;
    for (const char* family : {"m", "rad"}) {
        for (const CMC_Unit* unit : catalogue.GetCompatibleUnits(family)) {
            if (!IsPositionUnit(unit)) continue;
            if (!names.empty()) names += ", ";
            names += unit->GetUnitName().str();
        }
    }
    return names;
}

class ProjectLoader {
  public:
    explicit ProjectLoader(const std::string& sourceName) : m_source(sourceName) {}

    std::unique_ptr<Project> Load(const toml::table& root) const {
        CheckKeys(root, "", {"controller", "slave", "drive"});
        auto project = std::make_unique<Project>();
        LoadController(root, *project);
        const std::map<std::string, DriveLimits> limits = LoadDrives(root, *project);
        LoadSlaves(root, limits, *project);
        return project;
    }

  private:
    [[noreturn]] void Fail(const toml::source_region& where, std::string_view key,
                           std::string_view problem) const {
        const SourcePlace place{m_source, static_cast<std::uint32_t>(where.begin.line)};
        throw AppError(PlaceMessage(place, "key \"" + std::string(key) + "\"", problem));
    }

    void CheckKeys(const toml::table& table, std::string_view path,
                   std::initializer_list<std::string_view> allowed) const {
        for (auto&& [key, node] : table) {
            bool known = false;
            for (std::string_view name : allowed) known = known || key.str() == name;
            if (!known) Fail(key.source(), Dotted(path, key.str()), "unknown key");
        }
    }

    const toml::table* OptionalTable(const toml::table& parent, std::string_view path,
                                     std::string_view key) const {
        const toml::node* node = parent.get(key);
        if (node == nullptr) return nullptr;
        if (!node->is_table()) Fail(node->source(), Dotted(path, key), "must be a table");
        return node->as_table();
    }

    bool OptionalBool(const toml::table& table, std::string_view path, std::string_view key,
                      bool fallback) const {
        const toml::node* node = table.get(key);
        if (node == nullptr) return fallback;
        if (!node->is_boolean()) Fail(node->source(), Dotted(path, key), "must be true or false");
        return node->as_boolean()->get();
    }

    const toml::node& Required(const toml::table& table, std::string_view path,
                               std::string_view key) const {
        const toml::node* node = table.get(key);
        if (node == nullptr) Fail(table.source(), Dotted(path, key), "missing");
        return *node;
    }

    std::string RequiredString(const toml::table& table, std::string_view path,
                               std::string_view key) const {
        const toml::node& node = Required(table, path, key);
        if (!node.is_string()) Fail(node.source(), Dotted(path, key), "must be a string");
        return node.as_string()->get();
    }

    double RequiredInRange(const toml::table& table, std::string_view path, std::string_view key,
                           const Range& range) const {
        return InRange(Required(table, path, key), path, key, range);
    }

    std::optional<double> OptionalInRange(const toml::table& table, std::string_view path,
                                          std::string_view key, const Range& range) const {
        const toml::node* node = table.get(key);
        if (node == nullptr) return std::nullopt;
        return InRange(*node, path, key, range);
    }

    double InRange(const toml::node& node, std::string_view path, std::string_view key,
                   const Range& range) const {
        if (!node.is_number()) Fail(node.source(), Dotted(path, key), "must be a number");
        // An integer is compared as it stands, so that a huge one is refused by its size.
        double value = node.is_integer() ? static_cast<double>(node.as_integer()->get())
                                         : node.as_floating_point()->get();
        if (!(value >= range.min && value <= range.max))
            Fail(node.source(), Dotted(path, key), std::string("must be ") + range.text);
        return value;
    }

    void LoadController(const toml::table& root, Project& project) const {
        CMC_Setup& controller = project.Controller();
        const toml::table* table = OptionalTable(root, "", "controller");
        if (table == nullptr) {
            controller.SetMotionController(true);
            for (const char* name : kDefaultVariables) AddControllerVariable(controller, name);
            return;
        }
        CheckKeys(*table, "controller", {"motion_controller", "variables", "min_segment_time"});
        if (auto time = OptionalInRange(*table, "controller", "min_segment_time", kMinSegmentTime))
            project.SetMinSegmentTime(*time);
        controller.SetMotionController(
            OptionalBool(*table, "controller", "motion_controller", true));
        const toml::node* variables = table->get("variables");
        if (variables == nullptr) {
            for (const char* name : kDefaultVariables) AddControllerVariable(controller, name);
            return;
        }
        LoadVariables(*variables, controller);
    }

    void LoadVariables(const toml::node& variables, CMC_Setup& controller) const {
        const std::string key = "controller.variables";
        if (!variables.is_array()) Fail(variables.source(), key, "must be a list of names");
        std::set<std::string> seen;
        for (const toml::node& entry : *variables.as_array()) {
            if (!entry.is_string()) Fail(entry.source(), key, "every entry must be a string");
            const std::string& name = entry.as_string()->get();
            if (name.empty()) Fail(entry.source(), key, "empty variable name");
            if (!seen.insert(name).second)
                Fail(entry.source(), key, "duplicate variable " + Quoted(name));
            AddControllerVariable(controller, name.c_str());
        }
    }

    // A name the host knows as a controller parameter gets its type; others hold plain numbers.
    static void AddControllerVariable(CMC_Setup& controller, const char* name) {
        const ControllerParameter* parameter = FindControllerParameter(name);
        controller.AddVariable(name, "", parameter != nullptr ? parameter->type : VT_NONE);
    }

    // The drives' limits by name.
    std::map<std::string, DriveLimits> LoadDrives(const toml::table& root, Project& project) const {
        std::map<std::string, DriveLimits> limits;
        const toml::table* drives = OptionalTable(root, "", "drive");
        if (drives == nullptr) return limits;
        for (auto&& [key, node] : *drives) {
            const std::string path = Dotted("drive", key.str());
            if (!node.is_table()) Fail(node.source(), path, "must be a table");
            const std::string name(key.str());
            limits[name] = LoadDrive(*node.as_table(), path, project.AddDrive(name));
        }
        return limits;
    }

    DriveLimits LoadDrive(const toml::table& table, const std::string& path,
                          CMC_Setup& drive) const {
        CheckKeys(table, path,
                  {"closed_position", "position_unit", "counts_per_rev", "travel_per_rev",
                   "sample_time", "max_speed", "max_acceleration", "travel_min", "travel_max"});
        drive.SetIntOption("IsClosedPosition",
                           OptionalBool(table, path, "closed_position", true) ? 1 : 0);
        DriveScale scale;
        scale.positionUnit = RequiredString(table, path, "position_unit");
        scale.countsPerRev = RequiredInRange(table, path, "counts_per_rev", kCountsPerRev);
        scale.travelPerRev = RequiredInRange(table, path, "travel_per_rev", kTravelPerRev);
        scale.sampleTime = RequiredInRange(table, path, "sample_time", kSampleTime);
        CheckPositionUnit(table, path, scale.positionUnit);
        drive.SetUnits(CMC_Units(scale));
        if (!scale.positionUnit.IsEmpty()) drive.AddVariable("TPOS", scale.positionUnit, VT_LONG);
        return LoadLimits(table, path, scale);
    }

    DriveLimits LoadLimits(const toml::table& table, const std::string& path,
                           const DriveScale& scale) const {
        DriveLimits limits;
        limits.positionUnit = scale.positionUnit.str();
        limits.sampleTime = scale.sampleTime;
        limits.maxSpeed = OptionalInRange(table, path, "max_speed", kRate);
        limits.maxAcceleration = OptionalInRange(table, path, "max_acceleration", kRate);
        limits.travelMin = OptionalInRange(table, path, "travel_min", kTravel);
        limits.travelMax = OptionalInRange(table, path, "travel_max", kTravel);
        if (limits.travelMin && limits.travelMax && !(*limits.travelMin < *limits.travelMax))
            Fail(table.get("travel_max")->source(), Dotted(path, "travel_max"),
                 "must be above travel_min");
        if (!limits.positionUnit.empty()) return limits;
        for (const char* key : {"max_speed", "max_acceleration", "travel_min", "travel_max"}) {
            if (const toml::node* node = table.get(key))
                Fail(node->source(), Dotted(path, key),
                     "needs a position_unit: limits are in the drive's position unit");
        }
        return limits;
    }

    void CheckPositionUnit(const toml::table& table, const std::string& path,
                           const CString& unit) const {
        if (unit.IsEmpty() || IsPositionUnit(CMC_Units().FindUnit(unit))) return;
        Fail(table.get("position_unit")->source(), Dotted(path, "position_unit"),
             "unknown position unit " + Quoted(unit.str()) + " (known: " + KnownPositionUnits() +
                 ", or \"\" for none)");
    }

    void LoadSlaves(const toml::table& root, const std::map<std::string, DriveLimits>& limits,
                    Project& project) const {
        const toml::node* slaves = root.get("slave");
        if (slaves == nullptr) return;
        if (!slaves->is_array_of_tables())
            Fail(slaves->source(), "slave", "must be a list of [[slave]] tables");
        int number = 0;
        for (const toml::node& slave : *slaves->as_array()) {
            if (static_cast<std::size_t>(number) == kMaxSlaves)
                Fail(slave.source(), "slave", "more than 255 slaves");
            LoadSlave(*slave.as_table(), number++, limits, project);
        }
    }

    void LoadSlave(const toml::table& table, int number,
                   const std::map<std::string, DriveLimits>& limits, Project& project) const {
        CheckKeys(table, "slave", {"axis_id", "drive"});
        project.Controller().AddSlave(AxisId(table, number));
        const toml::node* drive = table.get("drive");
        if (drive == nullptr) return;
        if (!drive->is_string()) Fail(drive->source(), "slave.drive", "must be a string");
        const std::string& name = drive->as_string()->get();
        CMC_Setup* setup = project.FindDrive(name);
        if (setup == nullptr)
            Fail(drive->source(), "slave.drive", "no table [drive." + QuoteForMessage(name) + "]");
        project.Motion().SetSlaveAxis(number, std::make_unique<CMC_AxisData>(setup));
        project.SetSlaveLimits(number, limits.at(name));
    }

    BYTE AxisId(const toml::table& table, int number) const {
        const toml::node* node = table.get("axis_id");
        if (node == nullptr) return static_cast<BYTE>(number + 1);
        auto value = node->value_exact<std::int64_t>();
        if (!value) Fail(node->source(), "slave.axis_id", "must be an integer");
        if (*value < 0 || *value > kMaxAxisId)
            Fail(node->source(), "slave.axis_id", "must be 0 to 255");
        return static_cast<BYTE>(*value);
    }

    std::string m_source;
};

}  // namespace

std::unique_ptr<Project> LoadProjectText(std::string_view text, const std::string& sourceName) {
    CheckTomlNesting(text, sourceName);
    toml::table root;
    try {
        root = toml::parse(text, sourceName);
    } catch (const toml::parse_error& error) {
        const SourcePlace place{sourceName, static_cast<std::uint32_t>(error.source().begin.line)};
        throw AppError(PlaceMessage(place, "broken TOML: " + std::string(error.description())));
    }
    return ProjectLoader(sourceName).Load(root);
}

std::unique_ptr<Project> LoadProjectFile(const std::string& path) {
    return LoadProjectText(ReadWholeFile(path, kProjectSizeLimit), path);
}
