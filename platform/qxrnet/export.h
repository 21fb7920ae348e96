// Marks the functions that libqxrnet exports by their plain C names.
#pragma once

#define RN_EXPORT extern "C" __attribute__((visibility("default")))
