// The resources of zdui.dll (its resource script is compiled into this test):
// the string table, the version resource and every dialog template, read back
// through the real resource and window functions. Setting ZD_SHOT_DIR makes the dialog tests
// also save a PNG picture of every dialog there.
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>

#include "dialog_template.h"
#include "test_text.h"
#include "drvhost_api.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// The test program carries the library's resource script compiled as is.
std::wstring ModulePath() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n);
}

HMODULE Library() {
    return GetModuleHandleW(nullptr);
}

std::wstring WindowText(HWND w) {
    wchar_t buf[512] = {};
    int n = GetWindowTextW(w, buf, 512);
    return std::wstring(buf, n > 0 ? n : 0);
}

std::wstring ClassOf(HWND w) {
    wchar_t buf[64] = {};
    int n = GetClassNameW(w, buf, 64);
    return std::wstring(buf, n > 0 ? n : 0);
}

// ---------------------------------------------------------------------------
// Strings

struct StringRow {
    UINT id;
    const wchar_t* text;
};

// By the numbers the driver and its documents know them.
const StringRow kStrings[] = {
    {6001, L"无"},
    {6002, L"快速"},
    {6003, L"普通"},
    {6004, L"最佳压缩"},
    {7000, L"(%d-%d)"},
    {7001, L"(%d-%d%%)"},
    {7010, L"需要装订器"},
    {7011, L"装订器已安装时不可用"},
    {7012, L"需要打孔单元"},
    {7013, L"不适用于此纸张尺寸"},
    {7014, L"不适用于此装订位置"},
    {8010, L"叠加打印"},
    {8011, L"页面"},
    {8012, L"(最多%d)"},
    {8030, L"所有页"},
    {8031, L"首页"},
    {8032, L"奇数页"},
    {8033, L"偶数页"},
    {8034, L"自定义"},
    {8035, L"新建叠加打印"},
    {8040, L"自动获取可安装选项(&G)"},
    {8050, L"无"},
    {8051, L"Watermark"},
    {8052, L"HeiseiMin-W3-90ms-RKSJ-H"},
    {8053, L"自定义颜色"},
    {8054, L"左上"},
    {8055, L"中上"},
    {8056, L"右上"},
    {8057, L"居中"},
    {8058, L"左下"},
    {8059, L"中下"},
    {8060, L"右下"},
    {8077, L"常规"},
    {8078, L"斜体"},
    {8079, L"粗体"},
    {8080, L"粗斜体"},
    {10020, L"存在同名的组名称。\n改为另一个名称。"},
    {10021, L"输入叠加打印名称，并将其添加到已定义的叠加打印列表。"},
    {10022, L"当选定'创建叠加打印'时，在准备EPS时自动设置一个'PostScript 输出选项'。\n "
            L"当您取消'创建叠加打印'时，也应该改变PostScript输出选项。"},
    {10040, L"注册的数量超出限制，最多为16个。"},
    {10041, L"警告"},
    {10042, L"无法保存水印设置。\n请确认配置文件可以写入。"},
    {10050, L"您的一个或多个设置无效。"},
    {10060, L"本操作需要颜色样本打印工具。请安装颜色样本打印工具后进行此操作。"},
    {10061, L"错误"},
    {10070, L"此作业类型需要作业名称。请输入作业名称，或选择“每次打印时询问作业名称”。"},
    {10071, L"此作业类型需要由 4 位数字组成的 PIN。"},
    {30000, L"Zdprn3.dll"},
    {30010, L"信息"},
};

// The whole resource text (LoadStringW with no buffer answers a pointer into
// the resource and its length, so nothing can be cut short unnoticed).
std::optional<std::wstring> RawString(UINT id) {
    const wchar_t* p = nullptr;
    int n = LoadStringW(Library(), id, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p)
        return std::nullopt;
    return std::wstring(p, n);
}

TEST(ResourceStrings, EveryQuotedTextIsInTheTableExactly) {
    for (const StringRow& row : kStrings) {
        auto text = RawString(row.id);
        ASSERT_TRUE(text.has_value()) << "string " << row.id << " missing";
        EXPECT_EQ(*text, row.text) << "string " << row.id << ": " << zdtest::Utf8(*text);
    }
}

TEST(ResourceStrings, FontSizesRunFrom8To72InListOrder) {
    const int sizes[16] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
    static_assert(IDS_FONT_SIZE_LAST - IDS_FONT_SIZE_FIRST == 15, "sixteen sizes");
    for (int i = 0; i < 16; ++i) {
        auto text = RawString(IDS_FONT_SIZE_FIRST + i);
        ASSERT_TRUE(text.has_value()) << "size string " << i;
        EXPECT_EQ(*text, std::to_wstring(sizes[i]));
    }
}

TEST(ResourceStrings, IndexedNamesFollowTheirBase) {
    // Code reaches these strings as base + index.
    EXPECT_EQ(RawString(IDS_PAGE_MODE_ALL + 4), std::wstring(L"自定义"));
    EXPECT_EQ(RawString(IDS_POSITION_TOP_LEFT + 6), std::wstring(L"右下"));
    EXPECT_EQ(RawString(IDS_FONT_STYLE_REGULAR + 3), std::wstring(L"粗斜体"));
}

TEST(ResourceStrings, ABufferOfTheExactSizeGetsTheWholeText) {
    // The range texts are formatted after loading; a buffer with room for the
    // text and its NUL must receive every character.
    wchar_t buf[10];
    std::fill(std::begin(buf), std::end(buf), L'#');
    int n = LoadStringW(Library(), IDS_SCALE_RANGE, buf, 10);
    EXPECT_EQ(n, 9);
    EXPECT_EQ(std::wstring(buf), L"(%d-%d%%)");
    // One unit less cuts the text, never writes beyond the buffer.
    std::fill(std::begin(buf), std::end(buf), L'#');
    n = LoadStringW(Library(), IDS_SCALE_RANGE, buf, 5);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(std::wstring(buf), L"(%d-");
    EXPECT_EQ(buf[5], L'#');
}

// ---------------------------------------------------------------------------
// Version resource

std::wstring VersionValue(const std::vector<BYTE>& block, const wchar_t* name) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    void* p = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), key.c_str(), &p, &len) || !p)
        return L"<missing>";
    return std::wstring(static_cast<const wchar_t*>(p), len > 0 ? len - 1 : 0);
}

TEST(ResourceVersion, NamesTheProductInChinese) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(ModulePath().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(ModulePath().c_str(), 0, size, block.data()));

    EXPECT_EQ(VersionValue(block, L"ProductName"), L"zdui");
    EXPECT_EQ(VersionValue(block, L"OriginalFilename"), L"zdui.dll");
    EXPECT_EQ(VersionValue(block, L"FileDescription"),
              L"Zed 彩色页式打印机 PostScript 驱动程序用户界面插件");

    void* p = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &p, &len));
    ASSERT_GE(len, 4u);
    WORD pair[2];
    std::memcpy(pair, p, 4);
    EXPECT_EQ(pair[0], 0x804);
    EXPECT_EQ(pair[1], 1200);

    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", &p, &len));
    ASSERT_GE(len, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, p, sizeof info);
    EXPECT_EQ(info.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.dwFileType, static_cast<DWORD>(VFT_DLL));
}

