// Polled input from SDL's events: keys as virtual-key codes, typed 8-bit characters, mouse, close.
#include <SDL.h>

#include <array>
#include <deque>

#include "platform/events.h"
#include "platform/input.h"
#include "platform/system.h"

namespace {

struct InputState {
  std::array<bool, Key::Count> down{};
  std::array<int, Key::Count> hits{};
  std::array<bool, Key::Count> releaseAtNextPoll{};
  std::deque<int> typed;
  int mouseX = 0, mouseY = 0;
  std::array<bool, 4> mouseDown{};
  std::array<int, 4> mouseHits{};
  std::array<bool, 4> mouseReleaseAtNextPoll{};
  bool closeRequested = false;
};

InputState Input;

constexpr int LeftShift = 160, RightShift = 161, LeftControl = 162, RightControl = 163, LeftAlt = 164,
              RightAlt = 165;
constexpr size_t MaxTyped = 256;  // a flood of typed text is cut, not stored without end

bool ValidKey(int vk) { return vk > 0 && vk < Key::Count; }
bool ValidButton(int button) { return button >= 1 && button <= 3; }

int VirtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return Key::A + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return Key::Digit0 + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return Key::F1 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
  switch (key) {
    case SDLK_BACKSPACE: return Key::Backspace;
    case SDLK_TAB: return Key::Tab;
    case SDLK_RETURN: case SDLK_KP_ENTER: return Key::Enter;
    case SDLK_ESCAPE: return Key::Escape;
    case SDLK_SPACE: return Key::Space;
    case SDLK_PAGEUP: return Key::PageUp;
    case SDLK_PAGEDOWN: return Key::PageDown;
    case SDLK_END: return Key::End;
    case SDLK_HOME: return Key::Home;
    case SDLK_LEFT: return Key::Left;
    case SDLK_UP: return Key::Up;
    case SDLK_RIGHT: return Key::Right;
    case SDLK_DOWN: return Key::Down;
    case SDLK_INSERT: return Key::Insert;
    case SDLK_DELETE: return Key::Delete;
    case SDLK_LSHIFT: return LeftShift;
    case SDLK_RSHIFT: return RightShift;
    case SDLK_LCTRL: return LeftControl;
    case SDLK_RCTRL: return RightControl;
    case SDLK_LALT: return LeftAlt;
    case SDLK_RALT: return RightAlt;
    case SDLK_PAUSE: return 19;
    case SDLK_CAPSLOCK: return 20;
    case SDLK_KP_0: return 96;
    case SDLK_KP_MULTIPLY: return 106;
    case SDLK_KP_PLUS: return 107;
    case SDLK_KP_MINUS: return 109;
    case SDLK_KP_PERIOD: return 110;
    case SDLK_KP_DIVIDE: return 111;
    case SDLK_SEMICOLON: return 186;
    case SDLK_EQUALS: return 187;
    case SDLK_COMMA: return 188;
    case SDLK_MINUS: return 189;
    case SDLK_PERIOD: return 190;
    case SDLK_SLASH: return 191;
    case SDLK_BACKQUOTE: return 192;
    case SDLK_LEFTBRACKET: return 219;
    case SDLK_BACKSLASH: return 220;
    case SDLK_RIGHTBRACKET: return 221;
    case SDLK_QUOTE: return 222;
    default: return 0;
  }
}

// The generic Shift, Control and Alt codes follow their left and right keys.
int GenericKey(int vk) {
  if (vk == LeftShift || vk == RightShift) return Key::Shift;
  if (vk == LeftControl || vk == RightControl) return Key::Control;
  if (vk == LeftAlt || vk == RightAlt) return Key::Alt;
  return 0;
}

void Press(int vk) {
  if (!ValidKey(vk)) return;
  if (!Input.down[vk]) ++Input.hits[vk];
  Input.down[vk] = true;
  Input.releaseAtNextPoll[vk] = false;
  if (int generic = GenericKey(vk)) {
    if (!Input.down[generic]) ++Input.hits[generic];
    Input.down[generic] = true;
  }
}

void Release(int vk) {
  if (!ValidKey(vk)) return;
  Input.down[vk] = false;
  if (int generic = GenericKey(vk)) {
    int other = vk % 2 == 0 ? vk + 1 : vk - 1;  // the key's twin on the other side
    Input.down[generic] = Input.down[other];
  }
}

void Type(int code) {
  if (Input.typed.size() < MaxTyped) Input.typed.push_back(code);
}

// UTF-8 from SDL to 8-bit codes: what Latin-1 holds is kept, the rest dropped.
void TypeUtf8(const char* text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    unsigned c = *p;
    unsigned code = 0;
    int extra = 0;
    if (c < 0x80) {
      code = c;
    } else if ((c & 0xE0) == 0xC0) {
      code = c & 0x1F;
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      code = c & 0x0F;
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      code = c & 0x07;
      extra = 3;
    } else {
      ++p;  // a stray continuation byte
      continue;
    }
    ++p;
    bool whole = true;
    for (int i = 0; i < extra; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) {
        whole = false;
        break;
      }
      code = (code << 6) | (*p & 0x3F);
    }
    if (whole && code >= 32 && code < 256 && code != 127) Type(static_cast<int>(code));
  }
}

