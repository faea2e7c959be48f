#include "ui/maker_link.h"

#include "core/driver_files.h"
#include "core/late_libraries.h"
#include "core/process_state.h"
#include "ui/dialog_plumbing.h"
#include "resources/resource.h"

namespace zd {

namespace {

constexpr DWORD kLinkAddressUnits = 522;
constexpr COLORREF kLinkColor = RGB(0, 0, 255);

} // namespace

std::wstring MakerLinkAddress(const UiContext* ctx) {
    HANDLE printer = PrinterOf(ctx);
    return printer ? ReadModelText(printer, L"TabLinkName", kLinkAddressUnits) : std::wstring();
}

void LoadLinkCursor() {
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    Process().linkCursor = hand ? hand : LoadCursorW(nullptr, IDC_ARROW);
}

HFONT EnsureLinkFont(HWND page) {
    ProcessState& ps = Process();
    if (ps.linkFont)
        return ps.linkFont;
    auto sheetFont = reinterpret_cast<HFONT>(SendMessageW(GetParent(page), WM_GETFONT, 0, 0));
    if (!sheetFont)
        sheetFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW lf = {};
    if (!sheetFont || !GetObjectW(sheetFont, sizeof lf, &lf))
        return nullptr;
    // Height and width stay the sheet's; everything else is the link's own.
    LOGFONTW link = {};
    link.lfHeight = lf.lfHeight;
    link.lfWidth = lf.lfWidth;
    link.lfWeight = FW_NORMAL;
    link.lfUnderline = TRUE;
    link.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(link.lfFaceName, L"Verdana", LF_FACESIZE);
    ps.linkFont = CreateFontIndirectW(&link);
    return ps.linkFont;
}

void DeleteLinkFont() {
    ProcessState& ps = Process();
    if (ps.linkFont)
        DeleteObject(ps.linkFont);
    ps.linkFont = nullptr;
}

INT_PTR ColorLinkText(HWND page, HDC dc) {
    if (HFONT font = EnsureLinkFont(page))
        SelectObject(dc, font);
    SetTextColor(dc, kLinkColor);
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(HOLLOW_BRUSH));
}

bool SetLinkCursor(const UiContext* ctx) {
    if (MakerLinkAddress(ctx).empty())
        return false;
    if (!Process().linkCursor)
        LoadLinkCursor();
    SetCursor(Process().linkCursor);
    return true;
}

BOOL AnswerLinkCursor(HWND page, const UiContext* ctx, HWND over) {
    const int id = GetDlgCtrlID(over);
    if (!ctx || (id != IDC_LINK_LOGO && id != IDC_JO_LINK_TEXT) || !SetLinkCursor(ctx))
        return FALSE;
    SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

void OpenMakerLink(HWND page, const UiContext* ctx) {
    std::wstring address = MakerLinkAddress(ctx);
    if (!address.empty())
        ShellOpen(page, address.c_str());
}

} // namespace zd
