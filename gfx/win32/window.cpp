// The game's window on Windows, with nothing but USER32 and GDI32. The main
// thread owns the window: it takes its messages, queues keys, sets the title
// and presents frames; the game runs on a thread of its own and wakes the main
// thread with a posted message (the contract of docs/HACKING.md, as with SDL).
#include "gfx/window.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>

#include "gfx/key_queue.h"
#include "gfx/pixel_buffer.h"
#include "gfx/platform.h"
#include "gfx/threaded_platform.h"
#include "gfx/win32/presenter.h"
#include "gfx/win32/win32_keys.h"

namespace qb {

namespace {

using Clock = std::chrono::steady_clock;

// ---- the console a command line was typed in ----

// A program of the window subsystem starts without a console. Started from
// one (quizzlebox.exe --version in a command prompt), it writes to that
// console; output that the caller redirected already has its handles.
bool g_console_attached = false;

bool HasHandle(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE;
}

struct ParentConsole {
  ParentConsole() {
    const bool out = HasHandle(STD_OUTPUT_HANDLE), err = HasHandle(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    g_console_attached = true;
    if (!out && std::freopen("CONOUT$", "w", stdout) == nullptr) return;
    if (!err && std::freopen("CONOUT$", "w", stderr) == nullptr) return;
  }
};
const ParentConsole g_parent_console;

// Once the window is open nothing more is written: the game lets the console
// go, so that closing the console does not end the game.
void LeaveConsole() {
  if (!g_console_attached) return;
  std::fflush(stdout);
  std::fflush(stderr);
  FreeConsole();
  g_console_attached = false;
}

// ---- the window ----

constexpr UINT kWakeMessage = WM_APP + 1;
constexpr UINT kRefitMessage = WM_APP + 2;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr wchar_t kClassName[] = L"QUIZZLEBOX";

// The window, for the game thread's wake-ups (PostMessageW is safe from any
// thread).
std::atomic<HWND> g_window{nullptr};

void PushWake() {
  if (HWND w = g_window.load()) PostMessageW(w, kWakeMessage, 0, 0);
}

void SignalFrame(void*) { PushWake(); }

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(std::max(n, 0)), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

// The monitor's pixels per logical inch (96 at 100 %). The functions came
// with Windows 10; without them the window keeps 96.
UINT WindowDpi(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get =
      reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"),
                                                                                   "GetDpiForWindow")));
  const UINT dpi = get ? get(window) : 0;
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

// The outer size of a window whose client area shows the picture at `scale`.
SIZE WindowSize(int scale, UINT dpi) {
  using AdjustFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = reinterpret_cast<AdjustFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  RECT r{0, 0, kSurfaceWidth * scale, kSurfaceHeight * scale};
  if (adjust)
    adjust(&r, kWindowStyle, FALSE, 0, dpi);
  else
    AdjustWindowRectEx(&r, kWindowStyle, FALSE, 0);
  return {r.right - r.left, r.bottom - r.top};
}

// At 200 % and more the picture grows by whole factors, so that it keeps its
// size on the desk and every pixel stays sharp.
int ScaleFor(UINT dpi) { return std::max(1, static_cast<int>(dpi / USER_DEFAULT_SCREEN_DPI)); }

struct WindowState {
  Presenter presenter;
  Win32TypedChars typed;
  bool fullscreen = false;
  WINDOWPLACEMENT windowed{};  // where the window was before full screen
  bool frame_due = true;       // the game changed the picture since the last present
  bool moving = false;         // inside the modal loop of a move or a drag
  int refits = 0;              // how often full screen may still be asserted again
  Clock::time_point last_present{};
};

WindowState* g_state = nullptr;

RECT MonitorRect(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcMonitor;
}

void CoverMonitor(HWND window) {
  const RECT m = MonitorRect(window);
  SetWindowPos(window, HWND_TOP, m.left, m.top, m.right - m.left, m.bottom - m.top,
               SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

// Full screen: a borderless window over the whole monitor, the picture grown
// by whole factors and centred on black; and back to the window as it was.
void SetFullscreen(HWND window, bool on) {
  WindowState& s = *g_state;
  if (on == s.fullscreen) return;
  s.fullscreen = on;
  if (on) {
    s.windowed.length = sizeof(s.windowed);
    GetWindowPlacement(window, &s.windowed);
    s.windowed.showCmd = SW_SHOWNORMAL;  // back as a plain window (--fullscreen starts before it was ever shown)
    SetWindowLongPtrW(window, GWL_STYLE, WS_POPUP | (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE));
    s.refits = 3;
    CoverMonitor(window);
  } else {
    SetWindowLongPtrW(window, GWL_STYLE, kWindowStyle | (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE));
    SetWindowPlacement(window, &s.windowed);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
  }
  InvalidateRect(window, nullptr, FALSE);
}

void QueueKeyDown(WPARAM wparam, LPARAM lparam) {
  const Win32KeyDown message{static_cast<std::uint32_t>(wparam), static_cast<std::uint32_t>(lparam),
                             GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0};
  const Win32Queued q = TranslateWin32KeyDown(message);
  for (int i = 0; q.code && i < q.times; ++i) Keys().Push(*q.code);
}

void Present(HWND window) {
  WindowState& s = *g_state;
  s.frame_due = false;
  if (s.presenter.Present(window)) s.last_present = Clock::now();
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!g_state) return DefWindowProcW(window, message, wparam, lparam);
  WindowState& s = *g_state;
  switch (message) {
    case kWakeMessage:
      s.frame_due = true;
      // The message loop does not run while the window is moved; present here.
      if (s.moving) Present(window);
      return 0;
    case WM_CLOSE:  // the game decides: it gets the close key
      Keys().Push(key::kClose.code);
      return 0;
    case WM_KEYDOWN:
      QueueKeyDown(wparam, lparam);
      return 0;
    case WM_SYSKEYDOWN:
      if (lparam & (1 << 29)) {  // with Alt: only Alt+Enter is the window's, the rest is Windows' (Alt+F4)
        if (wparam == VK_RETURN) {
          if (!(lparam & (1 << 30))) SetFullscreen(window, !s.fullscreen);  // not on auto-repeat
          return 0;
        }
        break;
      }
      QueueKeyDown(wparam, lparam);  // F10, which Windows sends as a system key
      return 0;
    case WM_CHAR:
      for (int i = 0, n = Win32RepeatCount(static_cast<std::uint32_t>(lparam)); i < n; ++i)
        if (auto b = s.typed.Take(static_cast<char16_t>(wparam))) Keys().Push(*b);
      return 0;
    case WM_SYSCHAR:  // typed with Alt held: nothing is queued, and no beep
      return 0;
    case WM_SYSCOMMAND:
      // Alt pressed and released alone would open the window menu and take
      // the next keys; the game keeps them. Alt+Space still opens it.
      if ((wparam & 0xFFF0) == SC_KEYMENU && lparam == 0) return 0;
      break;
    case WM_ENTERSIZEMOVE: s.moving = true; return 0;
    case WM_EXITSIZEMOVE: s.moving = false; return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      s.presenter.Paint(window, dc);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_SIZE:
      InvalidateRect(window, nullptr, FALSE);
      // A window manager may still move a window that has just become full
      // screen (Wine passes the moves on): it is put back over the monitor,
      // a few times at most, so that no manager is fought for ever.
      if (s.fullscreen && wparam != SIZE_MINIMIZED && s.refits > 0) {
        RECT now{};
        GetWindowRect(window, &now);
        const RECT monitor = MonitorRect(window);
        if (!EqualRect(&now, &monitor)) {
          --s.refits;
          PostMessageW(window, kRefitMessage, 0, 0);
        }
      }
      return 0;
    case kRefitMessage:
      if (s.fullscreen) CoverMonitor(window);
      return 0;
    case WM_DPICHANGED:
      if (!s.fullscreen && !IsZoomed(window)) {
        const auto* suggested = reinterpret_cast<const RECT*>(lparam);
        const UINT dpi = HIWORD(wparam);
        const SIZE size = WindowSize(ScaleFor(dpi), dpi);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// How often the display shows a new picture; 60 Hz where it does not say.
Clock::duration RefreshPeriod(HWND window) {
  HDC dc = GetDC(window);
  const int hz = dc ? GetDeviceCaps(dc, VREFRESH) : 0;
  if (dc) ReleaseDC(window, dc);
  return std::chrono::milliseconds(std::max(1, 1000 / (hz > 1 ? hz : 60)));
}

HWND OpenWindow(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                           GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                             LR_DEFAULTCOLOR));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return nullptr;
  // Made hidden, sized for its monitor's DPI and centred on its work area,
  // then shown: it appears once, where and as it stays.
  const SIZE initial = WindowSize(1, USER_DEFAULT_SCREEN_DPI);
  HWND window = CreateWindowExW(0, kClassName, L"QUIZZLEBOX", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, initial.cx,
                                initial.cy, nullptr, nullptr, instance, nullptr);
  if (!window) return nullptr;
  const UINT dpi = WindowDpi(window);
  const SIZE size = WindowSize(ScaleFor(dpi), dpi);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(window, nullptr, work.left + std::max<LONG>(0, (work.right - work.left - size.cx) / 2),
               work.top + std::max<LONG>(0, (work.bottom - work.top - size.cy) / 2), size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return window;
}

std::string LastError() {
  wchar_t* text = nullptr;
  const DWORD code = GetLastError();
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = "error " + std::to_string(code);
  if (text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(std::max(n, 1)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), n, nullptr, nullptr);
    utf8.resize(utf8.find_last_not_of(std::string_view("\r\n. \0", 5)) + 1);
    out = utf8;
    LocalFree(text);
  }
  return out;
}

}  // namespace

int RunInWindow(const std::function<void()>& game, const WindowOptions& options) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WindowState state;
  g_state = &state;
  HWND window = OpenWindow(instance);
  if (!window) {
    std::fprintf(stderr, "cannot open the game window: %s\n", LastError().c_str());
    g_state = nullptr;
    return 1;
  }
  LeaveConsole();
  g_window.store(window);
  if (options.fullscreen) SetFullscreen(window, true);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);

