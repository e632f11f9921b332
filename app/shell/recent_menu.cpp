#include "app/shell/recent_menu.h"

#include "app/shell/frame_wnd.h"
#include "app/session/recent_files.h"
#include "app/shell/registry_store.h"
#include "app/session/shell_state.h"

void build_recent_menu() {
    RegistryStore store(shell_state().registry_key);
    HMENU menu = file_menu();
    bool first = true;
    for (int i = 0; i < kRecentCount; ++i) {
        std::string path = recent_entry(store, i);
        if (path.empty()) continue;
        if (first) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        first = false;
        AppendMenuA(menu, MF_STRING, kRecentFirstCommand + i, recent_menu_text(i, path).c_str());
    }
    DrawMenuBar(shell_windows().frame);
}

void add_recent_file(const char* path) {
    RegistryStore store(shell_state().registry_key);
    HMENU menu = file_menu();
    RecentAddResult r = recent_add(store, path);
    if (r.appended) {
        if (r.count == 1) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, kRecentFirstCommand + r.count - 1, path);
    }
    for (int i = 0; i < r.count; ++i) {
        std::string text = recent_menu_text(i, recent_entry(store, i));
        ModifyMenuA(menu, kRecentFirstCommand + i, MF_BYCOMMAND | MF_STRING,
                    kRecentFirstCommand + i, text.c_str());
    }
    DrawMenuBar(shell_windows().frame);
}

std::string recent_file(int index) {
    RegistryStore store(shell_state().registry_key);
    return recent_entry(store, index);
}
