#include "grid_model.h"

#include <gtest/gtest.h>

namespace {

// Three columns (number, name, content) with a header row, as the entry lists use them.
GridModel EntryGrid(int rows) {
    return GridModel(3, rows, 1, 1);
}

TEST(GridCells, GrowShrinkAndOutOfRange) {
    GridModel grid = EntryGrid(2);
    grid.SetCell(1, 1, "ﾒﾓ帳");
    grid.SetRowCount(4);
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.Cell(1, 1), "ﾒﾓ帳");
    EXPECT_EQ(grid.Cell(2, 3), "");
    EXPECT_EQ(grid.RowHeight(3), GridModel::DefaultRowHeight);

    grid.SetColCount(5);
    grid.SetCell(4, 3, "new column");
    EXPECT_EQ(grid.Cell(4, 3), "new column");
    EXPECT_EQ(grid.ColWidth(4), GridModel::DefaultColWidth);
    grid.SetColCount(3);
    grid.SetColCount(5);
    EXPECT_EQ(grid.Cell(4, 3), ""); // dropped columns come back empty

    // Reads outside the grid are empty and writes are ignored.
    grid.SetCell(5, 0, "x");
    grid.SetCell(-1, 0, "x");
    grid.SetCell(0, 4, "x");
    EXPECT_EQ(grid.Cell(-1, 0), "");
    EXPECT_EQ(grid.Cell(0, 4), "");
    EXPECT_EQ(grid.ColWidth(9), 0);

    // At least one editable row and column stay.
    grid.SetRowCount(0);
    grid.SetColCount(0);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(grid.Cell(1, 1), "ﾒﾓ帳");
}

TEST(GridCells, CurrentCellStaysEditableAsTheGridChanges) {
    GridModel grid = EntryGrid(5);
    EXPECT_EQ(grid.Current(), (GridCoord{1, 1}));
    EXPECT_FALSE(grid.SetCurrent({0, 2})); // the number column
    EXPECT_FALSE(grid.SetCurrent({1, 0})); // the header
    EXPECT_FALSE(grid.SetCurrent({3, 2}));
    EXPECT_EQ(grid.Current(), (GridCoord{1, 1}));
    ASSERT_TRUE(grid.SetCurrent({2, 4}));

    grid.SetRowCount(3);
    EXPECT_EQ(grid.Current(), (GridCoord{2, 2}));
    grid.SetColCount(2);
    EXPECT_EQ(grid.Current(), (GridCoord{1, 2}));
}

TEST(GridCells, InsertAndDeleteRowsMoveContentSizesAndCurrentRow) {
    GridModel grid = EntryGrid(4);
    for (int row = 1; row < 4; ++row)
        grid.SetCell(1, row, Text(1, static_cast<char>('a' + row - 1)));
    grid.SetRowHeight(2, 40);
    grid.SetCurrent({1, 3});

    grid.InsertRow(2);
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.Cell(1, 2), "");
    EXPECT_EQ(grid.Cell(1, 3), "b");
    EXPECT_EQ(grid.RowHeight(3), 40);
    EXPECT_EQ(grid.Row(), 4); // still on "c"

    grid.InsertRow(0); // never among the headers
    EXPECT_EQ(grid.Cell(1, 1), "");
    EXPECT_EQ(grid.Cell(1, 2), "a");
    grid.InsertRow(99); // appends
    EXPECT_EQ(grid.RowCount(), 7);

    EXPECT_FALSE(grid.DeleteRow(0));
    EXPECT_FALSE(grid.DeleteRow(7));
    ASSERT_TRUE(grid.DeleteRow(1));
    EXPECT_EQ(grid.Cell(1, 1), "a");
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Cell(1, grid.Row()), "c");
    ASSERT_TRUE(grid.DeleteRow(4)); // the current row itself: the next one becomes current
    EXPECT_EQ(grid.Row(), 4);

    while (grid.RowCount() > 2)
        ASSERT_TRUE(grid.DeleteRow(grid.RowCount() - 1));
    EXPECT_FALSE(grid.DeleteRow(1)); // the last editable row stays
    EXPECT_EQ(grid.Row(), 1);
}

TEST(GridCells, DefaultHeightAppliesToAllRowsAndLaterOnes) {
    GridModel grid = EntryGrid(3);
    grid.SetRowHeight(1, 50);
    grid.SetDefaultHeight(18);
    EXPECT_EQ(grid.RowHeight(1), 18);
    grid.SetRowCount(4);
    EXPECT_EQ(grid.RowHeight(3), 18);
    grid.SetColWidth(2, -5);
    EXPECT_EQ(grid.ColWidth(2), 0);
}

