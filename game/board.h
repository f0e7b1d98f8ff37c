// The board model: cell codes, the board of the level in play with its
// take-back and saved-position copies, the figure position, and the operations
// that put a level on the board.
#pragma once

#include <array>
#include <cstdint>

namespace qb {

enum Cell : std::uint8_t {
  CellFloor = 0,
  CellWall = 1,
  CellFigure = 2,
  CellBox = 3,
  CellTarget = 4,
  CellBoxOnTarget = 5,
  CellFigureOnTarget = 7,
};

inline constexpr int kColumns = 16;
inline constexpr int kRows = 11;
inline constexpr int kLevelCount = 200;

// Cells indexed by column 1..16 and row 1..11; column 0 and row 0 are unused.
struct Grid {
  std::array<std::array<std::uint8_t, kRows + 1>, kColumns + 1> cells{};
  std::uint8_t& at(int column, int row) { return cells[column][row]; }
  std::uint8_t at(int column, int row) const { return cells[column][row]; }
  bool operator==(const Grid&) const = default;
};

struct Board {
  Grid board;      // the level in play
  Grid take_back;  // the board before the last successful move
  Grid saved;      // the saved position; all zeros while nothing is saved
  std::uint8_t figure_column = 0;
  std::uint8_t figure_row = 0;
};

// The program's one board.
Board& TheBoard();

void ClearBoard(Board& b);
// Reads the level's record into the board, copies it into the take-back board
// and clears the saved-position board. The figure position is not touched.
void LoadLevel(Board& b, int level);
// Scans column by column and sets the figure position to the cell holding
// CellFigure or CellFigureOnTarget; a board without one leaves it unchanged.
void FindFigure(Board& b);

}  // namespace qb
