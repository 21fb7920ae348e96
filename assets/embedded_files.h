// The game's embedded files (worlds, pictures, sounds), built into both programs.
#pragma once

// Registers every embedded file with the stream layer, so "incbin::" + name opens it.
void RegisterEmbeddedFiles();
