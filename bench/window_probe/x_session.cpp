#include "x_session.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstring>
#include <thread>

namespace probe {

namespace {

// Requests on a window that has just gone away or is not yet mapped fail;
// the probe notices through the calls' results, so errors are only counted.
int g_x_errors = 0;
int CountError(Display*, XErrorEvent*) {
  ++g_x_errors;
  return 0;
}

std::string Property(Display* d, Window w, Atom property, Atom type) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string value;
  if (XGetWindowProperty(d, w, property, 0, 1024, False, type, &actual, &format, &count, &after, &data) == Success &&
      data) {
    if (actual == type && format == 8) value.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
  }
  return value;
}

long CardinalProperty(Display* d, Window w, Atom property) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long value = -1;
  if (XGetWindowProperty(d, w, property, 0, 1, False, AnyPropertyType, &actual, &format, &count, &after, &data) ==
          Success &&
      data) {
    if (format == 32 && count == 1) value = *reinterpret_cast<long*>(data);
    XFree(data);
  }
  return value;
}

}  // namespace

XSession::XSession(const char* display_name) {
  XSetErrorHandler(CountError);
  display_ = XOpenDisplay(display_name);
  if (!display_) return;
  name_ = DisplayString(display_);
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  have_xtest_ = XTestQueryExtension(display_, &event_base, &error_base, &major, &minor);
}

XSession::~XSession() {
  if (display_) XCloseDisplay(display_);
}

