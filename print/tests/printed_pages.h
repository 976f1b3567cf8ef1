// A printed document's pages as lines, each checked to stand at x 0 on its own line; and the
// checks of a printout on paper of a given size: every line within the printable area, and the
// lines that continued under their column joined again.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "print/print_layout.h"

namespace apptest {

using Pages = std::vector<std::vector<std::string>>;

inline Pages PagesOf(const headless::PrintedDocument& doc) {
    Pages pages;
    for (const auto& page : doc.pages) {
        pages.emplace_back();
        for (std::size_t n = 0; n < page.size(); ++n) {
            EXPECT_EQ(page[n].x, 0);
            EXPECT_EQ(page[n].y,
                      static_cast<int>(n) * headless::PrinterPageModel::LineHeight(page[n].points))
                << page[n].text;
            pages.back().push_back(page[n].text);
        }
    }
    return pages;
}

// A sheet of paper with margins of 10 mm all round.
inline fw::PageLayout Paper(const std::string& name, bool landscape) {
    const bool a4 = name == "A4";
    return {true, name, a4 ? 210 : 215.9, a4 ? 297 : 279.4, landscape, 10, 10, 10, 10};
}

// Every text of the document is drawn in a font of `points` and lies wholly within the printable
// area.
inline void ExpectWithinTheArea(const headless::PrintedDocument& doc, int points) {
    for (const auto& page : doc.pages) {
        for (const auto& text : page) {
            EXPECT_EQ(text.points, points) << text.text;
            const int width = headless::PrinterPageModel::TextWidth(
                text.points, std::string(PrintedPart(text.text)));
            EXPECT_LE(width, doc.area.cx) << text.text;
            EXPECT_LE(text.y + headless::PrinterPageModel::LineHeight(text.points), doc.area.cy)
                << text.text;
        }
    }
}

// The lines below each page's header, with every continuation (a line starting with `column`
// blanks) joined to the line it continues. A page starts with a continuation only when its line
// took the whole of the page before.
inline std::vector<std::string> Rejoined(const Pages& pages, std::size_t column) {
    const std::string indent(column, ' ');
    const auto continues = [&](const std::string& line) { return line.starts_with(indent); };
    std::vector<std::string> lines;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        for (std::size_t n = 1; n < pages[p].size(); ++n) {
            if (!continues(pages[p][n])) {
                lines.push_back(pages[p][n]);
                continue;
            }
            if (n == 1) {
                EXPECT_GT(p, 0u);
                for (std::size_t m = 2; p > 0 && m < pages[p - 1].size(); ++m) {
                    EXPECT_TRUE(continues(pages[p - 1][m]))
                        << "page " << p + 1 << " goes on with a line page " << p << " had room for";
                }
            }
            if (!lines.empty()) {
                lines.back() += pages[p][n].substr(column);
            }
        }
    }
    return lines;
}

}  // namespace apptest
