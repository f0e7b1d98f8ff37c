#include "gfx/sdl_window.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gfx/platform.h"
#include "gfx/sdl_icon.h"

namespace qb {

namespace {

constexpr int kFrameMs = 16;

class WindowPlatform final : public Platform {
 public:
  void OpenWindow(int, int) override {}  // the main thread opened it before the game began
  void SetTitle(std::string_view title) override {
    std::lock_guard lock(title_mutex_);
    pending_title_ = std::string(title);
    title_changed_ = true;
  }
  void Wait(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
  void End(int status) override {
    status_.store(status);
    ended_.store(true);
  }

  std::optional<std::string> TakeTitle() {
    std::lock_guard lock(title_mutex_);
    if (!title_changed_) return std::nullopt;
    title_changed_ = false;
    return pending_title_;
  }
  bool ended() const { return ended_.load(); }
  int status() const { return status_.load(); }

 private:
  std::mutex title_mutex_;
  std::string pending_title_;
  bool title_changed_ = false;
  std::atomic<bool> ended_{false};
  std::atomic<int> status_{0};
};

// Decodes UTF-8 into code points; malformed bytes become U+FFFD.
std::vector<char32_t> DecodeUtf8(const char* s) {
  std::vector<char32_t> out;
  const auto* p = reinterpret_cast<const unsigned char*>(s);
  while (*p) {
    char32_t c = *p;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra) c &= 0x3F >> extra;
    ++p;
    for (; extra > 0 && (*p & 0xC0) == 0x80; --extra, ++p) c = (c << 6) | (*p & 0x3F);
    out.push_back(extra ? U'\uFFFD' : c);
  }
  return out;
}

class Presenter {
 public:
  explicit Presenter(SDL_Window* w) : window_(w) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The picture is small and changes a few rows at a time: the software
    // renderer shows it everywhere, with no GL driver to depend on.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer_ = SDL_CreateRenderer(w, -1, SDL_RENDERER_SOFTWARE);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kSurfaceWidth,
                                 kSurfaceHeight);
    frame_.assign(static_cast<std::size_t>(kSurfaceWidth) * kSurfaceHeight, 0xFF000000u);
  }
  ~Presenter() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
  }
  bool ok() const { return renderer_ && texture_; }

  // Copies the changed rows and shows the frame when anything changed.
  void Present(bool force) {
    bool changed = false;
    auto& px = Pixels();
    for (int y = 0; y < kSurfaceHeight; ++y) {
      if (!px.TakeDirty(y)) continue;
      changed = true;
      std::uint32_t* row = &frame_[static_cast<std::size_t>(y) * kSurfaceWidth];
      for (int x = 0; x < kSurfaceWidth; ++x) row[x] = px.Load(x, y) | 0xFF000000u;
    }
    if (!changed && !force) return;
    SDL_UpdateTexture(texture_, nullptr, frame_.data(), kSurfaceWidth * 4);
    int out_w = kSurfaceWidth, out_h = kSurfaceHeight;
    SDL_GetRendererOutputSize(renderer_, &out_w, &out_h);
    const SDL_Rect dst = FitPicture(out_w, out_h);
    SDL_RenderSetViewport(renderer_, nullptr);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
  }

 private:
  SDL_Window* window_;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  std::vector<std::uint32_t> frame_;
};

bool AltHeld(std::uint16_t mod) { return (mod & KMOD_ALT) != 0 && (mod & KMOD_MODE) == 0; }

}  // namespace

SDL_Rect FitPicture(int width, int height) {
  const int factor = std::max(1, std::min(width / kSurfaceWidth, height / kSurfaceHeight));
  return {(width - kSurfaceWidth * factor) / 2, (height - kSurfaceHeight * factor) / 2, kSurfaceWidth * factor,
          kSurfaceHeight * factor};
}

