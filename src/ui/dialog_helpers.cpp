#include "ui/dialog_helpers.h"

#include "core/process_state.h"
#include "core/text_fields.h"
#include "core/win_util.h"
#include "ui/number_field.h"

#include <commctrl.h>
#include <prsht.h>

namespace zd {

const DWORD HelpIdTable[] = {
    // Buttons shared by every dialog: OK, Cancel, Defaults.
    1, 3, 2, 4, 10000, 1,
    // Job Options page
    1392, 839, 1500, 838, 1501, 838, 1545, 838, 1546, 838, 1506, 802, 1514, 806, 1515, 806, 1517,
    806, 1542, 806, 1530, 810, 1532, 810, 1533, 810, 1534, 810, 1535, 811, 1536, 812, 1537, 814,
    1559, 830,
    // About
    1560, 830, 1562, 830, 1563, 830, 1564, 830, 1565, 830, 1566, 830, 1567, 830, 1568, 830,
    // Advanced
    1800, 1207, 1801, 1201, 1803, 1201, 1802, 1202, 1806, 1204, 1807, 1203, 1808, 1209,
    // Overlay
    1050, 1101, 1051, 1102, 1052, 1102, 1053, 1102, 1054, 1102, 1055, 1102, 1056, 1102, 1057, 1102,
    1058, 1102, 1059, 1102, 1060, 1102, 1061, 1102,
    // Overlay definition
    1100, 1102, 1101, 1102, 1102, 1102, 1103, 1102, 1104, 1102, 1105, 1102, 1106, 1102, 1107, 1102,
    1108, 1102, 1109, 1102, 1110, 1102, 1111, 1102, 1112, 1102, 1113, 1102, 1114, 1102,
    // Watermark list
    1401, 1001, 1402, 1003, 1403, 1002, 1404, 1004, 1436, 1006, 1437, 1005, 1448, 1007,
    // Watermark edit
    1400, 1021, 1411, 1021, 1412, 1022, 1413, 1022, 1414, 1022, 1415, 1023, 1416, 1023, 1417, 1023,
    1445, 1023, 1446, 1023, 1447, 1023, 1418, 1024, 1419, 1025, 1421, 1027, 1422, 1027, 1430, 1027,
    1431, 1027, 1432, 1027, 1433, 1027, 1434, 1027, 1443, 1027, 1444, 1027, 1438, 1026, 1439, 1026,
    1440, 1026, 1441, 1026, 1442, 1026,
    // Font
    1450, 1051, 1451, 1051, 1452, 1051, 1453, 1052, 1454, 1052, 1455, 1052, 1456, 1053, 1457, 1053,
    1458, 1053,
    // Color page
    1215, 1354, 1600, 1754, 1605, 1754, 1601, 1755, 1606, 1755, 1602, 1756, 1607, 1756, 1603, 1757,
    1608, 1757, 1604, 1758, 1609, 1758, 1610, 1751, 1612, 1302, 1613, 1302, 1614, 1753, 1616, 1752,
    1617, 1750,
    // Office colour details
    1200, 1778, 1266, 1778, 1282, 1778, 1211, 1303, 1260, 1303, 1214, 1305, 1253, 1401, 1254, 1401,
    1255, 1401, 1256, 1401, 1267, 1403, 1268, 1403,
    // Advanced photo details
    1651, 1773, 1652, 1774, 1653, 1775, 1654, 1776, 1656, 1760, 1657, 1762, 1658, 1762, 1659, 1767,
    1661, 1767, 1662, 1767, 1660, 1769, 1665, 1769, 1668, 1769, 1669, 1769, 1663, 1768, 1664, 1768,
    1666, 1770, 1667, 1770, 1676, 1781, 1677, 1765, 1680, 1763, 1681, 1761, 1682, 1761, 1684, 1764,
    1690, 1766, 1691, 1766, 1695, 1772, 1696, 1772, 1697, 1772, 1698, 1772,
    // Others
    1300, 1354, 1301, 1351, 1302, 1352, 1303, 1353, 1304, 1353, 1305, 1355, 0, 0};

void LimitControlRange(HWND dlg, WORD first, WORD last, BOOL flag) {
    for (UINT id = first; id <= last; ++id) {
        HWND control = GetDlgItem(dlg, int(id));
        if (control)
            EnableWindow(control, flag && IsWindowEnabled(control));
    }
}

void ShowControlRange(HWND dlg, WORD first, WORD last, BOOL flag) {
    for (UINT id = first; id <= last; ++id) {
        HWND control = GetDlgItem(dlg, int(id));
        if (!control)
            continue;
        ShowWindow(control, flag ? SW_SHOWNORMAL : SW_HIDE);
        EnableWindow(control, flag ? TRUE : FALSE);
    }
}

void DestroyControlRange(HWND dlg, WORD first, WORD last) {
    for (UINT id = first; id <= last; ++id)
        if (HWND control = GetDlgItem(dlg, int(id)))
            DestroyWindow(control);
}

std::wstring LibraryString(UINT id, std::wstring_view fallback) {
    const wchar_t* text = nullptr;
    // Length 0 asks for a read-only pointer into the resource itself.
    int n = LoadStringW(Process().moduleInstance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return n > 0 && text ? std::wstring(text, size_t(n)) : std::wstring(fallback);
}

int ShowStringMessage(HWND owner, UINT textId, UINT captionId, UINT type) {
    WCHAR caption[160] = {};
    WCHAR text[600] = {};
    if (captionId)
        LoadStringW(Process().moduleInstance, captionId, caption, 160);
    LoadStringW(Process().moduleInstance, textId, text, 600);
    return MessageBoxW(owner, text, captionId ? caption : nullptr, type & 0xFFFF);
}

void NotifyPageChanged(HWND page) {
    SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

void ForceTreeVisit(HWND page) {
    ProcessState& ps = Process();
    if (ps.printerDataWritable || (ps.sheetFlags & kSheetTreePageShown) ||
        !(ps.sheetFlags & kSheetPageInitialised))
        return;
    ps.sheetFlags |= kSheetTreePageShown;
    HWND sheet = GetParent(page);
    HWND current = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    LRESULT index = SendMessageW(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(current), 0);
    SendMessageW(sheet, PSM_SETCURSEL, 2, 0);
    SendMessageW(sheet, PSM_SETCURSEL, WPARAM(index), 0);
}

UINT CheckNumberField(HWND dlg, UINT code, int id, int defaultValue, int lowest, int highest,
                      WCHAR* savedText, BOOL isSigned) {
    HWND edit = GetDlgItem(dlg, id);
    if (!edit)
        return code;
    switch (code) {
    case EN_SETFOCUS:
    case EN_CHANGE:
        if (savedText)
            GetWindowTextW(edit, savedText, 12);
        break;
    case EN_KILLFOCUS:
        if (GetWindowTextLengthW(edit) == 0) {
            const int64_t shown =
                isSigned ? int64_t(defaultValue) : int64_t(unsigned(defaultValue));
            SetWindowTextW(edit, W(FormatDecimal(shown)).c_str());
        }
        break;
    case EN_UPDATE: {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        if (start == 0 && end == 0)
            break;
        WCHAR text[510] = {};
        GetWindowTextW(edit, text, 510);
        if (!NumberFieldAccepts(U16(text), start, isSigned != FALSE)) {
            MessageBeep(0xFFFFFFFF);
            SetWindowTextW(edit, savedText ? savedText : L"");
            SendMessageW(edit, EM_SETSEL, WPARAM(end - 1), LPARAM(start - 1));
            break;
        }
        if (auto corrected = NumberFieldCorrection(U16(text), lowest, highest)) {
            SetWindowTextW(edit, W(FormatDecimal(*corrected)).c_str());
        }
        break;
    }
    default:
        break;
    }
    return code;
}

BOOL HandleContextHelp(UINT msg, WPARAM wParam, LPARAM lParam) {
    const ProcessState& ps = Process();
    if (!ps.winHelpAvailable)
        return FALSE;
    auto table = reinterpret_cast<ULONG_PTR>(HelpIdTable);
    if (msg == WM_HELP) {
        auto* info = reinterpret_cast<HELPINFO*>(lParam);
        if (info && info->hItemHandle != reinterpret_cast<HANDLE>(-1))
            WinHelpW(static_cast<HWND>(info->hItemHandle), ps.helpFilePath, HELP_WM_HELP, table);
    } else if (msg == WM_CONTEXTMENU) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (window != reinterpret_cast<HWND>(-1))
            WinHelpW(window, ps.helpFilePath, HELP_CONTEXTMENU, table);
    }
    return FALSE;
}

void ApplyHelpButtonRule(HWND dlg) {
    LONG_PTR exStyle = GetWindowLongPtrW(dlg, GWL_EXSTYLE);
    if (Process().systemIsNt6OrLater)
        exStyle &= ~LONG_PTR(WS_EX_CONTEXTHELP);
    else
        exStyle |= WS_EX_CONTEXTHELP;
    SetWindowLongPtrW(dlg, GWL_EXSTYLE, exStyle);
}

} // namespace zd
