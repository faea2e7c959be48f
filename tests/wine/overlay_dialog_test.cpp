// The overlay dialog and the overlay definition dialog, opened with the Job
// Options page's button in the emulated driver's sheet over the demo
// printer: what reaches the private block, the driver and the store's two
// section families, for users with and without the right to write printer
// data.
#include "plugin/oemui_plugin.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "drvhost_api.h"
#include "overlay/overlay_dialog.h"
#include "overlay/overlay_record.h"
#include "resources/resource.h"
#include "plugin_sheet_test.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace drvhost;
using Names = std::vector<std::wstring>;
using Indexes = std::vector<uint16_t>;

constexpr int kComboEdit = 1001; // the edit field of a drop-down combo box
const wchar_t kPrinter[] = L"zd overlays";
const wchar_t kNoRightsPrinter[] = L"zd overlays no rights";
const wchar_t kCreateNotice[] =
    L"当选定'创建叠加打印'时，在准备EPS时自动设置一个'PostScript 输出选项'。\n "
    L"当您取消'创建叠加打印'时，也应该改变PostScript输出选项。";
const wchar_t kSaveFailed[] = L"无法保存叠加打印设置。\n请确认配置文件可以写入。";

struct Def {
    std::wstring name;
    int pageMode;
    std::wstring pages;
    Names forms;
};

// A list section and its definition sections.
std::wstring Family(const std::wstring& list, const std::wstring& prefix,
                    const std::vector<Def>& defs, const Names& history = {}) {
    std::wstring s = L"[" + list + L"]\r\nOverlay_Num=" + std::to_wstring(defs.size()) +
                     L"\r\nHistory_Num=" + std::to_wstring(history.size()) + L"\r\n";
    for (size_t i = 0; i < history.size(); ++i)
        s += L"History " + std::to_wstring(i) + L"=" + history[i] + L"\r\n";
    for (size_t n = 0; n < defs.size(); ++n) {
        s += L"[" + prefix + std::to_wstring(n) + L"]\r\nOverlay_Name=" + defs[n].name +
             L"\r\nPageMode=" + std::to_wstring(defs[n].pageMode) + L"\r\nCustomPage=" +
             defs[n].pages + L"\r\nForm_Num=" + std::to_wstring(defs[n].forms.size()) + L"\r\n";
        for (size_t f = 0; f < defs[n].forms.size(); ++f)
            s += L"Form_Name " + std::to_wstring(f) + L"=" + defs[n].forms[f] + L"\r\n";
    }
    return s;
}

std::wstring Committed(const std::vector<Def>& defs, const Names& history = {}) {
    return Family(L"OverlaySetting", L"Overlay_Info ", defs, history);
}

// Another sheet's working sections, left in the file.
const std::wstring kLeftovers =
    Family(L"OverlaySetting_Sv", L"Overlay_Info_Sv ", {{L"Stale", 0, L"", {L"S"}}});
const std::vector<Def> kABC = {
    {L"A", 0, L"", {L"FormA"}}, {L"B", 4, L"1,3", {L"FormB"}}, {L"C", 2, L"", {L"FormC"}}};

Names Column(HWND dlg, int id) {
    Names names;
    for (const auto& row : ListViewRows(dlg, id))
        names.push_back(row.at(0));
    return names;
}

void Pick(HWND dlg, int list, std::vector<int> items, int button) {
    SelectListViewItems(dlg, list, items);
    ClickControl(dlg, button);
}

