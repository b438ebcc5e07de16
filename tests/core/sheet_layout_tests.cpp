#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "sheets/join_notes.h"
#include "sheets/sheet_layout.h"
#include "sheets/shelf_packing.h"

namespace {

namespace sheets = vortalis::sheets;

TEST(SheetLayout, SheetsForALength) {
  // A 200 mm window with 10 mm shared: n sheets show 10 + 190 n mm.
  struct Row {
    double length;
    int sheets;
  };
  for (const Row& row : {Row{150, 1}, Row{200, 1}, Row{200.5, 2}, Row{390, 2},
                         Row{390 + 1e-10, 2}, Row{391, 3}, Row{10 + 190 * 7, 7}})
    EXPECT_EQ(sheets::SheetsFor(row.length, 200, 10), row.sheets) << row.length;
}

TEST(SheetLayout, MarginsShrinkRatherThanTakeASheet) {
  // 200 mm sheets sharing 10 mm show 10 + 190 n mm. A 380 mm drawing with
  // 8 mm margins would need 3 sheets, with 2 mm only 2: the 10 mm spare is
  // shared as the margins were.
  struct Row {
    double high, before, after;
    std::vector<double> starts;
  };
  const double shared = -20.0 * 18 / 26;  // 20 mm spare, 18 : 8
  for (const Row& row : {Row{300, 8, 8, {-8, 182}}, Row{380, 8, 8, {-5, 185}},
                         Row{374, 8, 8, {-8, 182}}, Row{370, 18, 8, {shared, shared + 190}}}) {
    const auto starts = sheets::SheetStarts(0, row.high, row.before, row.after, 2, 200, 10);
    ASSERT_EQ(starts.size(), row.starts.size()) << row.high;
    for (std::size_t k = 0; k < starts.size(); ++k) EXPECT_NEAR(starts[k], row.starts[k], 1e-9);
  }
}

TEST(SheetLayout, BandsJoinedAsAsked) {
  // Sheets 250 high: [0, 100] and [150, 200] overlap nothing, but one sheet
  // holds both; [0, 100] and [600, 700] need a sheet each either way.
  const std::vector<sheets::Band> near{{150, 200}, {0, 100}};
  const std::vector<sheets::Band> far{{0, 100}, {600, 700}};
  EXPECT_EQ(sheets::JoinBands(near, 250, 10, sheets::Joining::Overlapping).size(), 2u);
  const auto fewer = sheets::JoinBands(near, 250, 10, sheets::Joining::FewerSheets);
  ASSERT_EQ(fewer.size(), 1u);
  EXPECT_EQ(fewer[0].low, 0);
  EXPECT_EQ(fewer[0].high, 200);
  EXPECT_EQ(sheets::JoinBands(far, 250, 10, sheets::Joining::FewerSheets).size(), 2u);
  const auto touching =
      sheets::JoinBands({{0, 100}, {100, 180}, {50, 90}}, 250, 10, sheets::Joining::Overlapping);
  ASSERT_EQ(touching.size(), 1u);
  EXPECT_EQ(touching[0].high, 180);
}

// Two walls of a made-up horn laid over 180 x 250 mm sheets: every point of
// each wall is on a sheet, and sheets of one band rise, share at least the
// overlap (exactly it when stepped), and none lies within its neighbours' overlap.
TEST(SheetLayout, SheetsCoverTheCurvesAndNoneLiesWithinAnother) {
  constexpr double kWidth = 180, kHeight = 250, kOverlap = 10, kMargin = 5;
  const auto wall = [](int which, double x) {
    return which == 0 ? 40 + 0.002 * x * x : -40 - 0.001 * x * x;
  };
  for (const auto& [joining, spread] :
       {std::pair{sheets::Joining::Overlapping, sheets::Spread::Stepped},
        std::pair{sheets::Joining::FewerSheets, sheets::Spread::Even}}) {
    struct Sheet {
      double left, bottom;
    };
    std::vector<Sheet> laid;
    for (const double left : sheets::ColumnLefts(0, 1000, kWidth, kOverlap)) {
      std::vector<sheets::Band> bands;
      for (int which = 0; which < 2; ++which) {
        double low = wall(which, left);
        double high = low;
        for (double x = left; x <= left + kWidth; x += 0.5) {
          low = std::min(low, wall(which, x));
          high = std::max(high, wall(which, x));
        }
        bands.push_back({low - kMargin, high + kMargin});
      }
      for (const sheets::Band& band : sheets::JoinBands(bands, kHeight, kOverlap, joining)) {
        const auto bottoms = sheets::SheetBottoms(band, kHeight, kOverlap, spread);
        for (std::size_t k = 1; k < bottoms.size(); ++k) {
          const double shared = bottoms[k - 1] + kHeight - bottoms[k];
          EXPECT_GT(bottoms[k], bottoms[k - 1]);
          if (spread == sheets::Spread::Stepped) {
            EXPECT_NEAR(shared, kOverlap, 1e-9);
          } else {
            EXPECT_GE(shared, kOverlap - 1e-9);
          }
          // Stepped, a sheet's neighbours do not meet: it is not within their overlap.
          if (spread == sheets::Spread::Stepped && k >= 2) {
            EXPECT_LT(bottoms[k - 2] + kHeight, bottoms[k]);
          }
        }
        for (const double bottom : bottoms) laid.push_back({left, bottom});
      }
    }
    for (int which = 0; which < 2; ++which) {
      for (double x = 0; x <= 1000; x += 1) {
        const double y = wall(which, x);
        EXPECT_TRUE(std::any_of(laid.begin(), laid.end(), [&](const Sheet& s) {
          return x >= s.left && x <= s.left + kWidth && y >= s.bottom && y <= s.bottom + kHeight;
        })) << "wall " << which << " at x " << x;
      }
    }
  }
}

TEST(SheetLayout, NeighboursByTheEdgeTheyJoinAt) {
  // Column 1: two sheets stacked with 10 mm shared; column 2: one sheet
  // sharing 10 mm with both; column 3 shares 0.5 mm with column 2 only.
  const std::vector<sheets::Placed> laid{{1, 1, 0, 0, 180, 250},
                                         {1, 2, 0, 240, 180, 250},
                                         {2, 1, 170, 100, 180, 250},
                                         {3, 1, 349.5, 100, 180, 250}};
  const auto first = sheets::NeighboursOf(laid, 0, 1.0);
  EXPECT_EQ(first.above, std::vector<std::size_t>{1});
  EXPECT_EQ(first.right, std::vector<std::size_t>{2});
  EXPECT_TRUE(first.left.empty() && first.below.empty());
  const auto middle = sheets::NeighboursOf(laid, 2, 1.0);
  EXPECT_EQ(middle.left, (std::vector<std::size_t>{0, 1}));
  EXPECT_TRUE(middle.right.empty());
  const auto any = sheets::NeighboursOf(laid, 2, std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(any.right, std::vector<std::size_t>{3});
}

TEST(SheetLayout, JoinNotesNameThePages) {
  struct Row {
    std::vector<int> numbers;
    sheets::ListStyle style;
    const char* text;
  };
  for (const Row& row : {Row{{7}, sheets::ListStyle::Spoken, "page 7"},
                         Row{{3, 4}, sheets::ListStyle::Spoken, "pages 3 and 4"},
                         Row{{3, 4, 5}, sheets::ListStyle::Spoken, "pages 3, 4 and 5"},
                         Row{{3, 4, 5}, sheets::ListStyle::Listed, "pages 3, 4, 5"}})
    EXPECT_EQ(sheets::PageList(row.numbers, row.style), row.text);
  sheets::Neighbours neighbours;
  neighbours.left = {0, 2};
  neighbours.below = {1};
  const auto notes =
      sheets::JoinNotesOf(neighbours, {12, 13, 14}, sheets::ListStyle::Spoken);
  EXPECT_EQ(notes.left, "trim this edge,\nglue over pages 12 and 14");
  EXPECT_EQ(notes.below, "continues on page 13, glued over this edge");
  EXPECT_TRUE(notes.right.empty() && notes.above.empty());
}

// Pieces sharing 190 x 238 mm sheets with a 10 mm cutting gap: each box lies
// on its sheet, any two on one sheet are at least the gap apart across or
// along, sheets follow the boxes' order, and squares need the sheets that
// rows of floor((W + gap) / (w + gap)) by as many rows take.
TEST(ShelfPacking, BoxesStayOnTheirSheetAndApart) {
  constexpr double kWidth = 190, kHeight = 238, kGap = 10;
  std::vector<sheets::BoxSize> growing;  // rings from 20 to 180 mm across
  for (double d = 20; d <= 180; d += 7) growing.push_back({d, d + 12});
  std::vector<sheets::BoxSize> mixed;
  for (int i = 0; i < 40; ++i)
    mixed.push_back({10.0 + (i * 37) % 170, 5.0 + (i * 53) % 220});
  const std::vector<sheets::BoxSize> squares(40, {50, 50});
  const std::vector<sheets::BoxSize> whole(3, {kWidth, kHeight});
  const struct {
    const char* name;
    std::vector<sheets::BoxSize> boxes;
    std::size_t sheets;  // 0: not checked
  } cases[] = {
      {"growing", growing, 0},
      {"mixed", mixed, 0},
      // 3 across (3 x 60 - 10 = 170), 4 down (4 x 60 - 10 = 230): 12 a sheet.
      {"squares", squares, 4},
      {"whole sheets", whole, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto spots = sheets::PackShelves(c.boxes, {kWidth, kHeight}, kGap);
    ASSERT_EQ(spots.size(), c.boxes.size());
    for (std::size_t i = 0; i < spots.size(); ++i) {
      const auto& a = spots[i];
      const auto& box = c.boxes[i];
      EXPECT_GE(a.left, 0);
      EXPECT_GE(a.bottom, 0);
      EXPECT_LE(a.left + box.width, kWidth);
      EXPECT_LE(a.bottom + box.height, kHeight);
      if (i > 0) {
        EXPECT_GE(a.sheet, spots[i - 1].sheet);
      }
      for (std::size_t j = 0; j < i; ++j) {
        const auto& b = spots[j];
        if (b.sheet != a.sheet) continue;
        const bool apart = a.left >= b.left + c.boxes[j].width + kGap ||
                           b.left >= a.left + box.width + kGap ||
                           a.bottom >= b.bottom + c.boxes[j].height + kGap ||
                           b.bottom >= a.bottom + box.height + kGap;
        EXPECT_TRUE(apart) << "boxes " << j << " and " << i;
      }
    }
    if (c.sheets > 0) {
      EXPECT_EQ(spots.back().sheet + 1, c.sheets);
    }
  }
  EXPECT_THROW(sheets::PackShelves({{kWidth + 1, 10}}, {kWidth, kHeight}, kGap),
               std::invalid_argument);
}

}  // namespace
