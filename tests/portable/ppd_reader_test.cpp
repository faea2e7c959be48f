#include "devmode_dump.h"
#include "ppd_reader.h"
#include "tree_plan.h"

#include "core/devmode_record.h"
#include "jobopts/job_storage_rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

using namespace drvhost;

namespace {

const char kSmallPpd[] = "*PPD-Adobe: \"4.3\"\r\n"
                         "*% a comment with *OpenUI inside\r\n"
                         "*FileVersion: \"1.2.3\"\r\n"
                         "*Copyright Copyright (C) Somebody\r\n"
                         "*ColorDevice: True\r\n"
                         "*OpenGroup: InstallableOptions/Options Installed\r\n"
                         "*OpenUI *ZDHDD/Hard Disk: PickOne\r\n"
                         "*DefaultZDHDD: True\r\n"
                         "*ZDHDD False/Not Installed: \"\"\r\n"
                         "*ZDHDD True/Installed: \"\"\r\n"
                         "*CloseUI: *ZDHDD\r\n"
                         "*CloseGroup: InstallableOptions\r\n"
                         "*OpenUI *PageSize/Paper Size: PickOne\r\n"
                         "*DefaultPageSize: Letter\r\n"
                         "*PageSize A4/A4 <E9>t<e9>: \"<</PageSize [595 842]>>\r\n"
                         "  setpagedevice\"\r\n"
                         "*PageSize Letter: \"<</PageSize [612 792]>> setpagedevice\"\r\n"
                         "*CloseUI: *PageSize\r\n"
                         "*OpenUI *ZDStaple/Staple: PickOne\r\n"
                         "*ZDStaple None/Off: \"\"\r\n"
                         "*ZDStaple One/1 Staple: \"\"\r\n"
                         "*CloseUI: *ZDStaple\r\n"
                         "*DefaultZDStaple: One\r\n"
                         "*PaperDimension A4: \"595 842\"\r\n";

const PlanItem* FindByPub(const std::vector<PlanItem>& plan, uint8_t id) {
    for (const PlanItem& i : plan)
        if (i.dmPubId == id)
            return &i;
    return nullptr;
}

const PlanItem* FindByKeyword(const std::vector<PlanItem>& plan, const std::string& k) {
    for (const PlanItem& i : plan)
        if (i.keyword == k)
            return &i;
    return nullptr;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace

TEST(PpdReader, FeaturesOptionsTranslationsAndDefaults) {
    PpdFile ppd = ParsePpd(kSmallPpd);
    ASSERT_EQ(ppd.features.size(), 3u);

    const PpdFeature* hdd = ppd.Find("ZDHDD");
    ASSERT_NE(hdd, nullptr);
    EXPECT_TRUE(hdd->installable);
    EXPECT_EQ(hdd->text, u"Hard Disk");
    EXPECT_EQ(hdd->uiType, "PickOne");
    ASSERT_EQ(hdd->options.size(), 2u);
    EXPECT_EQ(hdd->options[1].keyword, "True");
    EXPECT_EQ(hdd->options[1].text, u"Installed");
    EXPECT_EQ(hdd->DefaultIndex(), 1);

    const PpdFeature* size = ppd.Find("PageSize");
    ASSERT_NE(size, nullptr);
    EXPECT_FALSE(size->installable);
    ASSERT_EQ(size->options.size(), 2u);
    // Hex substrings give the bytes of ISOLatin1; no translation gives the keyword.
    EXPECT_EQ(size->options[0].text, u"A4 \u00e9t\u00e9");
    EXPECT_EQ(size->options[1].text, u"Letter");
    EXPECT_EQ(size->DefaultIndex(), 1);

    // A default that follows the CloseUI still counts.
    EXPECT_EQ(ppd.Find("ZDStaple")->DefaultIndex(), 1);
    EXPECT_EQ(ppd.Find("OutputBin"), nullptr);
}

TEST(PpdReader, AttributesAndMultiLineValues) {
    PpdFile ppd = ParsePpd(kSmallPpd);
    EXPECT_EQ(ppd.Attribute("FileVersion"), "1.2.3");
    EXPECT_EQ(ppd.Attribute("ColorDevice"), "True");
    EXPECT_EQ(ppd.Attribute("Copyright"), "Copyright (C) Somebody");
    EXPECT_EQ(ppd.Attribute("PaperDimension"), "595 842");
    EXPECT_EQ(ppd.Attribute("DefaultZDStaple"), "One");
    EXPECT_EQ(ppd.Attribute("NoSuchKeyword"), "");
    // The continuation line of the A4 value was not read as an entry of its own.
    EXPECT_TRUE(ppd.warnings.empty());
    for (const PpdAttribute& a : ppd.attributes)
        EXPECT_NE(a.keyword.find("setpagedevice"), 0u);
}

TEST(PpdReader, HostileInputStaysBounded) {
    EXPECT_TRUE(ParsePpd("").features.empty());
    EXPECT_TRUE(ParsePpd("*").features.empty());
    EXPECT_TRUE(ParsePpd("*OpenUI").features.empty());
    // Unterminated quote runs to the end of the text without a fault.
    PpdFile open = ParsePpd("*OpenUI *A/B: PickOne\n*A x/y: \"never closed\n*A z: \"\"");
    ASSERT_EQ(open.features.size(), 1u);
    EXPECT_EQ(open.features[0].options.size(), 1u);
    // Duplicate features and options are refused and reported.
    PpdFile dup = ParsePpd("*OpenUI *A: PickOne\n*A x: \"\"\n*A x: \"\"\n*CloseUI: *A\n"
                           "*OpenUI *A: PickOne\n*CloseUI: *A\n");
    ASSERT_EQ(dup.features.size(), 1u);
    EXPECT_EQ(dup.features[0].options.size(), 1u);
    EXPECT_EQ(dup.warnings.size(), 2u);
    // Broken hex substrings stay literal.
    EXPECT_EQ(DecodePpdTranslation("a<4x>b<41"), u"a<4x>b<41");
    EXPECT_EQ(DecodePpdTranslation("<414>"), u"<414>");
    // Feature count is capped.
    std::string many;
    for (size_t i = 0; i < kMaxPpdFeatures + 5; ++i)
        many += "*OpenUI *F" + std::to_string(i) + ": PickOne\n*CloseUI: *F\n";
    EXPECT_EQ(ParsePpd(many).features.size(), kMaxPpdFeatures);
}

TEST(TreePlan, DocumentTreeHasBuiltInsAndKeywordItems) {
    PpdFile ppd = ParsePpd(kSmallPpd);
    std::vector<PlanItem> plan = BuildDocumentPlan(ppd, TreeOptions{});

    const PlanItem* form = FindByPub(plan, pub::FormName);
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->keyword.empty());
    EXPECT_EQ(form->feature, "PageSize");
    ASSERT_EQ(form->options.size(), 2u);
    EXPECT_EQ(form->options[0].keyword, "A4");
    EXPECT_EQ(form->sel, 1);

    const PlanItem* scale = FindByPub(plan, pub::Scale);
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(scale->kind, ItemKind::UpDown);
    EXPECT_EQ(scale->lower, 1);
    EXPECT_EQ(scale->upper, 1000);
    EXPECT_EQ(scale->sel, 100);
    const PlanItem* copies = FindByPub(plan, pub::CopiesCollate);
    ASSERT_NE(copies, nullptr);
    EXPECT_EQ(copies->lower, 1);
    EXPECT_GT(copies->upper, 999);

    EXPECT_NE(FindByPub(plan, pub::Color), nullptr);  // *ColorDevice: True
    EXPECT_EQ(FindByPub(plan, pub::Duplex), nullptr); // no Duplex feature
    EXPECT_EQ(FindByPub(plan, pub::PrintQuality), nullptr);

    int named423 = 0, named424 = 0, output = 0;
    for (const PlanItem& i : plan) {
        named423 += i.nameId == kMirrorNameId;
        named424 += i.nameId == kNegativeNameId;
        output += i.itemId == kOutputOptionItemId;
    }
    EXPECT_EQ(named423, 1);
    EXPECT_EQ(named424, 1);
    EXPECT_EQ(output, 1);

    // Keyword items: every non-installable feature that is not built in.
    const PlanItem* staple = FindByKeyword(plan, "ZDStaple");
    ASSERT_NE(staple, nullptr);
    EXPECT_EQ(staple->sel, 1);
    EXPECT_EQ(FindByKeyword(plan, "ZDHDD"), nullptr);
    EXPECT_EQ(FindByKeyword(plan, "PageSize"), nullptr);
}

TEST(TreePlan, OmittedBuiltInsAndChosenSelections) {
    PpdFile ppd = ParsePpd(kSmallPpd);
    TreeOptions o;
    o.omit = kScale | kCopies | kMirror | kColor | kFormName;
    o.selections["ZDStaple"] = "None";
    o.selections["PageSize"] = "NoSuchPaper"; // unknown: the default stays
    std::vector<PlanItem> plan = BuildDocumentPlan(ppd, o);
    EXPECT_EQ(FindByPub(plan, pub::Scale), nullptr);
    EXPECT_EQ(FindByPub(plan, pub::CopiesCollate), nullptr);
    EXPECT_EQ(FindByPub(plan, pub::Color), nullptr);
    EXPECT_EQ(FindByPub(plan, pub::FormName), nullptr);
    EXPECT_NE(FindByPub(plan, pub::Orientation), nullptr);
    for (const PlanItem& i : plan)
        EXPECT_NE(i.nameId, kMirrorNameId);
    EXPECT_EQ(FindByKeyword(plan, "ZDStaple")->sel, 0);

    o.omit = 0;
    o.selections["PageSize"] = "A4";
    EXPECT_EQ(FindByPub(BuildDocumentPlan(ppd, o), pub::FormName)->sel, 0);
}

TEST(TreePlan, DeviceTreeHoldsInstallableOptions) {
    PpdFile ppd = ParsePpd(kSmallPpd);
    std::vector<PlanItem> plan = BuildDevicePlan(ppd, TreeOptions{});
    ASSERT_EQ(plan.size(), 2u);
    EXPECT_EQ(plan[0].nameId, kInstallableRootNameId);
    EXPECT_EQ(plan[0].kind, ItemKind::Header);
    EXPECT_EQ(plan[1].keyword, "ZDHDD");
    EXPECT_EQ(plan[1].level, 2);
    EXPECT_EQ(SelectedKeyword(plan[1], plan[1].sel), "True");
    EXPECT_EQ(SelectedKeyword(plan[1], 2), "");
    EXPECT_EQ(SelectedKeyword(plan[1], -1), "");

    TreeOptions o;
    o.omit = kInstallableRoot;
    o.selections["ZDHDD"] = "False";
    plan = BuildDevicePlan(ppd, o);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].level, 1);
    EXPECT_EQ(plan[0].sel, 0);
}

