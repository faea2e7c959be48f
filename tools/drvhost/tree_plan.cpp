#include "tree_plan.h"

namespace drvhost {

namespace {

PlanItem FromFeature(const PpdFeature& f, const TreeOptions& options) {
    PlanItem item;
    item.name = f.text;
    item.keyword = f.keyword;
    item.feature = f.keyword;
    for (const PpdOption& o : f.options)
        item.options.push_back({o.keyword, o.text});
    item.sel = f.DefaultIndex();
    auto chosen = options.selections.find(f.keyword);
    if (chosen != options.selections.end()) {
        int i = f.Find(chosen->second);
        if (i >= 0)
            item.sel = i;
    }
    return item;
}

// A built-in item that stands for a PPD feature: the feature's options under
// the driver's public identifier, without a keyword of its own.
void AddFeatureBacked(std::vector<PlanItem>& plan, const PpdFile& ppd, const TreeOptions& options,
                      std::string_view feature, uint8_t dmPubId, const char16_t* name) {
    const PpdFeature* f = ppd.Find(feature);
    if (!f || f->options.empty())
        return;
    PlanItem item = FromFeature(*f, options);
    item.keyword.clear();
    item.dmPubId = dmPubId;
    item.name = name;
    plan.push_back(std::move(item));
}

PlanItem Fixed(const char16_t* name, uint8_t dmPubId,
               std::initializer_list<std::pair<const char*, const char16_t*>> opts, int sel) {
    PlanItem item;
    item.name = name;
    item.dmPubId = dmPubId;
    for (const auto& [k, n] : opts)
        item.options.push_back({k, n});
    item.sel = sel;
    return item;
}

PlanItem UpDown(const char16_t* name, uint8_t dmPubId, int32_t lower, int32_t upper, int32_t value,
                const char16_t* unit) {
    PlanItem item;
    item.kind = ItemKind::UpDown;
    item.name = name;
    item.dmPubId = dmPubId;
    item.lower = lower;
    item.upper = upper;
    item.sel = value;
    item.unit = unit;
    return item;
}

} // namespace

bool IsBuiltInFeature(std::string_view keyword) {
    return keyword == "PageSize" || keyword == "Resolution" || keyword == "Duplex";
}

std::vector<PlanItem> BuildDocumentPlan(const PpdFile& ppd, const TreeOptions& options) {
    std::vector<PlanItem> plan;
    const uint32_t omit = options.omit;
    if (!(omit & kFormName))
        AddFeatureBacked(plan, ppd, options, "PageSize", pub::FormName, u"Paper Size");
    if (!(omit & kOrientation))
        plan.push_back(Fixed(u"Orientation", pub::Orientation,
                             {{"Portrait", u"Portrait"},
                              {"Landscape", u"Landscape"},
                              {"RotatedLandscape", u"Rotated Landscape"}},
                             0));
    if (!(omit & kCopies))
        plan.push_back(UpDown(u"Copy Count", pub::CopiesCollate, 1, 9999, 1, u"Copies"));
    if (!(omit & kScale))
        plan.push_back(UpDown(u"Scaling", pub::Scale, 1, 1000, 100, u"%"));
    if (!(omit & kDuplex))
        AddFeatureBacked(plan, ppd, options, "Duplex", pub::Duplex, u"Print on Both Sides");
    if (!(omit & kPagesPerSheet))
        plan.push_back(Fixed(
            u"Pages per Sheet", pub::PagesPerSheet,
            {{"1", u"1"}, {"2", u"2"}, {"4", u"4"}, {"6", u"6"}, {"9", u"9"}, {"16", u"16"}}, 0));
    if (!(omit & kPrintQuality))
        AddFeatureBacked(plan, ppd, options, "Resolution", pub::PrintQuality, u"Print Quality");
    if (!(omit & kColor) && ppd.Attribute("ColorDevice") == "True")
        plan.push_back(
            Fixed(u"Color", pub::Color, {{"Monochrome", u"Monochrome"}, {"Color", u"Color"}}, 1));
    if (!(omit & kOutputOption)) {
        PlanItem item = Fixed(u"PostScript Output Option", 0,
                              {{"Speed", u"Optimize for Speed"},
                               {"Portability", u"Optimize for Portability"},
                               {"EPS", u"Encapsulated PostScript (EPS)"},
                               {"Archive", u"Archival Format"}},
                              0);
        item.itemId = kOutputOptionItemId;
        plan.push_back(std::move(item));
    }
    if (!(omit & kMirror)) {
        PlanItem item = Fixed(u"Mirrored Output", 0, {{"True", u"Yes"}, {"False", u"No"}}, 1);
        item.nameId = kMirrorNameId;
        plan.push_back(std::move(item));
    }
    if (!(omit & kNegative)) {
        PlanItem item = Fixed(u"Negative Output", 0, {{"True", u"Yes"}, {"False", u"No"}}, 1);
        item.nameId = kNegativeNameId;
        plan.push_back(std::move(item));
    }
    for (const PpdFeature& f : ppd.features) {
        if (f.installable || IsBuiltInFeature(f.keyword) || f.options.empty())
            continue;
        PlanItem item = FromFeature(f, options);
        item.level = 2;
        plan.push_back(std::move(item));
    }
    return plan;
}

std::vector<PlanItem> BuildDevicePlan(const PpdFile& ppd, const TreeOptions& options) {
    std::vector<PlanItem> plan;
    bool root = !(options.omit & kInstallableRoot);
    if (root) {
        PlanItem item;
        item.kind = ItemKind::Header;
        item.name = u"Installable Options";
        item.nameId = kInstallableRootNameId;
        plan.push_back(std::move(item));
    }
    for (const PpdFeature& f : ppd.features) {
        if (!f.installable || f.options.empty())
            continue;
        PlanItem item = FromFeature(f, options);
        item.level = root ? 2 : 1;
        plan.push_back(std::move(item));
    }
    return plan;
}

int16_t PaperNumberForKeyword(std::string_view k) {
    struct Paper {
        const char* keyword;
        int16_t number;
    };
    static const Paper kPapers[] = {
        {"Letter", 1}, {"Tabloid", 3}, {"Legal", 5}, {"Executive", 7}, {"A3", 8},
        {"A4", 9},     {"A5", 11},     {"B4", 12},   {"B5", 13},       {"FanFoldGermanLegal", 41}};
    for (const Paper& p : kPapers)
        if (k == p.keyword)
            return p.number;
    return 256;
}

std::string SelectedKeyword(const PlanItem& item, int32_t sel) {
    if (item.kind != ItemKind::List || sel < 0 || size_t(sel) >= item.options.size())
        return std::string();
    return item.options[size_t(sel)].keyword;
}

} // namespace drvhost
