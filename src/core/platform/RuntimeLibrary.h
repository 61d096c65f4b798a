#pragma once

#include <initializer_list>

namespace pemo {

// A shared library opened when first needed instead of linked: a linked library, and
// every library it pulls in, loads and initialises with each start of the program, the
// command-line ones included. The library stays open for the rest of the run.
class RuntimeLibrary {
public:
    // Whether an opened library is one the program can use (its version, say).
    using Acceptance = bool (*)(const RuntimeLibrary& library);

    // Opens the library by its file name (with its version, as "libcups.so.2").
    explicit RuntimeLibrary(const char* fileName);
    // Opens the first of the file names that opens and is accepted (every one when
    // accept is null): the sonames of the versions a library is shipped under. Empty
    // names are passed over.
    RuntimeLibrary(std::initializer_list<const char*> fileNames, Acceptance accept);
    RuntimeLibrary(const RuntimeLibrary&) = delete;
    RuntimeLibrary& operator=(const RuntimeLibrary&) = delete;

    bool loaded() const { return handle_ != nullptr; }

    // The function of that name as the given type, or null when the library is not
    // loaded or lacks it.
    template <typename Function>
    Function* function(const char* name) const {
        return reinterpret_cast<Function*>(address(name));
    }

private:
    void* address(const char* name) const;
    void* handle_ = nullptr;
};

}  // namespace pemo

// Defines `accessor`, a function that gives the library of that file name (or of the
// arguments of the constructor taking several), opened on its first call.
#define PEMO_RUNTIME_LIBRARY(accessor, ...)                                                  \
    namespace {                                                                              \
    const pemo::RuntimeLibrary& accessor() {                                                 \
        static const pemo::RuntimeLibrary library(__VA_ARGS__);                              \
        return library;                                                                      \
    }                                                                                        \
    }

// Defines `name`, a C function the library's own header declares, to call the library's
// function of that name, the library opening on the first call; when it cannot open,
// the function gives `failure`. Callers stay as written against the library, and the
// program need not link it. `library` names a function that gives the RuntimeLibrary.
#define PEMO_RUNTIME_FUNCTION(library, failure, result, name, parameters, arguments)          \
    extern "C" result name parameters {                                                      \
        static auto* const real = library().function<result parameters>(#name);              \
        return real ? real arguments : (failure);                                            \
    }