// Answers the next message box with OK, keeping its text and caption.
void AnswerMessage(std::wstring* text, std::wstring* caption = nullptr) {
    AnswerNextDialog([text, caption](HWND box) {
        *text = MessageBoxText(box);
        WCHAR buf[64] = {};
        GetWindowTextW(box, buf, 64);
        if (caption)
            *caption = buf;
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
}

void TypeForm(HWND def, const std::wstring& text) {
    TypeInto(GetDlgItem(def, IDC_OD_FORM), kComboEdit, text);
}

// Holds a file open without sharing: the profile functions cannot write it.
struct FileLock {
    explicit FileLock(const std::wstring& path)
        : handle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~FileLock() { CloseHandle(handle); }
    HANDLE handle;
};

// Busy blocks of the overlay records' sizes in the process heap.
int OverlayRecordBlocks() {
    PROCESS_HEAP_ENTRY e = {};
    int n = 0;
    while (HeapWalk(GetProcessHeap(), &e))
        n += (e.wFlags & PROCESS_HEAP_ENTRY_BUSY) &&
             (e.cbData == sizeof(zd::OverlayDefinition) || e.cbData == sizeof(zd::OverlayList));
    return n;
}

class OverlayDialog : public zdtest::PluginSheetTest {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        for (const wchar_t* printer : {kPrinter, kNoRightsPrinter})
            ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(printer)));
    }

    // The document sheet on the Job Options page (or only the option tree);
    // an earlier session goes first.
    void Open(HostOptions options = {}, const wchar_t* printer = kPrinter, bool sheet = true) {
        StartSession(std::move(options));
        ASSERT_TRUE(session_->PrepareDocument(printer));
        if (sheet) {
            ASSERT_TRUE(session_->OpenDocumentSheet(printer));
            ASSERT_TRUE(session_->GoToPage(3));
        }
        session_->host().ClearUpdateCalls();
    }

    // Opens the overlay dialog with the page's button and runs `steps` in it;
    // `unanswered` answers were queued for dialogs that must not appear.
    void InDialog(std::function<void(HWND)> steps, int unanswered = 0) {
        ActInNextDialog(std::move(steps));
        ASSERT_TRUE(session_->Click(IDC_JO_OVERLAY));
        EXPECT_EQ(PendingDialogAnswers(), unanswered);
        ForgetDialogAnswers();
    }

    std::wstring ConfigPath() { return zdtest::DriverFilesDir() + L"\\zdcp95.ini"; }
    // The first section makes the file the plug-in's configuration file.
    void WriteStore(const std::wstring& text) {
        ASSERT_TRUE(zdtest::WriteTextFile(ConfigPath(),
                                          L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n" + text));
    }
    std::string ConfigBytes() { return ReadWholeFile(ConfigPath()); }
    std::wstring Ini(const wchar_t* section, const wchar_t* key) {
        return ReadIni(ConfigPath(), section, key);
    }
    // The document's overlay index list: bytes 72..79 of the private block.
    Indexes DocumentOverlays() {
        std::vector<uint8_t> b = session_->PrivateBlock();
        Indexes v;
        for (size_t i = 72; i < 80; i += 2)
            v.push_back(uint16_t(b.at(i) | b.at(i + 1) << 8));
        return v;
    }
    void SetDocumentOverlays(Indexes v) {
        for (size_t i = 0; i < v.size(); ++i) {
            session_->host().oemBlock()[72 + 2 * i] = uint8_t(v[i]);
            session_->host().oemBlock()[73 + 2 * i] = uint8_t(v[i] >> 8);
        }
    }
};

// The document stored the mode that only users without the right to write
// printer data are offered: no entry shows it, and OK keeps it.
TEST_F(OverlayDialog, ChosenOverlaysReachTheBlockAndTheDriver) {
    std::vector<Def> six = kABC;
    for (const wchar_t* name : {L"D", L"E", L"F"})
        six.push_back({name, 1, L"", {L"Form"}});
    WriteStore(Committed(six));
    HostOptions options;
    options.document.selections["ZDOverlay"] = "Register";
    Open(options);
    InDialog([&](HWND dlg) {
        EXPECT_EQ(ListEntries(dlg, IDC_OV_MODE), (Names{L"Off", L"Print Overlay"}));
        EXPECT_EQ(SendDlgItemMessageW(dlg, IDC_OV_MODE, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(ControlText(dlg, IDC_OV_CURRENT_LIMIT), L"(最多4)");
        EXPECT_EQ(ControlText(dlg, IDC_OV_DEFINED_LIMIT), L"(最多32)");
        auto rows = ListViewRows(dlg, IDC_OV_DEFINED_LIST);
        ASSERT_EQ(rows.size(), 6u);
        EXPECT_EQ(rows[1], (Names{L"B", L"1,3"}));
        EXPECT_EQ(rows[2], (Names{L"C", L"奇数页"}));
        Pick(dlg, IDC_OV_DEFINED_LIST, {2}, IDC_OV_ADD);
        Pick(dlg, IDC_OV_DEFINED_LIST, {0}, IDC_OV_ADD);
        // Three more would make five: the button and the command refuse.
        SelectListViewItems(dlg, IDC_OV_DEFINED_LIST, {1, 3, 4});
        EXPECT_FALSE(IsEnabled(dlg, IDC_OV_ADD));
        SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_OV_ADD, BN_CLICKED), 0);
        EXPECT_EQ(Column(dlg, IDC_OV_CURRENT_LIST), (Names{L"C", L"A"}));
        Pick(dlg, IDC_OV_DEFINED_LIST, {3, 1}, IDC_OV_ADD);
        Pick(dlg, IDC_OV_CURRENT_LIST, {1}, IDC_OV_REMOVE);
        EXPECT_EQ(Column(dlg, IDC_OV_CURRENT_LIST), (Names{L"C", L"B", L"D"}));
        ClickControl(dlg, IDOK);
    });
    EXPECT_EQ(DocumentOverlays(), (Indexes{2, 1, 3, 255}));
    int overlayCalls = 0;
    for (const UpdateCall& call : session_->UpdateCalls()) {
        if (call.item != int(Ctx().slots[zd::slot::Overlay]))
            continue;
        ++overlayCalls;
        EXPECT_EQ(call.newSel, 2);
    }
    EXPECT_EQ(overlayCalls, 1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(session_->sheetWindow(), 0x3021))); // Apply
}

