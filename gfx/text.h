// The three bitmap text renderers and the helpers the screens place text with.
//
// Each renderer draws the text buffer at the pen position in the current
// colour, one PutPixel per glyph pixel, reading every glyph from the built-in
// data stream. Lower-case letters are drawn with their capital's glyph; a byte
// without a glyph leaves a blank cell. Afterwards pen x has moved on by
// advance x length; pen y, the text buffer and the colour are unchanged.
#pragma once

#include <cstddef>
#include <string_view>

#include "gfx/surface.h"

namespace qb {

void DrawText7();  // 7-pixel advance: the body font of panels and dialogs
void DrawText8();  // 8-pixel advance, bold: headings, menus, hints, names, scores
void DrawText4();  // 4-pixel advance: the small side-bar labels

// Set the colour, the pen and the text buffer, then draw.
void Text7(float x, float y, Colour colour, std::string_view text);
void Text8(float x, float y, Colour colour, std::string_view text);
void Text4(float x, float y, Colour colour, std::string_view text);

// Pen x that centres a text of n bytes: each screen centres its lines on its
// own middle with its own width per byte: pen x = middle - n * width / 2,
// rounded to the nearest pixel (halves to even). The pairs are the game's
// own, fitted to how each screen looked; they differ by a few pixels.
int CentreText8(std::size_t n);         // 322 - 4n: DrawText8's 8-pixel advance on x 322 (hints, panels, scores)
int CentreText7(std::size_t n);         // 319 - 3.4n: DrawText7's glyphs, 6.8 pixels wide on average, on x 319
int CentreLevelCard(std::size_t n);     // 326.333333 - 4.5n: the level card's "Level n" line
int CentreAbout(std::size_t n);         // 325.319148 - 3.5106382n: the about screen
int CentreCredits(std::size_t n);       // 316 - 3.3333333n: the credits screen
int CentreDialog(std::size_t n);        // 323 - 3.6n: the charge dialogs' lines (DrawText7)
int CentreDialogNarrow(std::size_t n);  // 323 - 3.4n: their "Try more!" line (DrawText7)

}  // namespace qb
