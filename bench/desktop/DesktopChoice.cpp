#include "DesktopChoice.h"

#include <cstdlib>

namespace {

// Removes `count` arguments from `at` on; argv[argc] stays the null pointer.
void drop(int& argc, char** argv, int at, int count) {
    for (int i = at; i + count <= argc; ++i)
        argv[i] = argv[i + count];
    argc -= count;
}

}  // namespace

std::string DesktopChoice::take(int& argc, char** argv) {
    const char* environment = std::getenv("VELTRIN_BENCH_DESKTOP");
    std::string choice = environment != nullptr && *environment != '\0' ? environment : "x11";
    const std::string flag = "--desktop";
    for (int i = 1; i < argc;) {
        const std::string argument = argv[i];
        if (argument == flag && i + 1 < argc) {
            choice = argv[i + 1];
            drop(argc, argv, i, 2);
        } else if (argument.rfind(flag + "=", 0) == 0) {
            choice = argument.substr(flag.size() + 1);
            drop(argc, argv, i, 1);
        } else {
            ++i;
        }
    }
    return choice;
}