TEST(GridNavigation, TabRunsThroughEditableCellsRowByRow) {
    GridModel grid = EntryGrid(3);
    using M = GridMove;
    EXPECT_EQ(grid.Navigate({1, 1}, M::Tab), (GridCoord{2, 1}));
    EXPECT_EQ(grid.Navigate({2, 1}, M::Tab), (GridCoord{1, 2})); // skips the number column
    EXPECT_EQ(grid.Navigate({2, 2}, M::Tab), std::nullopt);      // past the last cell: leave the grid
    EXPECT_EQ(grid.Navigate({1, 2}, M::BackTab), (GridCoord{2, 1}));
    EXPECT_EQ(grid.Navigate({2, 2}, M::BackTab), (GridCoord{1, 2}));
    EXPECT_EQ(grid.Navigate({1, 1}, M::BackTab), std::nullopt); // never into the header

    // Once a row is added, the last cell leads into it.
    grid.SetRowCount(4);
    EXPECT_EQ(grid.Navigate({2, 2}, M::Tab), (GridCoord{1, 3}));
}

TEST(GridNavigation, ArrowsAndPagesStopAtTheEditableEdges) {
    GridModel grid(4, 10, 1, 1);
    using M = GridMove;
    EXPECT_EQ(grid.Navigate({1, 1}, M::Left), (GridCoord{1, 1}));
    EXPECT_EQ(grid.Navigate({1, 1}, M::Up), (GridCoord{1, 1}));
    EXPECT_EQ(grid.Navigate({3, 9}, M::Right), (GridCoord{3, 9}));
    EXPECT_EQ(grid.Navigate({3, 9}, M::Down), (GridCoord{3, 9}));
    EXPECT_EQ(grid.Navigate({2, 5}, M::Down), (GridCoord{2, 6}));
    EXPECT_EQ(grid.Navigate({2, 5}, M::Home), (GridCoord{1, 5}));
    EXPECT_EQ(grid.Navigate({2, 5}, M::End), (GridCoord{3, 5}));
    EXPECT_EQ(grid.Navigate({2, 5}, M::Top), (GridCoord{2, 1}));
    EXPECT_EQ(grid.Navigate({2, 5}, M::Bottom), (GridCoord{2, 9}));
    EXPECT_EQ(grid.Navigate({2, 5}, M::PageDown, 3), (GridCoord{2, 8}));
    EXPECT_EQ(grid.Navigate({2, 8}, M::PageDown, 3), (GridCoord{2, 9}));
    EXPECT_EQ(grid.Navigate({2, 3}, M::PageUp, 3), (GridCoord{2, 1}));
    EXPECT_EQ(grid.Navigate({2, 5}, M::PageUp, 0), (GridCoord{2, 4})); // a page is at least a row
    // A start in the fixed cells is taken as the nearest editable one.
    EXPECT_EQ(grid.Navigate({0, 0}, M::Right), (GridCoord{2, 1}));
}

// Columns 20, 100, 234 wide with 1-pixel lines: borders at 20, 121, 356.
GridAxis EntryColumns() {
    return GridAxis{{20, 100, 234}, 1, 1, 1};
}

TEST(GridAxisGeometry, StartsAndHitsFollowScrolling) {
    GridAxis axis = EntryColumns();
    EXPECT_EQ(AxisStart(axis, 0), 0);
    EXPECT_EQ(AxisStart(axis, 1), 21);
    EXPECT_EQ(AxisStart(axis, 2), 122);
    EXPECT_EQ(AxisLineAt(axis, -1), -1);
    EXPECT_EQ(AxisLineAt(axis, 0), 0);
    EXPECT_EQ(AxisLineAt(axis, 20), 0); // the grid line belongs to the cell before it
    EXPECT_EQ(AxisLineAt(axis, 21), 1);
    EXPECT_EQ(AxisLineAt(axis, 356), 2);
    EXPECT_EQ(AxisLineAt(axis, 357), -1);

    axis.first = 2; // column 1 scrolled away; the fixed column stays
    EXPECT_EQ(AxisStart(axis, 1), -1);
    EXPECT_EQ(AxisStart(axis, 2), 21);
    EXPECT_EQ(AxisLineAt(axis, 30), 2);
    EXPECT_EQ(AxisLineAt(axis, 10), 0);
}