// ---------------------------------------------------------------------------
// Dialog templates, read from the resource bytes

using zdtest::Template;
using zdtest::TemplateItem;

std::optional<Template> LoadTemplate(int id) {
    return zdtest::LoadTemplate(Library(), id);
}

// What each dialog's controls must be.
enum class Kind {
    GroupBox,
    PushButton,
    DefPushButton,
    Picture,    // owner-drawn button, disabled
    OwnerDraw,  // owner-drawn button, enabled
    Radio,      // automatic radio button
    Check,      // automatic check box
    Text,       // static, left-aligned
    TextRight,  // static, right-aligned
    TextCenter, // static, centred
    TextNotify, // static, left-aligned, notifying
    Icon,       // static icon
    EtchedLine, // static, etched horizontal line
    Edit,
    DropList,
    DropDown,  // combo box with edit field
    ListBox,   // notifying, not sorted, scroll bar always shown
    ListBoxN,  // notifying, not sorted
    ListView,  // report view, several selectable, selection always shown, headers not sorting
    Spin,      // up-down: auto buddy, buddy integer, arrow keys, no thousands
    SpinRight, // the same, aligned right
    Trackbar,  // automatic ticks
    HScroll,
};

constexpr unsigned kGroup = 1;    // starts a group
constexpr unsigned kTwoLines = 2; // multi-line caption

struct Expect {
    DWORD id;
    Kind kind;
    const wchar_t* text;
    short x, y, cx, cy; // 0,0,0,0: no rectangle prescribed
    unsigned flags = 0;
};

struct DialogExpect {
    int id;
    const char* name;
    const wchar_t* caption;
    short cx, cy;
    bool page;
    std::vector<Expect> controls;
    // Pairs of controls that share a place on purpose (never shown together).
    std::vector<std::pair<DWORD, DWORD>> sharedPlaces;
};

