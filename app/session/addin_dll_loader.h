// The system side of Add-In discovery: the "*.dll" files of one folder,
// loaded with the system loader. Both programs use it: velmo.exe for every
// kind of Add-In, velmo-cli for the file formats.
#pragma once

#include "app/session/addin_host.h"

#include <string>

class DllAddInLoader : public AddInLoader {
  public:
    // Lists and loads the DLLs of folder (the current directory when empty);
    // a pen without a button of its own gets "VL_TOOL_DEFBUTTON" from
    // resources.
    DllAddInLoader(std::string folder, HINSTANCE resources)
        : folder_(std::move(folder)), resources_(resources) {}

    std::vector<std::string> candidates() override;
    bool load(const std::string& name, LoadedAddIn& out) override;
    void unload(const LoadedAddIn& addin) override;
    void pen_resources(const LoadedAddIn& addin, HBITMAP& button, HCURSOR& cursor) override;
    void free_button(HBITMAP button) override;

  private:
    std::string path_of(const std::string& name) const;

    std::string folder_;
    HINSTANCE resources_;
};

// The folder the running program was started from, without the final
// backslash; empty when the system does not say.
std::string executable_folder();
