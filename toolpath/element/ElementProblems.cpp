#include "toolpath/element/ElementProblems.h"

#include <array>
#include <initializer_list>
#include <memory>
#include <optional>

#include "base/EscapedText.h"
#include "host/CMC_ArrayParameter.h"
#include "host/CMC_AxisData.h"
#include "host/CMC_EditMotionInternalData.h"
#include "host/CMC_Motion.h"
#include "host/CMC_Setup.h"
#include "host/CMC_Units.h"
#include "host/CMC_Value.h"
#include "host/CMotionEvent.h"
#include "host/ControllerParameters.h"
#include "host/ParameterText.h"
#include "toolpath/element/ElementPath.h"

namespace {

constexpr const char* kSlaveEntries[3] = {"SlaveX", "SlaveY", "SlaveZ"};
// The program names slaves by the letters 'A' + slave.
constexpr int kLastLetteredSlave = 'Z' - 'A';
// Values are checked this many at a time; only a group that fails is checked value by value.
constexpr size_t kValuesPerCheck = 1024;

// The reason behind a value message of the host's columns, "Value 3 of entry "X_TPOS" is out of
// range: "1e99" (allowed ...)!": what follows the entry's name, without the value (the problem
// quotes it already) and the closing mark.
std::string ValueReason(const std::string& message, const std::string& entry,
                        std::string_view value) {
    std::string reason = message;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r')) reason.pop_back();
    if (!reason.empty() && reason.back() == '!') reason.pop_back();
    const std::string marker = "of entry \"" + entry + "\" ";
    if (const size_t at = reason.find(marker); at != std::string::npos)
        reason.erase(0, at + marker.size());
    const std::string quoted = ": " + Quoted(value);
    if (const size_t at = reason.find(quoted); at != std::string::npos)
        reason.erase(at, quoted.size());
    return reason;
}

// Reads the element with the host's operations in the module's order and by its rules (see
// module/model), noting where each of the module's refusals lies.
class ProblemLocator : public CMC_EditMotionInternalData {
  public:
    ProblemLocator(CMC_Setup& controller, CMC_Motion& motion)
        : CMC_EditMotionInternalData(controller, motion) {}

    int ReadParameters(const CString& text, CString&) override {
        Locate(text);
        return m_problems.total == 0 ? 1 : 0;
    }
    void WriteParameters(CString&) override {}

    ElementProblems TakeProblems() { return std::move(m_problems); }

    bool Accepted() const { return m_clean && m_problems.total == 0; }

    // The path of an element with no problem at all; nothing otherwise.
    std::optional<ElementPath> AcceptedPath() const {
        if (!Accepted()) return std::nullopt;
        const int axisCount = m_profile == 1 ? 3 : 2;
        ElementColumns read{axisCount, m_slaves, m_unitKind, m_columnSetup, {}};
        for (size_t i = 0; i < read.columns.size(); ++i) read.columns[i] = m_columns[i].get();
        return PathOfColumns(read);
    }

  private:
    void Locate(const CString& text) {
        Expect(ReadRadioParam(text, "ProfileType", m_profile, 0, 1));
        if (!m_clean) m_profile = 0;
        const int axisCount = m_profile == 1 ? 3 : 2;
        LocateSlave(text, 0, {});
        LocateSlave(text, 1, {0});
        if (axisCount == 3) LocateSlave(text, 2, {0, 1});

        const ElementAxes axes = ChooseElementAxes(*m_pMotion, m_slaves, axisCount);
        m_unitKind = axes.kind;
        m_columnSetup = axes.setup ? axes.setup : m_pSetup;
        for (int i = 0; i < axisCount; ++i) ReadColumn(text, kColumnX + i);
        ReadColumn(text, kColumnAcceleration);
        ReadColumn(text, kColumnSpeed);
        LocateCounts(axisCount);
        LocateNegatives(kColumnAcceleration);
        LocateNegatives(kColumnSpeed);
        ReadStart(text);
        // The module validates the segments only when every entry could be read.
        if (m_clean) LocateZeroSegments(axisCount);
    }

