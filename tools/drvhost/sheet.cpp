#include "sheet.h"

#include <algorithm>

namespace drvhost {

namespace {

enum PageKind { kLayout, kPaperQuality, kTree, kDevice };

// A dialog template in memory (DLGTEMPLATE with DS_SETFONT and its items).
class TemplateWriter {
  public:
    TemplateWriter(const wchar_t* title, short cx, short cy) {
        DWORD style = WS_CHILD | WS_CAPTION | DS_SETFONT | DS_CONTROL;
        Dword(style);
        Dword(0);
        countAt_ = words_.size();
        Word(0);
        Word(0), Word(0), Word(WORD(cx)), Word(WORD(cy));
        Word(0); // menu
        Word(0); // class
        Text(title);
        Word(8);
        Text(L"MS Shell Dlg");
    }
    void Control(WORD atom, int id, const wchar_t* text, DWORD style, short x, short y, short cx,
                 short cy) {
        while (words_.size() % 2)
            Word(0);
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Word(WORD(x)), Word(WORD(y)), Word(WORD(cx)), Word(WORD(cy));
        Word(WORD(id));
        Word(0xFFFF);
        Word(atom);
        Text(text);
        Word(0);
        ++words_[countAt_];
    }
    std::vector<WORD> take() { return std::move(words_); }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const wchar_t* s) {
        for (; *s; ++s)
            Word(WORD(*s));
        Word(0);
    }
    std::vector<WORD> words_;
    size_t countAt_ = 0;
};

constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kComboBox = 0x85;

std::vector<WORD> PageTemplate(const wchar_t* title, int kind) {
    TemplateWriter t(title, 299, 264);
    t.Control(kStatic, 100,
              kind == kTree     ? L"Document options (the driver's advanced tree):"
              : kind == kDevice ? L"Device settings:"
                                : L"Settings:",
              SS_LEFT, 7, 7, 280, 9);
    t.Control(kListBox, hostctl::ItemList, L"",
              LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 18, 170,
              200);
    t.Control(kStatic, hostctl::ItemLabel, L"", SS_LEFT, 184, 18, 108, 18);
    t.Control(kComboBox, hostctl::OptionCombo, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 184,
              38, 108, 120);
    t.Control(kEdit, hostctl::ValueEdit, L"", ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
              184, 56, 60, 12);
    t.Control(kButton, hostctl::SetValue, L"Set", BS_PUSHBUTTON | WS_TABSTOP, 248, 55, 44, 14);
    if (kind == kDevice)
        t.Control(kButton, hostctl::PushItem, L"", BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, 7, 224,
                  200, 14);
    return t.take();
}

std::wstring ItemName(const OPTITEM& it, const PlanItem* plan) {
    if (plan)
        return std::wstring(plan->name.begin(), plan->name.end());
    ULONG_PTR p = reinterpret_cast<ULONG_PTR>(it.pName);
    if (p == 0)
        return L"(no name)";
    if (p < 0x10000)
        return L"(string " + std::to_wstring(p) + L")";
    return it.pName;
}

std::wstring OptionName(const OPTITEM& it, LONG sel) {
    if (!it.pOptType || !it.pOptType->pOptParam)
        return L"";
    if (it.pOptType->Type == TVOT_UDARROW || it.pOptType->Type == TVOT_TRACKBAR ||
        it.pOptType->Type == TVOT_SCROLLBAR)
        return std::to_wstring(sel);
    if (sel < 0 || sel >= it.pOptType->Count)
        return L"(" + std::to_wstring(sel) + L")";
    const wchar_t* d = it.pOptType->pOptParam[sel].pData;
    ULONG_PTR p = reinterpret_cast<ULONG_PTR>(d);
    return p == 0 ? L"" : p < 0x10000 ? L"(string " + std::to_wstring(p) + L")" : std::wstring(d);
}

bool ItemOnPage(int kind, const PlanItem& p) {
    switch (kind) {
    case kLayout:
        return p.dmPubId == pub::Orientation || p.dmPubId == pub::Duplex ||
               p.dmPubId == pub::PagesPerSheet;
    case kPaperQuality:
        return p.dmPubId == pub::FormName || p.dmPubId == pub::PrintQuality ||
               p.dmPubId == pub::Color;
    default:
        return p.kind != ItemKind::Header;
    }
}

} // namespace

