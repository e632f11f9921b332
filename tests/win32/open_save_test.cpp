// New, Open, Save and Save As through the real common dialogs and the
// program's BMP dialog, pictures named on the command line or handed over by
// a second start, Exit saving a picture, and a PNG that goes out through the
// encoder Add-In and comes back through the decoder Add-In. Every dialog is
// answered by the harness.
#include "app/files/file_types.h"
#include "app/session/addin_host.h"
#include "engine/rasko.h"
#include "harness.h"
#include "shell_fixture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

std::vector<BYTE> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// x + 10 y in every pixel, so that rows and columns cannot be mixed up.
void fill_pattern(Surface& s) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            s.bits[std::size_t(s.stride()) * std::size_t(s.height() - 1 - y) + std::size_t(x)] =
                BYTE(x + 10 * y);
}

void expect_pattern(const Surface& s, int width, int height) {
    ASSERT_EQ(s.width(), width);
    ASSERT_EQ(s.height(), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(
                s.bits[std::size_t(s.stride()) * std::size_t(height - 1 - y) + std::size_t(x)],
                BYTE(x + 10 * y))
                << x << "," << y;
}

void write_bmp(const std::string& path, int width, int height) {
    BITMAPINFOHEADER* dib = RaskoCreateDIB(width, height);
    ASSERT_NE(dib, nullptr);
    auto* bits = reinterpret_cast<BYTE*>(dib) + dib->biSize + 256 * sizeof(RGBQUAD);
    ASSERT_EQ(RaskoSaveDIB(path.c_str(), dib, bits), 1);
    RaskoDestroyDIB(dib);
}

class Files : public Shell {
  protected:
    void SetUp() override {
        Shell::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "velmo-files-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        folder_ += "\\";
    }
    void TearDown() override {
        Shell::TearDown();
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder_ + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((folder_ + found.cFileName).c_str());
            while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder_.c_str());
    }
    std::string folder_;
};

std::vector<HWND> document_windows() {
    std::vector<HWND> windows;
    for (HWND w = GetWindow(shell_windows().mdi_client, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (document_of(w)) windows.push_back(w);
    return windows;
}

TEST_F(Files, SaveAsWritesTheChosenTypeAndOpenReadsItBack) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(open_test_picture(6, 4, kDocModified, "untitled1.vlx"), nullptr);
    PictureDocument* doc = active_document();
    fill_pattern(*current_layer(*doc)->image);

    // Save on a picture without a name asks for one; the native type is
    // preselected and its extension added.
    {
        DialogAnswerer answerer(
            [&](HWND dlg) { DialogAnswerer::choose_file(dlg, folder_ + "pic"); });
        SendMessageA(frame, WM_COMMAND, CMD_SAVE, 0);
        EXPECT_EQ(answerer.captions(), std::vector<std::string>{"Save Picture"});
    }
    const std::string native = folder_ + "pic.vlx";
    EXPECT_TRUE(exists(native));
    EXPECT_EQ(doc->file_name, native);
    EXPECT_TRUE(doc->flags & kDocNamed);
    EXPECT_FALSE(doc->flags & kDocModified);
    EXPECT_EQ(recent_file(0), native);

    // Save As a 16-colour BMP: the type list's second entry, then "16".
    {
        DialogAnswerer answerer([&](HWND dlg) {
            char title[64] = {};
            GetWindowTextA(dlg, title, sizeof title);
            if (std::string(title) == "Save As Bitmap") {
                CheckRadioButton(dlg, IDC_COLORS_16, IDC_COLORS_256, IDC_COLORS_16);
                DialogAnswerer::press(dlg, IDOK);
            } else {
                DialogAnswerer::choose_file(dlg, folder_ + "pic2", type_position(FileTypeId::Bmp));
            }
        });
        SendMessageA(frame, WM_COMMAND, CMD_SAVE_AS, 0);
        EXPECT_EQ(answerer.captions(),
                  (std::vector<std::string>{"Save Picture", "Save As Bitmap"}));
    }
    const std::string bmp = folder_ + "pic2.bmp";
    std::vector<BYTE> bytes = file_bytes(bmp);
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 4); // bits per pixel
    EXPECT_EQ(doc->file_type, FileTypeId::Bmp);
    EXPECT_EQ(recent_file(0), bmp);
    EXPECT_EQ(recent_file(1), native);

    // Save on a named picture asks to overwrite; No writes nothing.
    DeleteFileA(bmp.c_str());
    {
        DialogAnswerer answerer([](HWND box) { DialogAnswerer::press(box, IDNO); }, "Save Picture");
        SendMessageA(frame, WM_COMMAND, CMD_SAVE, 0);
        ASSERT_EQ(answerer.texts().size(), 1u);
        EXPECT_EQ(answerer.texts()[0], "Overwrite to " + bmp + "\nAre you sure?");
    }
    EXPECT_FALSE(exists(bmp));

    // Open the native file ("All Image Types" finds it by its extension).
    {
        DialogAnswerer answerer([&](HWND dlg) { DialogAnswerer::choose_file(dlg, native); });
        SendMessageA(frame, WM_COMMAND, CMD_OPEN, 0);
        EXPECT_EQ(answerer.captions(), std::vector<std::string>{"Open Picture"});
    }
    ASSERT_EQ(document_windows().size(), 2u);
    PictureDocument* opened = active_document();
    ASSERT_NE(opened, doc);
    EXPECT_EQ(opened->file_name, native);
    EXPECT_TRUE(opened->flags & kDocNamed);
    EXPECT_FALSE(opened->flags & kDocModified);
    expect_pattern(*current_layer(*opened)->image, 6, 4);
    EXPECT_EQ(recent_file(0), native);

    // Cancel opens nothing.
    {
        DialogAnswerer answerer([](HWND dlg) { DialogAnswerer::press(dlg, IDCANCEL); });
        SendMessageA(frame, WM_COMMAND, CMD_OPEN, 0);
    }
    EXPECT_EQ(document_windows().size(), 2u);
}

