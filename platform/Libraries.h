// Libraries that only some commands need are loaded on first use, so that starting the program
// neither maps nor relocates them and everything they depend on.
#pragma once

#include <string>

class TLibrary {
 public:
  // Loads `name` (a file name the system's loader searches for, or a path). The library stays
  // loaded until the program ends: the functions found in it may be kept.
  explicit TLibrary(const std::string& name);
  bool Loaded() const { return handle_ != nullptr; }
  // Why the library or the last function asked for was not found (the loader's words).
  const std::string& Error() const { return error_; }
  // Sets `function` to the library's function `symbol`; false (and Error()) when it has none.
  template <typename F>
  bool Find(F& function, const char* symbol) {
    function = reinterpret_cast<F>(Symbol(symbol));
    return function != nullptr;
  }

 private:
  void* Symbol(const char* symbol);
  void* handle_ = nullptr;
  std::string error_;
};
