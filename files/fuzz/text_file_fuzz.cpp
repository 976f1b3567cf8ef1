// libFuzzer entry: whatever a table file or the System Definition file holds, the text file's
// line reader gives back exactly its lines, whatever their length against the buffer: each LF
// ends a line (a CR before it stays), the last line without an LF loses its last character (the
// CR of a CR LF writer), and nothing is read twice, dropped or read past the buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/line_buffer.h"

namespace {

void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

std::vector<std::string> LinesOf(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t lf = content.find('\n'); lf != std::string_view::npos;
         lf = content.find('\n', start)) {
        lines.emplace_back(content.substr(start, lf - start));
        start = lf + 1;
    }
    if (start < content.size()) {
        lines.emplace_back(content.substr(start, content.size() - start - 1));
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    CLineBuffer buffer;
    std::size_t offset = 0;
    std::vector<std::string> lines;
    std::string line;
    // As CTavFile::ReadLine with File Access underneath, which delivers all that is asked for
    // until the end of the file.
    for (std::size_t rounds = 0;; ++rounds) {
        Require(rounds <= 4 * size + 8);  // every round takes a line or reads
        if (buffer.TakeLine(line)) {
            lines.push_back(line);
            continue;
        }
        const std::span<char> space = buffer.Space();
        if (space.empty()) {
            Require(buffer.Ended());
            break;
        }
        const std::size_t count = std::min(space.size(), size - offset);
        std::memcpy(space.data(), content.data() + offset, count);
        offset += count;
        buffer.Filled(static_cast<std::uint32_t>(count), static_cast<std::uint32_t>(space.size()));
    }
    Require(offset == size);
    Require(lines == LinesOf(content));
    Require(!buffer.TakeLine(line) && buffer.Space().empty());
    return 0;
}
