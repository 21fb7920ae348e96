// Loads libqxracm.so and binds each of its conversion functions by name.
#include "music/acm_binding.h"

// Never destroyed: a source or stream still alive at the program's end releases through it.
AcmLibrary& Acm = *new AcmLibrary;
int AcmMaxFormatSize = 0;

bool BindAcmLibrary(const std::string& fileName) {
  const SharedLibrary* library = LoadLibraryForGood(fileName);
  if (!library) return false;
  library->BindTo(Acm.Metrics, "AC_Metrics");
  library->BindTo(Acm.StreamOpen, "AC_StreamOpen");
  library->BindTo(Acm.StreamSize, "AC_StreamSize");
  library->BindTo(Acm.StreamPrepareHeader, "AC_StreamPrepareHeader");
  library->BindTo(Acm.StreamConvert, "AC_StreamConvert");
  library->BindTo(Acm.StreamUnprepareHeader, "AC_StreamUnprepareHeader");
  library->BindTo(Acm.StreamClose, "AC_StreamClose");
  return true;
}