const std::vector<DialogExpect>& Dialogs() {
    static const std::vector<DialogExpect> dialogs = {
        {113,
         "113_job_options",
         L"作业选项",
         299,
         264,
         true,
         {
             {1500, Kind::GroupBox, L"质量(&Q)", 0, 0, 0, 0},
             {1501, Kind::Picture, L"", 0, 0, 0, 0},
             {1545, Kind::Radio, L"高质量(1200x1200)", 0, 0, 0, 0, kGroup},
             {1546, Kind::Radio, L"普通(600x600)", 0, 0, 0, 0},
             {1506, Kind::Check, L"省墨模式(&T)", 0, 0, 0, 0, kGroup},
             {1542, Kind::GroupBox, L"份数(&C)", 0, 0, 0, 0},
             {1514, Kind::Edit, L"", 0, 0, 0, 0},
             {1515, Kind::Spin, L"Spin1", 0, 0, 0, 0},
             {1517, Kind::Text, L"aaa", 0, 0, 0, 0},
             {1530, Kind::GroupBox, L"缩放(&E)", 0, 0, 0, 0},
             {1532, Kind::Edit, L"", 0, 0, 0, 0},
             {1533, Kind::Spin, L"Spin1", 0, 0, 0, 0},
             {1534, Kind::Text, L"aaa", 0, 0, 0, 0},
             {1535, Kind::PushButton, L"水印(&W)...", 0, 0, 0, 0},
             {1536, Kind::PushButton, L"叠加打印(&Y)...", 0, 0, 0, 0},
             {1537, Kind::PushButton, L"高级(&V)...", 0, 0, 0, 0},
             {1538, Kind::PushButton, L"作业存储(&J)...", 0, 0, 0, 0},
             {1559, Kind::PushButton, L"关于(&B)...", 0, 0, 0, 0},
             {10000, Kind::PushButton, L"默认值(&D)", 0, 0, 0, 0},
             {10001, Kind::Picture, L"", 0, 0, 0, 0},
             {1392, Kind::TextNotify, L"aaa", 0, 0, 0, 0},
         },
         {}},
        {120,
         "120_finishing",
         L"后处理",
         299,
         264,
         true,
         {
             {1700, Kind::GroupBox, L"输出(&O)", 0, 0, 0, 0},
             {1701, Kind::Check, L"逐份打印(&L)", 0, 0, 0, 0, kGroup},
             {1702, Kind::Text, L"出纸托盘(&B):", 0, 0, 0, 0},
             {1703, Kind::DropList, L"", 0, 0, 0, 0, kGroup},
             {1704, Kind::Text, L"", 0, 0, 0, 0},
             {1710, Kind::GroupBox, L"装订(&F)", 0, 0, 0, 0},
             {1711, Kind::Text, L"装订位置(&P):", 0, 0, 0, 0},
             {1712, Kind::DropList, L"", 0, 0, 0, 0, kGroup},
             {1713, Kind::Text, L"", 0, 0, 0, 0},
             {1714, Kind::Text, L"订书钉(&S):", 0, 0, 0, 0},
             {1715, Kind::DropList, L"", 0, 0, 0, 0, kGroup},
             {1716, Kind::Text, L"", 0, 0, 0, 0},
             {1717, Kind::Text, L"打孔(&H):", 0, 0, 0, 0},
             {1718, Kind::DropList, L"", 0, 0, 0, 0, kGroup},
             {1719, Kind::Text, L"", 0, 0, 0, 0},
             {1720, Kind::Picture, L"", 0, 0, 0, 0},
             {1730, Kind::GroupBox, L"图像(&I)", 0, 0, 0, 0},
             {1731, Kind::Check, L"图像平滑(&M)", 0, 0, 0, 0, kGroup},
             {1732, Kind::Check, L"陷印(&T)", 0, 0, 0, 0},
             {10000, Kind::PushButton, L"默认值(&D)", 0, 0, 0, 0, kGroup},
         },
         {}},
        {111,
         "111_color",
         L"颜色",
         299,
         262,
         true,
         {
             {1617, Kind::GroupBox, L"颜色模式", 18, 5, 262, 189},
             {1605, Kind::Radio, L"自动", 100, 25, 56, 10, kGroup},
             {1606, Kind::Radio, L"办公颜色", 100, 61, 57, 10},
             {1607, Kind::Radio, L"高级图片", 100, 97, 59, 10},
             {1608, Kind::Radio, L"无颜色匹配", 100, 133, 80, 10},
             {1609, Kind::Radio, L"灰度打印", 100, 169, 65, 10},
             {1600, Kind::OwnerDraw, L"", 64, 18, 27, 24},
             {1601, Kind::OwnerDraw, L"", 64, 54, 27, 24},
             {1602, Kind::OwnerDraw, L"", 64, 90, 27, 24},
             {1603, Kind::OwnerDraw, L"", 64, 126, 27, 24},
             {1604, Kind::OwnerDraw, L"", 64, 162, 27, 24},
             {1610, Kind::PushButton, L"详细资料(&E)...", 181, 57, 60, 14},
             {1616, Kind::PushButton, L"详细资料(&L)...", 181, 93, 60, 14},
             {1506, Kind::Check, L"省墨模式(&T)", 65, 201, 55, 10, kGroup},
             {1612, Kind::Text, L"自定义校准(&C):", 153, 197, 60, 12},
             {1613, Kind::DropList, L"", 153, 211, 102, 95},
             {1215, Kind::PushButton, L"高级(&V)...", 210, 230, 60, 14, kGroup},
             {1614, Kind::PushButton, L"颜色样本(&C)...", 135, 248, 60, 14},
             {10000, Kind::PushButton, L"默认值(&D)", 210, 248, 60, 14},
             {10001, Kind::Picture, L"", 15, 248, 93, 14},
         },
         {}},
        {204,
         "204_advanced",
         L"高级",
         151,
         170,
         false,
         {
             {1800, Kind::GroupBox, L"特殊(&S)", 0, 0, 0, 0},
             {1803, Kind::Icon, L"", 0, 0, 0, 0},
             {1801, Kind::Check, L"镜像打印(&M)", 0, 0, 0, 0},
             {1802, Kind::Check, L"反色打印(&N)", 0, 0, 0, 0},
             {1806, Kind::Check, L"作业假脱机(&J)", 0, 0, 0, 0},
             {1807, Kind::Check, L"打印前进行维护(&R)", 0, 0, 0, 0},
             {1808, Kind::Check, L"调整极细线(&A)", 0, 0, 0, 0},
             {IDOK, Kind::DefPushButton, L"确定", 0, 0, 0, 0},
             {IDCANCEL, Kind::PushButton, L"取消", 0, 0, 0, 0},
             {10000, Kind::PushButton, L"默认值(&D)", 0, 0, 0, 0},
         },
         {}},
        {205,
         "205_job_storage",
         L"作业存储",
         200,
         118,
         false,
         {
             {1850, Kind::Text, L"作业类型(&T):", 0, 0, 0, 0},
             {1851, Kind::DropList, L"", 0, 0, 0, 0},
             {1852, Kind::Text, L"作业名称(&N):", 0, 0, 0, 0},
             {1853, Kind::Edit, L"", 0, 0, 0, 0},
             {1854, Kind::Text, L"PIN(&P):", 0, 0, 0, 0},
             {1855, Kind::Edit, L"", 0, 0, 0, 0},
             {1856, Kind::Check, L"每次打印时询问作业名称(&A)", 0, 0, 0, 0},
             {IDOK, Kind::DefPushButton, L"确定", 0, 0, 0, 0},
             {IDCANCEL, Kind::PushButton, L"取消", 0, 0, 0, 0},
         },
         {}},
        {206,
         "206_job_prompt",
         L"作业存储",
         200,
         98,
         false,
         {
             {1857, Kind::Text, L"请输入此打印作业的作业名称。", 0, 0, 0, 0},
             {1852, Kind::Text, L"作业名称(&N):", 0, 0, 0, 0},
             {1853, Kind::Edit, L"", 0, 0, 0, 0},
             {1854, Kind::Text, L"PIN(&P):", 0, 0, 0, 0},
             {1855, Kind::Edit, L"", 0, 0, 0, 0},
             {IDOK, Kind::DefPushButton, L"确定", 0, 0, 0, 0},
             {IDCANCEL, Kind::PushButton, L"取消", 0, 0, 0, 0},
         },
         {}},
        {117,
         "117_about",
         L"关于",
         200,
         225,
         false,
         {
             {1560, Kind::GroupBox, L"", 0, 0, 0, 0},
             {1567, Kind::Picture, L"", 0, 0, 0, 0},
             {1568, Kind::TextCenter, L"aaaa", 0, 0, 0, 0},
             {1565, Kind::Text, L"驱动程序版本", 0, 0, 0, 0},
             {1562, Kind::Text, L"aaaa", 0, 0, 0, 0},
             {1566, Kind::Text, L"PPD版本", 0, 0, 0, 0},
             {1563, Kind::Text, L"aaaa", 0, 0, 0, 0},
             {1564, Kind::TextCenter, L"aaaa", 0, 0, 0, 0},
             {IDOK, Kind::PushButton, L"确定", 0, 0, 0, 0},
         },
         {}},
        {112,
         "112_watermark_list",
         L"水印",
         255,
         240,
         false,
         {
             {1401, Kind::ListBox, L"", 15, 10, 110, 148},
             {1403, Kind::PushButton, L"新建(&N)...", 15, 163, 50, 14},
             {1402, Kind::PushButton, L"删除(&D)", 75, 163, 50, 14},
             {1404, Kind::PushButton, L"编辑(&E)...", 135, 163, 50, 14},
             {1436, Kind::Picture, L"", 148, 10, 90, 147},
             {1437, Kind::Check, L"仅首页(&O)", 15, 189, 90, 10},
             {1448, Kind::Check, L"作为背景打印(&B)", 15, 201, 90, 10},
             {IDOK, Kind::PushButton, L"确定", 135, 220, 50, 14},
             {IDCANCEL, Kind::PushButton, L"取消", 195, 220, 50, 14},
         },
         {}},
        {114,
         "114_watermark_edit",
         L"水印",
         255,
         235,
         false,
         {
             {1400, Kind::GroupBox, L"文本(&T)", 5, 5, 130, 122},
             {1411, Kind::Edit, L"", 10, 18, 115, 14},
             {1412, Kind::Text, L"尺寸(&S):", 9, 36, 40, 9},
             {1413, Kind::Edit, L"", 10, 48, 20, 12},
             {1414, Kind::HScroll, L"", 35, 50, 85, 10},
             {1415, Kind::Text, L"角度(&G):", 10, 66, 40, 9},
             {1416, Kind::Edit, L"", 10, 76, 20, 12},
             {1417, Kind::HScroll, L"", 35, 78, 85, 10},
             {1445, Kind::Text, L"-180", 35, 90, 20, 10},
             {1446, Kind::Text, L"0", 74, 90, 10, 10},
             {1447, Kind::TextRight, L"+180", 95, 90, 20, 10},
             {1418, Kind::PushButton, L"字体(&F)...", 17, 105, 50, 14},
             {1419, Kind::PushButton, L"颜色(&C)...", 73, 105, 50, 14},
             {1438, Kind::GroupBox, L"装饰(&R)", 5, 135, 129, 68},
             {1439, Kind::Radio, L"无", 15, 151, 36, 10, kGroup},
             {1440, Kind::Radio, L"圆形框", 15, 163, 36, 10},
             {1441, Kind::Radio, L"单线框", 15, 175, 58, 10},
             {1442, Kind::Radio, L"双线框", 15, 187, 58, 10},
             {1430, Kind::GroupBox, L"位置(&P)", 142, 135, 105, 68},
             {1443, Kind::DropList, L"", 151, 148, 89, 95},
             {1444, Kind::Text, L"调整水印", 146, 165, 81, 9},
             {1431, Kind::TextRight, L"&X:", 146, 181, 8, 10},
             {1432, Kind::Edit, L"", 156, 179, 35, 12},
             {1421, Kind::SpinRight, L"Spin1", 189, 179, 9, 13},
             {1433, Kind::TextRight, L"&Y:", 195, 181, 8, 10},
             {1434, Kind::Edit, L"", 205, 179, 35, 12},
             {1422, Kind::SpinRight, L"Spin2", 239, 179, 9, 13},
             {1436, Kind::Picture, L"", 142, 9, 105, 118},
             {IDOK, Kind::PushButton, L"确定", 121, 213, 60, 14},
             {IDCANCEL, Kind::PushButton, L"取消", 186, 213, 60, 14},
         },
         // The spins sit on the right edge of their fields.
         {{1432, 1421}, {1434, 1422}}},
        {115,
         "115_watermark_font",
         L"字体",
         255,
         130,
         false,
         {
             {1452, Kind::Text, L"字体(&F):", 3, 11, 40, 9},
             {1451, Kind::Edit, L"", 3, 24, 108, 12},
             {1450, Kind::ListBox, L"", 3, 37, 109, 51},
             {1455, Kind::Text, L"字形(&Y):", 119, 11, 40, 9},
             {1454, Kind::Edit, L"", 119, 24, 63, 12},
             {1453, Kind::ListBox, L"", 119, 37, 64, 51},
             {1458, Kind::Text, L"大小(&S):", 191, 11, 40, 9},
             {1457, Kind::Edit, L"", 191, 24, 34, 12},
             {1456, Kind::ListBox, L"", 191, 37, 35, 51},
             {IDOK, Kind::PushButton, L"确定", 107, 110, 50, 14},
             {IDCANCEL, Kind::PushButton, L"取消", 178, 110, 50, 14},
         },
         {}},
        {109,
         "109_overlay",
         L"叠加打印",
         287,
         248,
         false,
         {
             {1050, Kind::DropList, L"", 15, 7, 117, 51},
             {1051, Kind::Text, L"当前叠加打印(&V):", 15, 27, 103, 8},
             {1053, Kind::Text, L"", 192, 27, 48, 8},
             {1052, Kind::ListView, L"", 15, 37, 225, 58},
             {1054, Kind::PushButton, L"添加(&A)", 15, 100, 50, 14},
             {1055, Kind::PushButton, L"删除(&L)", 75, 100, 50, 14},
             {1056, Kind::Text, L"已定义的叠加打印(&F):", 15, 122, 103, 8},
             {1058, Kind::Text, L"", 192, 122, 48, 8},
             {1057, Kind::ListView, L"", 15, 132, 225, 69},
             {1059, Kind::PushButton, L"新建(&N)...", 112, 207, 50, 14},
             {1060, Kind::PushButton, L"编辑(&E)...", 167, 207, 50, 14},
             {1061, Kind::PushButton, L"删除(&D)", 222, 207, 50, 14},
             {IDOK, Kind::PushButton, L"确定", 167, 229, 50, 14},
             {IDCANCEL, Kind::PushButton, L"取消", 222, 229, 50, 14},
         },
         {}},
        {203,
         "203_overlay_definition",
         L"定义叠加打印",
         231,
         258,
         false,
         {
             {1100, Kind::TextRight, L"叠加打印名称(&N):", 3, 12, 64, 8},
             {1101, Kind::Edit, L"", 68, 10, 146, 12},
             {1102, Kind::TextRight, L"打印范围(&P):", 13, 34, 54, 8},
             {1103, Kind::DropList, L"", 68, 32, 146, 73},
             {1104, Kind::TextRight, L"自定义页(&C):", 13, 56, 54, 8},
             {1105, Kind::Edit, L"", 68, 54, 146, 12},
             {1106, Kind::Text, L"请输入页码和/或页码范围(用逗号分隔),例如:1,3,5-12", 14, 76, 200,
              16, kTwoLines},
             {1107, Kind::GroupBox, L"打印格式设置", 21, 101, 194, 125},
             {1108, Kind::TextRight, L"打印格式名称(&M):", 27, 115, 69, 8},
             {1109, Kind::DropDown, L"", 100, 113, 104, 52},
             {1110, Kind::PushButton, L"添加(&A)", 100, 135, 50, 14},
             {1111, Kind::PushButton, L"重命名(&R)", 154, 135, 50, 14},
             {1112, Kind::Text, L"已定义的打印格式(&F):", 26, 153, 178, 8},
             {1113, Kind::ListBoxN, L"", 25, 168, 178, 27},
             {1114, Kind::PushButton, L"删除(&D)", 153, 203, 50, 14},
             {IDOK, Kind::DefPushButton, L"确定", 100, 235, 50, 14},
             {IDCANCEL, Kind::PushButton, L"取消", 154, 235, 50, 14},
         },
         {}},
        {200,
         "200_others",
         L"其他",
         187,
         137,
         false,
         {
             {1300, Kind::GroupBox, L"其他", 7, 7, 173, 92},
             {1301, Kind::Check, L"始终使用打印机半色调网纹(&U)", 15, 24, 133, 16,
              kGroup | kTwoLines},
             {1302, Kind::Check, L"黑色套印(&O)", 15, 45, 97, 10},
             {1305, Kind::Check, L"使用优化灰度图形", 15, 60, 151, 11},
             {1303, Kind::Text, L"分色打印(&S):", 17, 79, 88, 12},
             {1304, Kind::DropList, L"", 110, 79, 53, 91, kGroup},
             {IDOK, Kind::DefPushButton, L"确定", 5, 116, 46, 14},
             {IDCANCEL, Kind::PushButton, L"取消", 61, 116, 46, 14},
             {10000, Kind::PushButton, L"默认值(&D)", 117, 116, 46, 14},
         },
         {}},
        {118,
         "118_office_color",
         L"办公颜色详细资料",
         295,
         225,
         false,
         {
             {1200, Kind::GroupBox, L"RGB颜色设置", 10, 5, 132, 120},
             {1282, Kind::Text, L"颜色设置(&C):", 22, 20, 63, 11},
             {1266, Kind::DropList, L"", 19, 31, 112, 140},
             {1214, Kind::Picture, L"", 155, 14, 111, 105},
             {1267, Kind::Check, L"用户设置:", 18, 70, 62, 10},
             {1268, Kind::DropList, L"", 19, 89, 112, 65},
             {1260, Kind::GroupBox, L"CMYK仿真(&S)", 10, 130, 132, 70},
             {1211, Kind::DropList, L"", 19, 145, 102, 92},
             {1253, Kind::GroupBox, L"黑色处理(&B)", 147, 130, 132, 70},
             {1254, Kind::Radio, L"自动", 158, 145, 59, 10, kGroup},
             {1255, Kind::Radio, L"复合黑", 158, 162, 71, 10},
             {1256, Kind::Radio, L"纯黑", 158, 179, 95, 10},
             {IDOK, Kind::PushButton, L"确定", 135, 206, 43, 14},
             {IDCANCEL, Kind::PushButton, L"取消", 187, 206, 43, 14},
             {10000, Kind::PushButton, L"默认值", 236, 206, 43, 14},
         },
         {}},
        {119,
         "119_advanced_photo",
         L"高级图片详细资料",
         311,
         295,
         false,
         {
             {1651, Kind::Radio, L"ICC色彩特性描述文件颜色匹配", 20, 7, 126, 10, kGroup},
             {1652, Kind::Radio, L"打印机仿真", 20, 25, 126, 10},
             {1653, Kind::Radio, L"创建色彩特性描述文件", 20, 43, 126, 10},
             {1654, Kind::Radio, L"通过应用软件进行颜色匹配", 20, 61, 126, 10},
             {65535, Kind::EtchedLine, L"", 7, 79, 290, 1},
             {1656, Kind::GroupBox, L"输入", 17, 86, 129, 135},
             {1657, Kind::Text, L"RGB色彩特性描述文件(&R)", 24, 96, 100, 10},
             {1658, Kind::DropList, L"", 23, 106, 110, 70},
             {1681, Kind::Radio, L"CMYK输入色彩描述文件(&C):", 24, 147, 120, 10, kGroup},
             {1682, Kind::Radio, L"CMYK连接色彩描述文件(&L):", 24, 190, 120, 10},
             {1680, Kind::DropList, L"", 23, 160, 110, 68, kGroup},
             {1684, Kind::DropList, L"", 23, 204, 110, 68},
             {1690, Kind::Text, L"仿真目标描述文件(&S):", 24, 147, 100, 10},
             {1691, Kind::DropList, L"", 23, 161, 110, 70, kGroup},
             {1677, Kind::Check, L"黑色保持(&K)", 29, 177, 59, 10, kGroup},
             {1659, Kind::GroupBox, L"打印机输出色彩特性描述文件", 178, 88, 116, 91},
             {1661, Kind::Text, L"打印机色彩特性描述文件(&O):", 181, 98, 104, 10},
             {1662, Kind::DropList, L"", 182, 110, 100, 70},
             {1663, Kind::Text, L"颜色转换模式(&I):", 181, 150, 100, 10},
             {1664, Kind::DropList, L"", 182, 161, 100, 68},
             {1665, Kind::GroupBox, L"颜色匹配精度(&M)", 17, 227, 129, 42},
             {1660, Kind::Trackbar, L"", 33, 240, 85, 13},
             {1669, Kind::TextCenter, L"快速", 22, 257, 32, 10},
             {1668, Kind::TextCenter, L"精细", 98, 257, 32, 10},
             {1666, Kind::Text, L"黑色处理(&B):", 183, 216, 100, 10},
             {1667, Kind::DropList, L"", 182, 226, 100, 70},
             {1695, Kind::Picture, L"", 149, 101, 25, 25},
             {1696, Kind::Picture, L"", 149, 149, 25, 25},
             {1697, Kind::Picture, L"", 101, 122, 25, 25},
             {1698, Kind::Picture, L"", 149, 189, 142, 21},
             {1676, Kind::Check, L"纯黑文本/图像(&T)", 182, 253, 100, 10, kGroup},
             {IDOK, Kind::PushButton, L"确定", 158, 275, 43, 14},
             {IDCANCEL, Kind::PushButton, L"取消", 210, 275, 43, 14},
             {10000, Kind::PushButton, L"默认值", 261, 275, 43, 14},
         },
         // Method 1 shows the simulation label and list where method 0 has
         // the CMYK input choice and list, and the long arrow where the
         // short CMYK arrow would be.
         {{1690, 1681}, {1691, 1680}, {1691, 1677}, {1680, 1677}, {1698, 1696}}},
    };
    return dialogs;
}

