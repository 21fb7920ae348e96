// Shared libraries loaded at run time, their functions bound one by one by name.
//
// A name the library lacks (or a library that is missing altogether) is bound to a
// placeholder that raises an error when it is called, not when it is bound.
#pragma once

#include <string>
#include <utility>

#include "platform/system.h"

template <typename Signature>
class BoundFunction;

template <typename R, typename... Args>
class BoundFunction<R(Args...)> {
 public:
  using Pointer = R (*)(Args...);
  BoundFunction() = default;
  BoundFunction(void* address, std::string name)
      : function_(reinterpret_cast<Pointer>(address)), name_(std::move(name)) {}

  bool IsBound() const { return function_ != nullptr; }
  const std::string& Name() const { return name_; }

  R operator()(Args... args) const {
    if (!function_) RaiseError("Library function " + name_ + " not found");
    return function_(std::forward<Args>(args)...);
  }

 private:
  Pointer function_ = nullptr;
  std::string name_ = "(unbound)";
};

class SharedLibrary {
 public:
  SharedLibrary() = default;
  // Loads fileName from the program's own folder, else from the system's search path.
  // Never throws; Loaded() tells whether it was found.
  explicit SharedLibrary(const std::string& fileName);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;

  bool Loaded() const { return handle_ != nullptr; }
  const std::string& LoadError() const { return error_; }
  void* Symbol(const std::string& name) const;  // nullptr when missing

  template <typename Signature>
  BoundFunction<Signature> Bind(const std::string& name) const {
    return BoundFunction<Signature>(Symbol(name), name);
  }
  // Binds function to name, keeping its declared signature.
  template <typename Signature>
  void BindTo(BoundFunction<Signature>& function, const std::string& name) const {
    function = Bind<Signature>(name);
  }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// Loads fileName as SharedLibrary does, into a library that is never closed: what is bound from
// it stays callable to the program's very end (its own threads, exit hooks, objects destroyed
// last). Null when it cannot be loaded, with the reason in *error when error is given.
const SharedLibrary* LoadLibraryForGood(const std::string& fileName, std::string* error = nullptr);