TEST(GridAxisGeometry, BordersAreFoundWithinTheTolerance) {
    GridAxis axis = EntryColumns();
    EXPECT_EQ(AxisBorderAt(axis, 121, 3), 1);
    EXPECT_EQ(AxisBorderAt(axis, 118, 3), 1);
    EXPECT_EQ(AxisBorderAt(axis, 124, 3), 1);
    EXPECT_EQ(AxisBorderAt(axis, 117, 3), -1);
    EXPECT_EQ(AxisBorderAt(axis, 125, 3), -1);
    EXPECT_EQ(AxisBorderAt(axis, 60, 3), -1);
    EXPECT_EQ(AxisBorderAt(axis, 17, 3), 0);
    EXPECT_EQ(AxisBorderAt(axis, 359, 3), 2);

    // Close borders: the nearest wins, the later one on a tie.
    GridAxis narrow{{20, 4, 50}, 1, 1, 1}; // borders at 20 and 25
    EXPECT_EQ(AxisBorderAt(narrow, 21, 3), 0);
    EXPECT_EQ(AxisBorderAt(narrow, 24, 3), 1);
    GridAxis collapsed{{20, 0, 50}, 1, 1, 1}; // borders at 20 and 21
    EXPECT_EQ(AxisBorderAt(collapsed, 20, 3), 0);
    EXPECT_EQ(AxisBorderAt(collapsed, 21, 3), 1);
    EXPECT_EQ(AxisBorderAt(collapsed, 22, 3), 1);
    GridAxis tie{{20, 1, 50}, 1, 1, 1}; // borders at 20 and 22
    EXPECT_EQ(AxisBorderAt(tie, 21, 3), 1);

    // A scrolled-away column has no border to drag.
    axis.first = 2;
    EXPECT_EQ(AxisBorderAt(axis, 121, 3), -1);
    EXPECT_EQ(AxisBorderAt(axis, 255, 3), 2); // 21 + 234
}

TEST(GridAxisGeometry, ScrollLimitsAndKeepingALineInView) {
    // A header row and 10 rows of 24 with lines: 25 pixels each.
    GridAxis rows{std::vector<int>(11, 24), 1, 1, 1};
    EXPECT_EQ(AxisLastFirst(rows, 1000), 1); // all fit: no scrolling
    EXPECT_EQ(AxisLastFirst(rows, 125), 7);  // header + rows 7..10
    EXPECT_EQ(AxisLastFirst(rows, 10), 10);  // even the last alone does not fit
    EXPECT_EQ(AxisVisibleCount(rows, 125), 4);
    EXPECT_EQ(AxisVisibleCount(rows, 10), 1);

    EXPECT_EQ(AxisScrollToShow(rows, 3, 125), 1); // already in view
    EXPECT_EQ(AxisScrollToShow(rows, 6, 125), 3); // brought in at the bottom
    rows.first = 5;
    EXPECT_EQ(AxisScrollToShow(rows, 2, 125), 2);  // brought in at the top
    EXPECT_EQ(AxisScrollToShow(rows, 0, 125), 5);  // fixed lines need no scrolling
    EXPECT_EQ(AxisScrollToShow(rows, 10, 10), 10); // too small a window: the line comes first

    GridAxis tall{{24, 24, 100, 24}, 1, 1, 1};
    EXPECT_EQ(AxisLastFirst(tall, 140), 3); // rows 2 and 3 together need 151
    EXPECT_EQ(AxisLastFirst(tall, 160), 2);
    EXPECT_EQ(AxisScrollToShow(tall, 3, 160), 2);
}

TEST(GridCells, AWideFormTravelsWithItsCellAndGoesWithANarrowWrite) {
    GridModel grid = EntryGrid(3);
    grid.SetCell(2, 2, "Zo?", L"Zo\u00EB");
    ASSERT_NE(grid.WideCell(2, 2), nullptr);
    EXPECT_EQ(*grid.WideCell(2, 2), L"Zo\u00EB");
    EXPECT_EQ(grid.Cell(2, 2), "Zo?");
    EXPECT_EQ(grid.WideCell(2, 1), nullptr);
    EXPECT_EQ(grid.WideCell(7, 2), nullptr);

    grid.InsertRow(1);
    ASSERT_NE(grid.WideCell(2, 3), nullptr);
    EXPECT_EQ(*grid.WideCell(2, 3), L"Zo\u00EB");
    grid.DeleteRow(1);
    ASSERT_NE(grid.WideCell(2, 2), nullptr);

    grid.SetCell(2, 2, "plain");
    EXPECT_EQ(grid.WideCell(2, 2), nullptr);
    EXPECT_EQ(grid.Cell(2, 2), "plain");
}

} // namespace
