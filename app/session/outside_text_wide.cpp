#include "app/session/outside_text_wide.h"

#include "app/session/outside_text.h"

namespace {

// The program runs with UTF-8 as its own code page where the system allows,
// so CP_ACP would read an older Add-In's texts as broken UTF-8: the system
// locale still names the code page those texts were written in.
UINT system_ansi_code_page() {
    DWORD page = 0;
    if (GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(WCHAR)) &&
        page != 0)
        return UINT(page);
    return CP_ACP;
}

} // namespace

std::wstring widen_outside_text(const char* text) {
    if (!text || !*text) return {};
    const UINT page = is_utf8(text) ? CP_UTF8 : system_ansi_code_page();
    const int length = MultiByteToWideChar(page, 0, text, -1, nullptr, 0);
    if (length <= 1) return {};
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(page, 0, text, -1, wide.data(), length);
    wide.resize(std::size_t(length - 1));
    return wide;
}
