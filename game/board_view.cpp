#include "game/board_view.h"

#include <string>

#include "data/catalogue.h"
#include "flow/state.h"
#include "game/board.h"
#include "game/extended_real.h"
#include "gfx/frames.h"
#include "gfx/pen.h"
#include "gfx/pictures.h"
#include "gfx/text.h"

namespace qb {

namespace {

constexpr Colour kBlack = 0xFF000000;

void Box(int x1, int y1, int x2, int y2, Colour c) {
  DrawBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), c);
}

// The picture a cell code shows; none for floor and unused codes.
using Picture = void (*)();
Picture PictureOf(std::uint8_t code, bool appearing) {
  switch (code) {
    case CellWall: return PicWall;
    case CellFigure:
    case CellFigureOnTarget: return appearing ? PicFloor : PicFigure;
    case CellBox: return PicBox;
    case CellTarget: return PicTarget;
    case CellBoxOnTarget: return PicBoxOnTarget;
    default: return nullptr;
  }
}

void DrawCells(bool appearing) {
  const Grid& g = TheBoard().board;
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kColumns; ++c)
      if (auto picture = PictureOf(g.at(c, r), appearing)) DrawCellPicture(picture, c, r);
  if (!appearing) return;
  static constexpr Picture kFrames[] = {PicMosaic1, PicMosaic2, PicMosaic3, PicMosaic4, PicMosaic5,
                                        PicMosaic6, PicMosaic7, PicMosaic8, PicMosaic9};
  for (int r = 1; r <= kRows; ++r)
    for (int c = 1; c <= kColumns; ++c) {
      const auto code = g.at(c, r);
      if (code != CellFigure && code != CellFigureOnTarget) continue;
      // Nine frames of a tenth of a second: the figure appears within a second.
      constexpr int kFrameMs = 100;
      for (auto frame : kFrames) {
        DrawCellPicture(frame, c, r);
        SleepMs(kFrameMs);
      }
      DrawCellPicture(PicFigure, c, r);
    }
}

}  // namespace

int LevelPercentage(int level) {
  // level / 200 * 100 in extended precision, as the status line has always
  // shown it: 59 gives 29, just below the half.
  const ExtendedReal share = ExtendedProduct(ExtendedQuotient(static_cast<std::uint32_t>(level), 200), 100);
  return static_cast<int>(ExtendedNearest(share));
}

void DrawPlayfield() {
  Box(3, 3, 647, 447, 0xFFC8C8C8);
  Box(2, 2, 648, 448, 0xFFDCDCE3);
  Box(1, 1, 649, 449, 0xFF14141B);
  DrawBoardBackground();
  DrawStatusBar();
  DrawStatusLine();
}

void DrawBoardBackground() { VerticalRun(5, 645, 5, 445, kBoardColour); }

void DrawStatusBar() {
  Box(2, 451, 648, 476, 0xFFC8C8C8);
  VerticalRun(3, 647, 452, 475, kStatusFill);
}

void DrawStatusLine() {
  const auto& s = State();
  const int level = s.level;
  Text7(15, 459, kBlack,
        "Level " + std::to_string(level) + "/200 (" + std::to_string(LevelPercentage(level)) + " %)");
  Text7(539, 459, kBlack, "SCORE " + std::to_string(static_cast<long>(s.score)));
  const std::string& name = LevelName(level);
  Text8(static_cast<float>(CentreText8(name.size())), 458, kBlack, name);
}

void DrawBoard() { DrawCells(State().appearance == 1); }

void DrawBoardAppearing() { DrawCells(true); }

void DrawBoardPlain() { DrawCells(false); }

void DrawCellPicture(void (*picture)(), int column, int row) {
  SetPen(static_cast<float>(CellX(column)), static_cast<float>(CellY(row)));
  picture();
}

void DrawTile(Tile tile, int column, int row) {
  switch (tile) {
    case Tile::Floor: return DrawCellPicture(PicFloor, column, row);
    case Tile::Target: return DrawCellPicture(PicTarget, column, row);
    case Tile::Figure: return DrawCellPicture(PicFigure, column, row);
    case Tile::Box: return DrawCellPicture(PicBox, column, row);
    case Tile::BoxOnTarget: return DrawCellPicture(PicBoxOnTarget, column, row);
  }
}

void DrawMove(const MoveResult& move) {
  for (int i = 0; i < move.draw_count; ++i) DrawTile(move.draws[i].tile, move.draws[i].column, move.draws[i].row);
}

}  // namespace qb
