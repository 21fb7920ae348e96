// Marks the functions that libqxrsound exports by their plain C names.
#pragma once

#define SO_EXPORT extern "C" __attribute__((visibility("default")))