  ThreadedPlatform platform(PushWake);
  Pixels().SetSignal(SignalFrame, nullptr);
  std::atomic<bool> game_done{false};
  std::thread game_thread([&] {
    RunOnPlatform(platform, game);
    game_done.store(true);
    PushWake();
  });

  // The main thread sleeps until a message arrives. A frame is shown as soon
  // as the game signals one, but at most once per display refresh; when one
  // is due earlier, the wait is cut to the moment it may be shown.
  auto refresh = RefreshPeriod(window);
  state.last_present = Clock::now() - refresh;
  while (!game_done.load() && !platform.ended()) {
    DWORD timeout = INFINITE;
    if (state.frame_due) {
      const auto wait = std::chrono::ceil<std::chrono::milliseconds>(state.last_present + refresh - Clock::now());
      timeout = static_cast<DWORD>(std::max<long long>(0, wait.count()));
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (auto title = platform.TakeTitle()) SetWindowTextW(window, Wide(*title).c_str());
    if (state.frame_due && Clock::now() >= state.last_present + refresh) Present(window);
  }
  game_thread.join();
  Pixels().SetSignal(nullptr, nullptr);
  g_window.store(nullptr);
  g_state = nullptr;
  // The window goes with the process, which ends now: Windows takes it down
  // at once. Destroying it here would add nothing, and under Wine without a
  // window manager it costs two seconds (Wine waits for an unmap that no
  // manager confirms).
  return platform.exit_status();
}

}  // namespace qb