int MouseButton(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
  }
}

void HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT: Input.closeRequested = true; break;
    case SDL_KEYDOWN: {
      int vk = VirtualKey(event.key.keysym.sym);
      if (!event.key.repeat) Press(vk);
      // The editing keys go to the typed queue too, repeats included.
      if (vk == Key::Backspace || vk == Key::Enter || vk == Key::Escape) Type(vk);
      break;
    }
    case SDL_KEYUP: Release(VirtualKey(event.key.keysym.sym)); break;
    case SDL_TEXTINPUT: TypeUtf8(event.text.text); break;
    case SDL_MOUSEMOTION:
      Input.mouseX = event.motion.x;
      Input.mouseY = event.motion.y;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int button = MouseButton(event.button.button);
      if (!button) break;
      Input.mouseX = event.button.x;
      Input.mouseY = event.button.y;
      bool pressed = event.type == SDL_MOUSEBUTTONDOWN;
      if (pressed && !Input.mouseDown[button]) ++Input.mouseHits[button];
      Input.mouseDown[button] = pressed;
      Input.mouseReleaseAtNextPoll[button] = false;
      break;
    }
    default: break;
  }
}

}  // namespace

void PollInput() {
  // Presses fed by hand last one loop pass: they end at the next poll.
  for (int vk = 0; vk < Key::Count; ++vk)
    if (Input.releaseAtNextPoll[vk]) {
      Input.releaseAtNextPoll[vk] = false;
      Release(vk);
    }
  for (int b = 1; b <= 3; ++b)
    if (Input.mouseReleaseAtNextPoll[b]) {
      Input.mouseReleaseAtNextPoll[b] = false;
      Input.mouseDown[b] = false;
    }
  // Without a window system (the dummy driver) no event can come; pumping the queue would
  // only cost the time a headless server should not spend 60 times a second.
  if (SDL_WasInit(SDL_INIT_VIDEO) && !Headless()) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) HandleEvent(event);
  }
  DispatchTimerTicks();
}

int KeyHit(int vk) {
  if (!ValidKey(vk)) return 0;
  int hits = Input.hits[vk];
  Input.hits[vk] = 0;
  return hits;
}

bool KeyDown(int vk) { return ValidKey(vk) && Input.down[vk]; }

int GetChar() {
  if (Input.typed.empty()) return 0;
  int code = Input.typed.front();
  Input.typed.pop_front();
  return code;
}

void FlushKeys() {
  Input.down.fill(false);
  Input.hits.fill(0);
  Input.releaseAtNextPoll.fill(false);
  Input.typed.clear();
}

int MouseX() { return Input.mouseX; }
int MouseY() { return Input.mouseY; }
bool MouseDown(int button) { return ValidButton(button) && Input.mouseDown[button]; }

int MouseHit(int button) {
  if (!ValidButton(button)) return 0;
  int hits = Input.mouseHits[button];
  Input.mouseHits[button] = 0;
  return hits;
}

void FlushMouse() {
  Input.mouseDown.fill(false);
  Input.mouseHits.fill(0);
  Input.mouseReleaseAtNextPoll.fill(false);
}

bool AppTerminate() {
  // Latched until asked once, so a request made in another loop is seen by the next that asks.
  bool requested = Input.closeRequested;
  Input.closeRequested = false;
  return requested;
}

void InjectKeyDown(int vk) { Press(vk); }
void InjectKeyUp(int vk) { Release(vk); }

void InjectKeyHit(int vk) {
  if (!ValidKey(vk)) return;
  if (Input.down[vk] && !Input.releaseAtNextPoll[vk]) {
    ++Input.hits[vk];  // already held: count the hit, keep it held
    return;
  }
  Input.down[vk] = false;
  Press(vk);
  Input.releaseAtNextPoll[vk] = true;
  if (vk == Key::Backspace || vk == Key::Enter || vk == Key::Escape) Type(vk);
}

void InjectText(const std::string& text) {
  for (unsigned char c : text) Type(c);
}

void InjectUtf8Text(const char* utf8) {
  if (utf8) TypeUtf8(utf8);
}

void InjectMouse(int x, int y) {
  Input.mouseX = x;
  Input.mouseY = y;
}

void InjectMouseClick(int button) {
  if (!ValidButton(button)) return;
  ++Input.mouseHits[button];
  Input.mouseDown[button] = true;
  Input.mouseReleaseAtNextPoll[button] = true;
}

void InjectClose() { Input.closeRequested = true; }
