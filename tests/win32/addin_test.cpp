// The Add-In host with real DLLs: discovery over the test Add-Ins of
// tests/win32/addins (each refused or accepted for one reason), the menus
// the frame builds from the tables, running filters on a picture, and the
// About Add-In dialog.
#include "app/shell/program_addins.h"
#include "app/session/addin_host.h"
#include "harness.h"
#include "shell_fixture.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

const std::string& test_addin_folder() {
    static const std::string folder = program_folder() + "test_addins";
    return folder;
}

const FilterEntry* filter_named(const char* name) {
    const AddInHost& host = addin_host();
    for (int i = 0; i < host.filter_count; ++i)
        if (std::strcmp(host.filters[i].name, name) == 0) return &host.filters[i];
    return nullptr;
}

int filter_command_of(const char* name) {
    const FilterEntry* f = filter_named(name);
    return f ? CMD_FILTER_FIRST + int(f - addin_host().filters) : 0;
}

class AddIns : public Shell {
  protected:
    void SetUp() override {
        Shell::SetUp();
        shell_state().addin_folder = test_addin_folder().c_str();
    }
};

TEST_F(AddIns, DiscoveryAcceptsByKindVersionAndEntryPoint) {
    // The buttons come from the program's resources.
    shell_windows().instance = GetModuleHandleA(nullptr);
    discover_program_addins();
    const AddInHost& host = addin_host();
    // The decoder that needs host 0x2010 is refused, as are the DLL without
    // _VLGetInfo, the filter without _VLFilter and the two-kind Add-In.
    EXPECT_EQ(host.read_types.count, 3);
    ASSERT_EQ(host.write_types.count, 4);
    EXPECT_STREQ(host.write_types.types[3].extension, "tst");
    EXPECT_STREQ(host.write_types.types[3].name, "Test Image(*.TST)");
    EXPECT_NE(host.write_types.types[3].function, nullptr);
    ASSERT_EQ(host.filter_count, 2);
    ASSERT_NE(filter_named("Paint Left"), nullptr);
    ASSERT_NE(filter_named("Refused"), nullptr);
    EXPECT_NE(filter_named("Refused")->setup, nullptr);
    // Two pens without names, whichever the directory lists first.
    ASSERT_EQ(host.tools.count, 14);
    EXPECT_STREQ(host.tools.entries[12].name, "PenAdd-In(2)");
    EXPECT_STREQ(host.tools.entries[13].name, "PenAdd-In(3)");
    EXPECT_STREQ(host.tools.entries[12].hint, "Test Image(*.TST)");
    EXPECT_NE(host.tools.entries[12].pen, nullptr);
    EXPECT_NE(host.tools.entries[12].button, nullptr); // the default button
    EXPECT_EQ(host.tools.entries[12].preview + host.tools.entries[13].preview, 1u);
    EXPECT_EQ(host.module_count, 5);
    for (int t = 0; t < 12; ++t)
        EXPECT_NE(host.tools.entries[t].button, nullptr) << t;
    release_program_addins();
    EXPECT_EQ(addin_host().module_count, 0);
}

TEST_F(AddIns, FramePutsFiltersAndPensIntoTheirMenus) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    HMENU menu = GetMenu(frame);
    HMENU filter = GetSubMenu(menu, 2);
    char text[64] = {};
    GetMenuStringA(filter, 5, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "Add-In &Filter");
    HMENU addins = GetSubMenu(filter, 5);
    ASSERT_NE(addins, nullptr);
    EXPECT_EQ(GetMenuItemCount(addins), 2);
    EXPECT_EQ(menu_text(menu, UINT(filter_command_of("Paint Left"))), "Paint Left");
    EXPECT_EQ(menu_text(menu, 512), "PenAdd-In(2)");
    EXPECT_EQ(menu_text(menu, 513), "PenAdd-In(3)");

    // Choosing a pen Add-In with a picture open makes it the current tool.
    ASSERT_NE(open_test_picture(8, 8), nullptr);
    SendMessageA(frame, WM_COMMAND, 513, 0);
    EXPECT_EQ(shell_state().current_tool, 13);
    EXPECT_EQ(GetMenuState(menu, 513, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
}

TEST_F(AddIns, ASetupAnsweringZeroCancelsAndAFilterRunsOnTheCurrentLayer) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(open_test_picture(5, 3), nullptr);
    PictureDocument* doc = active_document();
    ASSERT_NE(doc, nullptr);
    doc->left_colour = 9;
    Layer* bottom = current_layer(*doc);
    ASSERT_NE(add_layer_above(*doc), nullptr);
    Layer* top = current_layer(*doc);
    ASSERT_NE(top, bottom);
    const BYTE before = bottom->image->bits[0];

    SendMessageA(frame, WM_COMMAND, WPARAM(filter_command_of("Refused")), 0);
    EXPECT_FALSE(doc->flags & kDocModified);
    EXPECT_EQ(top->image->bits[0], top->undo_copy->bits[0]);
    EXPECT_NE(top->image->bits[0], 9);

    SendMessageA(frame, WM_COMMAND, WPARAM(filter_command_of("Paint Left")), 0);
    EXPECT_TRUE(doc->flags & kDocModified);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(top->image->bits[y * 8 + x], 9);
    // Only the current layer was handed over, but the palette it changed is
    // every layer's.
    EXPECT_EQ(bottom->image->bits[0], before);
    for (const Surface* s : {top->image, bottom->image, doc->composite}) {
        const RGBQUAD& c = s->colour_table()[7];
        EXPECT_EQ(c.rgbBlue, 3);
        EXPECT_EQ(c.rgbGreen, 2);
        EXPECT_EQ(c.rgbRed, 1);
    }
}

