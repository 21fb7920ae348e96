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
