// The module builder lives with the music player now; this name still reaches it.
#pragma once

#include "music/module_builder.h"
