#include "game/board.h"

#include "data/stream.h"

namespace qb {

Board& TheBoard() {
  static Board board;
  return board;
}

void ClearBoard(Board& b) {
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kColumns; ++c) b.board.at(c, r) = CellFloor;
}

void LoadLevel(Board& b, int level) {
  data::Restore(data::LevelEntry(level));
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kColumns; ++c) b.board.at(c, r) = data::Read();
  b.take_back = b.board;
  b.saved = Grid{};
}

void FindFigure(Board& b) {
  for (int c = 1; c <= kColumns; ++c) {
    for (int r = 1; r <= kRows; ++r) {
      const auto v = b.board.at(c, r);
      if (v == CellFigure || v == CellFigureOnTarget) {
        b.figure_column = static_cast<std::uint8_t>(c);
        b.figure_row = static_cast<std::uint8_t>(r);
        break;
      }
    }
  }
}

}  // namespace qb
