#include <gtest/gtest.h>

#include <zlib.h>

#include "core/platform/RuntimeLibrary.h"

using namespace pemo;

TEST(RuntimeLibrary, FindsFunctionsOfLibrariesThatOpen) {
    const struct {
        const char* library;
        const char* function;
        bool loaded;
        bool found;
    } cases[] = {
        {"libz.so.1", "zlibVersion", true, true},
        {"libz.so.1", "noSuchFunction", true, false},
        {"libnosuchlibrary.so.7", "zlibVersion", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.library) + " " + c.function);
        const RuntimeLibrary library(c.library);
        EXPECT_EQ(library.loaded(), c.loaded);
        EXPECT_EQ(library.function<decltype(zlibVersion)>(c.function) != nullptr, c.found);
    }
    // The function is the library's own, and callable.
    const RuntimeLibrary zlib("libz.so.1");
    EXPECT_STREQ(zlib.function<decltype(zlibVersion)>("zlibVersion")(), zlibVersion());
}

// Functions defined to forward to a library opened on the first call: the library's own
// answer, or the failure value when the library is not there.
extern "C" int pemo_absent_function(const char*);

PEMO_RUNTIME_LIBRARY(zlibLibrary, "libz.so.1")
PEMO_RUNTIME_LIBRARY(absentLibrary, "libnosuchlibrary.so.7")

PEMO_RUNTIME_FUNCTION(zlibLibrary, 0, uLong, zlibCompileFlags, (void), ())
PEMO_RUNTIME_FUNCTION(absentLibrary, -1, int, pemo_absent_function, (const char* a), (a))

TEST(RuntimeLibrary, ForwardedFunctionsCallTheLibraryOrFail) {
    const auto own = zlibLibrary().function<decltype(zlibCompileFlags)>("zlibCompileFlags");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(zlibCompileFlags(), own());
    EXPECT_EQ(pemo_absent_function("anything"), -1);
}