// Definitions 0..4 with the document's overlays 4, 1, 0: deleting 1 and 3
// leaves the overlays that were 4 and 0. The dialog's OK writes the working
// sections; only the sheet's OK commits them.
TEST_F(OverlayDialog, DeleteRenumbersAndOnlyTheSheetsOkCommits) {
    std::vector<Def> five;
    for (int n = 0; n < 5; ++n)
        five.push_back({L"D" + std::to_wstring(n), 0, L"", {L"F"}});
    WriteStore(Committed(five));
    for (bool sheetOk : {false, true}) {
        Open();
        SetDocumentOverlays({4, 1, 0, 255});
        InDialog([&](HWND dlg) {
            EXPECT_EQ(Column(dlg, IDC_OV_CURRENT_LIST), (Names{L"D4", L"D1", L"D0"}));
            Pick(dlg, IDC_OV_DEFINED_LIST, {1, 3}, IDC_OV_DELETE);
            EXPECT_EQ(Column(dlg, IDC_OV_DEFINED_LIST), (Names{L"D0", L"D2", L"D4"}));
            EXPECT_EQ(Column(dlg, IDC_OV_CURRENT_LIST), (Names{L"D4", L"D0"}));
            ClickControl(dlg, IDOK);
        });
        EXPECT_EQ(DocumentOverlays(), (Indexes{2, 0, 255, 255}));
        EXPECT_EQ(Ini(L"Overlay_Info_Sv 1", L"Overlay_Name"), L"D2");
        EXPECT_EQ(Ini(L"OverlaySetting", L"Overlay_Num"), L"5");
        ASSERT_TRUE(sheetOk ? session_->PressOk() : session_->PressCancel());
        EXPECT_EQ(Ini(L"OverlaySetting", L"Overlay_Num"), sheetOk ? L"3" : L"5");
        EXPECT_EQ(Ini(L"Overlay_Info 1", L"Overlay_Name"), sheetOk ? L"D2" : L"D1");
    }
}

