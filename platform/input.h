// Polled input: key hits and states by virtual-key code, typed characters, mouse, window close.
//
// Everything is gathered when Flip() (or PollInput) pumps the window's events. KeyHit counts
// presses since it was last asked for that key.
//
// QXR_INPUT_SCRIPT=<file> replays timed input, one event per line ('#' lines and blank lines
// are skipped): "<frame> key <vk>" (a hit), "<frame> down <vk>", "<frame> up <vk>",
// "<frame> type <text>" (the rest of the line, bytes as they are), "<frame> mouse <x> <y>
// [click]", "<frame> shot <file.png>" (the frame just drawn), "<frame> close". Frames count
// page flips from program start (FlipCount); the events of frame N run during the Nth flip,
// after the real events, so the next loop pass sees them.
#pragma once

#include <string>

// Virtual-key codes used by the game.
namespace Key {
constexpr int Backspace = 8, Tab = 9, Enter = 13, Shift = 16, Control = 17, Alt = 18, Escape = 27, Space = 32;
constexpr int PageUp = 33, PageDown = 34, End = 35, Home = 36;
constexpr int Left = 37, Up = 38, Right = 39, Down = 40, Insert = 45, Delete = 46;
constexpr int Digit0 = 48;  // '0'..'9' are 48..57
constexpr int A = 65;       // 'A'..'Z' are 65..90
constexpr int F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117, F7 = 118, F8 = 119, F9 = 120,
              F10 = 121, F11 = 122, F12 = 123;
constexpr int Count = 256;
}  // namespace Key

void PollInput();              // pumps pending window events (Flip does this too)
int KeyHit(int vk);            // presses since the last call for this key
bool KeyDown(int vk);          // held now
int GetChar();                 // next typed character (8 backspace, 13 enter, 27 escape, 32..255), 0 when none
                               // (typed text arrives as 8-bit codes: the pound sign is 163)
void FlushKeys();              // forgets hits, held keys and typed characters
int MouseX();
int MouseY();
bool MouseDown(int button);    // 1 left, 2 right, 3 middle
int MouseHit(int button);
void FlushMouse();
bool AppTerminate();           // the window-close request has been made (true once per request)

// Feeding input by hand (the input script and tests use these).
void InjectKeyDown(int vk);
void InjectKeyUp(int vk);
void InjectKeyHit(int vk);     // a press, held until the next poll, then released
void InjectUtf8Text(const char* utf8);  // text as the window system delivers it, kept where 8 bits hold it
void InjectText(const std::string& text);  // 8-bit characters into the typed queue
void InjectMouse(int x, int y);
void InjectMouseClick(int button);  // a press, held until the next poll, then released
void InjectClose();
