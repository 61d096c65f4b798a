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