// A cancelled dialog changes nothing, not even the definitions it deleted:
// the next opening shows the committed ones (never another sheet's working
// sections) and the sheet's OK commits them with the document's choice.
TEST_F(OverlayDialog, CancelledDialogLeavesBlockDriverAndStore) {
    WriteStore(Committed(kABC) + kLeftovers);
    Open();
    SetDocumentOverlays({2, 0, 255, 255});
    InDialog([&](HWND dlg) {
        EXPECT_EQ(Column(dlg, IDC_OV_DEFINED_LIST), (Names{L"A", L"B", L"C"}));
        Pick(dlg, IDC_OV_DEFINED_LIST, {0}, IDC_OV_DELETE);
        EXPECT_EQ(Column(dlg, IDC_OV_CURRENT_LIST), (Names{L"C"}));
    });
    const std::string file = ConfigBytes();
    const std::vector<uint8_t> block = session_->PrivateBlock();
    InDialog([&](HWND dlg) {
        EXPECT_EQ(Column(dlg, IDC_OV_DEFINED_LIST), (Names{L"A", L"B", L"C"}));
        EXPECT_EQ(Column(dlg, IDC_OV_CURRENT_LIST), (Names{L"C", L"A"}));
        Pick(dlg, IDC_OV_DEFINED_LIST, {1}, IDC_OV_ADD);
        SelectComboEntry(dlg, IDC_OV_MODE, 1);
    });
    EXPECT_EQ(session_->PrivateBlock(), block);
    EXPECT_TRUE(session_->UpdateCalls().empty());
    EXPECT_EQ(ConfigBytes(), file);
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(Ini(L"OverlaySetting", L"Overlay_Num"), L"3");
    EXPECT_EQ(Ini(L"Overlay_Info 0", L"Overlay_Name"), L"A");
    EXPECT_EQ(DocumentOverlays(), (Indexes{2, 0, 255, 255}));
}

