// Shows the pixel buffer in the window with GDI: copies the changed rows into
// a frame of its own and puts only those rows on the window
// (StretchDIBits), grown by whole factors and centred on black where the
// window is larger than the picture. Main thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace qb {

class Presenter {
 public:
  Presenter();

  // Puts the rows changed since the last present on the window; returns
  // whether there were any.
  bool Present(HWND window);
  // Paints the whole client area: the last frame and the black around it
  // (WM_PAINT, or after the window changed size).
  void Paint(HWND window, HDC dc);

 private:
  void PutRows(HDC dc, const RECT& client, int first, int count);

  std::vector<std::uint32_t> frame_;
};

}  // namespace qb
