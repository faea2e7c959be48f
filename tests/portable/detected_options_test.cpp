#include "core/detected_options.h"
#include "core/option_keywords.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace zd;

namespace {

// Builds "FeatureKeyword" data from (feature, option) entries.
std::string Entries(std::initializer_list<std::pair<const char*, const char*>> entries) {
    std::string s;
    for (auto& e : entries) {
        s += e.first;
        s.push_back('\0');
        s += e.second;
        s.push_back('\0');
        s.push_back('\n');
    }
    return s;
}

FeatureKeywordData Data(const std::string& bytes) {
    return FeatureKeywordDataFrom(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                  uint32_t(bytes.size()));
}

std::string Bytes(const FeatureKeywordData& d) {
    return std::string(reinterpret_cast<const char*>(d.bytes.data()), d.length);
}

// The installable options of a model with two extra trays at most.
const char kInstallablePpd[] =
    "*OpenUI *InstalledMemory/Memory: PickOne\r\n*DefaultInstalledMemory: 128MB\r\n"
    "*InstalledMemory 128MB/128 MB: \"\"\r\n*InstalledMemory 256MB/256 MB: \"\"\r\n"
    "*CloseUI: *InstalledMemory\r\n"
    "*ZDOptionTray 0/None: \"\"\n*ZDOptionTray 1: \"\"\n*ZDOptionTray\t2/2 Trays: \"\"\n"
    "*ZDOptionMPF False/No: \"\"\n*ZDOptionMPF True/Yes: \"\"\n"
    "*ZDOptionDuplex False/No: \"\"\n*ZDOptionDuplex True/Yes: \"\"\n"
    "*ZDFinisher False/No: \"\"\n*ZDFinisher True/Yes: \"\"\n"
    "*ZDPunchUnit None/No: \"\"\n*ZDPunchUnit Type2/Two: \"\"\n"
    "*ZDHDDSpool On/On: \"\"\n*ZDHDD False/No: \"<<\n*ZDHDD Fake/quoted: (\n)>>\"\n"
    "*ZDHDD True/Yes: \"\"\n";

const std::vector<std::u16string> kMemoryNames = {u"128 MB", u"256 MB", u"512 MB"};

} // namespace

TEST(DetectedOptionsRules, InstalledFlagExamples) {
    OptionDataValues v;
    v.installed = 0x2B;
    DetectedOptions d = DetectOptions(v, kMemoryNames);
    EXPECT_EQ(d.trays, 4u);
    EXPECT_EQ(d.duplex, 0u);
    EXPECT_EQ(d.finisher, 0u);
    EXPECT_EQ(d.multiPurposeFeeder, 0u);

    v.installed = 0;
    d = DetectOptions(v, kMemoryNames);
    EXPECT_EQ(d.trays, 0u);
    EXPECT_EQ(d.duplex, 1u);
    EXPECT_EQ(d.hardDisk, 1u);
    EXPECT_EQ(d.memory, 0u);
    EXPECT_EQ(d.punchUnit, 0u);

    v.installed = 0x70;
    v.hardDisk = true;
    v.punchType = 3;
    d = DetectOptions(v, kMemoryNames);
    EXPECT_EQ(d.finisher, 1u);
    EXPECT_EQ(d.multiPurposeFeeder, 1u);
    EXPECT_EQ(d.duplex, 0u);
    EXPECT_EQ(d.hardDisk, 0u);
    EXPECT_EQ(d.punchUnit, 1u);

    for (uint32_t flags = 0; flags < 16; ++flags) {
        uint32_t highest = 0;
        for (uint32_t bit = 0; bit < 4; ++bit)
            if (flags & (1u << bit))
                highest = bit + 1;
        EXPECT_EQ(TrayCount(flags | 0xF0), highest) << flags;
    }
}

TEST(DetectedOptionsRules, MemoryOptionMatch) {
    EXPECT_EQ(MatchMemoryOption(256, kMemoryNames), 1u);
    EXPECT_EQ(MatchMemoryOption(384, kMemoryNames), 0u);
    EXPECT_EQ(MatchMemoryOption(512, kMemoryNames), 2u);
    EXPECT_EQ(MatchMemoryOption(256, {}), 0u); // no memory item
    // Names shorter than three units, or without a number, never match.
    EXPECT_EQ(MatchMemoryOption(0, {u"MB", u"Standard", u"0 MB"}), 2u);
    EXPECT_EQ(MatchMemoryOption(1, {u"1", u"x", u"01 MB"}), 2u);
    // The first match wins.
    EXPECT_EQ(MatchMemoryOption(64, {u"32 MB", u"64 MB", u"64 MB"}), 1u);
}

