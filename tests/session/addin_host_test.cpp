#include "app/session/addin_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

namespace {

// Fake Add-Ins: each _VLGetInfo fills one fixed answer.
int VL_CDECL encoder_info(AddInInfo* info) {
    info->flags = 0x2000 | kAddInEncoder;
    info->name = "PNG writer";
    info->description = "Portable Network Graphics(*.PNG)";
    info->extension = "png";
    return 1;
}
int VL_CDECL long_decoder_info(AddInInfo* info) {
    info->flags = 0x1000 | kAddInDecoder;
    info->description =
        "A type name far longer than the sixty-three characters a table entry can hold";
    info->extension = "verylongext";
    return 1;
}
int VL_CDECL too_new_info(AddInInfo* info) {
    info->flags = 0x2010 | kAddInFilter;
    info->name = "Too new";
    return 1;
}
int VL_CDECL filter_info(AddInInfo* info) {
    info->flags = 0x2000 | kAddInFilter;
    info->name = "Outline...";
    info->about1 = "draws outlines";
    return 1;
}
int VL_CDECL two_kinds_info(AddInInfo* info) {
    info->flags = kAddInEncoder | kAddInDecoder;
    info->extension = "two";
    return 1;
}
int VL_CDECL unnamed_pen_info(AddInInfo* info) {
    info->flags = 0x2000 | kAddInPen | 0x20000 | kAddInPenPreview;
    return 1;
}
int VL_CDECL named_pen_info(AddInInfo* info) {
    info->flags = 0x2000 | kAddInPen | 0x10000;
    info->name = "Mirror";
    info->description = "Drag to Draw Twice";
    return 1;
}
// Answers "decoder" on the counting pass and "pen" afterwards.
int fickle_calls = 0;
int VL_CDECL fickle_info(AddInInfo* info) {
    info->flags = 0x2000 | (fickle_calls++ == 0 ? kAddInDecoder : kAddInPen);
    info->extension = "fic";
    return 1;
}

int VL_CDECL file_proc(const char*, AddInImage*) {
    return 1;
}
int VL_CDECL filter_proc(FilterRequest*) {
    return 1;
}
int VL_CDECL setup_proc(HWND) {
    return 0;
}
int VL_CDECL pen_proc(HWND, UINT, WPARAM, LPARAM, PenCallBlock*) {
    return 0;
}

HMODULE module_of(int n) {
    return reinterpret_cast<HMODULE>(std::intptr_t(n));
}

class FakeLoader : public AddInLoader {
  public:
    std::map<std::string, AddInEntryPoints> dlls;
    std::vector<std::string> first_listing;
    std::vector<std::string> later_listing; // when not empty, from the second listing on
    std::set<HMODULE> loaded;
    std::map<HMODULE, std::string> names;
    int listings = 0;
    int buttons_freed = 0;

    std::vector<std::string> candidates() override {
        return listings++ > 0 && !later_listing.empty() ? later_listing : first_listing;
    }
    bool load(const std::string& name, LoadedAddIn& out) override {
        auto it = dlls.find(name);
        if (it == dlls.end()) return false;
        out.module = module_of(int(std::distance(dlls.begin(), it)) + 1);
        out.entry = it->second;
        EXPECT_TRUE(loaded.insert(out.module).second) << name << " loaded twice";
        names[out.module] = name;
        return true;
    }
    void unload(const LoadedAddIn& addin) override {
        EXPECT_EQ(loaded.erase(addin.module), 1u) << "unloading a module that is not loaded";
    }
    void pen_resources(const LoadedAddIn& addin, HBITMAP& button, HCURSOR& cursor) override {
        button = reinterpret_cast<HBITMAP>(addin.module);
        cursor = nullptr;
    }
    void free_button(HBITMAP) override { ++buttons_freed; }

    void add(const std::string& name, AddInEntryPoints entry) {
        dlls[name] = entry;
        first_listing.push_back(name);
    }
};

AddInEntryPoints info_only(VLGetInfoFn info) {
    return AddInEntryPoints{.get_info = info};
}

} // namespace

