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

// Pen x that centres a text of n bytes on the board area.
int CentreA(std::size_t n);             // 322 - 4n                           (DrawText8)
int CentreAPrime(std::size_t n);        // nearest(322.333333 - 4n), = CentreA (DrawText8)
int CentreB(std::size_t n);             // nearest(319 - 3.4n)                (DrawText7)
int CentreC(std::size_t n);             // nearest(326.333333 - 4.5n)         (DrawText8, level card)
int CentreD(std::size_t n);             // nearest(325.319148 - 3.5106382n)   (about screen)
int CentreE(std::size_t n);             // nearest(316 - 3.3333333n)          (credits screen)
int CentreDialog(std::size_t n);        // nearest(323 - 3.6n)                (DrawText7, charge dialogs)
int CentreDialogNarrow(std::size_t n);  // nearest(323 - 3.4n)                (DrawText7, charge dialogs)

}  // namespace qb
