#include "package_lint.h"

#include "core/win_util.h"
#include "driver_host.h"
#include "driver_inf.h"
#include "ini_lines.h"
#include "ppd_reader.h"

#include <algorithm>
#include <memory>

namespace drvhost {

namespace {

bool SameFile(const std::wstring& a, const std::wstring& b) {
    return SameIniName(zd::U16(a), zd::U16(b));
}

bool EndsWith(const std::wstring& s, const wchar_t* suffix) {
    const size_t n = wcslen(suffix);
    return s.size() >= n && SameFile(s.substr(s.size() - n), suffix);
}

bool Exists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Profile(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    WCHAR value[522] = {};
    GetPrivateProfileStringW(section, key, L"", value, 522, file.c_str());
    return value;
}

// The one INF of a folder, or the argument itself when it is a file.
std::wstring FindInf(const std::wstring& infOrFolder, std::wstring* error) {
    DWORD a = GetFileAttributesW(infOrFolder.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) {
        *error = infOrFolder + L" does not exist";
        return std::wstring();
    }
    if (!(a & FILE_ATTRIBUTE_DIRECTORY))
        return infOrFolder;
    std::wstring folder = infOrFolder;
    if (folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"*.inf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        *error = L"no printer INF (*.inf) in " + folder;
        return std::wstring();
    }
    std::wstring inf = folder + found.cFileName;
    bool several = FindNextFileW(search, &found);
    FindClose(search);
    if (several) {
        *error = L"more than one INF in " + folder + L": name the one to check";
        return std::wstring();
    }
    return inf;
}

class PackageLinter {
  public:
    PackageLinter(const DriverInf& inf, HMODULE resources)
        : inf_(inf), resources_(resources), lines_(ReadWholeFile(inf.path)) {}

    std::vector<LintFinding> Run() {
        for (const InfModel& m : inf_.models)
            CheckModel(m);
        return std::move(out_);
    }

  private:
    void Add(LintLevel level, const std::wstring& file, int line, std::wstring message) {
        out_.push_back({level, file, line, std::move(message)});
    }

    int InfLine(const std::wstring& section, const std::wstring& key) const {
        return lines_.Key(zd::U16(section), zd::U16(key));
    }

    bool Copies(const InfModel& m, const std::wstring& name) const {
        return std::any_of(m.copyFiles.begin(), m.copyFiles.end(),
                           [&](const std::wstring& f) { return SameFile(f, name); });
    }

    // The copied file with this ending (the plug-in takes the last one).
    std::wstring CopiedWithEnding(const InfModel& m, const wchar_t* ending) const {
        std::wstring found;
        for (const std::wstring& f : DependentFiles(m))
            if (EndsWith(f, ending))
                found = f;
        return found;
    }

    // The plug-in's configuration file: the last copied .ini that names a
    // plug-in under [OEMFiles], as the plug-in chooses. `inis` lists every
    // copied .ini.
    std::wstring ConfigFile(const InfModel& m, std::wstring* inis) const {
        std::wstring named;
        for (const std::wstring& f : DependentFiles(m)) {
            if (!EndsWith(f, L".ini"))
                continue;
            *inis += (inis->empty() ? L"" : L", ") + f;
            if (!Profile(inf_.folder + f, L"OEMFiles", L"OEMConfigFile1").empty())
                named = f;
        }
        return named;
    }

    // A file the plug-in reads must be copied, so that it becomes a dependent file.
    void NeedCopied(const InfModel& m, const std::wstring& name, const std::wstring& what,
                    LintLevel level = LintLevel::Error) {
        if (name.empty() || Copies(m, name))
            return;
        Add(level, inf_.path, copyLine_,
            name + L" (" + what + L") is not copied by [" + m.installSection +
                L"]: it is not a dependent file of the installed driver");
    }