TEST(DetectedOptionsRules, NumberTextsSaturate) {
    EXPECT_EQ(ParseUsbRamText(u"  256MB"), 256);
    EXPECT_EQ(ParseUsbRamText(u"+512"), 512);
    EXPECT_EQ(ParseUsbRamText(u"-64 x"), -64);
    EXPECT_EQ(ParseUsbRamText(u"RAM 256"), 0);
    EXPECT_EQ(ParseUsbRamText(u""), 0);
    EXPECT_EQ(ParseUsbRamText(u"- 5"), 0);
    EXPECT_EQ(ParseUsbRamText(u"2147483647"), INT32_MAX);
    EXPECT_EQ(ParseUsbRamText(u"2147483648"), INT32_MAX);
    EXPECT_EQ(ParseUsbRamText(u"99999999999999999999999"), INT32_MAX);
    EXPECT_EQ(ParseUsbRamText(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseUsbRamText(u"-99999999999999999999999"), INT32_MIN);
}

TEST(DetectedOptionsRules, UsbPortsByTheirFirstThreeLetters) {
    EXPECT_TRUE(IsUsbPort(u"usb001"));
    EXPECT_TRUE(IsUsbPort(u"USB"));
    EXPECT_TRUE(IsUsbPort(u"UsB002"));
    EXPECT_FALSE(IsUsbPort(u"LPT1:"));
    EXPECT_FALSE(IsUsbPort(u""));
    EXPECT_FALSE(IsUsbPort(u"US"));
    EXPECT_FALSE(IsUsbPort(u"IP_usb"));
}

TEST(FeatureKeywordReplace, HardDiskFalseToTrueShrinksByOneByte) {
    std::string before =
        Entries({{"ZDOptionTray", "0"}, {"ZDHDD", "False"}, {"ZDFinisher", "False"}});
    FeatureKeywordData d = Data(before);
    EXPECT_EQ(ReplaceOptionKeyword(d, "ZDHDD", "True"), 1);
    EXPECT_EQ(d.length, before.size() - 1);
    EXPECT_EQ(Bytes(d),
              Entries({{"ZDOptionTray", "0"}, {"ZDHDD", "True"}, {"ZDFinisher", "False"}}));
}

TEST(FeatureKeywordReplace, MissingKeywordAndLookalikesLeaveDataAlone) {
    std::string before = Entries({{"XZDHDD", "False"}, {"ZDHDDX", "False"}, {"Foo", "ZDHDD"}});
    FeatureKeywordData d = Data(before);
    EXPECT_EQ(ReplaceOptionKeyword(d, "ZDHDD", "True"), 0);
    EXPECT_EQ(Bytes(d), before);
    EXPECT_EQ(ReplaceOptionKeyword(d, "", "True"), 0);
    EXPECT_EQ(Bytes(d), before);
}

TEST(FeatureKeywordReplace, LastEntryWithoutLineFeed) {
    std::string before = Entries({{"ZDOptionMPF", "False"}});
    before += std::string("ZDHDD\0False", 11); // neither NUL nor LF at the end
    FeatureKeywordData d = Data(before);
    EXPECT_EQ(ReplaceOptionKeyword(d, "ZDHDD", "True"), 1);
    EXPECT_EQ(Bytes(d), Entries({{"ZDOptionMPF", "False"}, {"ZDHDD", "True"}}));
}

TEST(FeatureKeywordReplace, NeverWritesPastTheArea) {
    // 113 bytes of data: the long option would make it 133.
    std::string filler(100, 'F');
    std::string before = Entries({{"ZDHDD", "N"}, {filler.c_str(), "x"}});
    ASSERT_LE(before.size(), kFeatureKeywordCapacity);
    FeatureKeywordData d = Data(before);
    EXPECT_EQ(ReplaceOptionKeyword(d, "ZDHDD", "VeryLongOptionKeyword"), 0);
    EXPECT_EQ(Bytes(d), before); // left unchanged
    // A replacement that just fits is done.
    std::string option(kFeatureKeywordCapacity - before.size() + 1, 'T');
    EXPECT_EQ(ReplaceOptionKeyword(d, "ZDHDD", option), 1);
    EXPECT_EQ(d.length, kFeatureKeywordCapacity);

    // A stored length above the capacity or above what was read is cut.
    std::string big(300, 'a');
    FeatureKeywordData cut =
        FeatureKeywordDataFrom(reinterpret_cast<const uint8_t*>(big.data()), big.size(), 0x1FF);
    EXPECT_EQ(cut.length, kFeatureKeywordCapacity);
    cut = FeatureKeywordDataFrom(reinterpret_cast<const uint8_t*>(big.data()), 10, 200);
    EXPECT_EQ(cut.length, 10u);
    cut = FeatureKeywordDataFrom(reinterpret_cast<const uint8_t*>(big.data()), 300, 0x105);
    EXPECT_EQ(cut.length, 5u); // the low 8 bits of the stored size
}

TEST(FeatureKeywordReplace, InstallerOptionsInOrder) {
    InstallerOptions o;
    o.installed = 0x2B;
    o.memory = 0;
    o.hardDisk = 1;
    o.punchType = 2;
    std::vector<KeywordReplacement> r = InstallerKeywordReplacements(o);
    ASSERT_EQ(r.size(), 6u); // no memory entry for m = 0
    EXPECT_EQ(r[0].feature, "ZDOptionMPF");
    EXPECT_EQ(r[0].option, "False");
    EXPECT_EQ(r[1].feature, "ZDOptionDuplex");
    EXPECT_EQ(r[1].option, "True");
    EXPECT_EQ(r[2].feature, "ZDFinisher");
    EXPECT_EQ(r[2].option, "False");
    EXPECT_EQ(r[3].feature, "ZDPunchUnit");
    EXPECT_EQ(r[3].option, "Type2");
    EXPECT_EQ(r[4].feature, "ZDOptionTray");
    EXPECT_EQ(r[4].option, "4");
    EXPECT_EQ(r[5].feature, "ZDHDD");
    EXPECT_EQ(r[5].option, "True");

    o.memory = 256;
    o.punchType = 4; // only 1..3 name a type
    r = InstallerKeywordReplacements(o);
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[3].option, "None");
    EXPECT_EQ(r[6].feature, "InstalledMemory");
    EXPECT_EQ(r[6].option, "256MB");

    // Applied to a driver's data: every entry updated, others kept.
    std::string before = Entries({{"ZDOptionMPF", "True"},
                                  {"ZDOptionDuplex", "False"},
                                  {"InstalledMemory", "128MB"},
                                  {"Resolution", "600dpi"},
                                  {"ZDHDD", "False"}});
    FeatureKeywordData d = Data(before);
    ApplyInstallerOptions(d, o, kInstallablePpd);
    EXPECT_EQ(Bytes(d), Entries({{"ZDOptionMPF", "False"},
                                 {"ZDOptionDuplex", "True"},
                                 {"InstalledMemory", "256MB"},
                                 {"Resolution", "600dpi"},
                                 {"ZDHDD", "True"}}));

    // m = 0 leaves the memory entry as it was.
    o.memory = 0;
    d = Data(before);
    ApplyInstallerOptions(d, o, kInstallablePpd);
    EXPECT_NE(Bytes(d).find(Entries({{"InstalledMemory", "128MB"}})), std::string::npos);
    EXPECT_EQ(Bytes(d).find(Entries({{"InstalledMemory", "0MB"}})), std::string::npos);
}

