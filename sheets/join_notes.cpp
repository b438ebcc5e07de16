#include "sheets/join_notes.h"

namespace vortalis::sheets {

std::string PageList(const std::vector<int>& numbers, ListStyle style) {
  std::string text = numbers.size() == 1 ? "page " : "pages ";
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0)
      text += style == ListStyle::Spoken && i + 1 == numbers.size() ? " and " : ", ";
    text += std::to_string(numbers[i]);
  }
  return text;
}

JoinNotes JoinNotesOf(const Neighbours& neighbours, const std::vector<int>& numbers,
                      ListStyle style) {
  const auto list = [&](const std::vector<std::size_t>& sheets) {
    std::vector<int> pages;
    for (const std::size_t sheet : sheets) pages.push_back(numbers[sheet]);
    return PageList(pages, style);
  };
  JoinNotes notes;
  if (!neighbours.left.empty()) notes.left = "trim this edge,\nglue over " + list(neighbours.left);
  if (!neighbours.right.empty())
    notes.right = "continues on " + list(neighbours.right) + ",\nglued over this edge";
  if (!neighbours.above.empty()) notes.above = "trim this edge, glue over " + list(neighbours.above);
  if (!neighbours.below.empty())
    notes.below = "continues on " + list(neighbours.below) + ", glued over this edge";
  return notes;
}

}  // namespace vortalis::sheets
