#include "core/file_access.h"

#include <algorithm>

namespace zd {

namespace {

struct TokenHandle {
    HANDLE h = nullptr;
    ~TokenHandle() {
        if (h)
            CloseHandle(h);
    }
};

// A well-known SID in a buffer of its own (nothing to free).
struct WellKnownSid {
    explicit WellKnownSid(WELL_KNOWN_SID_TYPE type) {
        DWORD size = sizeof(bytes);
        ok = CreateWellKnownSid(type, nullptr, bytes, &size) != 0;
    }
    PSID get() { return ok ? static_cast<PSID>(bytes) : nullptr; }

    BYTE bytes[SECURITY_MAX_SID_SIZE] = {};
    bool ok = false;
};

// Whether an entry already allows the Users group everything the added
// entry would (and applies to the file itself).
bool GrantsUsersAccess(const ACE_HEADER* header, PSID users) {
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE))
        return false;
    const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
    return (ace->Mask & kUsersFileAccess) == kUsersFileAccess &&
           EqualSid(const_cast<DWORD*>(&ace->SidStart), users);
}

// Adds the Users entry to the file's current DACL.
bool AddUsersEntry(const WCHAR* path, FileSecurityWriter write) {
    DWORD needed = 0;
    GetFileSecurityW(path, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
        return false;
    std::vector<DWORD> current((needed + sizeof(DWORD) - 1) / sizeof(DWORD));
    if (!GetFileSecurityW(path, DACL_SECURITY_INFORMATION, current.data(), needed, &needed))
        return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorDacl(current.data(), &present, &dacl, &defaulted) ||
        !GetSecurityDescriptorControl(current.data(), &control, &revision))
        return false;
    if (!present || !dacl)
        return true; // no DACL: every user has full access already
    FileAccessDescriptor descriptor;
    if (!BuildUsersAccessDescriptor(dacl, &descriptor))
        return false;
    // The file keeps taking (or not taking) its folder's inherited entries.
    const SECURITY_DESCRIPTOR_CONTROL inheritance = SE_DACL_AUTO_INHERITED | SE_DACL_PROTECTED;
    SetSecurityDescriptorControl(&descriptor.sd, inheritance, control & inheritance);
    return write(path, DACL_SECURITY_INFORMATION, &descriptor.sd) != 0;
}

bool TakeOwnershipForAdministrators(const WCHAR* path, FileSecurityWriter write) {
    WellKnownSid administrators(WinBuiltinAdministratorsSid);
    SECURITY_DESCRIPTOR sd;
    if (!administrators.get() || !InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorOwner(&sd, administrators.get(), FALSE))
        return false;
    if (write(path, OWNER_SECURITY_INFORMATION, &sd))
        return true;
    TOKEN_PRIVILEGES previous = {};
    bool switched = EnableTakeOwnership(&previous);
    bool owned = write(path, OWNER_SECURITY_INFORMATION, &sd) != 0;
    if (switched)
        RestoreTakeOwnership(previous);
    return owned;
}

} // namespace

bool BuildUsersAccessDescriptor(const ACL* existing, FileAccessDescriptor* out) {
    if (!existing || !out)
        return false;
    WellKnownSid users(WinBuiltinUsersSid);
    ACL_SIZE_INFORMATION size = {};
    if (!users.get() ||
        !GetAclInformation(const_cast<ACL*>(existing), &size, sizeof(size), AclSizeInformation))
        return false;
    const DWORD revision = std::max<DWORD>(existing->AclRevision, ACL_REVISION);
    const DWORD entryBytes =
        DWORD(sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD)) + GetLengthSid(users.get());
    const DWORD aclBytes = size.AclBytesInUse + entryBytes;
    out->acl.assign((aclBytes + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    auto* acl = reinterpret_cast<ACL*>(out->acl.data());
    if (!InitializeAcl(acl, aclBytes, revision))
        return false;

    bool granted = false;
    for (DWORD i = 0; i < size.AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(const_cast<ACL*>(existing), i, &entry))
            return false;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if (!(header->AceFlags & INHERITED_ACE))
            granted = granted || GrantsUsersAccess(header, users.get());
        else if (!granted)
            granted = AddAccessAllowedAceEx(acl, revision, 0, kUsersFileAccess, users.get()) != 0;
        if (!AddAce(acl, revision, MAXDWORD, entry, header->AceSize))
            return false;
    }
    if (!granted && !AddAccessAllowedAceEx(acl, revision, 0, kUsersFileAccess, users.get()))
        return false;
    return InitializeSecurityDescriptor(&out->sd, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorDacl(&out->sd, TRUE, acl, FALSE);
}

bool OpenUpFileAccess(const WCHAR* path, FileSecurityWriter write) {
    if (!path || !path[0] || !write)
        return false;
    if (AddUsersEntry(path, write))
        return true;
    return TakeOwnershipForAdministrators(path, write) && AddUsersEntry(path, write);
}

bool EnableTakeOwnership(TOKEN_PRIVILEGES* previous) {
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token.h))
        return false;
    TOKEN_PRIVILEGES tp = {};
    tp.PrivilegeCount = 1;
    if (!LookupPrivilegeValueW(nullptr, L"SeTakeOwnershipPrivilege", &tp.Privileges[0].Luid))
        return false;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD previousSize = sizeof(*previous);
    SetLastError(ERROR_SUCCESS);
    if (!AdjustTokenPrivileges(token.h, FALSE, &tp, sizeof(tp), previous, &previousSize))
        return false;
    return GetLastError() == ERROR_SUCCESS; // a partial assignment is a failure
}

bool RestoreTakeOwnership(const TOKEN_PRIVILEGES& previous) {
    TokenHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token.h))
        return false;
    // Only the privilege switched on is put back: the caller's other
    // privileges are none of this code's business.
    TOKEN_PRIVILEGES restore = previous;
    SetLastError(ERROR_SUCCESS);
    if (!AdjustTokenPrivileges(token.h, FALSE, &restore, sizeof(restore), nullptr, nullptr))
        return false;
    return GetLastError() == ERROR_SUCCESS;
}

} // namespace zd
