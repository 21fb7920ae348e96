// Loads libqxracm.so and binds each of its conversion functions by name.
#include "music/acm_binding.h"

// Never destroyed: a source or stream still alive at the program's end releases through it.
AcmLibrary& Acm = *new AcmLibrary;
int AcmMaxFormatSize = 0;

namespace {

// Never closed: a conversion stream may still be open while the program ends.
SharedLibrary& Library() {
  static auto* library = new SharedLibrary;
  return *library;
}

}  // namespace

bool BindAcmLibrary(const std::string& fileName) {
  SharedLibrary library(fileName);
  if (!library.Loaded()) return false;
  Library() = std::move(library);
  const SharedLibrary& bound = Library();
  bound.BindTo(Acm.Metrics, "AC_Metrics");
  bound.BindTo(Acm.StreamOpen, "AC_StreamOpen");
  bound.BindTo(Acm.StreamSize, "AC_StreamSize");
  bound.BindTo(Acm.StreamPrepareHeader, "AC_StreamPrepareHeader");
  bound.BindTo(Acm.StreamConvert, "AC_StreamConvert");
  bound.BindTo(Acm.StreamUnprepareHeader, "AC_StreamUnprepareHeader");
  bound.BindTo(Acm.StreamClose, "AC_StreamClose");
  return true;
}
