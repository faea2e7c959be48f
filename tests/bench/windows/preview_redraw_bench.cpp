// One redraw of the watermark edit dialog's preview control under the real
// GDI (run under Wine): the whole redraw against the portable composition
// alone, in microseconds per redraw.
#include "core/process_state.h"
#include "core/ui_context.h"
#include "resources/resource.h"
#include "watermark/preview_geometry.h"
#include "watermark/watermark_preview.h"
#include "watermark/watermark_record.h"
#include "watermark/watermark_store.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

namespace {

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

template <typename F> double MicrosecondsPerCall(int calls, F&& f) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        f();
    std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / calls;
}

} // namespace

int main() {
    zd::Process().moduleInstance = GetModuleHandleW(nullptr);
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr),
                                     MAKEINTRESOURCEW(IDD_WATERMARK_EDIT), nullptr, QuietDialog, 0);
    if (!dialog) {
        std::fputs("preview bench: the edit dialog could not be made\n", stderr);
        return 1;
    }
    ShowWindow(dialog, SW_SHOWNORMAL);

    // The demo model's font list: every redraw reads the entry's preview face.
    std::wstring fonts = L"Z:";
    for (const char* c = ZD_SAMPLES_DIR "/zdwmfont.dat"; *c; ++c)
        fonts.push_back(*c == '/' ? L'\\' : wchar_t(*c));
    lstrcpynW(zd::WatermarkFontFilePath(), fonts.c_str(), int(zd::kFontPathUnits));

    // A rotated, double-framed watermark on an A4 page, as a user edits it.
    DEVMODEW pub = {};
    pub.dmSize = sizeof pub;
    pub.dmOrientation = DMORIENT_PORTRAIT;
    lstrcpyW(pub.dmFormName, L"A4");
    OEMUIPSPARAM page = {};
    page.pPublicDM = &pub;
    zd::WatermarkRecord working = {};
    working.size = 72;
    working.angle = 30;
    working.color = RGB(192, 0, 0);
    working.weight = 700;
    working.fontNumber = 2; // Times
    working.position = 3;
    working.frame = 3;
    zd::SetFieldText(working.text, zd::kWatermarkTextUnits, u"CONFIDENTIAL");
    static zd::UiContext ctx = {};
    ctx.pageParam = &page;
    ctx.workingWatermark = &working;

    RECT client = {};
    GetClientRect(GetDlgItem(dialog, IDC_WM_PREVIEW), &client);
    zd::PreviewInput in = zd::WatermarkPreviewInput(ctx);
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    const zd::PreviewMeasure measure = [](const zd::PreviewFont& f, std::u16string_view t) {
        return zd::PreviewExtent{int(t.size()) * f.height / 2, f.height};
    };

    constexpr int kCalls = 2000;
    zd::DrawWatermarkPreview(dialog, &ctx); // the first drawing loads the font
    const double redraw =
        MicrosecondsPerCall(kCalls, [&] { zd::DrawWatermarkPreview(dialog, &ctx); });
    const double compose =
        MicrosecondsPerCall(kCalls, [&] { zd::ComposeWatermarkPreview(in, measure); });
    std::printf("preview redraw (%ldx%ld control): %.1f us per redraw, target under 1000 us\n",
                client.right, client.bottom, redraw);
    std::printf("  portable composition: %.1f us (%.1f %% of the redraw)\n", compose,
                redraw > 0 ? 100.0 * compose / redraw : 0.0);
    DestroyWindow(dialog);
    return redraw < 1000.0 ? 0 : 1;
}
