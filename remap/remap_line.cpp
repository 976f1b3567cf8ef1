#include "remap/remap_line.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "common/format.h"
#include "records/limits.h"
#include "remap/tav_dlg.h"

namespace {

// Numeric fields keep only what follows a lower-case "x" (as in "0x12"); names and comments are
// taken whole, so a name with an "x" in it reads back as written.
std::string_view CutAtX(std::string_view field) {
    // Numeric fields are a few characters: a plain loop beats a library search call.
    for (std::size_t i = field.size(); i > 0; --i) {
        if (field[field.size() - i] == 'x') {
            return field.substr(field.size() - i + 1);
        }
    }
    return field;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A numeric field read as the platform's atoi reads it, but only when the number is one the
// table can hold: a row of the System Definition Table or a port number. A number beyond that
// (or beyond the integer range, where atoi would wrap) is damage, not a remap.
std::optional<std::int32_t> ReadNumberField(std::string_view field, std::int32_t max) {
    // The usual field is digits alone, with no "x" to cut at and nothing to skip: one pass reads
    // it, without the search for an "x" first. A number too large is held just past the limit and
    // refused only once the pass has seen that no "x" follows, after which only its digits count.
    {
        std::int64_t value = 0;
        std::size_t i = 0;
        for (; i < field.size() && IsDigit(field[i]); ++i) {
            value = std::min<std::int64_t>(value * 10 + (field[i] - '0'), std::int64_t{max} + 1);
        }
        if (i == field.size()) {
            return value > max ? std::nullopt : std::optional<std::int32_t>(value);
        }
    }
    const std::string_view text = CutAtX(field);
    std::size_t i = 0;
    // A digit is never white space in any locale: the usual field skips the library call.
    while (i < text.size() && !IsDigit(text[i]) &&
           std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > max) {
            return std::nullopt;
        }
    }
    if (negative && value != 0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// The field reader on views of the line, so that a table of many lines is read without copying
// each line's rest for every field. GetNextField is this with strings.
bool NextField(std::string_view line, std::size_t& position, std::string_view& field) {
    if (position >= line.size()) {
        return false;
    }
    const std::string_view rest = line.substr(position);
    const auto comma = rest.find(',');
    if (comma == std::string_view::npos) {
        // The last field runs to the end of the line, less the CR of a CR LF line. A line that
        // was appended with LF alone keeps its last character. The position stays, so asking
        // again gives the same text.
        field = rest;
        if (!field.empty() && field.back() == '\r') {
            field.remove_suffix(1);
        }
        return true;
    }
    field = rest.substr(0, comma);
    position += comma + 1;
    return true;
}

}  // namespace

int AtoI(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t kPastInt = std::int64_t{INT_MAX} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kPastInt);
    }
    return static_cast<int>(std::clamp<std::int64_t>(negative ? -value : value, INT_MIN, INT_MAX));
}

std::string FormatCrcLine(std::uint16_t crc) {
    return tav::Format("CONFIGCRC(%d)", static_cast<int>(crc));
}

std::string FormatRemapLine(const CRemapEntry& e) {
    return tav::Format("%s,%s,%s,%s,%d,%d,%d,%d,%d,%s", e.m_strTime, e.m_strDate, e.m_strSwitcher,
                       e.m_strLevel, e.m_nRow, e.m_nOrigFirst, e.m_nOrigLast, e.m_nNewFirst,
                       e.m_nNewLast, e.m_strComment);
}

std::uint16_t ParseTableCrc(const std::string& afterMarker) {
    const auto end = afterMarker.find_first_not_of("-0123456789");
    const std::string digits = afterMarker.substr(0, end);
    return static_cast<std::uint16_t>(std::strtol(digits.c_str(), nullptr, 10) & 0xFFFF);
}

bool CTavDlg::GetNextField(const std::string& line, std::size_t& position, std::string& field) {
    std::string_view view;
    if (!NextField(line, position, view)) {
        return false;
    }
    field.assign(view);
    return true;
}

std::unique_ptr<CRemapEntry> ParseRemapLine(const std::string& line) {
    // Nine commas end the nine fields before the comment. The field reader repeats the last field
    // of a short line, so without this a line cut short (an interrupted append) would read as a
    // remap nobody made.
    // A NUL byte is never written (a file system that lost power can leave blocks of them).
    // One pass over the line finds both, and the fields are cut as the field reader cuts them:
    // the tenth runs to the next comma, else to the end of the line less a CR.
    std::size_t commas[10];
    std::size_t found = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\0') {
            return nullptr;
        }
        if (c == ',' && found < 10) {
            commas[found++] = i;
        }
    }
    if (found < 9 || commas[8] + 1 >= line.size()) {
        return nullptr;  // fewer than ten fields
    }
    const std::string_view text(line);
    const auto field = [&](std::size_t i) {
        const std::size_t start = i == 0 ? 0 : commas[i - 1] + 1;
        if (i < found) {
            return text.substr(start, commas[i] - start);
        }
        std::string_view last = text.substr(start);
        if (last.back() == '\r') {
            last.remove_suffix(1);
        }
        return last;
    };
    const auto row = ReadNumberField(field(4), static_cast<std::int32_t>(records::kMaxRows) - 1);
    const auto origFirst = ReadNumberField(field(5), records::kMaxPortCount);
    const auto origLast = ReadNumberField(field(6), records::kMaxPortCount);
    const auto newFirst = ReadNumberField(field(7), records::kMaxPortCount);
    const auto newLast = ReadNumberField(field(8), records::kMaxPortCount);
    if (!row || !origFirst || !origLast || !newFirst || !newLast) {
        return nullptr;
    }
    // An empty comment (a line with fields beyond the tenth) is kept as the table's "none", so
    // that the line it is written back as reads again.
    const std::string_view comment = field(9);
    // Each member is made from its field in place, not made empty first and then assigned.
    auto entry = std::unique_ptr<CRemapEntry>(new CRemapEntry{
        .m_strTime = std::string(field(0)),
        .m_strDate = std::string(field(1)),
        .m_strSwitcher = std::string(field(2)),
        .m_strLevel = std::string(field(3)),
        .m_nRow = *row,
        .m_nOrigFirst = *origFirst,
        .m_nOrigLast = *origLast,
        .m_nNewFirst = *newFirst,
        .m_nNewLast = *newLast,
        .m_strComment = std::string(comment.empty() ? std::string_view(" ") : comment),
    });
    return entry;
}

std::string TableComment(const std::string& typed) {
    std::string comment;
    for (char c : typed) {
        if (c == ',') {
            comment += ';';
        } else if (c == '\r' || c == '\n') {
            if (comment.empty() || comment.back() != ' ') {
                comment += ' ';
            }
        } else {
            comment += c;
        }
    }
    return comment.empty() ? " " : comment;
}
