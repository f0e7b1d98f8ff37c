// The drawing surface and keyboard: the only way the game reaches the screen,
// the keyboard and the clock. All drawing goes into one 696 x 479 pixel buffer;
// a platform back end (the SDL2 window, or the headless twin used by tests and
// the replay tool) shows it, delivers keys and provides time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qb {

using Colour = std::uint32_t;  // 0xAARRGGBB; the game always passes alpha 0xFF

inline constexpr int kSurfaceWidth = 696;
inline constexpr int kSurfaceHeight = 479;

// Extended key numbers: PollKey returns them as the two bytes 0xFF, number.
namespace key {
inline constexpr std::uint8_t kF1 = 0x3B;
inline constexpr std::uint8_t kF5 = 0x3F;
inline constexpr std::uint8_t kUp = 0x48;
inline constexpr std::uint8_t kDown = 0x50;
inline constexpr std::uint8_t kLeft = 0x4B;
inline constexpr std::uint8_t kRight = 0x4D;
inline constexpr std::uint8_t kClose = 0x6B;  // "k": the window's close request
inline constexpr std::uint8_t kF12 = 0x86;
inline constexpr std::uint8_t kShiftF12 = 0x88;
inline constexpr std::uint8_t kCtrlF12 = 0x8A;
inline constexpr std::uint8_t kCtrlUp = 0x8D;
inline constexpr std::uint8_t kCtrlDown = 0x91;
inline constexpr std::uint8_t kCtrlLeft = 0x73;
inline constexpr std::uint8_t kCtrlRight = 0x74;

// A key code as queued: below 256 a character byte, above it an extended key.
inline constexpr std::uint32_t Extended(std::uint8_t number) { return std::uint32_t{number} << 8; }
// The key string a key code becomes when polled.
std::string ToKeyString(std::uint32_t code);
// Key strings the screens compare against.
inline std::string Ext(std::uint8_t number) { return std::string{'\xFF', static_cast<char>(number)}; }
inline const std::string kStrUp = Ext(kUp), kStrDown = Ext(kDown), kStrLeft = Ext(kLeft),
                         kStrRight = Ext(kRight), kStrF1 = Ext(kF1), kStrF5 = Ext(kF5),
                         kStrClose = Ext(kClose), kStrCtrlF12 = Ext(kCtrlF12);
inline const std::string kStrEnter = "\r", kStrSpace = " ", kStrBackspace = "\b", kStrEscape = "\x1B";
}  // namespace key

// Converts a coordinate to a whole pixel, rounding half away from zero.
int RoundCoord(float v);

// ---- window and clock (delegated to the installed platform back end) ----
void SetWindowTitle(std::string_view title);
std::string PollKey();
void SleepMs(int milliseconds);

// ---- waiting without polling ----
inline constexpr int kNoDeadline = -1;
// Waits until a key waits in the queue or the milliseconds have passed
// (kNoDeadline: until a key); returns the milliseconds that passed. The key
// stays queued for the next PollKey.
int WaitForKey(int milliseconds);
// PollKey for loops that react to keys only: sleeps until a key arrives.
std::string AwaitKey();
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
