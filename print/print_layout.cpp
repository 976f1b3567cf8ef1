#include "print/print_layout.h"

#include <algorithm>

namespace {

bool StartsChar(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

// The byte offset just after the first `chars` characters of text, or its end.
std::size_t OffsetAfter(std::string_view text, std::size_t chars) {
    std::size_t at = 0;
    for (std::size_t n = 0; n < chars && at < text.size(); ++n) {
        ++at;
        while (at < text.size() && !StartsChar(text[at])) {
            ++at;
        }
    }
    return at;
}

// The bytes of text that go on a line with room for `room` characters: all of it when it fits,
// else up to and with the last run of blanks that starts within the room at character
// `firstBreak` or later, else exactly `room` characters.
std::size_t TakePart(std::string_view text, std::size_t room, std::size_t firstBreak) {
    if (PrintedChars(PrintedPart(text)) <= room) {
        return text.size();
    }
    const std::size_t cut = OffsetAfter(text, room);
    const std::size_t earliest = std::max<std::size_t>(OffsetAfter(text, firstBreak), 1);
    const std::size_t blank = text.rfind(' ', cut);
    if (blank == std::string_view::npos || blank < earliest) {
        return cut;
    }
    std::size_t end = blank;
    while (end < text.size() && text[end] == ' ') {
        ++end;
    }
    return end;
}

}  // namespace

std::size_t PrintedChars(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), StartsChar));
}

std::string_view PrintedPart(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::vector<std::string> ContinueLine(const std::string& line, std::size_t width,
                                      std::size_t column) {
    width = std::max<std::size_t>(width, 1);
    if (PrintedChars(PrintedPart(line)) <= width) {
        return {line};
    }
    if (column >= width || width - column < kLeastContinuationRoom) {
        column = 0;
    }
    std::vector<std::string> lines;
    std::string_view rest = line;
    std::size_t take = TakePart(rest, width, column);
    lines.emplace_back(rest.substr(0, take));
    rest.remove_prefix(take);
    while (!rest.empty()) {
        take = TakePart(rest, width - column, 1);
        lines.push_back(std::string(column, ' ').append(rest.substr(0, take)));
        rest.remove_prefix(take);
    }
    return lines;
}
