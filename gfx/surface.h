// The drawing surface and keyboard: the only way the game reaches the screen,
// the keyboard and the clock. All drawing goes into one 696 x 479 pixel buffer;
// a platform back end (the SDL2 window, or the headless twin used by tests and
// the replay tool) shows it, delivers keys and provides time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/key.h"

namespace qb {

using Colour = std::uint32_t;  // 0xAARRGGBB; the game always passes alpha 0xFF

inline constexpr int kSurfaceWidth = 696;
inline constexpr int kSurfaceHeight = 479;

// Converts a coordinate to a whole pixel, rounding half away from zero.
int RoundCoord(float v);

// ---- window and clock (delegated to the installed platform back end) ----
void SetWindowTitle(std::string_view title);
Key PollKey();  // the next queued key, or none
void SleepMs(int milliseconds);

// ---- waiting without polling ----
inline constexpr int kNoDeadline = -1;
// Waits until a key waits in the queue or the milliseconds have passed
// (kNoDeadline: until a key); returns the milliseconds that passed. The key
// stays queued for the next PollKey.
int WaitForKey(int milliseconds);
// PollKey for loops that react to keys only: sleeps until a key arrives.
Key AwaitKey();
// The sleep at the end of one pass of a loop that polls every pass_ms
// milliseconds: sleeps through this pass and through up to idle_passes more
// (negative: any number) that would find no key and change nothing on
// screen, and wakes at the end of the pass in which a key arrives. Returns
// the number of those idle passes that went by, for the loop to count them
// as if it had run them one by one.
int SleepPasses(int pass_ms, int idle_passes);
void EndProgram(int status);

// ---- drawing into the surface ----
void ClearScreen();
void DrawLine(float x1, float y1, float x2, float y2, Colour colour);
void DrawBox(float x1, float y1, float x2, float y2, Colour colour);
void FillBox(float x1, float y1, float x2, float y2, Colour colour);
void PutPixel(float x, float y, Colour colour);
void PutPixel(float x, float y);
void SetColour(Colour foreground);
void SetColour(Colour foreground, Colour background);
Colour CurrentColour();
// Draws text in the 8 x 8 code page 437 system font, 8 pixels per character,
// set pixels only, in the current colour.
void DrawSystemText(float x, float y, std::string_view text);

// Reads one pixel of the surface (tests, tools and the window's presenter).
Colour GetPixel(int x, int y);

}  // namespace qb