bool IsButtonKind(Kind k) {
    switch (k) {
    case Kind::GroupBox:
    case Kind::PushButton:
    case Kind::DefPushButton:
    case Kind::Picture:
    case Kind::OwnerDraw:
    case Kind::Radio:
    case Kind::Check:
        return true;
    default:
        return false;
    }
}

bool IsStaticKind(Kind k) {
    return k == Kind::Text || k == Kind::TextRight || k == Kind::TextCenter ||
           k == Kind::TextNotify || k == Kind::Icon || k == Kind::EtchedLine;
}

const wchar_t* ClassFor(Kind k) {
    if (IsButtonKind(k))
        return L"Button";
    if (IsStaticKind(k))
        return L"Static";
    switch (k) {
    case Kind::Edit:
        return L"Edit";
    case Kind::DropList:
    case Kind::DropDown:
        return L"ComboBox";
    case Kind::ListBox:
    case Kind::ListBoxN:
        return L"ListBox";
    case Kind::ListView:
        return WC_LISTVIEWW;
    case Kind::Spin:
    case Kind::SpinRight:
        return UPDOWN_CLASSW;
    case Kind::Trackbar:
        return TRACKBAR_CLASSW;
    case Kind::HScroll:
        return L"ScrollBar";
    default:
        return L"?";
    }
}