TEST(FeatureKeywordReplace, PpdOptionKeywordsOfAFeature) {
    using Options = std::vector<std::string>;
    EXPECT_EQ(PpdOptionKeywords(kInstallablePpd, "InstalledMemory"), (Options{"128MB", "256MB"}));
    EXPECT_EQ(PpdOptionKeywords(kInstallablePpd, "ZDOptionTray"), (Options{"0", "1", "2"}));
    // Not a longer feature's options, nor a line inside a quoted value.
    EXPECT_EQ(PpdOptionKeywords(kInstallablePpd, "ZDHDD"), (Options{"False", "True"}));
    EXPECT_TRUE(PpdOptionKeywords(kInstallablePpd, "ZDHDDSp").empty());
    EXPECT_TRUE(PpdOptionKeywords(kInstallablePpd, "").empty());
    EXPECT_TRUE(PpdOptionKeywords("", "ZDHDD").empty());
}

TEST(FeatureKeywordReplace, ValuesTheDriverHasNoOptionForAreSkipped) {
    // Four extra trays, duplex, 512 MB, a hard disk and a type-3 punch unit.
    InstallerOptions o{0x28, 512, 1, 3};
    std::string before = Entries({{"ZDOptionTray", "1"},
                                  {"InstalledMemory", "128MB"},
                                  {"ZDPunchUnit", "Type2"},
                                  {"ZDOptionDuplex", "False"},
                                  {"ZDHDD", "False"}});
    FeatureKeywordData d = Data(before);
    ApplyInstallerOptions(d, o, kInstallablePpd);
    EXPECT_EQ(Bytes(d), Entries({{"ZDOptionTray", "1"},
                                 {"InstalledMemory", "128MB"},
                                 {"ZDPunchUnit", "Type2"},
                                 {"ZDOptionDuplex", "True"},
                                 {"ZDHDD", "True"}}));
    // Without the driver's PPD nothing can be checked, and nothing changes.
    d = Data(before);
    ApplyInstallerOptions(d, o, "");
    EXPECT_EQ(Bytes(d), before);
}

TEST(FeatureKeywordReplace, DataIsStoredBeforeItsLengthAndARefusalStops) {
    FeatureKeywordData d = Data(Entries({{"ZDHDD", "True"}})); // 12 bytes
    std::string written;
    bool refuseData = true;
    auto write = [&](KeywordValue value, const uint8_t* bytes, size_t size) {
        written += (value == KeywordValue::Data ? "data:" : "size:") +
                   std::string(reinterpret_cast<const char*>(bytes), size);
        return value != KeywordValue::Data || !refuseData;
    };
    EXPECT_FALSE(StoreFeatureKeywords(d, write));
    EXPECT_EQ(written, "data:" + Bytes(d)); // the old length stays with the old data
    refuseData = false;
    written.clear();
    EXPECT_TRUE(StoreFeatureKeywords(d, write));
    EXPECT_EQ(written, "data:" + Bytes(d) + std::string("size:\x0C\0\0\0", 9));
}
