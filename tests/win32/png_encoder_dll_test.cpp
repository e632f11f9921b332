// png_encoder.dll writes through the one safe writer: a save that cannot
// replace the old file keeps it and leaves nothing beside it, and a save that
// can replaces it with the PNG.
#include "addins/sdk/velmo_addin.h"
#include "engine/rasko.h"
#include "platform/io/dib_layout.h"
#include "platform/module.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Names of the files in a folder (the folder's name ends in a separator).
std::vector<std::string> files_in(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

TEST(PngEncoderDll, AFailedSaveKeepsTheOldFileAndLeavesNothingBesideIt) {
    HMODULE dll = LoadLibraryA("png_encoder.dll");
    ASSERT_NE(dll, nullptr);
    auto encode = proc_address<VLEncodeFn>(dll, "_VLEncode");
    ASSERT_NE(encode, nullptr);

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder =
        std::string(temp) + "velmo-png-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string target = folder + "sprite.png";
    std::ofstream(target, std::ios::binary) << "old picture";

    BITMAPINFOHEADER* dib = RaskoCreateDIB(5, 3);
    ASSERT_NE(dib, nullptr);
    BYTE* bits = io::bits_of(dib);
    AddInImage image{};
    image.size = sizeof image;
    image.frame_count = 1;
    image.dibs = &dib;
    image.bits = &bits;

    // An open file cannot be replaced, as when another program holds it.
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(encode(target.c_str(), &image), 0);
    CloseHandle(held);
    const std::vector<char> old = file_bytes(target);
    EXPECT_EQ(std::string(old.begin(), old.end()), "old picture");
    EXPECT_EQ(files_in(folder), std::vector<std::string>{"sprite.png"});

    EXPECT_EQ(encode(target.c_str(), &image), 1);
    const std::vector<char> png = file_bytes(target);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin(), png.begin() + 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(files_in(folder), std::vector<std::string>{"sprite.png"});

    RaskoDestroyDIB(dib);
    FreeLibrary(dll);
    DeleteFileA(target.c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace
