// rasko32.dll as other programs see it: loaded at run time and called through
// its exported underscore names.
#include "platform/module.h"

#include <gtest/gtest.h>

namespace {

using CreateDIB = BITMAPINFOHEADER*(__cdecl*)(int, int);
using DestroyDIB = HGLOBAL(__cdecl*)(BITMAPINFOHEADER*);

TEST(EngineDll, ExportsCreateAndDestroyUnderTheirUnderscoreNames) {
    HMODULE dll = LoadLibraryA("rasko32.dll");
    ASSERT_NE(dll, nullptr);
    auto create = proc_address<CreateDIB>(dll, "_RaskoCreateDIB");
    auto destroy = proc_address<DestroyDIB>(dll, "_RaskoDestroyDIB");
    ASSERT_NE(create, nullptr);
    ASSERT_NE(destroy, nullptr);
    EXPECT_EQ(proc_address<CreateDIB>(dll, "RaskoCreateDIB"), nullptr);

    BITMAPINFOHEADER* dib = create(5, 3);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->biWidth, 5);
    EXPECT_EQ(dib->biHeight, 3);
    EXPECT_EQ(dib->biBitCount, 8);
    EXPECT_GE(GlobalSize(dib), SIZE_T(1064 + 8 * 3));
    EXPECT_EQ(destroy(dib), nullptr);
    FreeLibrary(dll);
}

} // namespace
