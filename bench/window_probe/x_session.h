// The probe's view of the game through the X server: finding its window,
// reading its title, pressing keys through XTest and reading its pixels back.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace probe {

using Clock = std::chrono::steady_clock;

// A key to tap: a keysym and the modifier keysyms held around it.
struct Tap {
  KeySym key;
  std::vector<KeySym> held;
};

// A rectangle of the window, in window pixels; an empty one means all of it.
struct Region {
  int x = 0, y = 0, width = 0, height = 0;
};

class XSession {
 public:
  // Opens the display (nullptr: $DISPLAY); ok() says whether it worked and
  // whether XTest is there.
  explicit XSession(const char* display_name);
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  bool ok() const { return display_ != nullptr && have_xtest_; }
  const std::string& name() const { return name_; }

  // Waits for a window manager to announce itself on the root window.
  bool WaitForWindowManager(Clock::duration timeout);
  // Waits for a viewable window whose title starts with prefix, preferring
  // one that names pid as its owner, looking every `poll`; 0 when none
  // appears in time.
  Window FindWindow(pid_t pid, const std::string& prefix, Clock::duration timeout,
                    Clock::duration poll = std::chrono::milliseconds(50));
  std::string Title(Window w);
  bool Size(Window w, int& width, int& height);
  void Focus(Window w);
  void Press(const Tap& tap);

 private:
  friend class PixelReader;
  Display* display_ = nullptr;
  bool have_xtest_ = false;
  std::string name_;
};

// Reads a window's pixels back in a tight loop: through a shared-memory image
// when the server offers MIT-SHM, otherwise with XGetImage.
class PixelReader {
 public:
  PixelReader(XSession& x, Window w, Region region);
  ~PixelReader();
  PixelReader(const PixelReader&) = delete;
  PixelReader& operator=(const PixelReader&) = delete;

  bool ok() const { return ok_; }
  bool shared_memory() const { return shm_; }
  // The part of the window read, clipped to it.
  const Region& region() const { return region_; }
  // Reads the region once; false when the server refused (window gone or
  // unmapped). The pixels are then in current().
  bool Read();
  const std::vector<std::uint8_t>& current() const { return pixels_; }

 private:
  XSession& x_;
  Window window_;
  Region region_;
  bool ok_ = false;
  bool shm_ = false;
  XImage* image_ = nullptr;
  XShmSegmentInfo segment_{};
  std::vector<std::uint8_t> pixels_;
};

}  // namespace probe
