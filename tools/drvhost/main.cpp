// drvhost: the emulated PostScript driver as a command-line program.
//   drvhost info PRINTER [--save-devmode FILE]   what the driver sees of the plug-in
//   drvhost tree PRINTER                          the option trees after CommonUIProp
//   drvhost sheet PRINTER [--save-devmode FILE]   the document sheet (interactive with a display)
//   drvhost shots PRINTER DIR                     every page of the document sheet as PNG
//   drvhost devmode FILE                          decode a stored private block
//   drvhost print PRINTER [--devmode FILE]        one job's document events, with that block
//   drvhost detect PRINTER                        press the device page's auto-detect button
//   drvhost lint PRINTER | lint --files CAP INI [PPD]   check a model's files (exit 0/1/2)
//   drvhost lint --package DIR|INF              check a driver package folder (exit 0/1/2)
//   --timings                                     time of each host call
//   --plugin DLL                                  load this zdui.dll, not the one beside drvhost
//   --installed KEYWORD=OPTION                    an installable option as the device page holds it
#include "core/devmode_record.h"
#include "devmode_dump.h"
#include "dialog_tour.h"
#include "drvhost_api.h"
#include "jobopts/job_storage_rules.h"
#include "model_lint.h"
#include "package_lint.h"
#include "resources/resource.h"
#include "sheet.h"

#include <cstdio>
#include <cwchar>

using namespace drvhost;

namespace {

// From --plugin: another build of the plug-in (the release DLL, to time it);
// from --installed: the printer's installable options.
HostOptions gHostOptions;

void Out(const std::string& s) {
    std::fputs(s.c_str(), stdout);
}

void Out(const std::wstring& s) {
    Out(Narrow(s.c_str()));
}

int Error(const std::wstring& what) {
    std::fflush(stdout);
    std::fputs(("drvhost: " + Narrow(what.c_str()) + "\n").c_str(), stderr);
    return 1;
}

std::string Hex(unsigned long v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08lX", v);
    return buf;
}

// The driver's dependent files, found the way the plug-in finds them.
void PrintDriverFiles(HANDLE printer, const std::wstring& driverName) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buf(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(printer, nullptr, 3, buf.data(), needed, &needed)) {
        Out("driver files: not available\n");
        return;
    }
    auto* di = reinterpret_cast<DRIVER_INFO_3W*>(buf.data());
    std::wstring cap, ini;
    Out("dependent files:\n");
    for (const wchar_t* f = di->pDependentFiles; f && *f; f += wcslen(f) + 1) {
        Out(L"  " + std::wstring(f) + L"\n");
        size_t n = wcslen(f);
        if (n >= 4 && _wcsicmp(f + n - 4, L".cap") == 0)
            cap = f;
        // The configuration file names the plug-in under [OEMFiles].
        if (n >= 4 && _wcsicmp(f + n - 4, L".ini") == 0 &&
            !ReadIni(f, L"OEMFiles", L"OEMConfigFile1").empty())
            ini = f;
    }
    Out(L"capability file: " + (cap.empty() ? L"(none)" : cap) + L"\n");
    Out(L"configuration file: " + (ini.empty() ? L"(none)" : ini) + L"\n");
    if (cap.empty())
        return;
    std::wstring section = ReadIni(cap, L"Capability", driverName);
    Out(L"model section: [" + section + L"] (for driver \"" + driverName + L"\")\n");
    if (section.empty())
        return;
    std::vector<wchar_t> keys(32768);
    DWORD n =
        GetPrivateProfileSectionW(section.c_str(), keys.data(), DWORD(keys.size()), cap.c_str());
    for (const wchar_t* k = keys.data(); k < keys.data() + n && *k; k += wcslen(k) + 1)
        Out(L"  " + std::wstring(k) + L"\n");
}

void PrintTimings(const DriverHost& host) {
    Out("timings (ms):\n");
    char line[160];
    for (const Timing& t : host.timings()) {
        std::snprintf(line, sizeof line, "  %9.3f  %s\n", t.ms, t.what.c_str());
        Out(line);
    }
}

bool SaveBlock(DriverHost& host, const std::wstring& path) {
    std::vector<uint8_t> block = host.OemBlockCopy();
    if (!WriteWholeFile(path, block.data(), block.size()))
        return false;
    Out(L"private block saved to " + path + L"\n");
    return true;
}

