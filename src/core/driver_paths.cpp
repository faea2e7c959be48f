#include "core/driver_paths.h"

namespace zd {

static char16_t Lower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

DriverFileKind ClassifyDriverFile(std::u16string_view name) {
    if (name.size() < 4)
        return DriverFileKind::Other;
    std::u16string_view ext = name.substr(name.size() - 4);
    if (ext[0] != u'.')
        return DriverFileKind::Other;
    char16_t a = Lower(ext[1]), b = Lower(ext[2]), c = Lower(ext[3]);
    if (a == u'i' && b == u'n' && c == u'i')
        return DriverFileKind::Ini;
    if (a == u'c' && b == u'a' && c == u'p')
        return DriverFileKind::Cap;
    return DriverFileKind::Other;
}

std::vector<std::u16string> SplitDependentFiles(const char16_t* list, size_t units,
                                                size_t maxNameUnits) {
    std::vector<std::u16string> names;
    if (!list)
        return names;
    std::u16string current;
    bool overlong = false;
    for (size_t i = 0; i < units; ++i) {
        char16_t c = list[i];
        if (c == 0) {
            if (current.empty() && !overlong)
                break; // the empty name ends the list
            if (!overlong)
                names.push_back(current);
            current.clear();
            overlong = false;
            continue;
        }
        if (current.size() + 1 >= maxNameUnits)
            overlong = true;
        else
            current.push_back(c);
    }
    // A list cut off by its size: the last name counts only if it was ended.
    return names;
}

std::u16string FolderOfPath(std::u16string_view path) {
    size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string()
                                              : std::u16string(path.substr(0, slash + 1));
}

bool IsBareFileName(std::u16string_view name) {
    return !name.empty() && name.find_first_of(u"\\/:") == std::u16string_view::npos &&
           name.find(u"..") == std::u16string_view::npos;
}

bool IsFullPath(std::u16string_view path) {
    if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\')
        return true;
    char16_t drive = char16_t(path.empty() ? 0 : path[0] | 0x20);
    return path.size() >= 3 && drive >= u'a' && drive <= u'z' && path[1] == u':' &&
           path[2] == u'\\';
}

std::u16string ExtensionLibraryPath(std::u16string_view configPath, std::u16string_view library,
                                    size_t maxUnits) {
    std::u16string folder = FolderOfPath(configPath);
    if (folder.empty() || !IsBareFileName(library) || folder.size() + library.size() >= maxUnits)
        return std::u16string();
    return folder + std::u16string(library);
}

std::u16string PpdPathFromConfigPath(std::u16string_view configPath) {
    size_t nameStart = configPath.find_last_of(u"\\/");
    nameStart = nameStart == std::u16string_view::npos ? 0 : nameStart + 1;
    size_t dot = configPath.find(u'.', nameStart);
    std::u16string path(configPath.substr(0, dot));
    path += u".PPD";
    return path;
}

} // namespace zd