TEST_F(Files, APngGoesOutThroughTheEncoderAddInAndComesBackThroughTheDecoder) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    const FileTypeTable& writers = addin_host().write_types;
    FileTypeId png = FileTypeId::None;
    for (int i = 0; i < writers.count; ++i)
        if (std::strcmp(writers.types[i].extension, "png") == 0) png = type_at(i);
    ASSERT_GE(type_position(png), kBuiltInTypes)
        << "png_encoder.dll was not found beside the test program";
    ASSERT_NE(open_test_picture(7, 5, kDocModified | kDocKeyColourEnabled, "untitled1.vlx"),
              nullptr);
    PictureDocument* doc = active_document();
    fill_pattern(*current_layer(*doc)->image);
    {
        DialogAnswerer answerer([&](HWND dlg) {
            DialogAnswerer::choose_file(dlg, folder_ + "sprite", type_position(png));
        });
        SendMessageA(frame, WM_COMMAND, CMD_SAVE_AS, 0);
    }
    const std::string path = folder_ + "sprite.png";
    std::vector<BYTE> bytes = file_bytes(path);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(doc->file_type, png);
    EXPECT_FALSE(doc->flags & kDocModified);

    {
        DialogAnswerer answerer([&](HWND dlg) { DialogAnswerer::choose_file(dlg, path); });
        SendMessageA(frame, WM_COMMAND, CMD_OPEN, 0);
    }
    PictureDocument* opened = active_document();
    ASSERT_NE(opened, doc);
    EXPECT_EQ(opened->file_name, path);
    expect_pattern(*current_layer(*opened)->image, 7, 5);
    const RGBQUAD* sent = doc->composite->colour_table();
    const RGBQUAD* back = current_layer(*opened)->image->colour_table();
    for (int i = 0; i < 47; ++i) {
        EXPECT_EQ(back[i].rgbRed, sent[i].rgbRed) << i;
        EXPECT_EQ(back[i].rgbGreen, sent[i].rgbGreen) << i;
        EXPECT_EQ(back[i].rgbBlue, sent[i].rgbBlue) << i;
    }
}

FileTypeId png_write_type() {
    return find_type_by_extension("sprite.png", addin_host().write_types).type;
}

