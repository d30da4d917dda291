// Libraries loaded on first use, through the system's dynamic loader.
#include "platform/Libraries.h"

#include <dlfcn.h>

TLibrary::TLibrary(const std::string& name) : handle_(dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) {
    const char* why = dlerror();
    error_ = why ? why : "cannot load " + name;
  }
}

void* TLibrary::Symbol(const char* symbol) {
  if (!handle_) return nullptr;
  dlerror();  // a stale error would be taken for this lookup's
  void* found = dlsym(handle_, symbol);
  if (!found) {
    const char* why = dlerror();
    error_ = why ? why : std::string("no function ") + symbol;
  }
  return found;
}
