// Shared libraries: functions bound by name; a missing one raises its error only when called.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/library.h"

namespace {

TEST(SharedLibraries, BindsFunctionsByName) {
  SharedLibrary libc("libc.so.6");
  ASSERT_TRUE(libc.Loaded()) << libc.LoadError();
  auto length = libc.Bind<size_t(const char*)>("strlen");
  EXPECT_TRUE(length.IsBound());
  EXPECT_EQ(length("four"), 4u);
  EXPECT_NE(libc.Symbol("strlen"), nullptr);
}

TEST(SharedLibraries, AMissingFunctionRaisesOnlyWhenCalled) {
  SharedLibrary libc("libc.so.6");
  auto missing = libc.Bind<int(int)>("qxr_no_such_function");  // binding itself is fine
  EXPECT_FALSE(missing.IsBound());
  EXPECT_EQ(missing.Name(), "qxr_no_such_function");
  try {
    missing(1);
    FAIL() << "no error raised";
  } catch (const RuntimeError& error) {
    EXPECT_NE(std::strstr(error.what(), "qxr_no_such_function"), nullptr) << error.what();
  }
}

TEST(SharedLibraries, AMissingLibraryBindsPlaceholders) {
  SharedLibrary none("libqxr_not_there.so");
  EXPECT_FALSE(none.Loaded());
  EXPECT_FALSE(none.LoadError().empty());
  auto start = none.Bind<void()>("Start");
  EXPECT_THROW(start(), RuntimeError);
  SharedLibrary moved = std::move(none);
  EXPECT_FALSE(moved.Loaded());
  BoundFunction<void()> unbound;
  EXPECT_THROW(unbound(), RuntimeError);
}

}  // namespace
