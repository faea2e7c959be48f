// Profile reads of the driver's model files, kept while the file is
// unchanged.
//
// A sheet's calls read the same keys of the capability and configuration
// files again and again, and every profile read makes the system open and
// check the file. A kept answer costs only a look at the file's write time
// and size: when either differs, everything kept from the file is read
// afresh (the system's own profile cache makes the same test). For keys the
// plug-in never writes itself; files not named by a full path are always read.
#pragma once

#include <windows.h>

#include <string>

namespace zd {

// GetPrivateProfileStringW with an empty default into `units` units.
std::wstring KeptProfileText(const WCHAR* file, const WCHAR* section, const WCHAR* key,
                             DWORD units);

// GetPrivateProfileIntW.
UINT KeptProfileInt(const WCHAR* file, const WCHAR* section, const WCHAR* key, int fallback);

} // namespace zd