// Checks the template style bits of one control against its kind.
void CheckStyle(const char* dialog, const Expect& e, DWORD s) {
    SCOPED_TRACE(std::string(dialog) + " control " + std::to_string(e.id));
    EXPECT_TRUE(s & WS_CHILD);
    EXPECT_TRUE(s & WS_VISIBLE);
    // A group must start where the dialog says; a radio button inside a
    // group must not start another (auto radio buttons clear their group).
    if (e.flags & kGroup) {
        EXPECT_TRUE(s & WS_GROUP) << "group start";
    } else if (e.kind == Kind::Radio) {
        EXPECT_FALSE(s & WS_GROUP) << "radio button splits its group";
    }
    const DWORD button = s & BS_TYPEMASK;
    const DWORD stat = s & SS_TYPEMASK;
    switch (e.kind) {
    case Kind::GroupBox:
        EXPECT_EQ(button, static_cast<DWORD>(BS_GROUPBOX));
        break;
    case Kind::PushButton:
        EXPECT_EQ(button, static_cast<DWORD>(BS_PUSHBUTTON));
        EXPECT_FALSE(s & WS_DISABLED);
        EXPECT_TRUE(s & WS_TABSTOP);
        break;
    case Kind::DefPushButton:
        EXPECT_EQ(button, static_cast<DWORD>(BS_DEFPUSHBUTTON));
        EXPECT_TRUE(s & WS_TABSTOP);
        break;
    case Kind::Picture:
        EXPECT_EQ(button, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_TRUE(s & WS_DISABLED) << "picture buttons start disabled";
        break;
    case Kind::OwnerDraw:
        EXPECT_EQ(button, static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_FALSE(s & WS_DISABLED);
        break;
    case Kind::Radio:
        EXPECT_EQ(button, static_cast<DWORD>(BS_AUTORADIOBUTTON));
        break;
    case Kind::Check:
        EXPECT_EQ(button, static_cast<DWORD>(BS_AUTOCHECKBOX));
        EXPECT_EQ((s & BS_MULTILINE) != 0, (e.flags & kTwoLines) != 0);
        break;
    case Kind::Text:
    case Kind::TextNotify:
        EXPECT_EQ(stat, static_cast<DWORD>(SS_LEFT));
        EXPECT_EQ((s & SS_NOTIFY) != 0, e.kind == Kind::TextNotify);
        break;
    case Kind::TextRight:
        EXPECT_EQ(stat, static_cast<DWORD>(SS_RIGHT));
        break;
    case Kind::TextCenter:
        EXPECT_EQ(stat, static_cast<DWORD>(SS_CENTER));
        break;
    case Kind::Icon:
        EXPECT_EQ(stat, static_cast<DWORD>(SS_ICON));
        break;
    case Kind::EtchedLine:
        EXPECT_EQ(stat, static_cast<DWORD>(SS_ETCHEDHORZ));
        break;
    case Kind::Edit:
        EXPECT_TRUE(s & WS_BORDER);
        EXPECT_TRUE(s & ES_AUTOHSCROLL);
        EXPECT_FALSE(s & (ES_NUMBER | ES_READONLY | ES_MULTILINE)) << "the code filters the input";
        break;
    case Kind::DropList:
        EXPECT_EQ(s & 3u, static_cast<DWORD>(CBS_DROPDOWNLIST));
        EXPECT_FALSE(s & CBS_SORT);
        break;
    case Kind::DropDown:
        EXPECT_EQ(s & 3u, static_cast<DWORD>(CBS_DROPDOWN));
        EXPECT_FALSE(s & CBS_SORT);
        break;
    case Kind::ListBox:
    case Kind::ListBoxN:
        EXPECT_TRUE(s & LBS_NOTIFY);
        EXPECT_FALSE(s & LBS_SORT) << "list index = entry number";
        EXPECT_FALSE(s & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
        EXPECT_TRUE(s & WS_VSCROLL);
        if (e.kind == Kind::ListBox) {
            EXPECT_TRUE(s & LBS_DISABLENOSCROLL) << "scroll bar always shown";
        }
        break;
    case Kind::ListView:
        EXPECT_EQ(s & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
        EXPECT_FALSE(s & LVS_SINGLESEL) << "several items selectable";
        EXPECT_TRUE(s & LVS_SHOWSELALWAYS);
        EXPECT_TRUE(s & LVS_NOSORTHEADER);
        break;
    case Kind::Spin:
    case Kind::SpinRight:
        EXPECT_TRUE(s & UDS_AUTOBUDDY);
        EXPECT_TRUE(s & UDS_SETBUDDYINT);
        EXPECT_TRUE(s & UDS_ARROWKEYS);
        EXPECT_TRUE(s & UDS_NOTHOUSANDS);
        EXPECT_EQ((s & UDS_ALIGNRIGHT) != 0, e.kind == Kind::SpinRight);
        break;
    case Kind::Trackbar:
        EXPECT_TRUE(s & TBS_AUTOTICKS);
        EXPECT_FALSE(s & TBS_VERT);
        break;
    case Kind::HScroll:
        EXPECT_FALSE(s & SBS_VERT);
        break;
    }
}

TEST(DialogTemplates, HeadersCarryCaptionFontSizeAndKind) {
    for (const DialogExpect& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        auto t = LoadTemplate(d.id);
        ASSERT_TRUE(t.has_value()) << "no extended template";
        EXPECT_EQ(t->caption, d.caption) << zdtest::Utf8(t->caption);
        EXPECT_EQ(t->face, L"宋体");
        EXPECT_EQ(t->pointSize, 9);
        EXPECT_EQ(t->charset, GB2312_CHARSET);
        EXPECT_EQ(t->cx, d.cx);
        EXPECT_EQ(t->cy, d.cy);
        EXPECT_TRUE(t->style & DS_SETFONT);
        if (d.page) {
            EXPECT_TRUE(t->style & WS_CHILD);
            EXPECT_TRUE(t->style & DS_CONTROL);
            EXPECT_FALSE(t->style & (WS_POPUP | DS_MODALFRAME | WS_SYSMENU | WS_THICKFRAME));
        } else {
            EXPECT_TRUE(t->style & WS_POPUP);
            EXPECT_TRUE(t->style & DS_MODALFRAME);
            EXPECT_EQ(t->style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
            EXPECT_TRUE(t->style & WS_SYSMENU);
            EXPECT_TRUE(t->style & DS_CONTEXTHELP);
            EXPECT_FALSE(t->style & WS_CHILD);
        }
    }
}

TEST(DialogTemplates, HoldExactlyTheControlsOfTheirDialog) {
    for (const DialogExpect& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        auto t = LoadTemplate(d.id);
        ASSERT_TRUE(t.has_value());
        std::vector<DWORD> want, have;
        for (const Expect& e : d.controls)
            want.push_back(e.id);
        for (const TemplateItem& item : t->items)
            have.push_back(item.id);
        std::sort(want.begin(), want.end());
        std::sort(have.begin(), have.end());
        EXPECT_EQ(have, want);

        for (const Expect& e : d.controls) {
            auto it = std::find_if(t->items.begin(), t->items.end(),
                                   [&](const TemplateItem& i) { return i.id == e.id; });
            if (it == t->items.end())
                continue;
            SCOPED_TRACE("control " + std::to_string(e.id));
            EXPECT_EQ(_wcsicmp(it->cls.c_str(), ClassFor(e.kind)), 0) << zdtest::Utf8(it->cls);
            EXPECT_EQ(it->text, e.text) << zdtest::Utf8(it->text);
            if (e.cx != 0) {
                EXPECT_EQ(it->x, e.x);
                EXPECT_EQ(it->y, e.y);
                EXPECT_EQ(it->cx, e.cx);
                EXPECT_EQ(it->cy, e.cy);
            }
            CheckStyle(d.name, e, it->style);
        }
    }
}

// ---------------------------------------------------------------------------
// Dialogs created from the templates

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class Host {
  public:
    Host() {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ZdResourceTestHost";
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 700,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~Host() { DestroyWindow(window_); }
    HWND get() const { return window_; }

  private:
    HWND window_ = nullptr;
};

class DialogWindow {
  public:
    DialogWindow(const DialogExpect& d, HWND host) {
        window_ = CreateDialogParamW(Library(), MAKEINTRESOURCEW(d.id), d.page ? host : nullptr,
                                     QuietDialogProc, 0);
    }
    ~DialogWindow() {
        if (window_)
            DestroyWindow(window_);
    }
    HWND get() const { return window_; }

  private:
    HWND window_ = nullptr;
};

class DialogWindows : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
    }
};

TEST_F(DialogWindows, EveryControlExistsWithItsClassAndText) {
    Host host;
    for (const DialogExpect& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        DialogWindow dlg(d, host.get());
        ASSERT_NE(dlg.get(), nullptr) << "CreateDialogParamW failed: " << GetLastError();
        for (const Expect& e : d.controls) {
            SCOPED_TRACE("control " + std::to_string(e.id));
            HWND c = GetDlgItem(dlg.get(), static_cast<int>(e.id));
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(_wcsicmp(ClassOf(c).c_str(), ClassFor(e.kind)), 0)
                << zdtest::Utf8(ClassOf(c));
            if (IsButtonKind(e.kind) || (IsStaticKind(e.kind) && e.kind != Kind::Icon) ||
                e.kind == Kind::Edit) {
                EXPECT_EQ(WindowText(c), e.text) << zdtest::Utf8(WindowText(c));
            }
            EXPECT_EQ(IsWindowEnabled(c) == FALSE, e.kind == Kind::Picture);
        }
    }
}

TEST_F(DialogWindows, UseTheSongtiFontOfNinePoints) {
    Host host;
    for (const DialogExpect& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        DialogWindow dlg(d, host.get());
        ASSERT_NE(dlg.get(), nullptr);
        auto font = reinterpret_cast<HFONT>(SendMessageW(dlg.get(), WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW lf = {};
        ASSERT_GT(GetObjectW(font, sizeof lf, &lf), 0);
        EXPECT_STREQ(lf.lfFaceName, L"宋体");
        // 9 points at the screen's resolution, as a character height.
        HDC dc = GetDC(nullptr);
        int want = -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72);
        ReleaseDC(nullptr, dc);
        EXPECT_EQ(lf.lfHeight, want);
        // The controls draw with the same font.
        HWND first = GetWindow(dlg.get(), GW_CHILD);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(first, WM_GETFONT, 0, 0)), font);
    }
}

TEST_F(DialogWindows, SpinsAreBuddiedToTheEditBeforeThem) {
    Host host;
    struct Pair {
        int dialog, spin, edit;
    };
    const Pair pairs[] = {{IDD_JOB_OPTIONS, IDC_JO_COPIES_SPIN, IDC_JO_COPIES},
                          {IDD_JOB_OPTIONS, IDC_JO_SCALE_SPIN, IDC_JO_SCALE},
                          {IDD_WATERMARK_EDIT, IDC_WM_X_SPIN, IDC_WM_X},
                          {IDD_WATERMARK_EDIT, IDC_WM_Y_SPIN, IDC_WM_Y}};
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.spin);
        const DialogExpect* d = nullptr;
        for (const DialogExpect& x : Dialogs())
            if (x.id == p.dialog)
                d = &x;
        ASSERT_NE(d, nullptr);
        DialogWindow dlg(*d, host.get());
        ASSERT_NE(dlg.get(), nullptr);
        HWND spin = GetDlgItem(dlg.get(), p.spin);
        HWND edit = GetDlgItem(dlg.get(), p.edit);
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), edit);
        // The spin writes its position into the edit as a plain integer.
        SendMessageW(spin, UDM_SETRANGE32, 0, 2000);
        SendMessageW(spin, UDM_SETPOS32, 0, 1500);
        EXPECT_EQ(WindowText(edit), L"1500");
    }
}