TEST(AddInAcceptance, KindMustBeExactlyOneWithItsEntryPoint) {
    const AddInEntryPoints all{.get_info = encoder_info,
                               .encode = file_proc,
                               .decode = file_proc,
                               .filter = filter_proc,
                               .filter_setup = nullptr,
                               .pen = pen_proc};
    AddInInfo info{};
    for (DWORD kind : {kAddInEncoder, kAddInDecoder, kAddInFilter, kAddInPen}) {
        info.flags = 0x2000 | kind;
        EXPECT_EQ(accepted_kind(info, all), kind);
    }
    for (DWORD kind : {0u, 3u, 5u, 0xCu, 0xFu}) {
        info.flags = 0x2000 | kind;
        EXPECT_EQ(accepted_kind(info, all), 0u) << kind;
    }
    info.flags = 0x2000 | kAddInPen;
    AddInEntryPoints no_pen = all;
    no_pen.pen = nullptr;
    EXPECT_EQ(accepted_kind(info, no_pen), 0u);
    info.flags = 0x2000 | kAddInFilter;
    AddInEntryPoints no_filter = all;
    no_filter.filter = nullptr;
    EXPECT_EQ(accepted_kind(info, no_filter), 0u);
}

TEST(AddInAcceptance, RequiredVersionAtMost2000) {
    const AddInEntryPoints entry{.get_info = filter_info, .filter = filter_proc};
    AddInInfo info{};
    info.flags = 0x2000 | kAddInFilter;
    EXPECT_EQ(accepted_kind(info, entry), kAddInFilter);
    info.flags = 0x0000 | kAddInFilter;
    EXPECT_EQ(accepted_kind(info, entry), kAddInFilter);
    info.flags = 0x2010 | kAddInFilter;
    EXPECT_EQ(accepted_kind(info, entry), 0u);
    info.flags = 0xFFF0 | kAddInFilter;
    EXPECT_EQ(accepted_kind(info, entry), 0u);
    // Bits above the version word do not count as version.
    info.flags = 0x01032000 | kAddInFilter;
    EXPECT_EQ(accepted_kind(info, entry), kAddInFilter);
}

TEST(AddInDiscovery, EmptyFolderStillBuildsTheBuiltInTables) {
    FakeLoader loader;
    AddInHost host;
    ASSERT_TRUE(discover_addins(host, loader, nullptr));
    ASSERT_EQ(host.read_types.count, 3);
    ASSERT_EQ(host.write_types.count, 3);
    EXPECT_STREQ(host.read_types.types[2].name, "GIF Image(*.GIF)");
    EXPECT_EQ(host.filter_count, 0);
    EXPECT_EQ(host.filters, nullptr);
    EXPECT_EQ(host.module_count, 0);
    ASSERT_EQ(host.tools.count, 12);
    EXPECT_STREQ(host.tools.entries[0].hint, "Left:Zoom-In Right:Zoom-Out");
    EXPECT_EQ(host.tools.entries[4].flags, kToolPenType);
    EXPECT_EQ(host.tools.entries[4].preview, 1u);
    EXPECT_EQ(host.tools.entries[8].flags, 0u);
    EXPECT_STREQ(host.tools.entries[11].hint, "Drag to Draw");
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(host.tools.entries[i].handler, &do_nothing_tool);
        EXPECT_EQ(host.tools.entries[i].pen, nullptr);
    }
    release_addins(host, loader);
}

TEST(AddInDiscovery, BuiltInHandlersAreInstalledWhereGiven) {
    ToolHandler handlers[kBuiltinToolCount] = {};
    handlers[4] = [](HWND, UINT, WPARAM, LPARAM, void*) { return 7; };
    FakeLoader loader;
    AddInHost host;
    ASSERT_TRUE(discover_addins(host, loader, handlers));
    EXPECT_EQ(host.tools.entries[4].handler(nullptr, 0, 0, 0, nullptr), 7);
    EXPECT_EQ(host.tools.entries[3].handler, &do_nothing_tool);
    EXPECT_TRUE(tool_has_work(host.tools.entries[4]));
    EXPECT_FALSE(tool_has_work(host.tools.entries[3])) << "a slot still empty changes nothing";
    release_addins(host, loader);
}