TEST(TreePlan, PaperNumbers) {
    EXPECT_EQ(PaperNumberForKeyword("A4"), 9);
    EXPECT_EQ(PaperNumberForKeyword("Letter"), 1);
    EXPECT_EQ(PaperNumberForKeyword("B5"), 13);
    EXPECT_EQ(PaperNumberForKeyword("a4"), 256);
}

// The demo model's PPD carries every feature that the plug-in's pages look for.
TEST(DemoPpd, HasThePluginFeatures) {
    PpdFile ppd = ParsePpd(ReadFile(ZD_SAMPLES_DIR "/zdcp95.ppd"));
    ASSERT_FALSE(ppd.features.empty());
    EXPECT_TRUE(ppd.warnings.empty());
    for (const char* k : {"ZDHDD", "ZDOptionDuplex", "ZDOptionTray", "ZDFinisher", "ZDOptionMPF",
                          "ZDPunchUnit", "InstalledMemory"}) {
        const PpdFeature* f = ppd.Find(k);
        ASSERT_NE(f, nullptr) << k;
        EXPECT_TRUE(f->installable) << k;
    }
    const std::pair<const char*, size_t> kOptionCounts[] = {
        {"ZDOutputMode", 2}, {"ZDControl", 5},          {"ZDResolution", 2},  {"ZDBindPosition", 5},
        {"OutputBin", 4},    {"ZDColorICMS", 4},        {"ZDCMYKProfile", 2}, {"ZDColorMatch", 3},
        {"ZDPunchUnit", 5},  {"ZDBlackSubstitution", 3}};
    for (const auto& [k, n] : kOptionCounts) {
        const PpdFeature* f = ppd.Find(k);
        ASSERT_NE(f, nullptr) << k;
        EXPECT_EQ(f->options.size(), n) << k;
    }
    for (const char* k :
         {"ZDCollate",          "ZDStaple",          "ZDMediaType",      "ZDManualFeed",
          "TraySwitch",         "ZDPageSizeCheck",   "ZDEnvRotate",      "ZDHDDSpool",
          "ZDDrumClean",        "ZDJob_Type",        "ZDOverlay",        "ZDSeparationorder",
          "ZDOverPrint",        "ZDProcessMode",     "ZDHalftoneMode",   "ZDAlwaysPrnHT",
          "ZDColorRenderStyle", "ZDColorRenderDict", "ZDTargetColor",    "ZDTone",
          "ZDHairLine",         "ZDPunch",           "ZDBlackSubGra",    "ZDRGBProfile",
          "ZDCMYKInputProfile", "ZDCMYKLinkProfile", "ZDOutProfile",     "ZDSimProfile",
          "ZDPureBlack",        "ZDPreserveBlack",   "ZDImageSmoothing", "ZDTrapping",
          "ZDScreenObo",        "PageSize",          "Duplex",           "Resolution"})
        EXPECT_NE(ppd.Find(k), nullptr) << k;
    // Check boxes that mean "on" at selection 0 (the Advanced and Others dialogs).
    for (const char* k :
         {"ZDHairLine", "ZDAlwaysPrnHT", "ZDScreenObo", "ZDPureBlack", "ZDPreserveBlack"})
        EXPECT_EQ(ppd.Find(k)->options[0].keyword, "True") << k;
    EXPECT_FALSE(ppd.Attribute("FileVersion").empty());
    EXPECT_FALSE(ppd.Attribute("Copyright").empty());
}

