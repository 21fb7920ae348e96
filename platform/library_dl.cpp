// Shared libraries through dlopen: the program's own folder first, then the system's search path.
#include <dlfcn.h>

#include <memory>
#include <vector>

#include "platform/library.h"
#include "platform/stream.h"

SharedLibrary::SharedLibrary(const std::string& fileName) {
  handle_ = dlopen((ProgramFolder() + fileName).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) handle_ = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* why = dlerror();
    error_ = why ? why : "cannot load " + fileName;
  }
}

SharedLibrary::~SharedLibrary() {
  if (handle_) dlclose(handle_);
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(other.handle_), error_(std::move(other.error_)) {
  other.handle_ = nullptr;
}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
  if (this != &other) {
    if (handle_) dlclose(handle_);
    handle_ = other.handle_;
    error_ = std::move(other.error_);
    other.handle_ = nullptr;
  }
  return *this;
}

void* SharedLibrary::Symbol(const std::string& name) const {
  if (!handle_) return nullptr;
  return dlsym(handle_, name.c_str());
}

const SharedLibrary* LoadLibraryForGood(const std::string& fileName, std::string* error) {
  static auto* kept = new std::vector<std::unique_ptr<SharedLibrary>>;
  auto library = std::make_unique<SharedLibrary>(fileName);
  if (!library->Loaded()) {
    if (error) *error = library->LoadError();
    return nullptr;
  }
  kept->push_back(std::move(library));
  return kept->back().get();
}
