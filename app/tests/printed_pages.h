// A printed document's pages as lines, each checked to stand at x 0 on its own line.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

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

}  // namespace apptest