struct HostPage {
    Sheet* sheet = nullptr;
    int kind = kLayout;
    std::vector<int> shown; // driver item index per list row
    bool filling = false;
};

namespace {

OPTITEM* SelectedItem(HWND dlg, HostPage* page, int* index = nullptr) {
    int row = int(SendDlgItemMessageW(dlg, hostctl::ItemList, LB_GETCURSEL, 0, 0));
    if (row < 0 || size_t(row) >= page->shown.size())
        return nullptr;
    int i = page->shown[size_t(row)];
    if (index)
        *index = i;
    return &page->sheet->tree().items[size_t(i)];
}

void ShowSelectedItem(HWND dlg, HostPage* page) {
    page->filling = true;
    OPTITEM* it = SelectedItem(dlg, page);
    HWND combo = GetDlgItem(dlg, hostctl::OptionCombo);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    bool upDown = it && it->pOptType && it->pOptType->Type == TVOT_UDARROW;
    bool list = it && it->pOptType && !upDown;
    SetDlgItemTextW(dlg, hostctl::ItemLabel, it ? ItemName(*it, nullptr).c_str() : L"");
    if (list) {
        for (WORD k = 0; k < it->pOptType->Count; ++k) {
            // Options hidden by the plug-in (OPTPARAM flag 1) are not offered.
            if (it->pOptType->pOptParam[k].Flags & OPTPF_HIDE)
                continue;
            LRESULT row = SendMessageW(combo, CB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(OptionName(*it, k).c_str()));
            SendMessageW(combo, CB_SETITEMDATA, WPARAM(row), k);
            if (k == it->Sel)
                SendMessageW(combo, CB_SETCURSEL, WPARAM(row), 0);
        }
    }
    if (upDown)
        SetDlgItemInt(dlg, hostctl::ValueEdit, UINT(it->Sel), TRUE);
    bool disabled = it && (it->Flags & OPTIF_DISABLED);
    ShowWindow(combo, list ? SW_SHOW : SW_HIDE);
    EnableWindow(combo, list && !disabled);
    ShowWindow(GetDlgItem(dlg, hostctl::ValueEdit), upDown ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dlg, hostctl::SetValue), upDown ? SW_SHOW : SW_HIDE);
    EnableWindow(GetDlgItem(dlg, hostctl::ValueEdit), upDown && !disabled);
    EnableWindow(GetDlgItem(dlg, hostctl::SetValue), upDown && !disabled);
    page->filling = false;
}

void FillPage(HWND dlg, HostPage* page) {
    page->filling = true;
    OptionTree& tree = page->sheet->tree();
    HWND list = GetDlgItem(dlg, hostctl::ItemList);
    int keep = int(SendMessageW(list, LB_GETCURSEL, 0, 0));
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    page->shown.clear();
    for (size_t i = 0; i < tree.items.size(); ++i) {
        const OPTITEM& it = tree.items[i];
        // The tree shows what the plug-in left visible.
        if ((it.Flags & OPTIF_HIDE) || !ItemOnPage(page->kind, tree.plan[i]))
            continue;
        std::wstring row =
            std::wstring(size_t(it.Level > 1 ? 2 : 0), L' ') + ItemName(it, &tree.plan[i]);
        if (it.pOptType)
            row += L": " + OptionName(it, it.Sel);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        page->shown.push_back(int(i));
    }
    if (keep >= 0 && size_t(keep) < page->shown.size())
        SendMessageW(list, LB_SETCURSEL, WPARAM(keep), 0);
    else if (!page->shown.empty())
        SendMessageW(list, LB_SETCURSEL, 0, 0);
    page->filling = false;
    ShowSelectedItem(dlg, page);

    if (page->kind == kDevice) {
        HWND button = GetDlgItem(dlg, hostctl::PushItem);
        const OPTITEM* push = nullptr;
        for (const OPTITEM& it : tree.pluginItems)
            if (it.pOptType && it.pOptType->Type == TVOT_PUSHBUTTON) {
                push = &it;
                break;
            }
        if (push) {
            SetWindowTextW(button, ItemName(*push, nullptr).c_str());
            ShowWindow(button, (push->Flags & OPTIF_HIDE) ? SW_HIDE : SW_SHOW);
            EnableWindow(button, !(push->Flags & OPTIF_DISABLED));
        } else {
            ShowWindow(button, SW_HIDE);
        }
    }
}

