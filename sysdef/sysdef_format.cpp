#include "sysdef/sysdef_format.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "common/format.h"

namespace sysdef {

namespace {

constexpr std::size_t kNameWidth = 8;
constexpr std::size_t kInputsColumn = 16;
constexpr std::size_t kOutputsColumn = 20;
constexpr std::size_t kPortWidth = 4;
constexpr std::size_t kInRangeColumn = 26;
constexpr std::size_t kOutRangeColumn = 28;
constexpr std::size_t kIdleInCountColumn = 30;
constexpr std::size_t kIdleOutCountColumn = 32;
constexpr std::size_t kSmallWidth = 2;
constexpr std::size_t kFirstIdleColumn = 34;
constexpr std::size_t kIdleValueWidth = 3;
constexpr std::size_t kIdleRangeWidth = 6;

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// A line shorter than the column gives what is there, possibly nothing.
std::string_view Column(std::string_view line, std::size_t column, std::size_t width) {
    if (column >= line.size()) {
        return {};
    }
    return line.substr(column, width);
}

std::string WithoutLeadingSpace(std::string_view text) {
    const auto first = std::find_if_not(text.begin(), text.end(), IsSpace);
    return std::string(first, text.end());
}

// Reads `count` idle ranges from `column` on; a negative count (a damaged file) reads none.
std::size_t ReadIdleRanges(std::string_view line, std::size_t column, std::int32_t count,
                           std::optional<std::vector<std::uint32_t>>& starts,
                           std::optional<std::vector<std::uint32_t>>& lengths) {
    if (count == 0) {
        return column;
    }
    starts.emplace();
    lengths.emplace();
    for (std::int32_t k = 0; k < count; ++k) {
        const std::size_t at = column + static_cast<std::size_t>(k) * kIdleRangeWidth;
        starts->push_back(
            static_cast<std::uint32_t>(ReadDecimalField(Column(line, at, kIdleValueWidth))));
        lengths->push_back(static_cast<std::uint32_t>(
            ReadDecimalField(Column(line, at + kIdleValueWidth, kIdleValueWidth))));
    }
    return column + static_cast<std::size_t>(std::max(count, 0)) * kIdleRangeWidth;
}

void AppendIdleRanges(std::string& line, std::int32_t count,
                      const std::optional<std::vector<std::uint32_t>>& starts,
                      const std::optional<std::vector<std::uint32_t>>& lengths) {
    for (std::int32_t k = 0; k < count; ++k) {
        const auto i = static_cast<std::size_t>(k);
        line +=
            tav::Format("%3d%3d", static_cast<int>((*starts)[i]), static_cast<int>((*lengths)[i]));
    }
}

std::string NameProblem(const char* what, const std::string& name) {
    if (name.size() > kMaxNameLength) {
        return tav::Format("%s name \"%s\" has %d characters; the file holds at most %d.", what,
                           name, static_cast<int>(name.size()), static_cast<int>(kMaxNameLength));
    }
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return std::iscntrl(static_cast<unsigned char>(c)) != 0; })) {
        return tav::Format("%s name holds a control character, which the file cannot hold.", what);
    }
    if (!name.empty() && IsSpace(name.front())) {
        return tav::Format("%s name \"%s\" starts with white space, which the file cannot keep.",
                           what, name);
    }
    return {};
}

std::string NumberProblem(const char* what, std::int64_t value, std::int64_t most) {
    if (value < 0 || value > most) {
        return tav::Format("%s %lld does not fit the file (0 to %lld).", what,
                           static_cast<long long>(value), static_cast<long long>(most));
    }
    return {};
}

std::string IdleProblem(const char* what, std::int32_t count,
                        const std::optional<std::vector<std::uint32_t>>& starts,
                        const std::optional<std::vector<std::uint32_t>>& lengths) {
    if (count < 0 || count > kMaxRangeField) {
        return tav::Format("%s: %d ranges do not fit the file (0 to %d).", what, count,
                           kMaxRangeField);
    }
    const std::size_t stored = std::min(starts ? starts->size() : 0, lengths ? lengths->size() : 0);
    if (static_cast<std::size_t>(count) > stored) {
        return tav::Format("%s: %d ranges counted but only %d stored.", what, count,
                           static_cast<int>(stored));
    }
    for (std::int32_t k = 0; k < count; ++k) {
        const auto i = static_cast<std::size_t>(k);
        for (const auto& [part, value] :
             {std::pair{"start", (*starts)[i]}, std::pair{"length", (*lengths)[i]}}) {
            if (value > kMaxIdleValue) {
                return tav::Format("%s range %d: %s %u does not fit the file (0 to %u).", what,
                                   k + 1, std::string(part), value, kMaxIdleValue);
            }
        }
    }
    return {};
}

