// Per-call cost of the computations behind the pages. The preview is
// recomputed for every step of a dragged size or angle bar, so it has to
// stay far below a frame (16 ms); the finishing rules run on each page
// initialisation.
#include "core/option_keywords.h"
#include "finishing/finishing_rules.h"
#include "overlay/page_filters.h"
#include "watermark/preview_geometry.h"

#include <benchmark/benchmark.h>

using namespace zd;

namespace {

PreviewInput PreviewCase(int16_t angle, uint16_t frame) {
    PreviewInput in;
    in.clientWidth = 158;
    in.clientHeight = 196;
    in.formName = u"A4";
    in.size = 72;
    in.angle = angle;
    in.color = 0x00C0C0C0;
    in.position = 3;
    in.frame = frame;
    in.text = u"CONFIDENTIAL";
    in.faceName = u"Arial";
    return in;
}

void BM_PreviewCompose(benchmark::State& state) {
    PreviewInput in = PreviewCase(int16_t(state.range(0)), uint16_t(state.range(1)));
    auto measure = [](const PreviewFont& f, std::u16string_view t) {
        return PreviewExtent{int(t.size()) * f.height / 2, f.height};
    };
    for (auto _ : state) {
        std::vector<PreviewOp> ops = ComposeWatermarkPreview(in, measure);
        benchmark::DoNotOptimize(ops.data());
    }
}
BENCHMARK(BM_PreviewCompose)->Args({45, 0})->Args({30, 3})->Args({-135, 1});

void BM_PreviewLayoutOnly(benchmark::State& state) {
    PreviewInput in = PreviewCase(30, 3);
    int angle = -180;
    for (auto _ : state) {
        in.angle = int16_t(angle);
        angle = angle == 180 ? -180 : angle + 1; // a dragged angle bar
        PreviewPage page = ComputePreviewPage(158, 196, in.formName, 1);
        PreviewLayout l = ComputePreviewLayout(in, page, PreviewExtent{60, 16});
        benchmark::DoNotOptimize(l);
    }
}
BENCHMARK(BM_PreviewLayoutOnly);

void BM_ReconcileFinishing(benchmark::State& state) {
    FinishingInput in;
    in.punchUnit = "Type3";
    in.paper = "A4";
    in.duplex = "DuplexNoTumble";
    in.orientationSel = 1;
    in.pagesPerSheetSel = 1;
    in.portrait = true;
    in.paperNumber = 9;
    in.rememberedPaper = 1;
    in.hasBinding = in.hasStaple = in.hasPunch = true;
    in.staple = 1;
    in.punch = 1;
    in.binding = 0;
    for (auto _ : state) {
        FinishingResult r = ReconcileFinishing(in);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_ReconcileFinishing);

void BM_FilterPageList(benchmark::State& state) {
    std::u16string text;
    while (text.size() < 254)
        text += u"12,3-45,x0,678-";
    text.resize(254);
    for (auto _ : state) {
        FilterResult r = FilterPageList(text);
        benchmark::DoNotOptimize(r.text.data());
    }
}
BENCHMARK(BM_FilterPageList);

void BM_ApplyInstallerOptions(benchmark::State& state) {
    std::string data;
    for (const char* f : {"ZDOptionMPF", "ZDOptionDuplex", "ZDFinisher", "ZDPunchUnit",
                          "ZDOptionTray", "ZDHDD", "InstalledMemory"}) {
        data += f;
        data += std::string("\0False\0\n", 8);
    }
    FeatureKeywordData base = FeatureKeywordDataFrom(reinterpret_cast<const uint8_t*>(data.data()),
                                                     data.size(), uint32_t(data.size()));
    InstallerOptions o{0x2B, 256, 1, 2};
    std::string ppd;
    for (const char* line :
         {"*ZDOptionMPF False", "*ZDOptionDuplex True", "*ZDFinisher False", "*ZDPunchUnit Type2",
          "*ZDOptionTray 4", "*ZDHDD True", "*InstalledMemory 256MB"})
        ppd += std::string(line) + ": \"\"\r\n";
    for (auto _ : state) {
        FeatureKeywordData d = base;
        ApplyInstallerOptions(d, o, ppd);
        benchmark::DoNotOptimize(d.length);
    }
}
BENCHMARK(BM_ApplyInstallerOptions);

} // namespace
