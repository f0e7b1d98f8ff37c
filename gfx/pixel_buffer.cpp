#include "gfx/pixel_buffer.h"

namespace qb {

PixelBuffer& Pixels() {
  static PixelBuffer buffer;
  return buffer;
}

void PixelBuffer::SetSignal(Signal signal, void* context) {
  signal_ = signal;
  signal_context_ = context;
  signalled_.store(false);
}

void PixelBuffer::RaiseSignal() {
  // The exchange pairs with the one in BeginPresent: whichever comes second
  // sees the first, so either this call signals, or the present that re-arms
  // the signal sees every row marked before it.
  if (!signalled_.exchange(true, std::memory_order_acq_rel) && signal_) signal_(signal_context_);
}

void PixelBuffer::BeginPresent() { signalled_.exchange(false, std::memory_order_acq_rel); }

void PixelBuffer::MarkAllDirty() {
  for (auto& d : dirty_) d.store(1, std::memory_order_release);
}

void PixelBuffer::Flush() {
  if (!signal_) return;
  for (const auto& d : dirty_)
    if (d.load(std::memory_order_relaxed)) {
      RaiseSignal();
      return;
    }
}

}  // namespace qb
