#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "platform/ProgramInfo.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", pemo::kProgramName, pemo::kProgramVersion);
            return 0;
        }
    }
    return 0;
}
