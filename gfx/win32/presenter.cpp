#include "gfx/win32/presenter.h"

#include "gfx/picture_fit.h"
#include "gfx/pixel_buffer.h"

namespace qb {

Presenter::Presenter() : frame_(static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight, 0) {}

void Presenter::PutRows(HDC dc, const RECT& client, int first, int count) {
  const PictureRect fit = FitPicture(client.right - client.left, client.bottom - client.top);
  // The rows alone make a top-down bitmap of their own, so the source is the
  // whole of it: no question of which way up a partial source counts.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = kSurfaceWidth;
  info.bmiHeader.biHeight = -count;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;  // B, G, R and an unused byte: a Colour as it is
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, COLORONCOLOR);  // whole factors, nearest neighbour
  StretchDIBits(dc, fit.x, fit.y + first * fit.factor, kSurfaceWidth * fit.factor, count * fit.factor, 0, 0,
                kSurfaceWidth, count, &frame_[static_cast<std::size_t>(first) * kSurfaceWidth], &info,
                DIB_RGB_COLORS, SRCCOPY);
}

bool Presenter::Present(HWND window) {
  HDC dc = GetDC(window);
  RECT client{};
  GetClientRect(window, &client);
  const bool changed = Pixels().CopyChangedRows(
      frame_.data(), [](Colour c) { return c; }, [&](int first, int count) { PutRows(dc, client, first, count); });
  ReleaseDC(window, dc);
  return changed;
}

void Presenter::Paint(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  const PictureRect fit = FitPicture(client.right - client.left, client.bottom - client.top);
  // The black around the picture, in up to four bands.
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT bands[] = {
      {client.left, client.top, client.right, fit.y},
      {client.left, fit.y + fit.h, client.right, client.bottom},
      {client.left, fit.y, fit.x, fit.y + fit.h},
      {fit.x + fit.w, fit.y, client.right, fit.y + fit.h},
  };
  for (const RECT& band : bands)
    if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, black);
  PutRows(dc, client, 0, kSurfaceHeight);
}

}  // namespace qb
