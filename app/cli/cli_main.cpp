// velmo-cli: the command-line program (natively, and as a console program
// beside velmo.exe).
#include "app/cli/cli.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define velmo_isatty _isatty
#else
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>
#define velmo_isatty isatty
#endif

#include <cstdint>
#include <cstdlib>

constexpr int kStandardError = 2;

#ifndef _WIN32
// A command holds tens of megabytes of layers in blocks of a layer each, and
// a short-lived process pays for every page it touches first: in 4 KB pages
// that is thousands of faults, more than the picture work itself. The heap is
// grown in one step of kHeapReserve, kept, and asked for in huge pages.
constexpr std::size_t kHeapReserve = std::size_t(256) << 20;
// Blocks up to this size come from the heap (the most glibc allows).
constexpr std::size_t kLargestHeapBlock = std::size_t(32) << 20;
constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;

void reserve_heap_in_huge_pages() {
    mallopt(M_MMAP_THRESHOLD, int(kLargestHeapBlock));
    mallopt(M_TRIM_THRESHOLD, int(kHeapReserve));
    mallopt(M_TOP_PAD, int(kHeapReserve));
    const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
    // Through a volatile pointer: the compiler may drop a block never used.
    void* volatile block = std::malloc(kLargestHeapBlock / 2);
    std::free(block);
    const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
    // Pictures pass through standard input and output byte for byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#else
    reserve_heap_in_huge_pages();
#endif
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return run_cli(args, {std::cin, std::cout, std::cerr, velmo_isatty(kStandardError) != 0});
}
