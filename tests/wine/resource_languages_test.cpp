// One layout, two languages: every dialog template of zdui.dll exists in
// Chinese (Simplified) and in English (United States) with the same controls
// in the same order, every string exists in both with the same printf
// conversions, and so does the version resource. A template or string of one
// language only fails the check; the test program's own planted resources
// show that it does.
#include "dialog_template.h"
#include "test_text.h"
#include "test_printer.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::string LanguageName(WORD lang) {
    if (lang == kChinese)
        return "Chinese";
    if (lang == kEnglish)
        return "English";
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04X", lang);
    return buf;
}

// The languages of every numbered resource of a type.
using LanguageMap = std::map<UINT, std::set<WORD>>;

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR, LPCWSTR name, WORD lang, LONG_PTR param) {
    (*reinterpret_cast<LanguageMap*>(param))[UINT(reinterpret_cast<ULONG_PTR>(name))].insert(lang);
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name))
        EnumResourceLanguagesW(module, type, name, OnLanguage, param);
    return TRUE;
}

LanguageMap Languages(HMODULE module, LPCWSTR type) {
    LanguageMap map;
    EnumResourceNamesW(module, type, OnName, reinterpret_cast<LONG_PTR>(&map));
    return map;
}

// The style bits that make a control what it is for the code and the user:
// its kind (check box, radio, owner-draw, password, number, ...) and its
// place in the keyboard order. Text alignment and size may differ.
DWORD Meaning(const zdtest::TemplateItem& item) {
    auto is = [&](const wchar_t* cls) { return _wcsicmp(item.cls.c_str(), cls) == 0; };
    DWORD common = item.style & (WS_GROUP | WS_TABSTOP | WS_DISABLED | WS_VISIBLE);
    if (is(L"Button"))
        return common | (item.style & BS_TYPEMASK);
    if (is(L"Edit"))
        return common | (item.style & (ES_PASSWORD | ES_NUMBER | ES_MULTILINE | ES_READONLY));
    if (is(L"Static"))
        return common | (item.style & (SS_TYPEMASK | SS_NOTIFY));
    if (is(L"ComboBox"))
        return common | (item.style & 0x3); // simple, drop-down, drop-down list
    return item.style;
}

std::string DescribeControl(const zdtest::TemplateItem& item) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "id %lu %s style 0x%08lX", static_cast<unsigned long>(item.id),
                  zdtest::Utf8(item.cls).c_str(), static_cast<unsigned long>(Meaning(item)));
    return buf;
}

void CompareDialogs(HMODULE module, UINT id, std::vector<std::string>* out) {
    auto zh = zdtest::LoadTemplate(module, int(id), kChinese);
    auto en = zdtest::LoadTemplate(module, int(id), kEnglish);
    std::string where = "dialog " + std::to_string(id) + ": ";
    if (!zh || !en) {
        out->push_back(where + "a template cannot be read");
        return;
    }
    if (zh->style != en->style)
        out->push_back(where + "window styles differ");
    size_t n = std::max(zh->items.size(), en->items.size());
    for (size_t i = 0; i < n; ++i) {
        std::string zhText = i < zh->items.size() ? DescribeControl(zh->items[i]) : "nothing";
        std::string enText = i < en->items.size() ? DescribeControl(en->items[i]) : "nothing";
        if (zhText != enText)
            out->push_back(where + "control " + std::to_string(i + 1) + " is " + zhText +
                           " in Chinese, " + enText + " in English");
    }
}

// The entries of one string block (16 ids) in one language; empty: absent.
std::vector<std::wstring> StringBlock(HMODULE module, UINT block, WORD lang) {
    std::vector<std::wstring> texts(16);
    HRSRC res = FindResourceExW(module, reinterpret_cast<LPCWSTR>(RT_STRING),
                                MAKEINTRESOURCEW(block), lang);
    HGLOBAL mem = res ? LoadResource(module, res) : nullptr;
    auto p = static_cast<const WORD*>(mem ? LockResource(mem) : nullptr);
    size_t words = res ? SizeofResource(module, res) / 2 : 0;
    for (size_t i = 0, at = 0; p && i < 16 && at < words; ++i) {
        size_t len = p[at++];
        if (len > words - at)
            break;
        texts[i].assign(reinterpret_cast<const wchar_t*>(p + at), len);
        at += len;
    }
    return texts;
}

