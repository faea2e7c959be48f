#include "test_printer.h"

#include <windows.h>
#include <winspool.h>

namespace zdtest {

namespace {

std::wstring BareName(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring DriverRootDir() {
    WCHAR dir[MAX_PATH] = {};
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof(dir),
                                    &needed))
        return std::wstring();
    return dir;
}

bool Fail(std::wstring* error, const std::wstring& what) {
    if (error)
        *error = what + L" (error " + std::to_wstring(GetLastError()) + L")";
    return false;
}

} // namespace

std::wstring ExeDir() {
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L'\\'));
}

std::wstring SamplesDir() {
    std::string unixPath = ZD_SAMPLES_DIR;
    std::wstring w = L"Z:";
    for (char c : unixPath)
        w.push_back(c == '/' ? L'\\' : wchar_t(c));
    return w;
}

std::wstring DriverFilesDir() {
    return DriverRootDir() + L"\\3";
}

PrinterSpec DemoPrinterSpec(const std::wstring& printerName) {
    std::wstring s = SamplesDir() + L"\\";
    PrinterSpec spec;
    spec.printerName = printerName;
    spec.driverName = kDemoDriver;
    spec.dataFile = s + L"zdcp95.ppd";
    spec.dependentFiles = {ExeDir() + L"\\zdui.dll",    s + L"zdcp95.ini",   s + L"zdcp95.cap",
                           s + L"zdcp95.ver",           s + L"zdwmfont.dat", s + L"zdccm.ini",
                           ExeDir() + L"\\zdaskres.dll"};
    return spec;
}

static bool InstallOnce(const PrinterSpec& spec, std::wstring* error) {
    std::wstring root = DriverRootDir();
    if (root.empty())
        return Fail(error, L"GetPrinterDriverDirectoryW");
    std::vector<std::wstring> all = spec.dependentFiles;
    all.push_back(spec.dataFile);
    std::wstring dependent;
    for (const std::wstring& f : all) {
        std::wstring name = BareName(f);
        if (!CopyFileW(f.c_str(), (root + L"\\" + name).c_str(), FALSE))
            return Fail(error, L"copy " + f);
        // Installed files are replaced in place as well, so that a changed
        // variant reaches the "\3" folder even when the spooler keeps the old one.
        CreateDirectoryW((root + L"\\3").c_str(), nullptr);
        CopyFileW(f.c_str(), (root + L"\\3\\" + name).c_str(), FALSE);
        if (&f != &all.back()) {
            dependent += name;
            dependent.push_back(L'\0');
        }
    }
    dependent.push_back(L'\0');

    // The PostScript driver's own files are stand-ins: the spooler loads the
    // configuration file as a driver UI library, which zdui.dll is not.
    std::wstring driverFile = L"zdpscript.drv", uiFile = L"zdps5ui.drv";
    for (const std::wstring& standIn : {driverFile, uiFile})
        if (!WriteTextFile(root + L"\\" + standIn, L"stand-in for the PostScript driver", false))
            return Fail(error, L"write " + standIn);
    DRIVER_INFO_3W di = {};
    di.cVersion = 3;
    di.pName = const_cast<LPWSTR>(spec.driverName.c_str());
    di.pEnvironment = nullptr;
    std::wstring dataName = BareName(spec.dataFile);
    di.pDriverPath = driverFile.data();
    di.pDataFile = dataName.data();
    di.pConfigFile = uiFile.data();
    di.pDependentFiles = dependent.data();
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&di),
                             APD_COPY_NEW_FILES | APD_COPY_ALL_FILES))
        return Fail(error, L"AddPrinterDriverExW " + spec.driverName);

    PRINTER_INFO_2W pi = {};
    pi.pPrinterName = const_cast<LPWSTR>(spec.printerName.c_str());
    pi.pPortName = const_cast<LPWSTR>(L"FILE:");
    pi.pDriverName = const_cast<LPWSTR>(spec.driverName.c_str());
    pi.pPrintProcessor = const_cast<LPWSTR>(L"winprint");
    pi.pDatatype = const_cast<LPWSTR>(L"RAW");
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
    if (!printer) {
        // An existing printer is reused; point it at the driver again.
        PRINTER_DEFAULTSW d = {nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (!OpenPrinterW(const_cast<LPWSTR>(spec.printerName.c_str()), &printer, &d))
            return Fail(error, L"AddPrinterW " + spec.printerName);
        if (!SetPrinterW(printer, 2, reinterpret_cast<BYTE*>(&pi), 0)) {
            ClosePrinter(printer);
            return Fail(error, L"SetPrinterW " + spec.printerName);
        }
    }
    ClosePrinter(printer);
    return true;
}

bool InstallPrinter(const PrinterSpec& spec, std::wstring* error) {
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMs = 250;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (InstallOnce(spec, error))
            return true;
        Sleep(kPauseMs);
    }
    return false;
}

bool WriteTextFile(const std::wstring& path, const std::wstring& text, bool utf16) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    std::string bytes;
    if (utf16) {
        bytes = "\xFF\xFE";
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    } else {
        int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                    nullptr);
        bytes.resize(size_t(n));
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), n, nullptr,
                            nullptr);
    }
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(f);
    return ok && written == bytes.size();
}

std::wstring MakeTempDir(const std::wstring& tag) {
    WCHAR tmp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, tmp);
    std::wstring dir =
        std::wstring(tmp) + L"zdtest-" + tag + L"-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(dir.c_str(), nullptr);
    // Process ids come round again: files an earlier process left go first.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((dir + L"\\" + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return dir;
}

} // namespace zdtest
