// The rest of the operating system: window title, message boxes, window icon, errors, exit.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

void AppTitle(const std::string& title);     // caption of the window and of message boxes
const std::string& AppTitleText();
// A modal message box with the application title; headless it is one line on standard
// error and never blocks.
void Notify(const std::string& text);
// Gives the window our own icon (an embedded picture) and, where the window system
// allows it, adds window-style bits (StyleMinimizeBox). Safe without a window.
constexpr int StyleMinimizeBox = 0x00020000;
void SetOwnWindowIcon(int styleBits);
// The program's window while it has the input focus, else nullptr: an opaque handle for
// layers that tie themselves to a window.
void* ActiveWindow();

// A fatal error of the program ("raised"): thrown, and reported by the program's main.
class RuntimeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
[[noreturn]] void RaiseError(const std::string& message);

// Runs fn when the program ends through EndProgram or a normal return from main.
void AtProgramExit(std::function<void()> fn);
[[noreturn]] void EndProgram(int code);
bool Headless();                             // no real display (SDL dummy driver or no DISPLAY)