bool XSession::WaitForWindowManager(Clock::duration timeout) {
  const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
  const auto deadline = Clock::now() + timeout;
  do {
    if (CardinalProperty(display_, DefaultRootWindow(display_), check) > 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (Clock::now() < deadline);
  return false;
}

std::string XSession::Title(Window w) {
  const Atom net_name = XInternAtom(display_, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  std::string title = Property(display_, w, net_name, utf8);
  if (!title.empty()) return title;
  char* name = nullptr;
  if (XFetchName(display_, w, &name) && name) {
    title = name;
    XFree(name);
  }
  return title;
}

bool XSession::Size(Window w, int& width, int& height) {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(display_, w, &a)) return false;
  width = a.width;
  height = a.height;
  return true;
}

Window XSession::FindWindow(pid_t pid, const std::string& prefix, Clock::duration timeout, Clock::duration poll) {
  const Atom pid_atom = XInternAtom(display_, "_NET_WM_PID", False);
  const auto deadline = Clock::now() + timeout;
  do {
    Window found = 0;
    bool found_by_pid = false;
    // Depth first from the root: under a window manager the game's window is
    // a child of the manager's frame.
    std::vector<Window> todo{DefaultRootWindow(display_)};
    while (!todo.empty() && !found_by_pid) {
      const Window w = todo.back();
      todo.pop_back();
      Window root = 0, parent = 0;
      Window* children = nullptr;
      unsigned n = 0;
      if (XQueryTree(display_, w, &root, &parent, &children, &n)) {
        for (unsigned i = 0; i < n; ++i) todo.push_back(children[i]);
        if (children) XFree(children);
      }
      if (Title(w).rfind(prefix, 0) != 0) continue;
      XWindowAttributes a{};
      if (!XGetWindowAttributes(display_, w, &a) || a.map_state != IsViewable) continue;
      found = w;
      found_by_pid = CardinalProperty(display_, w, pid_atom) == pid;
    }
    if (found) return found;
    std::this_thread::sleep_for(poll);
  } while (Clock::now() < deadline);
  return 0;
}

void XSession::Focus(Window w) {
  // Ask the window manager, if one runs, and set the focus directly as well.
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(display_, "_NET_ACTIVE_WINDOW", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = 2;  // from a pager: no focus-stealing checks
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, DefaultRootWindow(display_), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
  XRaiseWindow(display_, w);
  XSetInputFocus(display_, w, RevertToParent, CurrentTime);
  XSync(display_, False);
}

void XSession::Press(const Tap& tap) {
  auto send = [this](KeySym sym, bool down) {
    const KeyCode code = XKeysymToKeycode(display_, sym);
    if (code) XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
  };
  for (KeySym m : tap.held) send(m, true);
  send(tap.key, true);
  XFlush(display_);
  send(tap.key, false);
  for (auto it = tap.held.rbegin(); it != tap.held.rend(); ++it) send(*it, false);
  XFlush(display_);
}

PixelReader::PixelReader(XSession& x, Window w, Region region) : x_(x), window_(w), region_(region) {
  Display* d = x_.display_;
  XWindowAttributes a{};
  if (!XGetWindowAttributes(d, w, &a)) return;
  if (region_.width <= 0 || region_.height <= 0) region_ = {0, 0, a.width, a.height};
  if (region_.x + region_.width > a.width) region_.width = a.width - region_.x;
  if (region_.y + region_.height > a.height) region_.height = a.height - region_.y;
  if (region_.width <= 0 || region_.height <= 0) return;
  if (XShmQueryExtension(d)) {
    image_ = XShmCreateImage(d, a.visual, static_cast<unsigned>(a.depth), ZPixmap, nullptr, &segment_,
                             static_cast<unsigned>(region_.width), static_cast<unsigned>(region_.height));
    if (image_) {
      segment_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * image_->height,
                              IPC_CREAT | 0600);
      if (segment_.shmid >= 0) {
        segment_.shmaddr = image_->data = static_cast<char*>(shmat(segment_.shmid, nullptr, 0));
        segment_.readOnly = False;
        const int errors = g_x_errors;
        if (segment_.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(d, &segment_)) {
          XSync(d, False);
          shm_ = g_x_errors == errors;
        }
        // Marked for removal now; it goes when both sides have detached.
        shmctl(segment_.shmid, IPC_RMID, nullptr);
      }
      if (!shm_) {
        if (segment_.shmaddr && segment_.shmaddr != reinterpret_cast<char*>(-1)) shmdt(segment_.shmaddr);
        image_->data = nullptr;
        XDestroyImage(image_);
        image_ = nullptr;
      }
    }
  }
  ok_ = true;
}

PixelReader::~PixelReader() {
  if (shm_) {
    XShmDetach(x_.display_, &segment_);
    XSync(x_.display_, False);
    image_->data = nullptr;
    XDestroyImage(image_);
    shmdt(segment_.shmaddr);
  }
}

bool PixelReader::Read() {
  Display* d = x_.display_;
  const int errors = g_x_errors;
  bool done = false;
  if (shm_) {
    const std::size_t row = static_cast<std::size_t>(region_.width) * static_cast<std::size_t>(image_->bits_per_pixel / 8);
    done = XShmGetImage(d, window_, image_, region_.x, region_.y, AllPlanes) && g_x_errors == errors;
    if (done) {
      pixels_.resize(row * static_cast<std::size_t>(region_.height));
      for (int y = 0; y < region_.height; ++y)
        std::memcpy(&pixels_[row * static_cast<std::size_t>(y)],
                    image_->data + static_cast<std::ptrdiff_t>(y) * image_->bytes_per_line, row);
    }
  } else {
    XImage* im = XGetImage(d, window_, region_.x, region_.y, static_cast<unsigned>(region_.width),
                           static_cast<unsigned>(region_.height), AllPlanes, ZPixmap);
    if (im) {
      const std::size_t row = static_cast<std::size_t>(region_.width) * static_cast<std::size_t>(im->bits_per_pixel / 8);
      pixels_.resize(row * static_cast<std::size_t>(region_.height));
      for (int y = 0; y < region_.height; ++y)
        std::memcpy(&pixels_[row * static_cast<std::size_t>(y)],
                    im->data + static_cast<std::ptrdiff_t>(y) * im->bytes_per_line, row);
      XDestroyImage(im);
      done = true;
    }
  }
  return done;
}

}  // namespace probe
