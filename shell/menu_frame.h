// What the main menu draws besides its panels: the whole game frame with the
// side bar (no other screen draws the side bar; its legend stays on screen
// through every game) and the eraser of its pointer.
#pragma once

namespace qb {

// Board frame, side bar with its legend and gauge labels, the empty board
// area and the status bar.
void DrawGameFrame();

// Paints over the menu pointer: 19 lines of 26 pixels in the menu-box colour
// from the pen position, one column and one row more than PicPointer covers.
void ErasePointer();

}  // namespace qb