std::string RecordProblem(const SysDefRecord& r) {
    for (std::string problem :
         {NameProblem("Switcher", r.m_strSwitcher), NameProblem("Level", r.m_strLevel),
          NumberProblem("#In", r.m_nInputs, kMaxPortCount),
          NumberProblem("#Out", r.m_nOutputs, kMaxPortCount),
          NumberProblem("In. Range", r.m_nInRange, kMaxRangeField),
          NumberProblem("Out. Range", r.m_nOutRange, kMaxRangeField),
          IdleProblem("Idle Inputs", r.m_nIdleInRanges, r.m_pIdleInStart, r.m_pIdleInCount),
          IdleProblem("Idle Outputs", r.m_nIdleOutRanges, r.m_pIdleOutStart, r.m_pIdleOutCount)}) {
        if (!problem.empty()) {
            return problem;
        }
    }
    return {};
}

}  // namespace

std::int32_t ReadDecimalField(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && IsSpace(field[i])) {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    // Clamped like strtol, so that no field, however long, can overflow.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < field.size() && std::isdigit(static_cast<unsigned char>(field[i])) != 0; ++i) {
        value = std::min(value * 10 + (field[i] - '0'), kLimit);
    }
    value = negative ? -value : std::min(value, kLimit - 1);
    return static_cast<std::int32_t>(value);
}

std::string FormatSysDefLine(const SysDefRecord& record, std::size_t position) {
    std::string line = tav::Format(
        "%8s%8s%4d%4d%2d%2d%2d%2d%2d", record.m_strSwitcher, record.m_strLevel, record.m_nInputs,
        record.m_nOutputs, static_cast<int>(position), record.m_nInRange, record.m_nOutRange,
        record.m_nIdleInRanges, record.m_nIdleOutRanges);
    AppendIdleRanges(line, record.m_nIdleInRanges, record.m_pIdleInStart, record.m_pIdleInCount);
    AppendIdleRanges(line, record.m_nIdleOutRanges, record.m_pIdleOutStart, record.m_pIdleOutCount);
    return line;
}

std::unique_ptr<SysDefRecord> ParseSysDefLine(std::string_view line) {
    auto record = std::make_unique<SysDefRecord>();
    record->m_strSwitcher = WithoutLeadingSpace(Column(line, 0, kNameWidth));
    record->m_strLevel = WithoutLeadingSpace(Column(line, kNameWidth, kNameWidth));
    record->m_nInputs = ReadDecimalField(Column(line, kInputsColumn, kPortWidth));
    record->m_nOutputs = ReadDecimalField(Column(line, kOutputsColumn, kPortWidth));
    record->m_nInRange = ReadDecimalField(Column(line, kInRangeColumn, kSmallWidth));
    record->m_nOutRange = ReadDecimalField(Column(line, kOutRangeColumn, kSmallWidth));
    record->m_nIdleInRanges = ReadDecimalField(Column(line, kIdleInCountColumn, kSmallWidth));
    record->m_nIdleOutRanges = ReadDecimalField(Column(line, kIdleOutCountColumn, kSmallWidth));
    const std::size_t outputs = ReadIdleRanges(line, kFirstIdleColumn, record->m_nIdleInRanges,
                                               record->m_pIdleInStart, record->m_pIdleInCount);
    ReadIdleRanges(line, outputs, record->m_nIdleOutRanges, record->m_pIdleOutStart,
                   record->m_pIdleOutCount);
    return record;
}

std::string FindUnfitValue(const SysDefTable& table) {
    if (table.size() > kMaxRows) {
        return tav::Format("The table has %d rows; the file holds at most %d.",
                           static_cast<int>(table.size()), static_cast<int>(kMaxRows));
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        const SysDefRecord* record = table[i].get();
        if (record == nullptr) {
            return tav::Format("Row %d has no record.", static_cast<int>(i + 1));
        }
        if (std::string problem = RecordProblem(*record); !problem.empty()) {
            return tav::Format("Row %d (Switcher %s, Level %s): %s", static_cast<int>(i + 1),
                               record->m_strSwitcher, record->m_strLevel, problem);
        }
    }
    return {};
}

}  // namespace sysdef
