// Marks the functions that libqxracm exports by their plain C names.
#pragma once

#define AC_EXPORT extern "C" __attribute__((visibility("default")))