namespace {
std::string ValueOf(const std::vector<DecodedField>& fields, size_t offset) {
    for (const DecodedField& f : fields)
        if (f.offset == offset)
            return f.value;
    return "(no field)";
}
} // namespace

TEST(DevModeDump, DecodesFieldsAtTheirOffsets) {
    std::vector<uint8_t> block(zd::kOemDevModeSize, 0xFF);
    zd::ByteView v(block.data(), block.size());
    zd::DefaultDevMode(v, u"C:\\d\\3\\m.cap", 2);
    v.set_text16(zd::dm::kJobName, zd::dm::kJobNameUnits, u"Job\u4e2d");
    v.set_u32(zd::dm::kValue12, uint32_t(-5));
    v.set_u16(zd::dm::kWmAngle, uint16_t(-45));
    v.set_text16(zd::dm::kJobPassword, zd::dm::kJobPasswordUnits, u"2468");
    v.set_u32(zd::dm::kHeldJob, zd::HeldJobWord(zd::HeldJobKind::NamedWithPin, 2));
    std::vector<DecodedField> f = DecodeOemDevMode(block.data(), block.size());

    EXPECT_EQ(ValueOf(f, 0), "3604 (0x00000E14)");
    EXPECT_EQ(ValueOf(f, 4), "\"0002\" (0x32303030)");
    EXPECT_EQ(ValueOf(f, 12), "-5");
    EXPECT_EQ(ValueOf(f, 16), "\"Job\xe4\xb8\xad\"");
    EXPECT_EQ(ValueOf(f, 50), "\"****\""); // the PIN's length only
    EXPECT_EQ(ValueOf(f, 64), "held, name and PIN (job type 2)");
    EXPECT_EQ(ValueOf(f, 72), "255 65535 65535 65535");
    EXPECT_EQ(ValueOf(f, 616), "-45");
    EXPECT_EQ(ValueOf(f, 2036), "\"C:\\d\\3\\m.cap\"");
    EXPECT_EQ(ValueOf(f, 2558), "2 (0x0002)");
    // Fields appear in offset order and none overlaps the next.
    for (size_t i = 1; i < f.size(); ++i)
        EXPECT_LE(f[i - 1].offset + f[i - 1].width, f[i].offset) << f[i].name;
    EXPECT_LE(f.back().offset + f.back().width, size_t(zd::kOemDevModeSize));

    std::string text = FormatFields(f);
    EXPECT_NE(text.find("   12     4  first own item value"), std::string::npos) << text;
}

TEST(DevModeDump, ShortBlockIsNotReadPastItsEnd) {
    // A text field without NUL at the end of a short block, as a file may hold.
    std::vector<uint8_t> block(20, 0);
    for (size_t i = 0; i < block.size(); i += 2)
        block[i] = 'A';
    std::vector<DecodedField> f = DecodeOemDevMode(block.data(), block.size());
    EXPECT_EQ(ValueOf(f, 16), "\"AA\"");
    EXPECT_EQ(ValueOf(f, 50), "(beyond the block)");
    EXPECT_EQ(ValueOf(f, 3596), "(beyond the block)");
    EXPECT_EQ(ValueOf(DecodeOemDevMode(nullptr, 0), 0), "(beyond the block)");
}