    void Add(ElementProblem problem) {
        ++m_problems.total;
        if (m_problems.located.size() < kMostLocatedProblems)
            m_problems.located.push_back(std::move(problem));
    }

    // A problem the host's message already names: nothing to locate, but the entries are not
    // clean.
    void Expect(const CString& message) {
        if (!message.IsEmpty()) m_clean = false;
    }
    void Expect(const std::string& message) {
        if (!message.empty()) m_clean = false;
    }

    void LocateSlave(const CString& text, int axis, std::initializer_list<int> mustDiffer) {
        const char* entry = kSlaveEntries[axis];
        int& slave = m_slaves[static_cast<size_t>(axis)];
        const CString message =
            ReadRadioParam(text, entry, slave, 0, m_pSetup->GetMotionControllerSlaveCount());
        if (!message.IsEmpty()) {
            m_clean = false;
            return;
        }
        const std::string why = WhySlaveUnusable(slave, mustDiffer);
        if (why.empty()) return;
        m_clean = false;
        if (m_unusableSlave.empty()) m_unusableSlave = entry;
        Add({-1, entry, std::to_string(slave), why});
    }

    // The module's conditions on a slave (CInternalData::ReadSlave), in its order.
    std::string WhySlaveUnusable(int slave, std::initializer_list<int> mustDiffer) const {
        const std::string name = "slave " + std::to_string(slave);
        for (int other : mustDiffer) {
            if (slave == m_slaves[static_cast<size_t>(other)])
                return name + " is already " + kSlaveEntries[other] + "'s";
        }
        if (slave < 0 || slave > kLastLetteredSlave)
            return name + " has no axis letter (slaves 0 to " + std::to_string(kLastLetteredSlave) +
                   " are A to Z)";
        BYTE axisId = 0;
        if (!m_pSetup->MotionController_GetAxisIDOfSlave(static_cast<BYTE>(slave), axisId))
            return name + " is not on the controller (it has slaves 0 to " +
                   std::to_string(m_pSetup->GetMotionControllerSlaveCount() - 1) + ")";
        if (axisId == 0) return name + " has no axis (its axis id is 0)";
        CMC_AxisData* axisData = m_pMotion->GetMotionControllerSlaveAxis(slave);
        CMC_Setup* setup = axisData ? axisData->GetAxisSetup() : nullptr;
        if (!setup) return name + " has no drive";
        if (!setup->GetIntOption("IsClosedPosition"))
            return name + "'s drive does not run in closed position";
        return {};
    }

    // The column's type and the unit its entry's values are read in, as the module reads it.
    struct ColumnReading {
        int type = 0;
        std::string unit;
    };

    // Without units the module reads positions as whole counts, the dynamics as fixed point.
    static int NoUnitTypeOf(int column) {
        return column <= kColumnZ ? static_cast<int>(VT_LONG) : static_cast<int>(VT_FIXED);
    }

    ColumnReading ReadingOf(int column, const parametertext::Entry& entry) const {
        const ElementColumnName& name = ElementColumnNameOf(column);
        if (m_unitKind == UnitKind::None) return {NoUnitTypeOf(column), ""};
        const std::string internal =
            std::string(CMC_Units::InternalUnitName(name.parameter->quantity));
        return {name.parameter->type, entry.unit.empty() ? internal : std::string(entry.unit)};
    }

    // The no-unit rule of CInternalData::ReadNoUnitColumn: such columns hold internal numbers.
    bool HasUnitItCannotTake(int column, const parametertext::Entry& entry) const {
        if (m_unitKind != UnitKind::None || entry.unit.empty()) return false;
        const ElementColumnName& name = ElementColumnNameOf(column);
        return entry.unit != std::string(CMC_Units::InternalUnitName(name.parameter->quantity));
    }