OPTITEM* PushItem(HostPage* page) {
    for (OPTITEM& it : page->sheet->tree().pluginItems)
        if (it.pOptType && it.pOptType->Type == TVOT_PUSHBUTTON)
            return &it;
    return nullptr;
}

// A selection made on a driver page: the item changes and the plug-in hears
// of it when it asked for callbacks on the item.
void ChangeSelection(HWND dlg, HostPage* page, OPTITEM* it, LONG sel) {
    LONG old = it->Sel;
    if (old == sel)
        return;
    it->Sel = sel;
    it->Flags |= OPTIF_CHANGED;
    if (it->Flags & OPTIF_CALLBACK)
        page->sheet->CallPlugin(CPSUICB_REASON_SEL_CHANGED, dlg, it, old);
    if (page->sheet->isDocument())
        page->sheet->host().SyncPublicDevMode();
    PropSheet_Changed(GetParent(dlg), dlg);
    FillPage(dlg, page);
}

OPTITEM* FocusItem(HostPage* page) {
    if (page->kind == kDevice)
        if (OPTITEM* p = PushItem(page))
            return p;
    OptionTree& tree = page->sheet->tree();
    return tree.items.empty() ? nullptr : &tree.items[0];
}

INT_PTR OnNotify(HWND dlg, HostPage* page, const NMHDR* nm) {
    bool callbacks = page->kind == kTree || page->kind == kDevice;
    switch (nm->code) {
    case PSN_SETACTIVE:
        if (callbacks)
            page->sheet->CallPlugin(CPSUICB_REASON_SETACTIVE, dlg, FocusItem(page), 0);
        FillPage(dlg, page);
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, 0);
        return TRUE;
    case PSN_KILLACTIVE:
        if (callbacks)
            page->sheet->CallPlugin(CPSUICB_REASON_KILLACTIVE, dlg, FocusItem(page), 0);
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, FALSE);
        return TRUE;
    case PSN_APPLY:
        if (callbacks)
            page->sheet->CallPlugin(CPSUICB_REASON_APPLYNOW, dlg, FocusItem(page), 0);
        if (page->kind == kLayout || page->kind == kDevice)
            page->sheet->NoteApplied();
        if (page->sheet->isDocument())
            page->sheet->host().SyncPublicDevMode();
        SetWindowLongPtrW(dlg, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    }
    return FALSE;
}

void OnCommand(HWND dlg, HostPage* page, int id, int code) {
    if (page->filling)
        return;
    if (id == hostctl::ItemList && code == LBN_SELCHANGE) {
        ShowSelectedItem(dlg, page);
    } else if (id == hostctl::OptionCombo && code == CBN_SELCHANGE) {
        HWND combo = GetDlgItem(dlg, hostctl::OptionCombo);
        LRESULT row = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (OPTITEM* it = SelectedItem(dlg, page); it && row >= 0)
            ChangeSelection(dlg, page, it,
                            LONG(SendMessageW(combo, CB_GETITEMDATA, WPARAM(row), 0)));
    } else if (id == hostctl::SetValue && code == BN_CLICKED) {
        OPTITEM* it = SelectedItem(dlg, page);
        if (!it || !it->pOptType || it->pOptType->Type != TVOT_UDARROW)
            return;
        BOOL ok = FALSE;
        int v = int(GetDlgItemInt(dlg, hostctl::ValueEdit, &ok, TRUE));
        const OPTPARAM& bounds = it->pOptType->pOptParam[1];
        // The common UI keeps an up-down item inside its bounds.
        if (ok)
            ChangeSelection(dlg, page, it,
                            std::clamp<LONG>(v, LONG(bounds.IconID), LONG(bounds.lParam)));
    } else if (id == hostctl::PushItem && page->kind == kDevice) {
        OPTITEM* push = PushItem(page);
        if (!push)
            return;
        if (code == BN_CLICKED)
            page->sheet->CallPlugin(CPSUICB_REASON_SEL_CHANGED, dlg, push, push->Sel);
        else if (code == BN_SETFOCUS)
            page->sheet->CallPlugin(CPSUICB_REASON_OPTITEM_SETFOCUS, dlg, push, push->Sel);
        FillPage(dlg, page);
    }
}

