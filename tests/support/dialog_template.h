// Extended dialog templates (DIALOGEX) read from the resource bytes, for the
// tests that check the library's dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace zdtest {

struct TemplateItem {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::wstring cls, text; // predefined classes by name ("Button", ...)
};

struct Template {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring caption, face;
    WORD pointSize = 0, weight = 0;
    BYTE italic = 0, charset = 0;
    std::vector<TemplateItem> items;
};

// Reads a template within `size` bytes; nothing for a plain DIALOG or a
// template that runs past its end.
std::optional<Template> ParseTemplate(const BYTE* data, size_t size);

// The template of dialog `id` in `language` (LANG_NEUTRAL: the loader's choice).
std::optional<Template> LoadTemplate(HMODULE module, int id, WORD language = LANG_NEUTRAL);

} // namespace zdtest
