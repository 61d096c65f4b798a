#include "RuntimeLibrary.h"

#include <dlfcn.h>

namespace pemo {

RuntimeLibrary::RuntimeLibrary(const char* fileName) : handle_(dlopen(fileName, RTLD_LAZY | RTLD_LOCAL)) {}

void* RuntimeLibrary::address(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

}  // namespace pemo