std::string FlagsText(DWORD f) {
    std::string s;
    const std::pair<DWORD, const char*> names[] = {
        {OPTIF_COLLAPSE, "collapse"}, {OPTIF_HIDE, "hide"},         {OPTIF_CALLBACK, "callback"},
        {OPTIF_CHANGED, "changed"},   {OPTIF_DISABLED, "disabled"}, {OPTIF_HAS_POIEXT, "oiext"}};
    for (const auto& [bit, name] : names)
        if (f & bit)
            s += (s.empty() ? "" : ",") + std::string(name);
    return s.empty() ? "-" : s;
}

std::string NameText(const OPTITEM& it) {
    ULONG_PTR p = reinterpret_cast<ULONG_PTR>(it.pName);
    if (!p)
        return "(none)";
    if (p < 0x10000)
        return "#" + std::to_string(p);
    return "\"" + Narrow(it.pName) + "\"";
}

void PrintItem(size_t i, const OPTITEM& it, const char* prefix) {
    const USERDATA* ud = reinterpret_cast<const USERDATA*>(it.UserData);
    std::string keyword = ud && ud->pKeyWordName ? ud->pKeyWordName : "";
    std::string sel = std::to_string(it.Sel);
    if (it.pOptType && it.pOptType->Type != TVOT_UDARROW && it.Sel >= 0 &&
        it.Sel < it.pOptType->Count && it.pOptType->pOptParam &&
        reinterpret_cast<ULONG_PTR>(it.pOptType->pOptParam[it.Sel].pData) >= 0x10000)
        sel += " \"" + Narrow(it.pOptType->pOptParam[it.Sel].pData) + "\"";
    char head[64];
    std::snprintf(head, sizeof head, "%s%3zu %-7s ", prefix, i,
                  (it.Flags & OPTIF_HIDE) ? "hidden" : "visible");
    Out(std::string(head) + NameText(it) + (keyword.empty() ? "" : " [" + keyword + "]") + " pub=" +
        std::to_string(it.DMPubID) + (ud ? " id=" + std::to_string(ud->dwItemID) : std::string()) +
        " sel=" + sel + " help=" + std::to_string(it.HelpIndex) +
        " user=" + std::to_string(it.UserItemID) + " flags=" + FlagsText(it.Flags) + "\n");
}

void PrintTree(const char* title, const OptionTree& tree) {
    Out(std::string(title) + ": " + std::to_string(tree.items.size()) + " driver items, " +
        std::to_string(tree.param.cOEMOptItems) + " plug-in items, callback " +
        (tree.param.OEMCUIPCallback ? "set" : "not set") + "\n");
    for (size_t i = 0; i < tree.items.size(); ++i)
        PrintItem(i, tree.items[i], "  ");
    for (size_t i = 0; i < tree.param.cOEMOptItems && i < tree.pluginItems.size(); ++i)
        PrintItem(i, tree.pluginItems[i], "  plug-in ");
}