std::uint8_t ToCodePage437(char32_t c) {
  if (c < 0x80) return static_cast<std::uint8_t>(c);
  // The upper half of code page 437 for the letters and signs a keyboard may
  // type; anything else arrives as "?".
  static constexpr char32_t kUpper[128] = {
      U'Ç', U'ü', U'é', U'â', U'ä', U'à', U'å', U'ç', U'ê', U'ë', U'è', U'ï', U'î', U'ì', U'Ä', U'Å',
      U'É', U'æ', U'Æ', U'ô', U'ö', U'ò', U'û', U'ù', U'ÿ', U'Ö', U'Ü', U'¢', U'£', U'¥', U'₧', U'ƒ',
      U'á', U'í', U'ó', U'ú', U'ñ', U'Ñ', U'ª', U'º', U'¿', U'⌐', U'¬', U'½', U'¼', U'¡', U'«', U'»',
      U'░', U'▒', U'▓', U'│', U'┤', U'╡', U'╢', U'╖', U'╕', U'╣', U'║', U'╗', U'╝', U'╜', U'╛', U'┐',
      U'└', U'┴', U'┬', U'├', U'─', U'┼', U'╞', U'╟', U'╚', U'╔', U'╩', U'╦', U'╠', U'═', U'╬', U'╧',
      U'╨', U'╤', U'╥', U'╙', U'╘', U'╒', U'╓', U'╫', U'╪', U'┘', U'┌', U'█', U'▄', U'▌', U'▐', U'▀',
      U'α', U'ß', U'Γ', U'π', U'Σ', U'σ', U'µ', U'τ', U'Φ', U'Θ', U'Ω', U'δ', U'∞', U'φ', U'ε', U'∩',
      U'≡', U'±', U'≥', U'≤', U'⌠', U'⌡', U'÷', U'≈', U'°', U'∙', U'·', U'√', U'ⁿ', U'²', U'■', U'\u00A0',
  };
  for (int i = 0; i < 128; ++i)
    if (kUpper[i] == c) return static_cast<std::uint8_t>(0x80 + i);
  return '?';
}

std::optional<std::uint32_t> TranslateKeyDown(SDL_Keycode sym, std::uint16_t mod) {
  if (AltHeld(mod)) return std::nullopt;
  const bool ctrl = (mod & KMOD_CTRL) != 0;
  const bool shift = (mod & KMOD_SHIFT) != 0;
  const bool num_lock = (mod & KMOD_NUM) != 0;
  auto ext = [](int n) -> std::optional<std::uint32_t> { return key::Extended(static_cast<std::uint8_t>(n)); };

  // Characters that produce no text input of their own.
  switch (sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 0x0D;
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_ESCAPE: return 0x1B;
    case SDLK_TAB: return 0x09;
    default: break;
  }
  if (ctrl && sym >= SDLK_a && sym <= SDLK_z) return static_cast<std::uint32_t>(sym - SDLK_a + 1);

  if (sym >= SDLK_F1 && sym <= SDLK_F10) {
    const int i = sym - SDLK_F1;
    return ext((ctrl ? 0x5E : shift ? 0x54 : 0x3B) + i);
  }
  if (sym == SDLK_F11) return ext(ctrl ? 0x89 : shift ? 0x87 : 0x85);
  if (sym == SDLK_F12) return ext(ctrl ? 0x8A : shift ? 0x88 : 0x86);

  // The keypad's navigation keys count only while Num Lock is off; with it on
  // they type digits through text input.
  if (!num_lock) {
    switch (sym) {
      case SDLK_KP_7: sym = SDLK_HOME; break;
      case SDLK_KP_8: sym = SDLK_UP; break;
      case SDLK_KP_9: sym = SDLK_PAGEUP; break;
      case SDLK_KP_4: sym = SDLK_LEFT; break;
      case SDLK_KP_5: return ext(ctrl ? 0x8F : 0x4C);
      case SDLK_KP_6: sym = SDLK_RIGHT; break;
      case SDLK_KP_1: sym = SDLK_END; break;
      case SDLK_KP_2: sym = SDLK_DOWN; break;
      case SDLK_KP_3: sym = SDLK_PAGEDOWN; break;
      case SDLK_KP_0: sym = SDLK_INSERT; break;
      case SDLK_KP_PERIOD: sym = SDLK_DELETE; break;
      default: break;
    }
  }
  struct Nav {
    SDL_Keycode sym;
    int plain, with_ctrl;
  };
  static constexpr Nav kNav[] = {
      {SDLK_HOME, 0x47, 0x77},   {SDLK_UP, 0x48, 0x8D},       {SDLK_PAGEUP, 0x49, 0x84},
      {SDLK_LEFT, 0x4B, 0x73},   {SDLK_RIGHT, 0x4D, 0x74},    {SDLK_END, 0x4F, 0x75},
      {SDLK_DOWN, 0x50, 0x91},   {SDLK_PAGEDOWN, 0x51, 0x76}, {SDLK_INSERT, 0x52, 0x92},
      {SDLK_DELETE, 0x53, 0x93},
  };
  for (const auto& n : kNav)
    if (n.sym == sym) return ext(ctrl ? n.with_ctrl : n.plain);
  return std::nullopt;
}

