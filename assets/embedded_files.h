// The game's embedded files (worlds, pictures, sounds), built into both programs.
#pragma once

#include <string>
#include <vector>

// Registers every embedded file with the stream layer, so "incbin::" + name opens it.
void RegisterEmbeddedFiles();

// The fifty skin pictures of "gorbo/" ("gorbo/gorbo01.png" ...), in registration order.
const std::vector<std::string>& EmbeddedSkinNames();