TEST_F(Files, SaveOnAPngTheDecoderOpenedWritesAPngAgain) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    const FileTypeId png = png_write_type();
    ASSERT_GE(type_position(png), kBuiltInTypes)
        << "png_encoder.dll was not found beside the test program";
    ASSERT_NE(open_test_picture(7, 5, kDocModified, "untitled1.vlx"), nullptr);
    fill_pattern(*current_layer(*active_document())->image);
    const std::string path = folder_ + "sprite.png";
    {
        DialogAnswerer answerer(
            [&](HWND dlg) { DialogAnswerer::choose_file(dlg, path, type_position(png)); });
        SendMessageA(frame, WM_COMMAND, CMD_SAVE_AS, 0);
    }
    {
        DialogAnswerer answerer([&](HWND dlg) { DialogAnswerer::choose_file(dlg, path); });
        SendMessageA(frame, WM_COMMAND, CMD_OPEN, 0);
    }
    PictureDocument* opened = active_document();
    ASSERT_EQ(opened->file_name, path);
    EXPECT_EQ(opened->file_type, png);

    // New pixels, then Save answered Yes: the file is still a PNG, with them.
    Surface& image = *current_layer(*opened)->image;
    for (int x = 0; x < 7; ++x)
        image.bits[std::size_t(image.stride()) * 4 + std::size_t(x)] = 9;
    opened->flags |= kDocModified;
    {
        DialogAnswerer answerer([](HWND box) { DialogAnswerer::press(box, IDYES); });
        SendMessageA(frame, WM_COMMAND, CMD_SAVE, 0);
        ASSERT_EQ(answerer.texts().size(), 1u);
        EXPECT_EQ(answerer.texts()[0], "Overwrite to " + path + "\nAre you sure?");
    }
    std::vector<BYTE> bytes = file_bytes(path);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::memcmp(bytes.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_FALSE(opened->flags & kDocModified);
    ASSERT_TRUE(open_file_in_window(path.c_str()));
    const Surface& back = *current_layer(*active_document())->image;
    ASSERT_EQ(back.width(), 7);
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(back.bits[std::size_t(back.stride()) * 4 + std::size_t(x)], 9) << x;
}

TEST_F(Files, AFailedSaveAsKeepsTheNameThePictureHad) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    const std::string old_name = folder_ + "keep.vlx";
    ASSERT_NE(open_test_picture(4, 4, kDocModified | kDocNamed, old_name.c_str()), nullptr);
    PictureDocument* doc = active_document();
    // A file that another program holds open without sharing cannot be
    // replaced: the write fails.
    const std::string locked = folder_ + "locked.bmp";
    write_bmp(locked, 2, 2);
    HANDLE held = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    {
        // The save dialog, its question whether to replace the file, the
        // BMP dialog and the message that the write failed.
        DialogAnswerer answerer([&](HWND dlg) {
            char title[64] = {};
            GetWindowTextA(dlg, title, sizeof title);
            const bool message_box = GetDlgItem(dlg, 0xFFFF) != nullptr;
            if (message_box)
                DialogAnswerer::press(dlg, GetDlgItem(dlg, IDYES) ? IDYES : IDOK);
            else if (std::string(title) == "Save As Bitmap")
                DialogAnswerer::press(dlg, IDOK);
            else
                DialogAnswerer::choose_file(dlg, locked, type_position(FileTypeId::Bmp));
        });
        SendMessageA(frame, WM_COMMAND, CMD_SAVE_AS, 0);
        ASSERT_FALSE(answerer.texts().empty());
        EXPECT_EQ(answerer.texts().back(), "Unable to Save Picture\n" + locked)
            << ::testing::PrintToString(answerer.captions());
    }
    CloseHandle(held);
    EXPECT_EQ(doc->file_name, old_name);
    EXPECT_EQ(doc->file_type, FileTypeId::Native);
    EXPECT_TRUE(doc->flags & kDocNamed);
    EXPECT_TRUE(doc->flags & kDocModified);
    // The next Save speaks of the old name.
    {
        DialogAnswerer answerer([](HWND box) { DialogAnswerer::press(box, IDNO); });
        SendMessageA(frame, WM_COMMAND, CMD_SAVE, 0);
        ASSERT_EQ(answerer.texts().size(), 1u);
        EXPECT_EQ(answerer.texts()[0], "Overwrite to " + old_name + "\nAre you sure?");
    }
}

TEST_F(Files, EveryFileThatCannotBeOpenedIsToldOnceByName) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    register_test_document_class();
    struct Case {
        const char* name;
        std::string bytes;
        const char* text;
    } cases[] = {
        {"empty.png", "", "Unable to Open Picture"},
        {"text.png", std::string(200, 'x'), "Unable to Open Picture"},
        {"no_screen.gif", std::string("GIF89a\0\0\0\0\0\0\0;", 14), "Unable to Open Picture"},
        {"notes.txt", "notes", "Unable to Open Picture"},
        {"text.vlx", std::string(200, 'x'), "It's no for Velmo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder_ + c.name;
        std::ofstream(path, std::ios::binary) << c.bytes;
        DialogAnswerer answerer([](HWND box) { DialogAnswerer::press(box, IDOK); });
        EXPECT_FALSE(open_file_in_window(path.c_str()));
        ASSERT_EQ(answerer.texts().size(), 1u);
        EXPECT_EQ(answerer.texts()[0], std::string(c.text) + "\n" + path);
    }
    EXPECT_TRUE(document_windows().empty());
}

