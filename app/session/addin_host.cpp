#include "app/session/addin_host.h"

namespace {

bool has_entry_point_of(DWORD kind, const AddInEntryPoints& entry) {
    switch (kind) {
    case kAddInEncoder:
        return entry.encode != nullptr;
    case kAddInDecoder:
        return entry.decode != nullptr;
    case kAddInFilter:
        return entry.filter != nullptr;
    case kAddInPen:
        return entry.pen != nullptr;
    default:
        return false;
    }
}

// Asks a loaded DLL for its information; false when it has no _VLGetInfo.
// The host does not initialise the record for the Add-In, but starts it
// zeroed so that an Add-In that leaves a field alone does not hand us stack
// garbage.
bool query(const LoadedAddIn& addin, AddInInfo& info) {
    if (!addin.entry.get_info) return false;
    info = AddInInfo{};
    addin.entry.get_info(&info);
    return true;
}

AddInCounts count_pass(AddInLoader& loader) {
    AddInCounts counts;
    for (const std::string& name : loader.candidates()) {
        LoadedAddIn addin;
        if (!loader.load(name, addin)) continue;
        AddInInfo info;
        const DWORD kind = query(addin, info) ? accepted_kind(info, addin.entry) : 0;
        switch (kind) {
        case kAddInEncoder:
            ++counts.encoders;
            break;
        case kAddInDecoder:
            ++counts.decoders;
            break;
        case kAddInFilter:
            ++counts.filters;
            break;
        case kAddInPen:
            ++counts.pens;
            break;
        default:
            break;
        }
        loader.unload(addin);
    }
    return counts;
}

bool allocate_tables(AddInHost& host, const AddInCounts& counts,
                     const ToolHandler* builtin_handlers) {
    host.capacity = counts;
    if (!make_file_type_table(host.read_types, counts.decoders)) return false;
    if (!make_file_type_table(host.write_types, counts.encoders)) return false;
    if (counts.filters > 0) {
        host.filters =
            static_cast<FilterEntry*>(GlobalAlloc(GPTR, sizeof(FilterEntry) * counts.filters));
        if (!host.filters) return false;
    }
    if (!build_tool_table(host.tools, kBuiltinToolCount + counts.pens, builtin_handlers))
        return false;
    if (counts.total() > 0) {
        host.modules =
            static_cast<AddInModule*>(GlobalAlloc(GPTR, sizeof(AddInModule) * counts.total()));
        if (!host.modules) return false;
    }
    return true;
}

// Registers one accepted Add-In into the next free entry of its table.
// False when that table is already full: a DLL that appeared or changed its
// answer between the passes is not registered.
bool register_one(AddInHost& host, AddInLoader& loader, const LoadedAddIn& addin,
                  const AddInInfo& info, DWORD kind) {
    if (host.module_count >= host.capacity.total()) return false;
    switch (kind) {
    case kAddInEncoder:
        if (!add_file_type(host.write_types, info.extension, info.description, addin.entry.encode))
            return false;
        break;
    case kAddInDecoder:
        if (!add_file_type(host.read_types, info.extension, info.description, addin.entry.decode))
            return false;
        break;
    case kAddInFilter: {
        if (host.filter_count >= host.capacity.filters) return false;
        FilterEntry& filter = host.filters[host.filter_count++];
        copy_text(filter.name, kToolTextSize, info.name);
        filter.filter = addin.entry.filter;
        filter.setup = addin.entry.filter_setup;
        break;
    }
    case kAddInPen: {
        const int index = kBuiltinToolCount + host.pen_count;
        if (!set_pen_tool(host.tools, index, info, addin.entry.pen)) return false;
        ++host.pen_count;
        ToolEntry& tool = host.tools.entries[index];
        loader.pen_resources(addin, tool.button, tool.cursor);
        break;
    }
    default:
        return false;
    }
    host.modules[host.module_count++] = AddInModule{addin.module, addin.entry.get_info};
    return true;
}

} // namespace

DWORD accepted_kind(const AddInInfo& info, const AddInEntryPoints& entry) {
    const DWORD kind = info.flags & kAddInKindMask;
    if ((info.flags & kAddInVersionMask) > kAddInHostVersion) return 0;
    return has_entry_point_of(kind, entry) ? kind : 0;
}

bool discover_addins(AddInHost& host, AddInLoader& loader, const ToolHandler* builtin_handlers) {
    host = AddInHost{};
    const AddInCounts counts = count_pass(loader);
    if (!allocate_tables(host, counts, builtin_handlers)) return false;
    if (counts.total() == 0) return true;
    for (const std::string& name : loader.candidates()) {
        LoadedAddIn addin;
        if (!loader.load(name, addin)) continue;
        AddInInfo info;
        const DWORD kind = query(addin, info) ? accepted_kind(info, addin.entry) : 0;
        if (!kind || !register_one(host, loader, addin, info, kind)) loader.unload(addin);
    }
    return true;
}

void release_addins(AddInHost& host, AddInLoader& loader) {
    for (int i = 0; i < host.module_count; ++i) {
        LoadedAddIn addin;
        addin.module = host.modules[i].module;
        loader.unload(addin);
    }
    for (int i = 0; i < host.tools.count; ++i)
        if (host.tools.entries[i].button) loader.free_button(host.tools.entries[i].button);
    free_file_type_table(host.read_types);
    free_file_type_table(host.write_types);
    free_tool_table(host.tools);
    GlobalFree(host.filters);
    GlobalFree(host.modules);
    host = AddInHost{};
}

std::string about_line(const AddInInfo& info) {
    std::string line = info.name ? info.name : "...";
    line += " : ";
    if (info.about1) line += info.about1;
    if (info.about2) line += std::string("(") + info.about2 + ") ";
    if (info.about3) line += std::string("[") + info.about3 + "]";
    return line;
}

AddInHost& addin_host() {
    static AddInHost host;
    return host;
}