// Control rectangle in dialog client pixels.
RECT ClientRectOf(HWND dlg, HWND c) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Dialog units round to pixels edge by edge, so controls that touch in
// dialog units may share one pixel row or column.
bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right - 1 && b.left < a.right - 1 && a.top < b.bottom - 1 &&
           b.top < a.bottom - 1;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

TEST_F(DialogWindows, ControlsStayInsideTheDialogAndApart) {
    Host host;
    for (const DialogExpect& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        DialogWindow dlg(d, host.get());
        ASSERT_NE(dlg.get(), nullptr);
        RECT client;
        GetClientRect(dlg.get(), &client);
        std::vector<std::pair<const Expect*, RECT>> rects;
        for (const Expect& e : d.controls) {
            HWND c = GetDlgItem(dlg.get(), static_cast<int>(e.id));
            ASSERT_NE(c, nullptr);
            RECT r = ClientRectOf(dlg.get(), c);
            EXPECT_TRUE(Inside(r, client)) << "control " << e.id << " crosses the dialog's edge";
            rects.push_back({&e, r});
        }
        auto shared = [&](DWORD a, DWORD b) {
            for (auto& p : d.sharedPlaces)
                if ((p.first == a && p.second == b) || (p.first == b && p.second == a))
                    return true;
            return false;
        };
        for (size_t i = 0; i < rects.size(); ++i) {
            for (size_t j = i + 1; j < rects.size(); ++j) {
                const Expect& a = *rects[i].first;
                const Expect& b = *rects[j].first;
                // Group boxes frame other controls.
                if (a.kind == Kind::GroupBox || b.kind == Kind::GroupBox)
                    continue;
                if (shared(a.id, b.id))
                    continue;
                EXPECT_FALSE(Overlap(rects[i].second, rects[j].second))
                    << "controls " << a.id << " and " << b.id << " overlap";
            }
        }
        // Every control outside a group box's frame keeps clear of it, and
        // every control that starts inside one ends inside it.
        for (auto& g : rects) {
            if (g.first->kind != Kind::GroupBox)
                continue;
            for (auto& c : rects) {
                if (c.first == g.first || c.first->kind == Kind::GroupBox)
                    continue;
                POINT tl = {c.second.left, c.second.top};
                if (PtInRect(&g.second, tl) && c.first->kind != Kind::DropList &&
                    c.first->kind != Kind::DropDown) {
                    EXPECT_TRUE(Inside(c.second, g.second))
                        << "control " << c.first->id << " leaves group " << g.first->id;
                }
            }
        }
    }
}

