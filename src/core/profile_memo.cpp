#include "core/profile_memo.h"

#include "core/driver_paths.h"
#include "core/text_fields.h"
#include "core/win_util.h"

#include <map>
#include <vector>

namespace zd {

namespace {

// A bound on what is kept: a file with more distinct reads starts afresh.
constexpr size_t kMaxKeptPerFile = 256;
constexpr size_t kMaxKeptFiles = 64;

struct Stamp {
    FILETIME written;
    DWORD sizeHigh;
    DWORD sizeLow;

    bool operator==(const Stamp& o) const {
        return written.dwLowDateTime == o.written.dwLowDateTime &&
               written.dwHighDateTime == o.written.dwHighDateTime && sizeHigh == o.sizeHigh &&
               sizeLow == o.sizeLow;
    }
};

struct KeptFile {
    std::wstring path;
    Stamp stamp;
    std::map<std::wstring, std::wstring> answers;
};

SRWLOCK memoLock = SRWLOCK_INIT;
std::vector<KeptFile> files;

// Only a full path names the same file for the profile functions (which look
// for other names in the Windows folder) and for the file's attributes.
bool StampOf(const WCHAR* file, Stamp* stamp) {
    if (!IsFullPath(U16(file)))
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file, GetFileExInfoStandard, &data))
        return false;
    *stamp = Stamp{data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow};
    return true;
}

// The read's identity within its file: kind, section, key and the kind's
// parameter, separated by a unit no INI name holds.
std::wstring ReadKey(wchar_t kind, const WCHAR* section, const WCHAR* key, long long parameter) {
    std::wstring id(1, kind);
    id += section;
    id += L'\n';
    id += key;
    id += L'\n';
    id += W(FormatDecimal(parameter));
    return id;
}

// Answers `id` from what is kept for `file`, or runs `read` and keeps its
// answer under the stamp taken before the read: a file changed meanwhile has
// a newer stamp by the next read, which then starts afresh.
template <typename Read> std::wstring Kept(const WCHAR* file, const std::wstring& id, Read read) {
    Stamp stamp;
    if (!StampOf(file, &stamp))
        return read();
    {
        SrwLockHold lock(memoLock, true);
        for (KeptFile& f : files) {
            if (f.path != file)
                continue;
            if (!(f.stamp == stamp)) {
                f.stamp = stamp;
                f.answers.clear();
            }
            auto it = f.answers.find(id);
            if (it != f.answers.end())
                return it->second;
            break;
        }
    }
    std::wstring answer = read();
    SrwLockHold lock(memoLock, true);
    KeptFile* kept = nullptr;
    for (KeptFile& f : files)
        if (f.path == file)
            kept = &f;
    if (!kept) {
        if (files.size() >= kMaxKeptFiles)
            files.clear();
        files.push_back(KeptFile{file, stamp, {}});
        kept = &files.back();
    }
    if (kept->stamp == stamp) {
        if (kept->answers.size() >= kMaxKeptPerFile)
            kept->answers.clear();
        kept->answers.emplace(id, answer);
    }
    return answer;
}

std::wstring ReadProfileText(const WCHAR* file, const WCHAR* section, const WCHAR* key,
                             DWORD units) {
    std::wstring value(units, L'\0');
    DWORD n = GetPrivateProfileStringW(section, key, L"", value.data(), units, file);
    value.resize(n < units ? n : units - 1);
    return value;
}

} // namespace

std::wstring KeptProfileText(const WCHAR* file, const WCHAR* section, const WCHAR* key,
                             DWORD units) {
    if (units == 0)
        return std::wstring();
    if (!file || !file[0] || !section || !key)
        return ReadProfileText(file, section, key, units);
    return Kept(file, ReadKey(L's', section, key, units),
                [&] { return ReadProfileText(file, section, key, units); });
}

UINT KeptProfileInt(const WCHAR* file, const WCHAR* section, const WCHAR* key, int fallback) {
    if (!file || !file[0] || !section || !key)
        return GetPrivateProfileIntW(section, key, fallback, file);
    std::wstring answer = Kept(file, ReadKey(L'i', section, key, fallback), [&] {
        return W(FormatDecimal(GetPrivateProfileIntW(section, key, fallback, file)));
    });
    return UINT(std::wcstoul(answer.c_str(), nullptr, 10));
}

} // namespace zd
