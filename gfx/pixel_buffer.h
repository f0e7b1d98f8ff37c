// The pixels the game draws, shared between the game thread that stores them
// and a window back end that shows them.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "gfx/surface.h"

namespace qb {

// Only the game thread stores pixels; a window back end reads them, on the
// thread that presents, as changed rows. Relaxed atomic stores keep each call
// a plain buffer write while staying free of data races; a row mark tells the
// presenter what changed, and the first change after a present signals the
// back end so that it can wake up.
class PixelBuffer {
 public:
  using Signal = void (*)(void* context);

  void Store(int x, int y, Colour c) {
    auto& p = pixels_[static_cast<std::size_t>(y) * kSurfaceWidth + x];
    if (p.load(std::memory_order_relaxed) == c) return;  // nothing to show
    p.store(c, std::memory_order_relaxed);
    dirty_[y].store(1, std::memory_order_release);
    if (!signalled_.load(std::memory_order_relaxed)) RaiseSignal();
  }
  // Stores `count` colours from (x, y) to the right, all on the surface.
  void StoreSpan(int x, int y, const Colour* colours, int count) {
    auto* p = &pixels_[static_cast<std::size_t>(y) * kSurfaceWidth + x];
    bool changed = false;
    for (int i = 0; i < count; ++i) {
      if (p[i].load(std::memory_order_relaxed) == colours[i]) continue;
      p[i].store(colours[i], std::memory_order_relaxed);
      changed = true;
    }
    if (!changed) return;
    dirty_[y].store(1, std::memory_order_release);
    if (!signalled_.load(std::memory_order_relaxed)) RaiseSignal();
  }
  Colour Load(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * kSurfaceWidth + x].load(std::memory_order_relaxed);
  }

  // ---- the presenting side ----
  // Installs what the first change after a present calls (on the drawing
  // thread); nullptr for none. Install before the game starts drawing.
  void SetSignal(Signal signal, void* context);
  // Re-arms the signal; call before reading the changed rows of a present.
  void BeginPresent();
  // Clears and returns the row's changed mark.
  bool TakeDirty(int y) { return dirty_[y].exchange(0, std::memory_order_acquire) != 0; }
  void MarkAllDirty();

  // A present: re-arms the signal, copies every changed row into `frame`
  // (kSurfaceWidth x kSurfaceHeight words, row after row), each pixel as
  // `convert(colour)` gives it, and calls `rows(first, count)` for each run of
  // consecutive changed rows, once that run is copied. Returns whether any row
  // had changed.
  template <typename Convert, typename Rows>
  bool CopyChangedRows(std::uint32_t* frame, Convert convert, Rows rows) {
    BeginPresent();
    bool changed = false;
    for (int y = 0; y < kSurfaceHeight;) {
      if (!TakeDirty(y)) {
        ++y;
        continue;
      }
      const int first = y;
      do {
        std::uint32_t* row = frame + static_cast<std::size_t>(y) * kSurfaceWidth;
        for (int x = 0; x < kSurfaceWidth; ++x) row[x] = convert(Load(x, y));
        ++y;
      } while (y < kSurfaceHeight && TakeDirty(y));
      rows(first, y - first);
      changed = true;
    }
    return changed;
  }

  // ---- the drawing side ----
  // Signals any change that a present running at the same time may have
  // missed. The surface calls it before every wait, so a frame is never left
  // unshown while the game sleeps.
  void Flush();

 private:
  void RaiseSignal();

  std::array<std::atomic<Colour>, static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight> pixels_{};
  std::array<std::atomic<std::uint8_t>, kSurfaceHeight> dirty_{};
  std::atomic<bool> signalled_{false};
  Signal signal_ = nullptr;
  void* signal_context_ = nullptr;
};

// The surface's pixels.
PixelBuffer& Pixels();

}  // namespace qb
