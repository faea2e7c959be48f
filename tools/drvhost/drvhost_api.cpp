#include "drvhost_api.h"

#include <commctrl.h>
#include <wincodec.h>

#include <algorithm>

namespace drvhost {

namespace {

HWND Find(HWND parent, int id) {
    return parent ? GetDlgItem(parent, id) : nullptr;
}

// The queue of dialog answers and the window that runs them.
struct DialogAnswers {
    std::deque<std::function<void(HWND)>> handlers;
    HHOOK hook = nullptr;
    HWND runner = nullptr;
    size_t posted = 0; // answers on their way to a dialog
};

DialogAnswers& Answers() {
    static DialogAnswers a;
    return a;
}

constexpr UINT kRunAnswer = WM_APP + 0x51;

LRESULT CALLBACK RunnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRunAnswer) {
        DialogAnswers& a = Answers();
        if (a.posted)
            --a.posted;
        if (!a.handlers.empty()) {
            auto handler = std::move(a.handlers.front());
            a.handlers.pop_front();
            handler(reinterpret_cast<HWND>(wParam));
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool IsDialogClass(LPCWSTR cls) {
    if (!cls)
        return false;
    if (reinterpret_cast<ULONG_PTR>(cls) < 0x10000)
        return reinterpret_cast<ULONG_PTR>(cls) == 32770;
    return wcscmp(cls, L"#32770") == 0;
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    DialogAnswers& a = Answers();
    if (code == HCBT_CREATEWND) {
        auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        if (!(cbt->lpcs->style & WS_CHILD) && IsDialogClass(cbt->lpcs->lpszClass) &&
            a.handlers.size() > a.posted) {
            // Delivered by the new dialog's modal loop after WM_INITDIALOG.
            ++a.posted;
            PostMessageW(a.runner, kRunAnswer, reinterpret_cast<WPARAM>(wParam), 0);
        }
    }
    return CallNextHookEx(a.hook, code, wParam, lParam);
}

} // namespace

bool ClickControl(HWND parent, int id) {
    HWND c = Find(parent, id);
    if (!c || !IsWindowEnabled(c) || !IsWindowVisible(c))
        return false;
    SendMessageW(c, BM_CLICK, 0, 0);
    return true;
}

bool TypeInto(HWND parent, int id, const std::wstring& text, bool replace) {
    HWND c = Find(parent, id);
    if (!c || !IsWindowEnabled(c))
        return false;
    SetFocus(c);
    if (replace) {
        SendMessageW(c, EM_SETSEL, 0, -1);
        SendMessageW(c, WM_CHAR, VK_BACK, 1);
    }
    for (wchar_t ch : text)
        SendMessageW(c, WM_CHAR, ch, 1);
    return true;
}

bool SelectComboEntry(HWND parent, int id, int index) {
    HWND c = Find(parent, id);
    if (!c || !IsWindowEnabled(c))
        return false;
    if (SendMessageW(c, CB_SETCURSEL, WPARAM(index), 0) == CB_ERR)
        return false;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
    return true;
}

bool SelectListEntry(HWND parent, int id, int index) {
    HWND c = Find(parent, id);
    if (!c || !IsWindowEnabled(c))
        return false;
    if (SendMessageW(c, LB_SETCURSEL, WPARAM(index), 0) == LB_ERR)
        return false;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(c));
    return true;
}

std::wstring ControlText(HWND parent, int id) {
    HWND c = Find(parent, id);
    if (!c)
        return std::wstring();
    int n = GetWindowTextLengthW(c);
    std::wstring s(size_t(n) + 1, L'\0');
    GetWindowTextW(c, s.data(), n + 1);
    s.resize(wcslen(s.c_str()));
    return s;
}

std::vector<std::wstring> ListEntries(HWND parent, int id) {
    HWND c = Find(parent, id);
    WCHAR cls[32] = {};
    if (c)
        GetClassNameW(c, cls, 32);
    const bool combo = _wcsicmp(cls, L"ComboBox") == 0;
    const UINT getCount = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT getLength = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT getText = combo ? CB_GETLBTEXT : LB_GETTEXT;
    std::vector<std::wstring> entries;
    int count = c ? int(SendMessageW(c, getCount, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        LRESULT n = SendMessageW(c, getLength, WPARAM(i), 0);
        std::wstring s(size_t(n > 0 ? n : 0) + 1, L'\0');
        SendMessageW(c, getText, WPARAM(i), reinterpret_cast<LPARAM>(s.data()));
        s.resize(wcslen(s.c_str()));
        entries.push_back(s);
    }
    return entries;
}

std::vector<std::vector<std::wstring>> ListViewRows(HWND parent, int id) {
    HWND c = Find(parent, id);
    std::vector<std::vector<std::wstring>> rows;
    if (!c)
        return rows;
    HWND header = reinterpret_cast<HWND>(SendMessageW(c, LVM_GETHEADER, 0, 0));
    int columns = header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    int count = int(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::vector<std::wstring> row;
        for (int col = 0; col < columns; ++col) {
            WCHAR text[512] = {};
            LVITEMW item = {};
            item.iSubItem = col;
            item.pszText = text;
            item.cchTextMax = 512;
            SendMessageW(c, LVM_GETITEMTEXTW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
            row.push_back(text);
        }
        rows.push_back(row);
    }
    return rows;
}

bool SelectListViewItems(HWND parent, int id, const std::vector<int>& items) {
    HWND c = Find(parent, id);
    if (!c || !IsWindowEnabled(c))
        return false;
    SetFocus(c);
    int count = int(SendMessageW(c, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        bool selected = std::find(items.begin(), items.end(), i) != items.end();
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = selected ? LVIS_SELECTED : 0;
        SendMessageW(c, LVM_SETITEMSTATE, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    for (int i : items)
        if (i < 0 || i >= count)
            return false;
    return true;
}

bool IsChecked(HWND parent, int id) {
    HWND c = Find(parent, id);
    return c && SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND parent, int id) {
    HWND c = Find(parent, id);
    return c && IsWindowEnabled(c);
}

bool IsShown(HWND parent, int id) {
    HWND c = Find(parent, id);
    return c && (GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE);
}

bool HasControl(HWND parent, int id) {
    return Find(parent, id) != nullptr;
}

std::wstring MessageBoxText(HWND box) {
    return ControlText(box, 0xFFFF);
}

void AnswerNextDialog(std::function<void(HWND)> handler) {
    DialogAnswers& a = Answers();
    if (!a.runner) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RunnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"drvhost.DialogAnswers";
        RegisterClassW(&wc);
        a.runner = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
    }
    if (!a.hook)
        a.hook = SetWindowsHookExW(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    a.handlers.push_back(std::move(handler));
}

void ActInNextDialog(std::function<void(HWND)> steps) {
    AnswerNextDialog([steps = std::move(steps)](HWND dialog) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        steps(dialog);
        if (IsWindowVisible(dialog))
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

void ForgetDialogAnswers() {
    Answers().handlers.clear();
}

int PendingDialogAnswers() {
    return int(Answers().handlers.size());
}

bool CaptureWindow(HWND window, std::vector<uint32_t>* pixels, SIZE* size) {
    if (!window || !IsWindow(window) || !pixels || !size)
        return false;
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r;
    GetWindowRect(window, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || w > 8192 || h > 8192)
        return false;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC wdc = GetWindowDC(window);
    HDC mem = CreateCompatibleDC(wdc);
    HBITMAP dib = CreateDIBSection(wdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = dib && bits;
    if (ok) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, wdc, 0, 0, SRCCOPY);
        GdiFlush();
        auto* px = static_cast<const uint32_t*>(bits);
        pixels->assign(px, px + size_t(w) * size_t(h));
        // GDI leaves alpha at 0: make every pixel opaque.
        for (uint32_t& p : *pixels)
            p |= 0xFF000000u;
        *size = {w, h};
        SelectObject(mem, old);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(window, wdc);
    return ok;
}

HRESULT WritePng(const std::wstring& path, const std::vector<uint32_t>& pixels, SIZE size) {
    if (size.cx <= 0 || size.cy <= 0 || pixels.size() < size_t(size.cx) * size_t(size.cy))
        return E_INVALIDARG;
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr))
        hr = factory->CreateStream(&stream);
    if (SUCCEEDED(hr))
        hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    if (SUCCEEDED(hr))
        hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder);
    if (SUCCEEDED(hr))
        hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr))
        hr = encoder->CreateNewFrame(&frame, nullptr);
    if (SUCCEEDED(hr))
        hr = frame->Initialize(nullptr);
    if (SUCCEEDED(hr))
        hr = frame->SetSize(UINT(size.cx), UINT(size.cy));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (SUCCEEDED(hr))
        hr = frame->SetPixelFormat(&format);
    if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA))
        hr = E_FAIL;
    UINT stride = UINT(size.cx) * 4;
    if (SUCCEEDED(hr))
        hr = frame->WritePixels(UINT(size.cy), stride, stride * UINT(size.cy),
                                reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.data())));
    if (SUCCEEDED(hr))
        hr = frame->Commit();
    if (SUCCEEDED(hr))
        hr = encoder->Commit();
    if (frame)
        frame->Release();
    if (encoder)
        encoder->Release();
    if (stream)
        stream->Release();
    if (factory)
        factory->Release();
    if (SUCCEEDED(init))
        CoUninitialize();
    return hr;
}

