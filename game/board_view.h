// Drawing a level: the playfield with its frame, the board's cells, the status
// bar and its line, and the figure's appearance animation.
#pragma once

#include "game/moves.h"

namespace qb {

// Cell (column, row) has its top-left pixel at (40c - 35, 40r - 35).
constexpr int CellX(int column) { return 40 * column - 35; }
constexpr int CellY(int row) { return 40 * row - 35; }

void DrawPlayfield();        // frame lines, board background, status bar, status line
void DrawBoardBackground();  // the board area x 5..645, y 5..445 in the board colour
void DrawStatusBar();        // its outline and fill
void DrawStatusLine();       // level text, score text and the level's name
// Draws every cell of the board; with the appearance flag set, the figure by
// its appearance animation.
void DrawBoard();
// Draws the board as DrawBoard does with the appearance animation, whatever
// the flag holds.
void DrawBoardAppearing();
// Draws the board without the animation, whatever the flag holds.
void DrawBoardPlain();
void DrawCellPicture(void (*picture)(), int column, int row);
void DrawTile(Tile tile, int column, int row);
// Redraws the cells a move names, in its order.
void DrawMove(const MoveResult& move);

// The level as a share of the 200 levels, in per cent, as the status line
// shows it: level / 200 * 100 in 80-bit extended precision, halves to even,
// emulated exactly so that every build shows the same numbers.
int LevelPercentage(int level);

}  // namespace qb
