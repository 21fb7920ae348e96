// The audio compression library libqxracm.so, loaded at start-up and bound function by function.
//
// A name the library lacks is bound to the placeholder that raises an error when called.
#pragma once

#include <string>

#include "platform/library.h"
#include "platform/qxracm/qxracm.h"

struct AcmLibrary {
  BoundFunction<int32_t(void*, uint32_t, void*)> Metrics;
  BoundFunction<int32_t(AC_Stream**, void*, const AC_WaveFormat*, const AC_WaveFormat*, void*, uintptr_t, uintptr_t,
                        uint32_t)>
      StreamOpen;
  BoundFunction<int32_t(AC_Stream*, uint32_t, uint32_t*, uint32_t)> StreamSize;
  BoundFunction<int32_t(AC_Stream*, AC_StreamHeader*, uint32_t)> StreamPrepareHeader;
  BoundFunction<int32_t(AC_Stream*, AC_StreamHeader*, uint32_t)> StreamConvert;
  BoundFunction<int32_t(AC_Stream*, AC_StreamHeader*, uint32_t)> StreamUnprepareHeader;
  BoundFunction<int32_t(AC_Stream*, uint32_t)> StreamClose;
};

extern AcmLibrary& Acm;
// The largest format record the library knows, measured when it is bound.
extern int AcmMaxFormatSize;

constexpr const char* AcmLibraryFile = "libqxracm.so";

// Loads the library (from the program's folder first) and binds every function; false, with
// nothing bound, when it cannot be loaded.
bool BindAcmLibrary(const std::string& fileName = AcmLibraryFile);