bool SaveWindowPng(HWND window, const std::wstring& path, std::wstring* error) {
    auto fail = [&](const wchar_t* what, HRESULT hr) {
        if (error) {
            wchar_t buf[64];
            swprintf(buf, 64, L" (0x%08lX)", static_cast<unsigned long>(hr));
            *error = std::wstring(what) + buf;
        }
        return false;
    };
    std::vector<uint32_t> pixels;
    SIZE size = {};
    if (!CaptureWindow(window, &pixels, &size))
        return fail(L"window capture failed", E_INVALIDARG);
    HRESULT hr = WritePng(path, pixels, size);
    return SUCCEEDED(hr) ? true : fail(L"PNG encoding failed", hr);
}

std::wstring ReadIni(const std::wstring& file, const std::wstring& section,
                     const std::wstring& key) {
    std::vector<wchar_t> buf(4096);
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buf.data(), DWORD(buf.size()),
                             file.c_str());
    return buf.data();
}

HostSession::HostSession(HostOptions options)
    : host_(std::make_unique<DriverHost>(std::move(options))) {
    EnsureCommonControls6();
}

HostSession::~HostSession() {
    // The sheet goes first: its destruction still calls the plug-in.
    sheet_.reset();
    host_.reset();
}

bool HostSession::Prepare(const std::wstring& printer, bool document, std::wstring* error) {
    if (!host_->plugin() && !host_->Load(error))
        return false;
    if (!host_->printer() && !host_->OpenPrinter(printer, error))
        return false;
    if (!host_->oemBlock() && !host_->PrepareDevMode(error))
        return false;
    // A tree prepared before is the one the sheet shows.
    if ((document ? host_->documentTree() : host_->deviceTree()).built)
        return true;
    return document ? host_->BuildDocumentTree(error) : host_->BuildDeviceTree(error);
}