int RunInWindow(const std::function<void()>& game, bool fullscreen) {
  const char* driver_asked = std::getenv("SDL_VIDEODRIVER");
  const bool driver_chosen = driver_asked && *driver_asked;
  if (!driver_chosen && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    std::fprintf(stderr, "cannot open the game window: no display (DISPLAY is not set)\n");
    return 1;
  }
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
    return 1;
  }
  // SDL falls back to drivers that show nothing; a player would see no window.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (!driver_chosen && (driver == "offscreen" || driver == "dummy")) {
    std::fprintf(stderr, "cannot open the game window: no display found\n");
    SDL_Quit();
    return 1;
  }
  // Resizable only so that the window manager offers the maximise button;
  // dragging the border snaps back to the fixed size below.
  SDL_Window* window =
      SDL_CreateWindow("QUIZZLEBOX", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kSurfaceWidth, kSurfaceHeight,
                       SDL_WINDOW_RESIZABLE | (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
  if (!window) {
    std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  SetGameIcon(window);
  int status = 0;
  {
    Presenter presenter(window);
    if (!presenter.ok()) {
      std::fprintf(stderr, "cannot open the game window: %s\n", SDL_GetError());
      SDL_DestroyWindow(window);
      SDL_Quit();
      return 1;
    }
    WindowPlatform platform;
    InstallPlatform(&platform);
    Keys().Clear();
    Pixels().MarkAllDirty();
    SDL_StartTextInput();

    std::atomic<bool> game_done{false};
    std::thread game_thread([&] {
      game();
      game_done.store(true);
    });

    bool force_present = true;
    auto next_frame = std::chrono::steady_clock::now();
    while (!game_done.load() && !platform.ended()) {
      SDL_Event e;
      while (SDL_WaitEventTimeout(&e, 2)) {
        switch (e.type) {
          case SDL_QUIT: Keys().Push(key::Extended(key::kClose)); break;
          case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
              Keys().Push(key::Extended(key::kClose));
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
              const auto flags = SDL_GetWindowFlags(window);
              if (!(flags & (SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) &&
                  (e.window.data1 != kSurfaceWidth || e.window.data2 != kSurfaceHeight))
                SDL_SetWindowSize(window, kSurfaceWidth, kSurfaceHeight);
              force_present = true;
            } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_RESTORED ||
                       e.window.event == SDL_WINDOWEVENT_MAXIMIZED) {
              force_present = true;
            }
            break;
          case SDL_KEYDOWN: {
            const auto mod = static_cast<std::uint16_t>(e.key.keysym.mod);
            if (AltHeld(mod)) {
              if (e.key.keysym.sym == SDLK_RETURN && !e.key.repeat) {
                const bool full = SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
                SDL_SetWindowFullscreen(window, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
                force_present = true;
              }
              break;
            }
            if (auto code = TranslateKeyDown(e.key.keysym.sym, mod)) Keys().Push(*code);
            break;
          }
          case SDL_TEXTINPUT:
            if (AltHeld(static_cast<std::uint16_t>(SDL_GetModState()))) break;
            for (char32_t c : DecodeUtf8(e.text.text)) Keys().Push(ToCodePage437(c));
            break;
          default: break;
        }
        if (std::chrono::steady_clock::now() >= next_frame) break;
      }
      if (auto title = platform.TakeTitle()) SDL_SetWindowTitle(window, title->c_str());
      const auto now = std::chrono::steady_clock::now();
      if (now >= next_frame) {
        presenter.Present(force_present);
        force_present = false;
        next_frame = now + std::chrono::milliseconds(kFrameMs);
      }
    }
    game_thread.join();
    status = platform.status();
    SDL_StopTextInput();
    InstallPlatform(nullptr);
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return status;
}

}  // namespace qb
