// Lists the stores of an installed printer's model: the watermarks, custom
// colours and overlays of its configuration file and its colour settings.
//   zdstores PRINTER
#include "abi/oemui_abi.h"
#include "color/color_setting_store.h"
#include "core/driver_files.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "overlay/overlay_store.h"
#include "watermark/watermark_store.h"

#include <cstdio>
#include <string>

namespace {

void Print(const std::wstring& text) {
    // UTF-8 on the console, so that the Chinese names read on a terminal.
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string bytes(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), n, nullptr,
                        nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zdstores PRINTER\n");
        return 2;
    }
    zd::Process().moduleInstance = GetModuleHandleW(nullptr);
    zd::PrinterHandle printer(argv[1]);
    if (!printer) {
        std::fprintf(stderr, "zdstores: cannot open the printer\n");
        return 1;
    }
    WCHAR config[zd::kOemConfigPathUnits] = {};
    if (!zd::FindDriverFiles(printer.get(), config)) {
        std::fprintf(stderr, "zdstores: the driver has no configuration files\n");
        return 1;
    }
    Print(L"configuration file: " + std::wstring(config) + L"\n\n");
    Print(zd::DescribeWatermarkStore(config) + L"\n");
    Print(zd::DescribeOverlayStore(config) + L"\n");
    OEMUIPSPARAM param = {};
    param.cbSize = sizeof(param);
    param.hPrinter = printer.get();
    param.pPrinterName = argv[1];
    WCHAR ccm[MAX_PATH] = {};
    if (zd::GetColorSettingFilePath(&param, ccm, sizeof(ccm)))
        Print(L"colour settings: " + std::wstring(ccm) + L"\n" + zd::DescribeColorSettings(ccm));
    else
        Print(L"colour settings: none named by the model\n");
    return 0;
}