INT_PTR CALLBACK HostPageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<HostPage*>(GetWindowLongPtrW(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        page = reinterpret_cast<HostPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(dlg, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        FillPage(dlg, page);
        return TRUE;
    case WM_COMMAND:
        if (page)
            OnCommand(dlg, page, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return page && lParam ? OnNotify(dlg, page, reinterpret_cast<NMHDR*>(lParam)) : FALSE;
    }
    return FALSE;
}

LONG_PTR CALLBACK SheetService(HANDLE sheet, UINT function, LPARAM l1, LPARAM l2) {
    return sheet ? static_cast<Sheet*>(sheet)->Service(function, l1, l2) : 0;
}

bool HasDialog(HINSTANCE module, LPCWSTR name) {
    return FindResourceW(module, name, MAKEINTRESOURCEW(5)) != nullptr; // RT_DIALOG
}

std::wstring TemplateName(LPCWSTR name) {
    ULONG_PTR p = reinterpret_cast<ULONG_PTR>(name);
    return p < 0x10000 ? std::to_wstring(p) : std::wstring(name);
}

} // namespace

Sheet::Sheet(DriverHost& host, bool document) : host_(host), document_(document) {}

Sheet::~Sheet() {
    Close();
}

void Sheet::AddHostPage(const wchar_t* title, int kind) {
    templates_.push_back(PageTemplate(title, kind));
    auto page = std::make_unique<HostPage>();
    page->sheet = this;
    page->kind = kind;
    PROPSHEETPAGEW psp = {};
    psp.dwSize = sizeof psp;
    psp.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    psp.hInstance = GetModuleHandleW(nullptr);
    psp.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(templates_.back().data());
    psp.pszTitle = title;
    psp.pfnDlgProc = HostPageProc;
    psp.lParam = reinterpret_cast<LPARAM>(page.get());
    SheetPage sp;
    sp.title = title;
    sp.page = CreatePropertySheetPageW(&psp);
    hostPages_.push_back(std::move(page));
    pages_.push_back(sp);
}

LONG_PTR Sheet::Service(UINT function, LPARAM l1, LPARAM l2) {
    switch (function) {
    case CPSFUNC_ADD_PROPSHEETPAGEW: {
        auto* in = reinterpret_cast<const PROPSHEETPAGEW*>(l1);
        if (!in || in->dwSize < PROPSHEETPAGEW_V1_SIZE || in->dwSize > sizeof(PROPSHEETPAGEW)) {
            problems_.push_back(L"add page: no page description or a wrong size");
            return 0;
        }
        PROPSHEETPAGEW psp = {};
        memcpy(&psp, in, in->dwSize);
        if (!(psp.dwFlags & PSP_DLGINDIRECT) && !HasDialog(psp.hInstance, psp.pszTemplate)) {
            problems_.push_back(L"add page: dialog template " + TemplateName(psp.pszTemplate) +
                                L" is not in the page's module; page left out");
            return 0;
        }
        psp.dwSize = sizeof psp;
        SheetPage sp;
        sp.fromPlugin = true;
        sp.page = CreatePropertySheetPageW(&psp);
        if (!sp.page) {
            problems_.push_back(L"add page: CreatePropertySheetPageW failed for template " +
                                TemplateName(psp.pszTemplate));
            return 0;
        }
        // The handle the plug-in keeps is the service's own, not the page's.
        sp.handle = reinterpret_cast<HANDLE>(ULONG_PTR(0x7000 + pages_.size()));
        if (psp.dwFlags & PSP_USETITLE && psp.pszTitle &&
            reinterpret_cast<ULONG_PTR>(psp.pszTitle) >= 0x10000)
            sp.title = psp.pszTitle;
        pages_.push_back(sp);
        return reinterpret_cast<LONG_PTR>(sp.handle);
    }
    case CPSFUNC_SET_RESULT: {
        SetResultCall c;
        c.result = l2;
        for (size_t i = 0; i < pages_.size(); ++i)
            if (l1 && pages_[i].handle == reinterpret_cast<HANDLE>(l1))
                c.page = int(i);
        setResults_.push_back(c);
        return 1;
    }
    case CPSFUNC_GET_PAGECOUNT:
        return LONG_PTR(pages_.size());
    default:
        problems_.push_back(L"sheet service function " + std::to_wstring(function) +
                            L" is not offered by this host");
        return 0;
    }
}

LONG Sheet::CallPlugin(WORD reason, HWND dlg, OPTITEM* item, LONG oldSel) {
    OptionTree& t = tree();
    OEMCUIPCALLBACK fn = t.param.OEMCUIPCallback;
    CallbackCall rec;
    rec.reason = reason;
    rec.device = !document_;
    if (item && !t.items.empty() && item >= t.items.data() &&
        item < t.items.data() + t.items.size())
        rec.item = int(item - t.items.data());
    else if (item && !t.pluginItems.empty() && item >= t.pluginItems.data() &&
             item < t.pluginItems.data() + t.pluginItems.size())
        rec.item = -1 - int(item - t.pluginItems.data());
    if (!fn)
        return 0;
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof cb;
    cb.Reason = reason;
    cb.hDlg = dlg;
    cb.pOptItem = t.items.data();
    cb.cOptItem = WORD(t.items.size());
    cb.pCurItem = item;
    cb.OldSel = oldSel;
    auto start = std::chrono::steady_clock::now();
    rec.result = fn(&cb, &t.param);
    host_.AddTiming("item callback " + std::to_string(reason), start);
    callbacks_.push_back(rec);
    return rec.result;
}

bool Sheet::Open(std::wstring* error) {
    EnsureCommonControls6();
    IPrintOemUI* plugin = host_.plugin();
    if (!plugin || !tree().built) {
        if (error)
            *error = L"the option tree is not built";
        return false;
    }
    if (document_) {
        AddHostPage(L"Layout", kLayout);
        AddHostPage(L"Paper/Quality", kPaperQuality);
        AddHostPage(L"Advanced", kTree);
    } else {
        AddHostPage(L"Device Settings", kDevice);
    }

    devModeAtOpen_ = host_.DevModeBytes();
    psParam_.cbSize = sizeof psParam_;
    psParam_.poemuiobj = host_.uiObject();
    psParam_.hPrinter = host_.printer();
    psParam_.pPrinterName = const_cast<PWSTR>(host_.printerName().c_str());
    psParam_.hOEMHeap = host_.heap();
    psParam_.pPublicDM = host_.publicDevMode();
    psParam_.pOEMDM = host_.oemBlock();
    psParam_.dwFlags = host_.options().pageFlags;
    info_.cbSize = sizeof info_;
    info_.Version = PROPSHEETUI_INFO_VERSION;
    info_.Reason = PROPSHEETUI_REASON_INIT;
    info_.hComPropSheet = this;
    info_.pfnComPropSheet = SheetService;
    info_.lParamInit = reinterpret_cast<LPARAM>(&psParam_);
    auto start = std::chrono::steady_clock::now();
    HRESULT hr = document_ ? plugin->DocumentPropertySheets(&info_, 0)
                           : plugin->DevicePropertySheets(&info_, 0);
    host_.AddTiming(document_ ? "DocumentPropertySheets init" : "DevicePropertySheets init", start);
    initialised_ = true;
    initResult_ = LONG_PTR(info_.Result);
    if (FAILED(hr))
        problems_.push_back(L"sheet initialisation answered an error");
    if (!document_) {
        PROPSHEETUI_INFO_HEADER header = {};
        header.cbSize = sizeof header;
        info_.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
        plugin->DevicePropertySheets(&info_, reinterpret_cast<LPARAM>(&header));
        if (header.pTitle && reinterpret_cast<ULONG_PTR>(header.pTitle) >= 0x10000)
            headerTitle_ = header.pTitle;
    }

    std::vector<HPROPSHEETPAGE> handles;
    for (const SheetPage& p : pages_)
        if (p.page)
            handles.push_back(p.page);
    caption_ = host_.printerName() + (document_ ? L" Printing Preferences" : L" Properties");
    PROPSHEETHEADERW psh = {};
    psh.dwSize = sizeof psh;
    psh.dwFlags = PSH_MODELESS | PSH_NOCONTEXTHELP;
    psh.hInstance = GetModuleHandleW(nullptr);
    psh.pszCaption = caption_.c_str();
    psh.nPages = UINT(handles.size());
    psh.phpage = handles.data();
    start = std::chrono::steady_clock::now();
    hwnd_ = reinterpret_cast<HWND>(PropertySheetW(&psh));
    host_.AddTiming("PropertySheetW", start);
    if (!hwnd_ || hwnd_ == reinterpret_cast<HWND>(-1)) {
        hwnd_ = nullptr;
        if (error)
            *error = L"PropertySheetW failed";
        Finish();
        return false;
    }
    // Pages of the plug-in take their captions from their templates: read
    // them back from the tabs.
    HWND tabs = PropSheet_GetTabControl(hwnd_);
    for (int i = 0; tabs && i < pageCount(); ++i) {
        wchar_t text[128] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 127;
        if (pages_[size_t(i)].title.empty() && TabCtrl_GetItem(tabs, i, &item))
            pages_[size_t(i)].title = text;
    }
    Pump();
    return true;
}

int Sheet::currentPage() const {
    if (!hwnd_)
        return -1;
    HWND page = PropSheet_GetCurrentPageHwnd(hwnd_);
    return page ? int(PropSheet_HwndToIndex(hwnd_, page)) : -1;
}

HWND Sheet::pageWindow(int index) const {
    return hwnd_ ? PropSheet_IndexToHwnd(hwnd_, index) : nullptr;
}

bool Sheet::SelectPage(int index) {
    if (!hwnd_)
        return false;
    auto start = std::chrono::steady_clock::now();
    BOOL ok = PropSheet_SetCurSel(hwnd_, nullptr, index);
    Pump();
    host_.AddTiming("page " + std::to_string(index) + " selected", start);
    return ok && currentPage() == index;
}

void Sheet::Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!hwnd_ || !PropSheet_IsDialogMessage(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (hwnd_ && !PropSheet_GetCurrentPageHwnd(hwnd_))
        Finish();
}

void Sheet::RunUntilClosed() {
    while (hwnd_) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
            break;
        if (!PropSheet_IsDialogMessage(hwnd_, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!PropSheet_GetCurrentPageHwnd(hwnd_))
            Finish();
    }
}

void Sheet::Close() {
    if (hwnd_) {
        PropSheet_PressButton(hwnd_, PSBTN_CANCEL);
        for (int i = 0; i < 50 && hwnd_; ++i) {
            Pump();
            if (hwnd_)
                Sleep(1);
        }
    }
    if (hwnd_ || (initialised_ && result_ < 0))
        Finish();
}

void Sheet::Finish() {
    if (hwnd_) {
        LRESULT r = SendMessageW(hwnd_, PSM_GETRESULT, 0, 0);
        if (r > 0)
            applied_ = true;
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
    if (!initialised_ || result_ >= 0)
        return;
    result_ = applied_ ? CPSUI_OK : CPSUI_CANCEL;
    IPrintOemUI* plugin = host_.plugin();
    SETRESULT_INFO sr = {};
    sr.cbSize = sizeof sr;
    sr.hSetResult = this;
    sr.Result = result_;
    info_.Reason = PROPSHEETUI_REASON_SET_RESULT;
    auto start = std::chrono::steady_clock::now();
    if (document_)
        plugin->DocumentPropertySheets(&info_, reinterpret_cast<LPARAM>(&sr));
    else
        plugin->DevicePropertySheets(&info_, reinterpret_cast<LPARAM>(&sr));
    info_.Reason = PROPSHEETUI_REASON_DESTROY;
    if (document_)
        plugin->DocumentPropertySheets(&info_, result_ == CPSUI_OK);
    else
        plugin->DevicePropertySheets(&info_, result_ == CPSUI_OK);
    host_.AddTiming("sheet result and destroy", start);
    if (document_ && result_ == CPSUI_CANCEL)
        host_.RestoreDevMode(devModeAtOpen_);
    else if (document_)
        host_.SyncPublicDevMode();
}

} // namespace drvhost