TEST_F(OverlayDialog, NewDefinitionFromAnEmptyStore) {
    WriteStore(L"");
    Open();
    // Texts two characters longer than the store keeps, no two neighbours
    // alike, so that what is kept shows which characters were taken.
    std::wstring typedName, typedPages, typedForm;
    for (wchar_t c = 0; c < 65; ++c)
        typedName += wchar_t(L'一' + c);
    for (int page = 1; typedPages.size() < 256; ++page)
        typedPages += std::to_wstring(page) + L",";
    typedPages.resize(256);
    for (const wchar_t* part :
         {L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", L"abcdefghijklmnopqrstuvwxyz", L"0123456789", L"XYZ"})
        typedForm += part;
    const std::wstring name = typedName.substr(0, 63), pages = typedPages.substr(0, 254),
                       form = typedForm.substr(0, 63);
    InDialog([&](HWND dlg) {
        EXPECT_FALSE(IsEnabled(dlg, IDC_OV_EDIT));
        ActInNextDialog([&](HWND def) {
            EXPECT_EQ(ControlText(def, IDC_OD_NAME), L"新建叠加打印");
            // The fields take what the store keeps, so nothing is cut later.
            TypeInto(def, IDC_OD_NAME, typedName);
            EXPECT_EQ(ControlText(def, IDC_OD_NAME), name);
            TypeInto(def, IDC_OD_PAGES, typedPages);
            EXPECT_EQ(ControlText(def, IDC_OD_PAGES), pages);
            EXPECT_EQ(ControlText(def, IDC_OD_RANGE), L"自定义");
            TypeForm(def, L"Letter Head(1)");
            EXPECT_EQ(ControlText(def, IDC_OD_FORM), L"LetterHead1");
            ClickControl(def, IDC_OD_FORM_ADD);
            EXPECT_EQ(ListEntries(def, IDC_OD_FORMS), (Names{L"LetterHead1"}));
            TypeForm(def, typedForm);
            EXPECT_EQ(ControlText(def, IDC_OD_FORM), form);
            ClickControl(def, IDC_OD_FORM_ADD);
            EXPECT_EQ(ListEntries(def, IDC_OD_FORMS), (Names{L"LetterHead1", form}));
            ClickControl(def, IDOK);
        });
        ClickControl(dlg, IDC_OV_NEW);
        EXPECT_EQ(ListViewRows(dlg, IDC_OV_DEFINED_LIST), (std::vector<Names>{{name, pages}}));
        ClickControl(dlg, IDOK);
    });
    // Nothing was defined when the dialog opened: it wrote the committed sections.
    EXPECT_EQ(Ini(L"OverlaySetting", L"History 0"), form);
    EXPECT_EQ(Ini(L"OverlaySetting", L"History 1"), L"LetterHead1");
    EXPECT_EQ(Ini(L"Overlay_Info 0", L"Overlay_Name"), name);
    EXPECT_EQ(Ini(L"Overlay_Info 0", L"PageMode"), L"4");
    EXPECT_EQ(Ini(L"Overlay_Info 0", L"CustomPage"), pages);
    EXPECT_EQ(Ini(L"Overlay_Info 0", L"Form_Name 0"), L"LetterHead1");
    EXPECT_EQ(Ini(L"Overlay_Info 0", L"Form_Name 1"), form);
}

TEST_F(OverlayDialog, DefinitionRefusesClashAndNoFormAndFiltersThePageList) {
    WriteStore(Committed({{L"A", 0, L"", {L"F"}}, {L"B", 1, L"", {}}}));
    Open();
    InDialog([&](HWND dlg) {
        ActInNextDialog([&](HWND def) {
            std::wstring message;
            TypeInto(def, IDC_OD_NAME, L"A");
            AnswerMessage(&message);
            ClickControl(def, IDOK);
            EXPECT_EQ(message, L"存在同名的组名称。\n改为另一个名称。");
            EXPECT_EQ(GetFocus(), GetDlgItem(def, IDC_OD_NAME));
            TypeInto(def, IDC_OD_NAME, L"B2");
            AnswerMessage(&message);
            ClickControl(def, IDOK);
            EXPECT_EQ(message, L"输入叠加打印名称，并将其添加到已定义的叠加打印列表。");

            TypeInto(def, IDC_OD_PAGES, L"01,,3-4-5x");
            EXPECT_EQ(ControlText(def, IDC_OD_PAGES), L"1,3-45");
            DWORD caret = 0;
            SendDlgItemMessageW(def, IDC_OD_PAGES, EM_GETSEL, WPARAM(&caret), 0);
            EXPECT_EQ(caret, 6u);
            EXPECT_EQ(ControlText(def, IDC_OD_RANGE), L"自定义");
            TypeInto(def, IDC_OD_PAGES, L"");
            EXPECT_EQ(ControlText(def, IDC_OD_RANGE), L"所有页");
            TypeInto(def, IDC_OD_PAGES, L"7");
            SelectComboEntry(def, IDC_OD_RANGE, 2);
            EXPECT_EQ(ControlText(def, IDC_OD_PAGES), L"");
            // Custom pages without a page list are stored as all pages.
            SelectComboEntry(def, IDC_OD_RANGE, 4);
            TypeForm(def, L"G");
            ClickControl(def, IDC_OD_FORM_ADD);
            ClickControl(def, IDOK);
        });
        Pick(dlg, IDC_OV_DEFINED_LIST, {1}, IDC_OV_EDIT);
        EXPECT_EQ(ListViewRows(dlg, IDC_OV_DEFINED_LIST).at(1), (Names{L"B2", L"所有页"}));
        ClickControl(dlg, IDOK);
    });
    EXPECT_EQ(Ini(L"Overlay_Info_Sv 1", L"PageMode"), L"0");
}

TEST_F(OverlayDialog, FormHistoryMovesNamesToTheFrontAndKeepsTen) {
    Names history;
    for (int i = 0; i < 10; ++i)
        history.push_back(L"H" + std::to_wstring(i));
    WriteStore(Committed({{L"A", 0, L"", {L"F"}}}, history));
    Open();
    InDialog([&](HWND dlg) {
        ActInNextDialog([&](HWND def) {
            EXPECT_EQ(ListEntries(def, IDC_OD_FORM), history);
            TypeForm(def, L"H5");
            ClickControl(def, IDC_OD_FORM_ADD);
            EXPECT_EQ(ListEntries(def, IDC_OD_FORM), (Names{L"H5", L"H0", L"H1", L"H2", L"H3",
                                                            L"H4", L"H6", L"H7", L"H8", L"H9"}));
            SelectListEntry(def, IDC_OD_FORMS, 0);
            EXPECT_EQ(ControlText(def, IDC_OD_FORM), L"F");
            TypeForm(def, L"R");
            ClickControl(def, IDC_OD_FORM_RENAME);
            EXPECT_EQ(ListEntries(def, IDC_OD_FORMS), (Names{L"R", L"H5"}));
            ClickControl(def, IDOK);
        });
        Pick(dlg, IDC_OV_DEFINED_LIST, {0}, IDC_OV_EDIT);
        ClickControl(dlg, IDOK);
    });
    EXPECT_EQ(Ini(L"OverlaySetting_Sv", L"History_Num"), L"10");
    EXPECT_EQ(Ini(L"OverlaySetting_Sv", L"History 0"), L"R");
    EXPECT_EQ(Ini(L"OverlaySetting_Sv", L"History 9"), L"H8");
}

// A user who may not write printer data reads the committed definitions,
// cannot change them, is offered the last mode and never writes the store.
// Choosing that mode tells what it does every time; on OK the driver gets
// the PostScript output option last.
TEST_F(OverlayDialog, WithoutPrinterDataRightsOnlyTheDocumentsChoiceChanges) {
    WriteStore(Committed(kABC) + kLeftovers);
    HostOptions options;
    options.printerDataReadOnly = true;
    Open(options, kNoRightsPrinter);
    EXPECT_EQ(zd::Process().printerDataWritable, 0u);
    const std::string file = ConfigBytes();
    InDialog([&](HWND dlg) {
        for (int id : {IDC_OV_NEW, IDC_OV_EDIT, IDC_OV_DELETE})
            EXPECT_FALSE(HasControl(dlg, id)) << id;
        EXPECT_EQ(Column(dlg, IDC_OV_DEFINED_LIST), (Names{L"A", L"B", L"C"}));
        for (int i = 0; i < 2; ++i) {
            std::wstring message, caption;
            AnswerMessage(&message, &caption);
            SelectComboEntry(dlg, IDC_OV_MODE, 2);
            EXPECT_EQ(message, kCreateNotice);
            EXPECT_EQ(caption, L"信息");
        }
        Pick(dlg, IDC_OV_DEFINED_LIST, {1}, IDC_OV_ADD);
        ClickControl(dlg, IDOK);
    });
    EXPECT_EQ(DocumentOverlays(), (Indexes{1, 255, 255, 255}));
    const auto& calls = session_->UpdateCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.back().item, int(Ctx().slots[zd::slot::PsOutputOption]));
    EXPECT_EQ(calls.back().newSel, 2);
    EXPECT_EQ(calls[calls.size() - 2].item, int(Ctx().slots[zd::slot::Overlay]));
    EXPECT_EQ(calls[calls.size() - 2].newSel, 2);
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(ConfigBytes(), file);

    // A document that forbids changes leaves only Cancel usable.
    options = {};
    options.pageFlags = DM_NOPERMISSION;
    Open(options);
    ActInNextDialog([&](HWND dlg) {
        for (int id = IDC_OV_MODE; id <= IDC_OV_DELETE; ++id)
            EXPECT_FALSE(IsEnabled(dlg, id)) << id;
    });
    EXPECT_EQ(zd::RunOverlayDialog(session_->page(), &Ctx()), 0);
}

// A store that cannot be written is told once, at the dialog's OK and at the
// sheet's Apply; the records stay and the sheet's OK commits them later.
TEST_F(OverlayDialog, AFailedWriteIsToldOnceAndTheRecordsAreKept) {
    WriteStore(Committed(kABC));
    Open();
    std::wstring message, second;
    InDialog(
        [&](HWND dlg) {
            Pick(dlg, IDC_OV_DEFINED_LIST, {1}, IDC_OV_DELETE);
            FileLock lock(ConfigPath());
            AnswerMessage(&message);
            AnswerMessage(&second);
            ClickControl(dlg, IDOK);
        },
        1);
    EXPECT_EQ(message, kSaveFailed);
    EXPECT_EQ(DocumentOverlays(), (Indexes{255, 255, 255, 255}));
    // The next opening starts from the records the sheet kept, not the file.
    InDialog([&](HWND dlg) {
        EXPECT_EQ(Column(dlg, IDC_OV_DEFINED_LIST), (Names{L"A", L"C"}));
        ClickControl(dlg, IDCANCEL);
    });
    {
        FileLock lock(ConfigPath());
        message.clear();
        AnswerMessage(&message);
        AnswerMessage(&second);
        ASSERT_TRUE(session_->PressApply());
    }
    EXPECT_EQ(message, kSaveFailed);
    EXPECT_EQ(PendingDialogAnswers(), 1);
    ForgetDialogAnswers();
    EXPECT_EQ(Ini(L"OverlaySetting", L"Overlay_Num"), L"3");
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(Ini(L"OverlaySetting", L"Overlay_Num"), L"2");
    EXPECT_EQ(Ini(L"Overlay_Info 1", L"Overlay_Name"), L"C");
}

// Holds a file open for reading only: the profile functions can read it
// but not write it.
struct WriteLock {
    explicit WriteLock(const std::wstring& path)
        : handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                             nullptr)) {}
    ~WriteLock() { CloseHandle(handle); }
    HANDLE handle;
};