TEST_F(Files, ExitWithYesSavesAModifiedPictureBeforeItCloses) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    const std::string path = folder_ + "keep.vlx";
    ASSERT_NE(open_test_picture(3, 3, kDocModified | kDocNamed, path.c_str()), nullptr);
    DialogAnswerer answerer([](HWND box) { DialogAnswerer::press(box, IDYES); });
    exit_program();
    EXPECT_EQ(answerer.captions(), (std::vector<std::string>{"Close", "Save Picture"}));
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_TRUE(exists(path));
    EXPECT_EQ(recent_file(0), path);
}

TEST_F(Files, TheCommandLineAndASecondStartOpenEveryNamedPicture) {
    write_bmp(folder_ + "a.bmp", 3, 2);
    write_bmp(folder_ + "b c.bmp", 5, 4);
    write_bmp(folder_ + "d.bmp", 1, 1);
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    // What start-up sends the frame for its own command line.
    register_test_document_class();
    const std::string line = folder_ + "a.bmp \"" + folder_ + "b c.bmp\"";
    SendMessageA(frame, kMsgOpenCommandLine, 0, reinterpret_cast<LPARAM>(line.c_str()));
    std::vector<std::string> names;
    for (HWND w : document_windows())
        names.push_back(document_of(w)->file_name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{folder_ + "a.bmp", folder_ + "b c.bmp"}));
    EXPECT_EQ(recent_file(0), folder_ + "b c.bmp");
    EXPECT_EQ(recent_file(1), folder_ + "a.bmp");

    // A second start finds the first, hands over its command line and ends.
    const std::string second = "\"" + folder_ + "d.bmp\"";
    EXPECT_EQ(start_velmo(GetModuleHandleA(nullptr), second.c_str(), SW_SHOWNORMAL), nullptr);
    EXPECT_EQ(shell_windows().frame, frame);
    ASSERT_EQ(document_windows().size(), 3u);
    EXPECT_EQ(recent_file(0), folder_ + "d.bmp");
    EXPECT_EQ(picture_width(*active_document()), 1);
}

// A name outside the system's ANSI code page (the test prefix runs in code
// page 1252): saved through the Save dialog, opened through the Open dialog
// and from the command line, kept in the recent files and shown in the
// caption.
TEST_F(Files, ANameOutsideTheAnsiCodePageSavesAndOpens) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(open_test_picture(6, 4, kDocModified, "untitled1.vlx"), nullptr);
    PictureDocument* doc = active_document();
    const std::string gif = folder_ + "\xE7\xB5\xB5.gif"; // the picture sign, in UTF-8
    auto answer = [&](const char* file_dialog, const std::string& path, int type) {
        return [=](HWND dlg) {
            char title[64] = {};
            GetWindowTextA(dlg, title, sizeof title);
            if (std::string(title) == file_dialog)
                DialogAnswerer::choose_file(dlg, path, type);
            else
                DialogAnswerer::press(dlg, IDOK);
        };
    };
    {
        DialogAnswerer answerer(
            answer("Save Picture", folder_ + "\xE7\xB5\xB5", type_position(FileTypeId::Gif)));
        SendMessageA(frame, WM_COMMAND, CMD_SAVE_AS, 0);
    }
    wchar_t wide_folder[MAX_PATH] = {};
    MultiByteToWideChar(CP_UTF8, 0, folder_.c_str(), -1, wide_folder, MAX_PATH);
    const std::wstring wide_gif = std::wstring(wide_folder) + L"\u7d75.gif";
    EXPECT_NE(GetFileAttributesW(wide_gif.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(doc->file_name, gif);
    EXPECT_EQ(recent_file(0), gif);

    {
        DialogAnswerer answerer(answer("Open Picture", gif, -1));
        SendMessageA(frame, WM_COMMAND, CMD_OPEN, 0);
    }
    ASSERT_EQ(document_windows().size(), 2u);
    ASSERT_NE(active_document(), doc);
    EXPECT_EQ(active_document()->file_name, gif);
    EXPECT_EQ(picture_width(*active_document()), 6);
    wchar_t caption[MAX_PATH + 32] = {};
    GetWindowTextW(active_document_window(), caption, MAX_PATH + 32);
    EXPECT_EQ(std::wstring(caption).rfind(wide_gif, 0), 0u);

    const std::string line = "\"" + gif + "\"";
    SendMessageA(frame, kMsgOpenCommandLine, 0, reinterpret_cast<LPARAM>(line.c_str()));
    ASSERT_EQ(document_windows().size(), 3u);
    EXPECT_EQ(active_document()->file_name, gif);
}

} // namespace