int Info(const std::wstring& printer, const std::wstring& savePath, bool timings) {
    DriverHost host(gHostOptions);
    std::wstring error;
    if (!host.Load(&error) || !host.OpenPrinter(printer, &error))
        return Error(error);
    DWORD signature = 0, version = 0;
    HRESULT hr = S_OK;
    if (host.GetInfo(OEMGI_GETSIGNATURE, &signature, &hr)) {
        char sig[5] = {char(signature), char(signature >> 8), char(signature >> 16),
                       char(signature >> 24), 0};
        Out("signature: " + Hex(signature) + " \"" + sig + "\"\n");
    } else {
        Out("signature: refused (" + Hex(unsigned(hr)) + ")\n");
    }
    if (host.GetInfo(OEMGI_GETVERSION, &version, &hr))
        Out("version: " + std::to_string(version) + "\n");
    else
        Out("version: refused (" + Hex(unsigned(hr)) + ")\n");
    Out(L"printer: " + printer + L"\ndriver: " + host.driverName() + L"\nPPD: " + host.ppdPath() +
        L"\n");
    Out("PPD: " + std::to_string(host.ppd().features.size()) + " features, FileVersion \"" +
        host.ppd().Attribute("FileVersion") + "\"\n");
    if (!host.PrepareDevMode(&error))
        return Error(error);
    Out("private DEVMODE block: " + std::to_string(host.oemBlockSize()) + " bytes\n");
    // The plug-in learns the model's files in CommonUIProp; the first
    // DEFAULT of a process that has not searched them yet has neither the
    // capability file path nor the model's compression level.
    std::vector<uint8_t> first = host.OemBlockCopy();
    std::wstring treeError;
    bool searched = host.BuildDocumentTree(&treeError) && host.PrepareDevMode(&error);
    std::vector<uint8_t> block = searched ? host.OemBlockCopy() : first;
    Out(searched ? "defaults of a fresh block, with the model's files known (offset width field "
                   "value):\n"
                 : "defaults of a fresh block (offset width field value):\n");
    Out(FormatFields(DecodeOemDevMode(block.data(), block.size())));
    if (searched && first.size() > zd::dm::kCompressionLevel + 1)
        Out("(the process's first DEFAULT, before CommonUIProp: compression level " +
            std::to_string(first[zd::dm::kCompressionLevel]) + ", capability file path " +
            (first[zd::dm::kCapabilityPath] ? "set" : "empty") + ")\n");
    PrintDriverFiles(host.printer(), host.driverName());
    if (!savePath.empty() && !SaveBlock(host, savePath))
        return Error(L"cannot write " + savePath);
    if (timings)
        PrintTimings(host);
    return 0;
}

int Tree(const std::wstring& printer, bool timings) {
    DriverHost host(gHostOptions);
    std::wstring error;
    if (!host.Load(&error) || !host.OpenPrinter(printer, &error) || !host.PrepareDevMode(&error))
        return Error(error);
    bool docOk = host.BuildDocumentTree(&error);
    if (docOk)
        PrintTree("document tree", host.documentTree());
    else
        Out(L"document tree: " + error + L"\n");
    bool devOk = host.BuildDeviceTree(&error);
    if (devOk)
        PrintTree("device tree", host.deviceTree());
    else
        Out(L"device tree: " + error + L"\n");
    if (timings)
        PrintTimings(host);
    return docOk && devOk ? 0 : 1;
}

void PrintSheetReport(Sheet& sheet) {
    Out("pages:\n");
    for (int i = 0; i < sheet.pageCount(); ++i)
        Out(L"  " + std::to_wstring(i) + L" " + sheet.pages()[size_t(i)].title +
            (sheet.pages()[size_t(i)].fromPlugin ? L" (plug-in)" : L" (driver)") + L"\n");
    for (const std::wstring& p : sheet.problems())
        Out(L"problem: " + p + L"\n");
}

bool DisplayPresent() {
    wchar_t buf[8];
    return GetEnvironmentVariableW(L"DISPLAY", buf, 8) > 0 ||
           GetEnvironmentVariableW(L"WAYLAND_DISPLAY", buf, 8) > 0;
}

int SheetCommand(const std::wstring& printer, const std::wstring& savePath, bool timings) {
    HostSession session(gHostOptions);
    std::wstring error;
    if (!session.OpenDocumentSheet(printer, &error))
        return Error(error);
    PrintSheetReport(*session.sheet());
    if (DisplayPresent()) {
        Out("sheet open; close it to end\n");
        std::fflush(stdout);
        session.sheet()->RunUntilClosed();
    } else {
        Out("no display: the sheet was created and is closed again\n");
        session.PressCancel();
        session.sheet()->Close();
    }
    Out(std::string("result: ") + (session.sheet()->result() == CPSUI_OK ? "OK" : "cancelled") +
        "\n");
    if (!savePath.empty() && !SaveBlock(session.host(), savePath))
        return Error(L"cannot write " + savePath);
    if (timings)
        PrintTimings(session.host());
    return 0;
}

std::wstring FileSafe(std::wstring s) {
    for (wchar_t& c : s)
        if (wcschr(L"\\/:*?\"<>| ", c))
            c = L'_';
    return s;
}