// The printf conversions of a format text, in order ("%%" is no conversion).
std::vector<std::wstring> Conversions(const std::wstring& text) {
    std::vector<std::wstring> found;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%')
            continue;
        size_t end = text.find_first_of(L"%cdiouxXeEfgGsSp", i + 1);
        if (end == std::wstring::npos)
            break;
        if (text[end] != L'%' || end != i + 1)
            found.push_back(text.substr(i, end - i + 1));
        i = end;
    }
    return found;
}

void CompareStrings(HMODULE module, UINT block, std::vector<std::string>* out) {
    auto zh = StringBlock(module, block, kChinese);
    auto en = StringBlock(module, block, kEnglish);
    for (UINT i = 0; i < 16; ++i) {
        std::string where = "string " + std::to_string((block - 1) * 16 + i) + ": ";
        if (zh[i].empty() != en[i].empty())
            out->push_back(where + "only in " + (zh[i].empty() ? "English" : "Chinese"));
        else if (Conversions(zh[i]) != Conversions(en[i]))
            out->push_back(where + "other conversions in English");
    }
}

// Every difference between the two languages of a module's dialogs and
// strings.
std::vector<std::string> LanguageDifferences(HMODULE module) {
    std::vector<std::string> out;
    const std::set<WORD> both = {kChinese, kEnglish};
    struct Kind {
        LPCWSTR type;
        const char* name;
        void (*compare)(HMODULE, UINT, std::vector<std::string>*);
    };
    for (const Kind& kind :
         {Kind{reinterpret_cast<LPCWSTR>(RT_DIALOG), "dialog ", CompareDialogs},
          Kind{reinterpret_cast<LPCWSTR>(RT_STRING), "string block ", CompareStrings}}) {
        for (const auto& [id, langs] : Languages(module, kind.type)) {
            if (langs == both) {
                kind.compare(module, id, &out);
                continue;
            }
            std::string have;
            for (WORD lang : langs)
                have += " " + LanguageName(lang);
            out.push_back(kind.name + std::to_string(id) + ": only in" + have);
        }
    }
    return out;
}

TEST(ResourceLanguages, EveryDialogAndStringOfTheLibraryIsInBothLanguages) {
    HMODULE dll = LoadLibraryExW((zdtest::ExeDir() + L"\\zdui.dll").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(dll, nullptr);
    EXPECT_EQ(Languages(dll, reinterpret_cast<LPCWSTR>(RT_DIALOG)).size(), 15u);
    EXPECT_FALSE(Languages(dll, reinterpret_cast<LPCWSTR>(RT_STRING)).empty());
    const std::set<WORD> both = {kChinese, kEnglish};
    EXPECT_EQ(Languages(dll, reinterpret_cast<LPCWSTR>(RT_VERSION))[1], both);
    std::vector<std::string> differences = LanguageDifferences(dll);
    EXPECT_TRUE(differences.empty()) << zdtest::JoinedLines(differences);
    FreeLibrary(dll);
}

TEST(ResourceLanguages, PlantedDifferencesAreEachReported) {
    std::vector<std::string> differences = LanguageDifferences(GetModuleHandleW(nullptr));
    const std::vector<std::string> expected = {
        "dialog 501: control 1 is id 11 BUTTON style 0x10000003 in Chinese, "
        "id 12 BUTTON style 0x10000009 in English",
        "dialog 501: control 2 is id 12 BUTTON style 0x10000009 in Chinese, "
        "id 11 BUTTON style 0x10000003 in English",
        "dialog 502: only in Chinese",
        "string 101: other conversions in English",
        "string 103: only in English",
    };
    EXPECT_EQ(differences, expected) << zdtest::JoinedLines(differences);
}

TEST(ResourceLanguages, ConversionsIgnoreLiteralPercentSigns) {
    EXPECT_EQ(Conversions(L"(%d-%d%%)"), (std::vector<std::wstring>{L"%d", L"%d"}));
    EXPECT_EQ(Conversions(L"100%% of %5.2f"), (std::vector<std::wstring>{L"%5.2f"}));
    EXPECT_TRUE(Conversions(L"no format").empty());
}

} // namespace