bool HostSession::PrepareDocument(const std::wstring& printer, std::wstring* error) {
    return Prepare(printer, true, error);
}

bool HostSession::PrepareDevice(const std::wstring& printer, std::wstring* error) {
    return Prepare(printer, false, error);
}

bool HostSession::OpenDocumentSheet(const std::wstring& printer, std::wstring* error) {
    if (!Prepare(printer, true, error))
        return false;
    sheet_ = std::make_unique<Sheet>(*host_, true);
    return sheet_->Open(error);
}

bool HostSession::OpenPrinterSheet(const std::wstring& printer, std::wstring* error) {
    if (!Prepare(printer, false, error))
        return false;
    sheet_ = std::make_unique<Sheet>(*host_, false);
    return sheet_->Open(error);
}

HWND HostSession::page() const {
    return sheet_ && sheet_->hwnd() ? PropSheet_GetCurrentPageHwnd(sheet_->hwnd()) : nullptr;
}

void HostSession::Pump() {
    if (sheet_)
        sheet_->Pump();
}

bool HostSession::GoToPage(int index) {
    return sheet_ && sheet_->SelectPage(index);
}

bool HostSession::ClickAndPump(HWND parent, int id) {
    bool ok = ClickControl(parent, id);
    Pump();
    return ok;
}

bool HostSession::Type(int id, const std::wstring& text, bool replace) {
    bool ok = TypeInto(page(), id, text, replace);
    Pump();
    return ok;
}

bool HostSession::SelectCombo(int id, int index) {
    bool ok = SelectComboEntry(page(), id, index);
    Pump();
    return ok;
}

bool HostSession::SelectList(int id, int index) {
    bool ok = SelectListEntry(page(), id, index);
    Pump();
    return ok;
}

bool HostSession::Press(int button) {
    if (!sheet_ || !sheet_->hwnd())
        return false;
    // A disabled Apply button cannot be pressed (nothing has changed).
    if (button == PSBTN_APPLYNOW && !IsWindowEnabled(GetDlgItem(sheet_->hwnd(), 0x3021)))
        return false;
    PropSheet_PressButton(sheet_->hwnd(), button);
    // The press is posted: let the sheet run it.
    for (int i = 0; i < 5; ++i) {
        Pump();
        Sleep(1);
    }
    return true;
}

bool HostSession::PressOk() {
    return Press(PSBTN_OK);
}

bool HostSession::PressApply() {
    return Press(PSBTN_APPLYNOW);
}

bool HostSession::PressCancel() {
    return Press(PSBTN_CANCEL);
}

DEVMODEW HostSession::PublicDevMode() {
    DEVMODEW* dm = host_->publicDevMode();
    return dm ? *dm : DEVMODEW{};
}

OPTITEM* HostSession::Item(std::string_view feature) {
    OptionTree& t = sheet_ && !sheet_->isDocument() ? host_->deviceTree() : host_->documentTree();
    int i = host_->FindItem(t, feature);
    if (i < 0 && !(sheet_ && !sheet_->isDocument())) {
        OptionTree& d = host_->deviceTree();
        if (d.built && (i = host_->FindItem(d, feature)) >= 0)
            return &d.items[size_t(i)];
    }
    return i >= 0 && t.built ? &t.items[size_t(i)] : nullptr;
}

OPTITEM* HostSession::PublicItem(uint8_t dmPubId) {
    OptionTree& t = host_->documentTree();
    int i = host_->FindPublicItem(t, dmPubId);
    return i >= 0 && t.built ? &t.items[size_t(i)] : nullptr;
}

LONG HostSession::ItemSel(std::string_view feature) {
    OPTITEM* it = Item(feature);
    return it ? it->Sel : -1;
}

LONG HostSession::PublicItemSel(uint8_t dmPubId) {
    OPTITEM* it = PublicItem(dmPubId);
    return it ? it->Sel : -1;
}

bool HostSession::Screenshot(const std::wstring& path, std::wstring* error) {
    return SaveWindowPng(sheetWindow(), path, error);
}

} // namespace drvhost
