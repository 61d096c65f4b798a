#include "RuntimeLibrary.h"

#include <dlfcn.h>

namespace pemo {

RuntimeLibrary::RuntimeLibrary(const char* fileName) : handle_(dlopen(fileName, RTLD_LAZY | RTLD_LOCAL)) {}

RuntimeLibrary::RuntimeLibrary(std::initializer_list<const char*> fileNames, Acceptance accept) {
    for (const char* name : fileNames) {
        if (!name || !*name) continue;
        handle_ = dlopen(name, RTLD_LAZY | RTLD_LOCAL);
        if (!handle_) continue;
        if (!accept || accept(*this)) return;
        dlclose(handle_);
        handle_ = nullptr;
    }
}

void* RuntimeLibrary::address(const char* name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

}  // namespace pemo