// The private block fields a job carries, as the printing side reads them.
void PrintJobFields(const std::vector<uint8_t>& block) {
    zd::ByteView v(const_cast<uint8_t*>(block.data()), block.size());
    Out("job name: \"" + Narrow(v.text16(zd::dm::kJobName, zd::dm::kJobNameUnits)) + "\"\n");
    Out("job password: \"" +
        zd::MaskedPin(v.text16(zd::dm::kJobPassword, zd::dm::kJobPasswordUnits).size()) + "\"\n");
    Out("job type: " + HeldJobText(v.u32(zd::dm::kHeldJob)) + "\n");
    Out("ask job name: " + std::to_string(v.u32(zd::dm::kAskJobName)) + "\n");
}

constexpr uint32_t kJobTypeOfDemoPrompt = 2; // "Secure" in the demo model's PPD

// The prompt at print time, as the driver's document event brings it up for
// a secure job asked at every print.
bool ShootPrintPrompt(const std::wstring& printer, const std::wstring& dir) {
    DriverHost host(gHostOptions);
    std::wstring error;
    if (!host.Load(&error) || !host.OpenPrinter(printer, &error) || !host.PrepareDevMode(&error)) {
        Out(L"print prompt: " + error + L"\n");
        return false;
    }
    zd::ByteView block(host.oemBlock(), host.oemBlockSize());
    block.set_u32(zd::dm::kAskJobName, 1);
    block.set_u32(zd::dm::kHeldJob,
                  zd::HeldJobWord(zd::HeldJobKind::NamedWithPin, kJobTypeOfDemoPrompt));
    bool shot = false;
    AnswerNextDialog([&](HWND dlg) {
        ShowWindow(dlg, SW_SHOWNORMAL);
        TypeInto(dlg, IDC_JS_NAME, L"Quarterly");
        std::wstring path = dir + L"\\print-prompt.png";
        shot = SaveWindowPng(dlg, path, &error);
        Out(shot ? L"wrote " + path + L"\n" : L"print prompt: " + error + L"\n");
        SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    PrintJobResult job;
    bool played = host.PlayCreateDc(&job, false, &error);
    ForgetDialogAnswers();
    return played && shot && job.cancelled;
}

int Shots(const std::wstring& printer, const std::wstring& dir, bool timings) {
    // A printer with a hard disk, so that the held-job button is offered.
    HostOptions options = gHostOptions;
    options.device.selections.emplace("ZDHDD", "True");
    HostSession session(options);
    std::wstring error;
    if (!session.OpenDocumentSheet(printer, &error))
        return Error(error);
    CreateDirectoryW(dir.c_str(), nullptr);
    Sheet& sheet = *session.sheet();
    PrintSheetReport(sheet);
    int failures = 0;
    for (int i = 0; i < sheet.pageCount(); ++i) {
        if (!session.GoToPage(i)) {
            Out("page " + std::to_string(i) + ": cannot be selected\n");
            ++failures;
            continue;
        }
        std::wstring path = dir + L"\\page" + std::to_wstring(i) + L"-" +
                            FileSafe(sheet.pages()[size_t(i)].title) + L".png";
        if (session.Screenshot(path, &error)) {
            Out(L"wrote " + path + L"\n");
        } else {
            Out(L"page " + std::to_wstring(i) + L": " + error + L"\n");
            ++failures;
        }
    }
    // The Finishing page with a staple and holes chosen, as far as the
    // installed options allow them.
    if (session.GoToPage(kFinishingPageIndex) && HasControl(session.page(), IDC_FIN_PICTURE)) {
        session.SelectCombo(IDC_FIN_STAPLE, 1);
        session.SelectCombo(IDC_FIN_PUNCH, 1);
        std::wstring path = dir + L"\\finishing-staple-punch.png";
        if (session.Screenshot(path, &error))
            Out(L"wrote " + path + L"\n");
        else
            ++failures;
    }
    std::vector<std::wstring> problems;
    failures += VisitPluginDialogs(
        session,
        [&](const std::wstring& name, HWND dialog) {
            std::wstring path = dir + L"\\" + name + L".png";
            if (SaveWindowPng(dialog, path, &error))
                Out(L"wrote " + path + L"\n");
            else
                Out(name + L": " + error + L"\n");
        },
        &problems);
    for (const std::wstring& problem : problems)
        Out(problem + L"\n");
    session.PressCancel();
    if (timings)
        PrintTimings(session.host());
    if (!ShootPrintPrompt(printer, dir))
        ++failures;

    // The printer sheet's device page, with the plug-in's auto-detect button.
    HostSession printerSession;
    if (!printerSession.OpenPrinterSheet(printer, &error)) {
        Out(L"printer sheet: " + error + L"\n");
        return 1;
    }
    std::wstring path = dir + L"\\printer0-Device_Settings.png";
    if (printerSession.Screenshot(path, &error)) {
        Out(L"wrote " + path + L"\n");
    } else {
        Out(L"printer sheet: " + error + L"\n");
        ++failures;
    }
    printerSession.PressCancel();
    return failures ? 1 : 0;
}

int DevModeFile(const std::wstring& path) {
    std::string data = ReadWholeFile(path);
    if (data.empty())
        return Error(L"cannot read " + path);
    Out(L"block " + path + L": " + std::to_wstring(data.size()) + L" bytes\n");
    Out(FormatFields(DecodeOemDevMode(reinterpret_cast<const uint8_t*>(data.data()), data.size())));
    return 0;
}

// One job's document events as the driver passes them on: the stored block
// (or the defaults) in the DEVMODE, the device context created, the post
// event. The prompt of a held job asked at every print comes up here.
int Print(const std::wstring& printer, bool timings) {
    DriverHost host(gHostOptions);
    std::wstring error;
    if (!host.Load(&error) || !host.OpenPrinter(printer, &error) || !host.PrepareDevMode(&error))
        return Error(error);
    PrintJobResult job;
    if (!host.PlayCreateDc(&job, false, &error))
        return Error(error);
    if (!job.interface2) {
        Out("the plug-in does not answer IPrintOemUI2: no document events\n");
    } else {
        Out("CREATEDCPRE: " + Hex(unsigned(job.preHr)) + ", result " +
            std::to_string(job.preResult) +
            (job.replacement ? ", the plug-in's DEVMODE\n" : ", the caller's DEVMODE\n"));
        Out("CREATEDCPOST: " + Hex(unsigned(job.postHr)) + ", result " +
            std::to_string(job.postResult) + "\n");
    }
    if (job.cancelled)
        Out("cancelled\n");
    else
        PrintJobFields(job.jobBlock);
    if (timings)
        PrintTimings(host);
    return 0;
}

// The installable options as the device page holds them: keyword and the
// selected option's name.
void PrintInstallableOptions(HostSession& session) {
    static const char* const kInstallable[] = {"ZDHDD",           "ZDOptionDuplex", "ZDOptionTray",
                                               "InstalledMemory", "ZDFinisher",     "ZDOptionMPF",
                                               "ZDPunchUnit"};
    for (const char* keyword : kInstallable) {
        const OPTITEM* item = session.Item(keyword);
        std::string value = "(not in the PPD)";
        if (item && item->pOptType && item->Sel >= 0 && item->Sel < item->pOptType->Count &&
            reinterpret_cast<ULONG_PTR>(item->pOptType->pOptParam[item->Sel].pData) >= 0x10000)
            value = Narrow(item->pOptType->pOptParam[item->Sel].pData);
        char line[128];
        std::snprintf(line, sizeof line, "  %-16s %s\n", keyword, value.c_str());
        Out(line);
    }
}

// The device page of the printer sheet, its auto-detect button pressed as a
// user presses it.
int Detect(const std::wstring& printer, bool timings) {
    HostSession session(gHostOptions);
    std::wstring error;
    if (!session.OpenPrinterSheet(printer, &error))
        return Error(error);
    bool shown = session.Visible(hostctl::PushItem) && session.Enabled(hostctl::PushItem);
    Out(L"auto-detect button: " + std::wstring(shown ? L"shown" : L"not shown") + L"\n");
    // On systems of major version 6 and later the page's activation detects already.
    Out("installable options when the device page opened:\n");
    PrintInstallableOptions(session);
    int status = 0;
    if (shown) {
        session.Click(hostctl::PushItem);
        Out("after pressing auto-detect:\n");
        PrintInstallableOptions(session);
    } else {
        status = 1;
    }
    session.PressCancel();
    if (timings)
        PrintTimings(session.host());
    return status;
}

// The model-file checker over an installed printer's files or over files
// given by path (bare names then lie beside the configuration file).
int Lint(const std::vector<std::wstring>& args) {
    ModelFileSet files;
    std::wstring error, package;
    if (args[1] == L"--package") {
        package = args[2];
    } else if (args.size() == 2) {
        if (!ModelFilesOfPrinter(args[1], &files, &error))
            return Error(error);
    } else {
        files.cap = args[2];
        files.ini = args[3];
        files.ppd = args.size() == 5 ? args[4] : std::wstring();
        size_t slash = files.ini.find_last_of(L"\\/");
        files.filesDir = slash == std::wstring::npos ? L".\\" : files.ini.substr(0, slash + 1);
    }
    // The store section names come from the plug-in's string table.
    std::wstring plugin = gHostOptions.pluginPath;
    if (plugin.empty()) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        plugin = self;
        plugin = plugin.substr(0, plugin.find_last_of(L'\\') + 1) + L"zdui.dll";
    }
    HMODULE resources = LoadLibraryExW(plugin.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::vector<LintFinding> findings =
        package.empty() ? LintModel(files, resources) : LintPackage(package, resources);
    int errors = 0, warnings = 0;
    for (const LintFinding& f : findings) {
        Out(FormatFinding(f) + L"\n");
        errors += f.level == LintLevel::Error;
        warnings += f.level == LintLevel::Warning;
    }
    Out(std::to_string(errors) + " errors, " + std::to_string(warnings) + " warnings\n");
    if (resources)
        FreeLibrary(resources);
    return LintExitStatus(findings);
}

// KEYWORD=OPTION, both 8-bit keywords of the PPD.
void AddInstalledOption(const std::wstring& pair) {
    const size_t eq = pair.find(L'=');
    gHostOptions.device.selections[Narrow(pair.substr(0, eq).c_str())] =
        Narrow(pair.substr(eq + 1).c_str());
}

int Usage() {
    std::fputs("usage: drvhost info PRINTER [--save-devmode FILE] | tree PRINTER |\n"
               "       sheet PRINTER [--save-devmode FILE] | shots PRINTER DIR |\n"
               "       devmode FILE | detect PRINTER | print PRINTER [--devmode FILE] |\n"
               "       lint PRINTER | lint --files CAP INI [PPD] | lint --package DIR|INF\n"
               "       [--timings] [--plugin DLL] [--installed KEYWORD=OPTION]...\n",
               stderr);
    return 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args;
    bool timings = false;
    std::wstring savePath, devmodePath;
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--timings")
            timings = true;
        else if (a == L"--save-devmode" && i + 1 < argc)
            savePath = argv[++i];
        else if (a == L"--devmode" && i + 1 < argc)
            devmodePath = argv[++i];
        else if (a == L"--plugin" && i + 1 < argc)
            gHostOptions.pluginPath = argv[++i];
        else if (a == L"--installed" && i + 1 < argc && wcschr(argv[i + 1], L'='))
            AddInstalledOption(argv[++i]);
        else
            args.push_back(a);
    }
    if (args.size() < 2)
        return Usage();
    const std::wstring& cmd = args[0];
    if (cmd == L"info" && args.size() == 2)
        return Info(args[1], savePath, timings);
    if (cmd == L"tree" && args.size() == 2)
        return Tree(args[1], timings);
    if (cmd == L"sheet" && args.size() == 2)
        return SheetCommand(args[1], savePath, timings);
    if (cmd == L"shots" && args.size() == 3)
        return Shots(args[1], args[2], timings);
    if (cmd == L"devmode" && args.size() == 2)
        return DevModeFile(args[1]);
    if (cmd == L"print" && args.size() == 2) {
        if (!devmodePath.empty()) {
            std::string block = ReadWholeFile(devmodePath);
            if (block.empty())
                return Error(L"cannot read " + devmodePath);
            gHostOptions.storedBlock.assign(block.begin(), block.end());
        }
        return Print(args[1], timings);
    }
    if (cmd == L"detect" && args.size() == 2)
        return Detect(args[1], timings);
    if (cmd == L"lint" &&
        (args.size() == 2 || (args[1] == L"--files" && (args.size() == 4 || args.size() == 5)) ||
         (args[1] == L"--package" && args.size() == 3)))
        return Lint(args);
    return Usage();
}
