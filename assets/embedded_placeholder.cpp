// Empty table of embedded files, until the content generator is in place.
#include "assets/embedded_files.h"

void RegisterEmbeddedFiles() {}
