#include "driver_inf.h"

#include <windows.h>
#include <setupapi.h>

#include <memory>

namespace drvhost {

namespace {

struct InfCloser {
    void operator()(void* inf) const { SetupCloseInfFile(inf); }
};
using InfHandle = std::unique_ptr<void, InfCloser>;

std::wstring Field(INFCONTEXT* line, DWORD index) {
    DWORD needed = 0;
    if (!SetupGetStringFieldW(line, index, nullptr, 0, &needed) || needed == 0)
        return std::wstring();
    std::wstring text(needed, L'\0');
    if (!SetupGetStringFieldW(line, index, text.data(), needed, &needed))
        return std::wstring();
    text.resize(wcslen(text.c_str()));
    return text;
}

std::wstring Key(HINF inf, const std::wstring& section, const wchar_t* key) {
    INFCONTEXT line = {};
    return SetupFindFirstLineW(inf, section.c_str(), key, &line) ? Field(&line, 1) : std::wstring();
}

bool HasValue(HINF inf, const std::wstring& section, const wchar_t* key, const wchar_t* value) {
    INFCONTEXT line = {};
    if (!SetupFindFirstLineW(inf, section.c_str(), key, &line))
        return false;
    do {
        for (DWORD i = 1, n = SetupGetFieldCount(&line); i <= n; ++i)
            if (_wcsicmp(Field(&line, i).c_str(), value) == 0)
                return true;
    } while (SetupFindNextMatchLineW(&line, key, &line));
    return false;
}

// CopyFiles= names single files with '@' and file-list sections without.
void CollectCopyFiles(HINF inf, const std::wstring& section, std::vector<std::wstring>* files) {
    INFCONTEXT line = {};
    if (!SetupFindFirstLineW(inf, section.c_str(), L"CopyFiles", &line))
        return;
    do {
        for (DWORD i = 1, n = SetupGetFieldCount(&line); i <= n; ++i) {
            std::wstring entry = Field(&line, i);
            if (entry.empty())
                continue;
            if (entry[0] == L'@') {
                files->push_back(entry.substr(1));
                continue;
            }
            INFCONTEXT fileLine = {};
            if (!SetupFindFirstLineW(inf, entry.c_str(), nullptr, &fileLine))
                continue;
            do {
                std::wstring name = Field(&fileLine, 1);
                if (!name.empty())
                    files->push_back(name);
            } while (SetupFindNextLine(&fileLine, &fileLine));
        }
    } while (SetupFindNextMatchLineW(&line, L"CopyFiles", &line));
}

// The models section named by one [Manufacturer] line: "<name>.NTamd64"
// when the line decorates it so, else the bare name.
std::wstring ModelsSection(INFCONTEXT* manufacturer) {
    std::wstring name = Field(manufacturer, 1);
    for (DWORD i = 2, n = SetupGetFieldCount(manufacturer); i <= n; ++i) {
        std::wstring decoration = Field(manufacturer, i);
        if (_wcsnicmp(decoration.c_str(), L"NTamd64", 7) == 0)
            return name + L"." + decoration;
    }
    return name;
}

} // namespace

bool ReadDriverInf(const std::wstring& path, DriverInf* out, std::wstring* error) {
    *out = DriverInf();
    out->path = path;
    size_t slash = path.find_last_of(L"\\/");
    out->folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    UINT errorLine = 0;
    InfHandle inf(SetupOpenInfFileW(path.c_str(), nullptr, INF_STYLE_WIN4, &errorLine));
    if (inf.get() == INVALID_HANDLE_VALUE) {
        inf.release();
        *error = L"cannot read the INF " + path + L" (line " + std::to_wstring(errorLine) +
                 L", error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    INFCONTEXT manufacturer = {};
    if (SetupFindFirstLineW(inf.get(), L"Manufacturer", nullptr, &manufacturer)) {
        do {
            const std::wstring section = ModelsSection(&manufacturer);
            INFCONTEXT model = {};
            if (!SetupFindFirstLineW(inf.get(), section.c_str(), nullptr, &model))
                continue;
            do {
                InfModel m;
                WCHAR key[512] = {};
                if (!SetupGetStringFieldW(&model, 0, key, 512, nullptr))
                    continue;
                m.name = key;
                m.installSection = Field(&model, 1);
                CollectCopyFiles(inf.get(), m.installSection, &m.copyFiles);
                m.dataFile = Key(inf.get(), m.installSection, L"DataFile");
                m.takesPostScriptDriver =
                    HasValue(inf.get(), m.installSection, L"Include", L"NTPRINT.INF") &&
                    HasValue(inf.get(), m.installSection, L"Needs", L"PSCRIPT.OEM");
                out->models.push_back(std::move(m));
            } while (SetupFindNextLine(&model, &model));
        } while (SetupFindNextLine(&manufacturer, &manufacturer));
    }
    if (out->models.empty()) {
        *error = L"the INF " + path + L" offers no printer model under [Manufacturer]";
        return false;
    }
    return true;
}

const InfModel* FindInfModel(const DriverInf& inf, const std::wstring& model) {
    for (const InfModel& m : inf.models)
        if (_wcsicmp(m.name.c_str(), model.c_str()) == 0)
            return &m;
    return nullptr;
}

std::vector<std::wstring> DependentFiles(const InfModel& model) {
    std::vector<std::wstring> files;
    for (const std::wstring& f : model.copyFiles)
        if (_wcsicmp(f.c_str(), model.dataFile.c_str()) != 0)
            files.push_back(f);
    return files;
}

} // namespace drvhost
