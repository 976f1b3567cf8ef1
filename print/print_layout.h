// How a printout's text lines fit the paper: the font size, and the lines continued under their
// last column when even the smallest size leaves them wider than the page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The printer font runs from the largest size down to the smallest that stays legible on paper
// (about 1.5 mm capitals in the fixed-pitch font); lines still too wide at that size continue on
// the next line rather than shrink further.
inline constexpr int kLargestPrintPoints = 10;
inline constexpr int kSmallestPrintPoints = 7;

// A continuation starts under its column only while at least this many characters fit there;
// on a page narrower still it starts at the left edge.
inline constexpr std::size_t kLeastContinuationRoom = 10;

// Characters in a UTF-8 text (each takes one place in the fixed-pitch font).
std::size_t PrintedChars(std::string_view text);

// The text without the blanks at its end, which print nothing.
std::string_view PrintedPart(std::string_view text);

// A line as printed on a page that holds `width` characters: the line itself when it fits;
// otherwise its first part, then continuation lines that start with `column` blanks, so that
// what follows stands under the line's last column. Parts end after a blank where they can (the
// first part only after one at or beyond the column, so the columns before it stay whole), else
// they are cut at the width. Nothing is dropped: the parts, without the continuations' leading
// blanks, make up the line again.
std::vector<std::string> ContinueLine(const std::string& line, std::size_t width,
                                      std::size_t column);