    void ReadColumn(const CString& text, int column) {
        const ElementColumnName& name = ElementColumnNameOf(column);
        auto& read = m_columns[static_cast<size_t>(column)];
        read = std::make_unique<CMC_ArrayParameter>(m_columnSetup);
        const std::optional<parametertext::Entry> entry =
            parametertext::FindEntry(text.str(), name.entry);
        if (entry && HasUnitItCannotTake(column, *entry)) {
            m_clean = false;
            read.reset();
            const std::string internal =
                std::string(CMC_Units::InternalUnitName(name.parameter->quantity));
            Add({-1, name.entry, std::string(entry->unit),
                 "the unit " + Quoted(entry->unit) + " cannot be used: the axes share no unit" +
                     (m_unusableSlave.empty() ? "" : " (" + m_unusableSlave + " cannot be used)") +
                     ", so the values are internal numbers; write " + name.entry + "[] or " +
                     name.entry + "[" + internal + "]"});
            return;
        }
        const CString message =
            m_unitKind != UnitKind::None
                ? ReadArrayDataParam(text, name.parameter->name, name.prefix, nullptr, read.get())
                : ReadNoUnitArrayDataParam(text, NoUnitTypeOf(column), name.entry, read.get());
        if (message.IsEmpty()) return;
        m_clean = false;
        read.reset();
        if (entry && parametertext::FormProblem(name.entry, *entry).empty())
            LocateBadValues(column, *entry);
    }

    // Every value of the entry that its column cannot hold, each with its segment.
    void LocateBadValues(int column, const parametertext::Entry& entry) {
        const ElementColumnName& name = ElementColumnNameOf(column);
        const ColumnReading reading = ReadingOf(column, entry);
        std::vector<std::string_view> tokens;
        parametertext::ForEachToken(entry.value, [&](std::string_view token) {
            tokens.push_back(token);
            return true;
        });
        CMC_ArrayParameter scratch(m_columnSetup);
        CString error;
        auto fails = [&](size_t first, size_t last) {
            const char* start = tokens[first].data();
            const char* end = tokens[last].data() + tokens[last].size();
            return !scratch.InitializeMotionParam(
                reading.type, name.entry, reading.unit.c_str(),
                std::string_view(start, static_cast<size_t>(end - start)), MC_UNSET_LIMIT,
                MC_UNSET_LIMIT, error);
        };
        for (size_t first = 0; first < tokens.size(); first += kValuesPerCheck) {
            const size_t last = std::min(tokens.size(), first + kValuesPerCheck) - 1;
            if (!fails(first, last)) continue;
            for (size_t i = first; i <= last; ++i) {
                if (!fails(i, i)) continue;
                Add({static_cast<long long>(i), name.entry, std::string(tokens[i]),
                     ValueReason(error.str(), name.entry, tokens[i])});
            }
        }
    }

    const CMC_ArrayParameter* Column(int column) const {
        return m_columns[static_cast<size_t>(column)].get();
    }

    // The module's counts: X holds at least one value, the others one for each of X's.
    void LocateCounts(int axisCount) {
        const CMC_ArrayParameter* x = Column(kColumnX);
        const int n = x ? x->GetValuesCount() : 0;
        if (x && n < 1) {
            m_clean = false;
            Add({-1, ElementColumnNameOf(kColumnX).entry, "",
                 "holds no values; an element has at least one segment"});
        }
        for (int column : {kColumnY, kColumnZ, kColumnAcceleration, kColumnSpeed}) {
            if (column == kColumnZ && axisCount < 3) continue;
            const CMC_ArrayParameter* read = Column(column);
            // Positions are counted against X only when X has values; the dynamics always.
            const bool againstX = column > kColumnZ || (x && n >= 1);
            if (!read || !againstX || read->GetValuesCount() == n) continue;
            m_clean = false;
            m_countProblem[static_cast<size_t>(column)] = true;
            const std::string values = Values(read->GetValuesCount());
            Add({-1, ElementColumnNameOf(column).entry, "",
                 x ? "holds " + values + ", X_TPOS " + std::to_string(n) +
                         ": one is needed for each segment"
                   : "holds " + values +
                         ", but X_TPOS could not be read, so there are no segments to match"});
        }
    }