// When the working sections could not be written at opening, the dialog's
// OK writes them, never the committed ones: the sheet's Cancel still undoes.
TEST_F(OverlayDialog, AFailedMoveAtOpeningLeavesTheCommittedSectionsToTheSheet) {
    WriteStore(Committed(kABC));
    Open();
    auto lock = std::make_unique<WriteLock>(ConfigPath());
    InDialog([&](HWND dlg) {
        lock.reset();
        EXPECT_EQ(Column(dlg, IDC_OV_DEFINED_LIST), (Names{L"A", L"B", L"C"}));
        Pick(dlg, IDC_OV_DEFINED_LIST, {1}, IDC_OV_DELETE);
        ClickControl(dlg, IDOK);
    });
    EXPECT_EQ(Ini(L"OverlaySetting_Sv", L"Overlay_Num"), L"2");
    EXPECT_EQ(Ini(L"OverlaySetting", L"Overlay_Num"), L"3");
    ASSERT_TRUE(session_->PressCancel());
    EXPECT_EQ(Ini(L"OverlaySetting", L"Overlay_Num"), L"3");
    EXPECT_EQ(Ini(L"Overlay_Info 1", L"Overlay_Name"), L"B");
}

// Two sheets of one printer: the second one's edits of the working
// sections do not become the first one's definitions.
TEST_F(OverlayDialog, AnotherSheetsEditsStayOutOfThisSheet) {
    WriteStore(Committed(kABC));
    Open();
    InDialog([&](HWND dlg) {
        Pick(dlg, IDC_OV_DEFINED_LIST, {2}, IDC_OV_ADD);
        ClickControl(dlg, IDOK);
    });
    EXPECT_EQ(DocumentOverlays(), (Indexes{2, 255, 255, 255}));

    auto* otherPlugin = new zd::OemUiPlugin();
    {
        HostSession other;
        ASSERT_TRUE(other.host().Attach(otherPlugin, nullptr));
        ASSERT_TRUE(other.OpenDocumentSheet(kPrinter));
        ASSERT_TRUE(other.GoToPage(3));
        ActInNextDialog([](HWND dlg) {
            Pick(dlg, IDC_OV_DEFINED_LIST, {0}, IDC_OV_DELETE);
            ClickControl(dlg, IDOK);
        });
        ASSERT_TRUE(other.Click(IDC_JO_OVERLAY));
        EXPECT_EQ(Ini(L"Overlay_Info_Sv 0", L"Overlay_Name"), L"B");
        other.sheet()->Close();
        otherPlugin->Release();
    }

    InDialog([&](HWND dlg) {
        EXPECT_EQ(Column(dlg, IDC_OV_DEFINED_LIST), (Names{L"A", L"B", L"C"}));
        EXPECT_EQ(Column(dlg, IDC_OV_CURRENT_LIST), (Names{L"C"}));
        ClickControl(dlg, IDOK);
    });
    EXPECT_EQ(DocumentOverlays(), (Indexes{2, 255, 255, 255}));
    ASSERT_TRUE(session_->PressOk());
    EXPECT_EQ(Ini(L"Overlay_Info 2", L"Overlay_Name"), L"C");
}

// Records of a sheet that never saw apply or cancel go with the object.
TEST_F(OverlayDialog, RecordsGoWithTheObject) {
    WriteStore(Committed(kABC));
    const int before = OverlayRecordBlocks();
    Open({}, kPrinter, false);
    ActInNextDialog([](HWND dlg) { ClickControl(dlg, IDOK); });
    EXPECT_EQ(zd::RunOverlayDialog(nullptr, &Ctx()), 1);
    EXPECT_EQ(OverlayRecordBlocks(), before + 4);
    TearDown();
    EXPECT_EQ(OverlayRecordBlocks(), before);
}

} // namespace