    void CheckModel(const InfModel& m) {
        const std::wstring& inf = inf_.path;
        copyLine_ = InfLine(m.installSection, L"CopyFiles");
        const int modelLine = ModelLine(m);
        if (!m.takesPostScriptDriver)
            Add(LintLevel::Error, inf, lines_.Section(zd::U16(m.installSection)),
                L"[" + m.installSection +
                    L"] must take the system's PostScript driver: Include=NTPRINT.INF and "
                    L"Needs=PSCRIPT.OEM");
        for (const std::wstring& f : m.copyFiles)
            if (!Exists(inf_.folder + f))
                Add(LintLevel::Error, inf, copyLine_,
                    f + L" is copied but is not in the package folder");

        // The configuration file and the plug-in it names.
        std::wstring inis;
        const std::wstring ini = ConfigFile(m, &inis);
        if (inis.empty())
            Add(LintLevel::Error, inf, copyLine_,
                L"no configuration file (.ini) is copied: the plug-in is not loaded");
        else if (ini.empty())
            Add(LintLevel::Error, inf, copyLine_,
                L"no copied .ini (" + inis +
                    L") names the plug-in under [OEMFiles] OEMConfigFile1: the driver loads no "
                    L"plug-in and the plug-in has no configuration file");
        else
            NeedCopied(m, Profile(inf_.folder + ini, L"OEMFiles", L"OEMConfigFile1"),
                       L"the plug-in named by [OEMFiles] OEMConfigFile1");
        const std::wstring cap = CopiedWithEnding(m, L".cap");
        if (cap.empty())
            Add(LintLevel::Error, inf, copyLine_,
                L"no capability file (.cap) is copied: every model key reads its default");
        if (CopiedWithEnding(m, L".ver").empty())
            Add(LintLevel::Warning, inf, copyLine_,
                L"no version file (.ver) is copied: the About dialog shows no driver version");

        // The model name is the driver's name, which chooses the model section.
        std::wstring section;
        if (!cap.empty() && Exists(inf_.folder + cap)) {
            section = Profile(inf_.folder + cap, L"Capability", m.name.c_str());
            if (section.empty())
                Add(LintLevel::Error, inf, modelLine,
                    L"the model \"" + m.name + L"\" is not a key under [Capability] of " + cap +
                        L": the plug-in finds no model section and shows a bare sheet");
        }

        // Files named by the configuration and capability files.
        if (!ini.empty() && Exists(inf_.folder + ini)) {
            const std::wstring config = inf_.folder + ini;
            NeedCopied(m, Profile(config, L"DependentFiles", L"WMFONT"),
                       L"watermark font list, [DependentFiles] WMFONT");
            NeedCopied(m, Profile(config, L"DependentFiles", L"HELP"),
                       L"help file, [DependentFiles] HELP");
        }
        if (!section.empty()) {
            const std::wstring capPath = inf_.folder + cap;
            NeedCopied(m, Profile(capPath, section.c_str(), L"CCMInfoFile"),
                       L"colour setting file, CCMInfoFile");
            NeedCopied(m, Profile(capPath, section.c_str(), L"AskZedRES"),
                       L"extension resource library, AskZedRES");
        }
        CheckPpd(m, modelLine);

        // The model's own files, as the plug-in reads them once installed.
        ModelFileSet files;
        files.cap = cap.empty() ? std::wstring() : inf_.folder + cap;
        files.ini = ini.empty() ? std::wstring() : inf_.folder + ini;
        files.ppd = m.dataFile.empty() ? std::wstring() : inf_.folder + m.dataFile;
        files.driverName = m.name;
        files.filesDir = inf_.folder;
        for (LintFinding& f : LintModel(files, resources_))
            out_.push_back(std::move(f));
    }

    int ModelLine(const InfModel& m) const {
        for (const std::u16string& section : lines_.Sections())
            for (const std::wstring& key : {L"\"" + m.name + L"\"", m.name})
                if (int line = lines_.Key(section, zd::U16(key)))
                    return line;
        return 0;
    }

    void CheckPpd(const InfModel& m, int modelLine) {
        const std::wstring& inf = inf_.path;
        if (m.dataFile.empty()) {
            Add(LintLevel::Error, inf, lines_.Section(zd::U16(m.installSection)),
                L"[" + m.installSection + L"] names no DataFile: the driver has no PPD");
            return;
        }
        const std::wstring ppdPath = inf_.folder + m.dataFile;
        if (!Exists(ppdPath)) {
            Add(LintLevel::Error, inf, InfLine(m.installSection, L"DataFile"),
                L"the data file " + m.dataFile + L" is not in the package folder");
            return;
        }
        const std::string text = ReadWholeFile(ppdPath);
        const PpdFile ppd = ParsePpd(text);
        for (const char* keyword : {"NickName", "ModelName"}) {
            const std::u16string value = DecodePpdTranslation(ppd.Attribute(keyword));
            if (value.empty() || !SameIniName(value, zd::U16(m.name))) {
                const size_t at = text.find(std::string("*") + keyword + ":");
                const int line =
                    at == std::string::npos
                        ? 0
                        : 1 + int(std::count(text.begin(), text.begin() + long(at), '\n'));
                Add(LintLevel::Error, ppdPath, line,
                    L"*" + std::wstring(keyword, keyword + strlen(keyword)) + L" \"" +
                        zd::W(value) + L"\" is not the INF's model \"" + m.name + L"\" (" + inf +
                        L":" + std::to_wstring(modelLine) + L")");
            }
        }
    }

    const DriverInf& inf_;
    HMODULE resources_;
    IniLines lines_;
    int copyLine_ = 0;
    std::vector<LintFinding> out_;
};

} // namespace

std::vector<LintFinding> LintPackage(const std::wstring& infOrFolder, HMODULE resources) {
    std::wstring error;
    std::wstring path = FindInf(infOrFolder, &error);
    DriverInf inf;
    if (path.empty() || !ReadDriverInf(path, &inf, &error))
        return {{LintLevel::Error, path.empty() ? infOrFolder : path, 0, error}};
    return PackageLinter(inf, resources).Run();
}

} // namespace drvhost
