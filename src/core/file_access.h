// Opening up a driver file to the users of the machine: the built-in Users
// group may read and write its data (the configuration file and the colour
// setting store hold stores that every user's printing preferences write),
// and nothing more.
#pragma once

#include <windows.h>

#include <vector>

namespace zd {

// What the Users entry grants: the data, its attributes and extended
// attributes, read and written; not the access list, the owner or deletion.
constexpr DWORD kUsersFileAccess = FILE_GENERIC_READ | FILE_GENERIC_WRITE;

// A security descriptor whose DACL lives in the record itself; it cannot be
// copied or moved, since the descriptor points into `acl`.
struct FileAccessDescriptor {
    FileAccessDescriptor() = default;
    FileAccessDescriptor(const FileAccessDescriptor&) = delete;
    FileAccessDescriptor& operator=(const FileAccessDescriptor&) = delete;

    SECURITY_DESCRIPTOR sd = {};
    std::vector<DWORD> acl; // DWORD-aligned storage of the DACL
};

// Builds a descriptor whose DACL holds every entry of `existing`, in its
// order, and one entry allowing the built-in Users group kUsersFileAccess,
// placed after the explicit entries and before the inherited ones (the
// order Windows keeps). No entry is added when an explicit Users entry
// already allows as much. False when the DACL cannot be read or built.
bool BuildUsersAccessDescriptor(const ACL* existing, FileAccessDescriptor* out);

// The call that stores a file's security information (SetFileSecurityW;
// a test may record what is stored before passing it on).
using FileSecurityWriter = BOOL(WINAPI*)(LPCWSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);

// Adds the Users entry to the file's DACL, taking ownership for the
// Administrators group when the first attempt is refused. A file without a
// DACL (every user has full access) is left as it is. True when the file
// is open to the users.
bool OpenUpFileAccess(const WCHAR* path, FileSecurityWriter write = SetFileSecurityW);

// Enables the take-ownership privilege of the process token; `previous`
// receives the state to restore with RestoreTakeOwnership. True when the
// adjustment left no error.
bool EnableTakeOwnership(TOKEN_PRIVILEGES* previous);
bool RestoreTakeOwnership(const TOKEN_PRIVILEGES& previous);

} // namespace zd