// Width the caption needs in the control's font, in pixels (mnemonic marks
// take no room).
SIZE CaptionExtent(HWND c, const std::wstring& text) {
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    HDC dc = GetDC(c);
    auto old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(c, dc);
    return size;
}

TEST_F(DialogWindows, CaptionsFitTheirControls) {
    Host host;
    for (const DialogExpect& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        DialogWindow dlg(d, host.get());
        ASSERT_NE(dlg.get(), nullptr);
        for (const Expect& e : d.controls) {
            // Placeholder texts are replaced at run time; multi-line captions wrap.
            std::wstring text = e.text;
            if (text.empty() || text == L"aaa" || text == L"aaaa" || (e.flags & kTwoLines))
                continue;
            HWND c = GetDlgItem(dlg.get(), static_cast<int>(e.id));
            ASSERT_NE(c, nullptr);
            RECT r = ClientRectOf(dlg.get(), c);
            SIZE need = CaptionExtent(c, text);
            int room = r.right - r.left;
            switch (e.kind) {
            case Kind::PushButton:
            case Kind::DefPushButton:
                room -= 4; // border
                break;
            case Kind::Radio:
            case Kind::Check:
                room -= GetSystemMetrics(SM_CXMENUCHECK) + 4; // box and gap
                break;
            case Kind::GroupBox:
                room -= 16; // frame on both sides of the title
                break;
            case Kind::Spin:
            case Kind::SpinRight:
                continue; // the text is never shown
            default:
                break;
            }
            EXPECT_LE(need.cx, room) << "caption of " << e.id << " is cut: " << zdtest::Utf8(text);
            EXPECT_LE(need.cy, r.bottom - r.top + (e.kind == Kind::GroupBox ? 0 : 2))
                << "caption of " << e.id << " is too tall";
        }
    }
}