    static std::string Values(int count) {
        return std::to_string(count) + (count == 1 ? " value" : " values");
    }

    // CInternalData::ReadDynamicsColumn refuses negative values of a column that read whole.
    void LocateNegatives(int column) {
        const CMC_ArrayParameter* read = Column(column);
        if (!read || m_countProblem[static_cast<size_t>(column)]) return;
        for (int i = 0; i < read->GetValuesCount(); ++i) {
            if (!(read->GetValueInInternalUnit(i) < 0.0)) continue;
            m_clean = false;
            std::string unit = read->GetSelectedUnit().str();
            Add({i, ElementColumnNameOf(column).entry,
                 read->PrintValue(i).str() + (unit.empty() ? "" : " " + unit),
                 "is negative; 0 means none of the segment's own"});
        }
    }

    void ReadStart(const CString& text) {
        int execute = 0;
        const CString message = ReadRadioParam(text, "Execute", execute, 0, 1);
        Expect(message);
        if (!message.IsEmpty() || execute != 1) return;
        CMotionEvent event(*m_pSetup, *m_pMotion);
        CString eventMessage;
        if (!event.ReadParameters(text, eventMessage)) m_clean = false;
    }

    // CInternalData::ValidateSegments: a segment must move one of its axes by a count.
    void LocateZeroSegments(int axisCount) {
        const int n = Column(kColumnX)->GetValuesCount();
        for (int i = 0; i < n; ++i) {
            bool moves = false;
            for (int axis = 0; axis < axisCount && !moves; ++axis)
                moves = Column(kColumnX + axis)->GetValueInInternalUnit(i) != 0.0;
            if (!moves) Add({i, "", "", "all increments are 0"});
        }
    }

    int m_profile = 0;
    std::array<int, 3> m_slaves{-1, -1, -1};
    UnitKind m_unitKind = UnitKind::None;
    CMC_Setup* m_columnSetup = nullptr;
    std::array<std::unique_ptr<CMC_ArrayParameter>, kElementColumnCount> m_columns;
    std::array<bool, kElementColumnCount> m_countProblem{};
    bool m_clean = true;          // no entry has a problem so far
    std::string m_unusableSlave;  // the first slave entry that names a slave the module refuses
    ElementProblems m_problems;
};

}  // namespace

std::string ElementProblem::Text() const {
    if (segment < 0) return entry.empty() ? problem : EscapeControls(entry) + ": " + problem;
    std::string text = "segment " + std::to_string(segment) + ": ";
    if (!entry.empty()) text += EscapeControls(entry) + " value " + Quoted(value) + " ";
    return text + problem;
}

ElementProblems LocateElementProblems(std::string_view elementText, CMC_Setup& controller,
                                      CMC_Motion& motion) {
    ProblemLocator locator(controller, motion);
    CString unused;
    locator.ReadParameters(CString(elementText), unused);
    return locator.TakeProblems();
}

std::optional<ElementPath> ReadAcceptedElement(const CString& elementText, CMC_Setup& controller,
                                               CMC_Motion& motion) {
    ProblemLocator locator(controller, motion);
    CString unused;
    locator.ReadParameters(elementText, unused);
    return locator.AcceptedPath();
}

bool ReadingAccepts(const CString& elementText, CMC_Setup& controller, CMC_Motion& motion) {
    ProblemLocator locator(controller, motion);
    CString unused;
    locator.ReadParameters(elementText, unused);
    return locator.Accepted();
}