TEST_F(AddIns, AboutListsEveryRegisteredAddInOrSaysThereIsNone) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    std::vector<std::string> lines;
    auto read_list = [&](HWND dlg) {
        int n = int(SendDlgItemMessageA(dlg, IDC_ADDIN_LIST, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char line[256] = {};
            SendDlgItemMessageA(dlg, IDC_ADDIN_LIST, LB_GETTEXT, WPARAM(i), LPARAM(line));
            lines.push_back(line);
        }
        DialogAnswerer::press(dlg, IDOK);
    };
    {
        DialogAnswerer answerer(read_list, "About Add-In");
        SendMessageA(frame, WM_COMMAND, CMD_ABOUT_ADDIN, 0);
    }
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Paint Left : test"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "... : test"), lines.end());
    TearDown();

    // A folder without DLLs.
    SetUp();
    char empty[MAX_PATH];
    GetTempPathA(sizeof empty, empty);
    std::string folder = std::string(empty) + "velmo-no-addins";
    CreateDirectoryA(folder.c_str(), nullptr);
    shell_state().addin_folder = folder.c_str();
    frame = start();
    ASSERT_NE(frame, nullptr);
    lines.clear();
    {
        DialogAnswerer answerer(read_list, "About Add-In");
        SendMessageA(frame, WM_COMMAND, CMD_ABOUT_ADDIN, 0);
    }
    EXPECT_EQ(lines, std::vector<std::string>{"No Add-In Installed"});
    EXPECT_EQ(addin_host().tools.count, 12);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(frame), 2)), 4);
    TearDown();
    RemoveDirectoryA(folder.c_str());
    SetUp();
}

// The Outline Add-In shipped beside the program, run from its menu item with
// its own setup dialog answered.
TEST_F(Shell, TheOutlineAddInAsksItsSetupAndOutlinesTheShape) {
    HWND frame = start();
    ASSERT_NE(frame, nullptr);
    const int command = filter_command_of("Outline...");
    ASSERT_NE(command, 0) << "outline.dll was not found beside the test program";
    ASSERT_NE(open_test_picture(5, 5), nullptr);
    PictureDocument* doc = active_document();
    doc->left_colour = 9;
    Surface& image = *current_layer(*doc)->image;
    auto pixel = [&](int x, int y) -> BYTE& {
        return image.bits[std::size_t(image.stride()) * std::size_t(4 - y) + std::size_t(x)];
    };
    pixel(2, 2) = 3;

    {
        DialogAnswerer cancel([](HWND dlg) { DialogAnswerer::press(dlg, IDCANCEL); }, "Outline");
        SendMessageA(frame, WM_COMMAND, WPARAM(command), 0);
        EXPECT_EQ(cancel.captions().size(), 1u);
    }
    EXPECT_FALSE(doc->flags & kDocModified);
    EXPECT_EQ(pixel(2, 1), 255);

    {
        DialogAnswerer answer(
            [](HWND dlg) {
                CheckRadioButton(dlg, 101, 102, 101); // outside
                CheckRadioButton(dlg, 103, 104, 103); // 4-connected
                DialogAnswerer::press(dlg, IDOK);
            },
            "Outline");
        SendMessageA(frame, WM_COMMAND, WPARAM(command), 0);
    }
    EXPECT_TRUE(doc->flags & kDocModified);
    EXPECT_EQ(pixel(2, 2), 3);
    for (auto [x, y] : {std::pair{2, 1}, {1, 2}, {3, 2}, {2, 3}})
        EXPECT_EQ(pixel(x, y), 9);
    for (auto [x, y] : {std::pair{1, 1}, {3, 3}, {0, 0}})
        EXPECT_EQ(pixel(x, y), 255);
    // The layer's undo copy still holds the picture before the filter.
    EXPECT_EQ(current_layer(*doc)->undo_copy->bits[std::size_t(image.stride()) * 3 + 2], 255);
}

} // namespace