TEST(AddInDiscovery, RegistersEachKindAndUnloadsTheRefused) {
    FakeLoader loader;
    loader.add("encoder.dll", {.get_info = encoder_info, .encode = file_proc});
    loader.add("decoder.dll", {.get_info = long_decoder_info, .decode = file_proc});
    loader.add("no_decode.dll", info_only(long_decoder_info));
    loader.add("too_new.dll", {.get_info = too_new_info, .filter = filter_proc});
    loader.add("filter.dll",
               {.get_info = filter_info, .filter = filter_proc, .filter_setup = setup_proc});
    loader.add("two_kinds.dll",
               {.get_info = two_kinds_info, .encode = file_proc, .decode = file_proc});
    loader.add("pen_a.dll", {.get_info = unnamed_pen_info, .pen = pen_proc});
    loader.add("no_info.dll", {.filter = filter_proc});
    loader.add("pen_b.dll", {.get_info = unnamed_pen_info, .pen = pen_proc});
    loader.add("pen_named.dll", {.get_info = named_pen_info, .pen = pen_proc});
    loader.first_listing.push_back("broken.dll"); // listed but cannot be loaded

    AddInHost host;
    ASSERT_TRUE(discover_addins(host, loader, nullptr));

    ASSERT_EQ(host.write_types.count, 4);
    EXPECT_STREQ(host.write_types.types[3].extension, "png");
    EXPECT_STREQ(host.write_types.types[3].name, "Portable Network Graphics(*.PNG)");
    EXPECT_EQ(host.write_types.types[3].function, &file_proc);

    ASSERT_EQ(host.read_types.count, 4);
    EXPECT_STREQ(host.read_types.types[3].extension, "verylon");
    EXPECT_EQ(std::strlen(host.read_types.types[3].name), 63u);

    ASSERT_EQ(host.filter_count, 1);
    EXPECT_STREQ(host.filters[0].name, "Outline...");
    EXPECT_EQ(host.filters[0].setup, &setup_proc);

    ASSERT_EQ(host.tools.count, 15);
    const ToolEntry& first = host.tools.entries[12];
    const ToolEntry& second = host.tools.entries[13];
    const ToolEntry& named = host.tools.entries[14];
    EXPECT_STREQ(first.name, "PenAdd-In(2)");
    EXPECT_STREQ(second.name, "PenAdd-In(3)");
    EXPECT_STREQ(first.hint, "Pen Add-In");
    EXPECT_EQ(first.pen, &pen_proc);
    EXPECT_EQ(first.handler, &do_nothing_tool);
    EXPECT_TRUE(tool_has_work(first)) << "a pen Add-In works through its own entry point";
    EXPECT_EQ(first.flags, (0x2000u | 0x20000u | kAddInPenPreview));
    EXPECT_EQ(first.preview, 1u);
    EXPECT_NE(first.button, nullptr);
    EXPECT_STREQ(named.name, "Mirror");
    EXPECT_STREQ(named.hint, "Drag to Draw Twice");
    EXPECT_EQ(named.flags & kToolPenType, kToolPenType);
    EXPECT_EQ(named.preview, 0u);

    // Kept exactly the six registered Add-Ins, in registration order.
    ASSERT_EQ(host.module_count, 6);
    EXPECT_EQ(loader.loaded.size(), 6u);
    EXPECT_EQ(loader.names[host.modules[0].module], "encoder.dll");
    EXPECT_EQ(loader.names[host.modules[2].module], "filter.dll");
    EXPECT_EQ(host.modules[2].get_info, &filter_info);

    release_addins(host, loader);
    EXPECT_TRUE(loader.loaded.empty());
    EXPECT_EQ(loader.buttons_freed, 3);
}

TEST(AddInDiscovery, NeverRegistersMoreThanTheCountingPassFound) {
    FakeLoader loader;
    loader.add("filter.dll", {.get_info = filter_info, .filter = filter_proc});
    loader.add("fickle.dll", {.get_info = fickle_info, .decode = file_proc, .pen = pen_proc});
    // A second filter appears between the passes.
    loader.dlls["late.dll"] = {.get_info = filter_info, .filter = filter_proc};
    loader.later_listing = {"filter.dll", "late.dll", "fickle.dll"};
    fickle_calls = 0;

    AddInHost host;
    ASSERT_TRUE(discover_addins(host, loader, nullptr));
    EXPECT_EQ(host.filter_count, 1);
    EXPECT_EQ(host.tools.count, 12);
    EXPECT_EQ(host.read_types.count, 3); // the counted decoder turned into a pen
    ASSERT_EQ(host.module_count, 1);
    EXPECT_EQ(loader.names[host.modules[0].module], "filter.dll");
    EXPECT_EQ(loader.loaded.size(), 1u);
    release_addins(host, loader);
}

TEST(AddInAbout, LineJoinsThePartsThatArePresent) {
    AddInInfo info{};
    EXPECT_EQ(about_line(info), "... : ");
    info.name = "Outline";
    info.about1 = "v1";
    EXPECT_EQ(about_line(info), "Outline : v1");
    info.about2 = "sprites";
    info.about3 = "free";
    EXPECT_EQ(about_line(info), "Outline : v1(sprites) [free]");
    info.about1 = nullptr;
    EXPECT_EQ(about_line(info), "Outline : (sprites) [free]");
}
