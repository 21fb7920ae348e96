// Inside the platform layer: the SDL window and renderer that graphics, images and system share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

SDL_Window* VideoWindow();      // nullptr while no screen is open
SDL_Renderer* VideoRenderer();  // nullptr while no screen is open
// Changes whenever the renderer is made or destroyed; a texture made under another value is gone.
unsigned RendererGeneration();
// Runs the input script's events for this flip (input_script.cpp).
void RunInputScript(int flip);
// Time the input script spent saving a screenshot in this flip: the frame pacing catches up on
// it instead of counting it as a stall, so scripted screenshots do not put the program's frames
// behind the clock.
void ExcuseFromPacing(double ms);