// ---------------------------------------------------------------------------
// Pictures: a window-DC capture saved as PNG for looking at the layout.

bool SavePng(HWND w, const std::wstring& path, std::vector<uint32_t>* pixels, SIZE* size) {
    if (!drvhost::CaptureWindow(w, pixels, size))
        return false;
    return path.empty() || SUCCEEDED(drvhost::WritePng(path, *pixels, *size));
}

std::wstring ShotDir() {
    wchar_t buf[MAX_PATH] = {};
    DWORD n = GetEnvironmentVariableW(L"ZD_SHOT_DIR", buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : std::wstring();
}

// Counts pixels of a rectangle that differ from the colour at its top-left.
int InkIn(const std::vector<uint32_t>& px, SIZE size, RECT r) {
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, size.cx);
    r.bottom = std::min<LONG>(r.bottom, size.cy);
    if (r.left >= r.right || r.top >= r.bottom)
        return 0;
    uint32_t back = px[size_t(r.top) * size.cx + r.left];
    int ink = 0;
    for (LONG y = r.top; y < r.bottom; ++y)
        for (LONG x = r.left; x < r.right; ++x)
            ink += px[size_t(y) * size.cx + x] != back;
    return ink;
}

TEST_F(DialogWindows, EveryDialogDrawsItsCaptions) {
    CoInitialize(nullptr);
    std::wstring dir = ShotDir();
    Host host;
    for (const DialogExpect& d : Dialogs()) {
        SCOPED_TRACE(d.name);
        DialogWindow dlg(d, host.get());
        ASSERT_NE(dlg.get(), nullptr);
        if (d.page) {
            // As the property sheet shows it: no title bar, at the page's own
            // size (a sheet sizes pages in its own font, which under Wine's
            // default locale is smaller than this one).
            LONG style = GetWindowLongW(dlg.get(), GWL_STYLE) & ~WS_CAPTION;
            SetWindowLongW(dlg.get(), GWL_STYLE, style);
            RECT r = {0, 0, d.cx, d.cy};
            MapDialogRect(dlg.get(), &r);
            SetWindowPos(dlg.get(), nullptr, 0, 0, r.right, r.bottom,
                         SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
            RECT outer = r;
            AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
            SetWindowPos(host.get(), HWND_TOP, 0, 0, outer.right - outer.left,
                         outer.bottom - outer.top, SWP_SHOWWINDOW);
        } else {
            SetWindowPos(dlg.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        }
        std::wstring path;
        if (!dir.empty())
            path = dir + L"\\" + std::wstring(d.name, d.name + std::strlen(d.name)) + L".png";
        std::vector<uint32_t> px;
        SIZE size;
        bool saved = SavePng(dlg.get(), path, &px, &size);
        if (!path.empty()) {
            EXPECT_TRUE(saved) << zdtest::Utf8(path);
        }
        // Every captioned button and label leaves ink where it stands.
        RECT window;
        GetWindowRect(dlg.get(), &window);
        for (const Expect& e : d.controls) {
            if (!*e.text || e.kind == Kind::GroupBox || e.kind == Kind::Spin ||
                e.kind == Kind::SpinRight)
                continue;
            HWND c = GetDlgItem(dlg.get(), static_cast<int>(e.id));
            RECT r;
            GetWindowRect(c, &r);
            OffsetRect(&r, -window.left, -window.top);
            InflateRect(&r, -2, -2);
            EXPECT_GT(InkIn(px, size, r), 10) << "control " << e.id << " draws nothing";
        }
        ShowWindow(host.get(), SW_HIDE);
    }
    CoUninitialize();
}

TEST_F(DialogWindows, PagesTakeTheirCaptionsAsTabTexts) {
    PROPSHEETPAGEW pages[3] = {};
    const int ids[3] = {IDD_JOB_OPTIONS, IDD_FINISHING, IDD_COLOR};
    HPROPSHEETPAGE handles[3];
    for (int i = 0; i < 3; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].hInstance = Library();
        pages[i].pszTemplate = MAKEINTRESOURCEW(ids[i]);
        pages[i].pfnDlgProc = QuietDialogProc;
        handles[i] = CreatePropertySheetPageW(&pages[i]);
        ASSERT_NE(handles[i], nullptr);
    }
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW;
    header.pszCaption = L"Zed";
    header.nPages = 3;
    header.phpage = handles;
    auto sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_NE(sheet, nullptr);

    HWND tab = PropSheet_GetTabControl(sheet);
    ASSERT_NE(tab, nullptr);
    ASSERT_EQ(TabCtrl_GetItemCount(tab), 3);
    const wchar_t* want[3] = {L"作业选项", L"后处理", L"颜色"};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item)));
        EXPECT_STREQ(text, want[i]);

        PropSheet_SetCurSel(sheet, nullptr, i);
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        ASSERT_NE(page, nullptr);
        // The page is a child of the sheet without a title bar of its own.
        LONG style = GetWindowLongW(page, GWL_STYLE);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_NE(style & WS_CAPTION, static_cast<LONG>(WS_CAPTION));
        EXPECT_EQ(GetParent(page), sheet);
        EXPECT_NE(GetDlgItem(page, IDC_DEFAULTS), nullptr);
    }
    DestroyWindow(sheet);
}

} // namespace
