// The model-file checker over a deliberately broken model: one finding of
// each kind, with its file and line, and over the demo model.
#include "model_lint.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using drvhost::LintFinding;
using drvhost::LintLevel;

std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s)
        out.push_back(c < 0x80 ? char(c) : '?');
    return out;
}

class ModelLint : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        g_dir = zdtest::MakeTempDir(L"lint") + L"\\";
        g_resources = LoadLibraryExW((zdtest::ExeDir() + L"\\zdui.dll").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
    }

    static std::wstring Write(const std::wstring& name, const std::wstring& text, bool utf16) {
        std::wstring path = g_dir + name;
        EXPECT_TRUE(zdtest::WriteTextFile(path, text, utf16));
        return path;
    }

    void Lint(const drvhost::ModelFileSet& files) {
        findings_ = drvhost::LintModel(files, g_resources);
    }

    // The finding whose message holds `text`; fails the test when none does.
    const LintFinding* Find(const std::wstring& text) {
        for (const LintFinding& f : findings_)
            if (f.message.find(text) != std::wstring::npos)
                return &f;
        ADD_FAILURE() << "no finding with \"" << Narrow(text) << "\"; findings:\n" << Report();
        return nullptr;
    }

    // Level, file (by its name) and line of the finding holding `text`.
    void Expect(const std::wstring& text, LintLevel level, const std::wstring& file, int line) {
        const LintFinding* f = Find(text);
        if (!f)
            return;
        EXPECT_EQ(int(f->level), int(level)) << Narrow(text);
        EXPECT_EQ(f->file, file.empty() ? file : g_dir + file) << Narrow(text);
        EXPECT_EQ(f->line, line) << Narrow(text);
    }

    std::string Report() const {
        std::string s;
        for (const LintFinding& f : findings_)
            s += Narrow(drvhost::FormatFinding(f)) + "\n";
        return s;
    }

    static std::wstring g_dir;
    static HMODULE g_resources;
    std::vector<LintFinding> findings_;
};

std::wstring ModelLint::g_dir;
HMODULE ModelLint::g_resources;

const wchar_t kCap[] = L"[Capability]\r\n"                                    // 1
                       L"ZD Lint=LINT\r\n"                                    // 2
                       L"ZD Lint Lost=NOSUCH\r\n"                             // 3
                       L"ZD Lint Digit=DIGIT\r\n"                             // 4
                       L"[LINT]\r\n"                                          // 5
                       L"Compression=1281h\r\n"                               // 6
                       L"PSOutputOpt=7\r\n"                                   // 7
                       L"NetExtDLL=C:\\nowhere\\zdnet.dll\r\n"                // 8
                       L"USBExtDLL=C:\\x\\zdusb.dll\r\n"                      // 9
                       L"AskZedURL=https://support.zed.example\r\n"           // 10
                       L"CCMInfoFile=lintccm.ini\r\n"                         // 11
                       L"SwatchRegPath=HKEY_LOCAL_MACHINE\\SOFTWARE\\Zed\r\n" // 12
                       L"TabLinkName=www zed example\r\n"                     // 13
                       L"Colour=1\r\n"                                        // 14
                       L"[DIGIT]\r\n"                                         // 15
                       L"Compression=3841\r\n"                                // 16
                       L"PinJobTypes=Secure\r\n";                             // 17

std::wstring Watermarks() {
    std::wstring w = L"[Watermark]\r\n"; // line 6
    const std::wstring clean = L"=72,0,45,0,0,12632256,Secret,Times,0,0,0,3,0,0,0,0\r\n";
    w += L"WTMK001" + clean;                                         // 7
    w += L"WTMK002=72,abc,45,0,0,255,Text,Face,0,0,0,300,0,0,0\r\n"; // 8
    w += L"WTMK003=72,0,0,0,0,0," + std::wstring(130, L'T') + L"," + std::wstring(40, L'F') +
         L",0,0,0,0,0,0,0,0\r\n"; // 9
    for (int n = 4; n <= 17; ++n) // 10-23
        w += L"WTMK00" + std::to_wstring(n) + clean;
    return w;
}

std::wstring Config() {
    return L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n"              // 1-2
           L"[DependentFiles]\r\nHELP=..\\help\\zd.hlp\r\n"          // 3-4
           L"WMFONT=lintfont.dat\r\n" +                              // 5
           Watermarks() +                                            // 6-23
           L"[\u81EA\u5B9A\u4E49\u989C\u8272]\r\n"                   // 24
           L"Color0=255,0,0\r\nColor1=300,0,0\r\n"                   // 25-26
           L"[OverlaySetting]\r\nOverlay_Num=3\r\nHistory_Num=0\r\n" // 27-29
           L"[Overlay_Info 0]\r\nOverlay_Name=A\r\nPageMode=7\r\n"   // 30-32
           L"CustomPage=\r\nForm_Num=1\r\nForm_Name 0=Bad(Name)\r\n" // 33-35
           L"[Overlay_Info 1]\r\nOverlay_Name=B\r\nPageMode=4\r\n"   // 36-38
           L"CustomPage=1,,03\r\nForm_Num=1\r\nForm_Name 0=Ok\r\n"   // 39-41
           L"[Overlay_Info 5]\r\nOverlay_Name=C\r\n";                // 42-43
}

const wchar_t kFonts[] = L"[PrinterFont]\r\nDefaultNo=5\r\n"
                         L"1=Times,Times-Italic,Times-Bold,Times-BoldItalic,Times New Roman\r\n"
                         L"2=Helvetica\r\n"
                         L"4=Gap\r\n";

std::wstring ColorSettings() {
    return L"[Color]\r\nSettingNum=3\r\n"             // 1-2
           L"SettingID0=1\r\nSettingName1=Office\r\n" // 3-4
           L"CCMNT1=0A0B0C\r\nCCMNV1=0A0BZZ\r\n"      // 5-6
           L"SettingID1=2\r\nSettingName2=Long\r\n"   // 7-8
           L"CCMNT2=" +
           std::wstring(600, L'A') +
           L"\r\nCCMNV2=ABC\r\n"             // 9-10
           L"SettingID2=9\r\n"               // 11
           L"[Gamma]\r\nSettingNum=300\r\n"; // 12-13
}

const wchar_t kPpd[] = L"*PPD-Adobe: \"4.3\"\r\n"
                       L"*ColorDevice: False\r\n"
                       L"*OpenUI *ZDCollate/Collate: Boolean\r\n"
                       L"*DefaultZDCollate: True\r\n"
                       L"*ZDCollate True/On: \"\"\r\n"
                       L"*ZDCollate False/Off: \"\"\r\n"
                       L"*CloseUI: *ZDCollate\r\n"
                       L"*OpenUI *ZDMystery/Mystery: PickOne\r\n" // 8
                       L"*DefaultZDMystery: A\r\n"
                       L"*ZDMystery A/A: \"\"\r\n"
                       L"*CloseUI: *ZDMystery\r\n"
                       L"*OpenUI *ZDHDD/Hard Disk: PickOne\r\n" // 12
                       L"*DefaultZDHDD: False\r\n"
                       L"*ZDHDD False/Not Installed: \"\"\r\n"
                       L"*ZDHDD True/Installed: \"\"\r\n"
                       L"*CloseUI: *ZDHDD\r\n";

TEST_F(ModelLint, ReportsEachKindOfFindingWithFileAndLine) {
    drvhost::ModelFileSet files;
    files.cap = Write(L"lint.cap", kCap, false);
    files.ini = Write(L"lint.ini", Config(), true);
    files.ppd = Write(L"lint.ppd", kPpd, false);
    files.filesDir = g_dir;
    Write(L"lintfont.dat", kFonts, true);
    Write(L"lintccm.ini", ColorSettings(), true);
    Lint(files);
    const LintLevel E = LintLevel::Error, W = LintLevel::Warning;

    // Capability file: the model sections and their keys.
    Expect(L"names model section [NOSUCH]", E, L"lint.cap", 3);
    Expect(L"Compression=1281h is not a decimal integer: read as 1281", W, L"lint.cap", 6);
    Expect(L"default level digit is 15", W, L"lint.cap", 16);
    Expect(L"PSOutputOpt=7", W, L"lint.cap", 7);
    Expect(L"the auto-detect button is hidden", W, L"lint.cap", 8);
    Expect(L"USBExtDLL=C:\\x\\zdusb.dll must be a bare file name", E, L"lint.cap", 9);
    Expect(L"needs both USBExtDLL and USBExtDAT", W, L"lint.cap", 9);
    Expect(L"needs both AskZedURL and AskZedRES", W, L"lint.cap", 10);
    Expect(L"SwatchRegPath=HKEY_LOCAL_MACHINE", W, L"lint.cap", 12);
    Expect(L"TabLinkName=www zed example has blanks", W, L"lint.cap", 13);
    Expect(L"Colour is not a key the plug-in reads", W, L"lint.cap", 14);
    // The PPD has no job type item: the entry names none of its options.
    Expect(L"PinJobTypes names \"Secure\", which is no *ZDJob_Type option", W, L"lint.cap", 17);

    // Configuration file: dependent files and the stores.
    Expect(L"HELP=..\\help\\zd.hlp must be a bare file name", E, L"lint.ini", 4);
    Expect(L"WTMK002: font number \"abc\" is not a number: read as 0", W, L"lint.ini", 8);
    Expect(L"WTMK002 has 15 fields", W, L"lint.ini", 8);
    Expect(L"WTMK002: position 300 is kept in 8 bits: read as 44", W, L"lint.ini", 8);
    Expect(L"text of 130 characters is cut to 128", W, L"lint.ini", 9);
    Expect(L"face name of 40 characters is cut to 32", W, L"lint.ini", 9);
    Expect(L"WTMK0017 is not read: beyond the 16 stored watermarks", W, L"lint.ini", 23);
    Expect(L"Color1=300,0,0 reads as 44,0,0", W, L"lint.ini", 26);
    Expect(L"no [Overlay_Info 2]", E, L"lint.ini", 28);
    Expect(L"PageMode=7 is none of 0-4", W, L"lint.ini", 32);
    Expect(L"Bad(Name) has characters a PostScript name cannot hold", W, L"lint.ini", 35);
    Expect(L"CustomPage=1,,03: the page list filter makes it \"1,3\"", W, L"lint.ini", 39);
    Expect(L"[Overlay_Info 5] is not read", W, L"lint.ini", 42);

    // Font list and colour setting file.
    Expect(L"font entry 2 has 1 fields; 5 expected", W, L"lintfont.dat", 4);
    Expect(L"[PrinterFont] 4 is not read", W, L"lintfont.dat", 5);
    Expect(L"DefaultNo=5 names no font entry (1-2)", W, L"lintfont.dat", 2);
    Expect(L"CCMNV1 holds characters that are not hexadecimal", W, L"lintccm.ini", 6);
    Expect(L"CCMNT2 holds more than 253 bytes", W, L"lintccm.ini", 9);
    Expect(L"CCMNV2 has an odd number of digits", W, L"lintccm.ini", 10);
    Expect(L"has no SettingName9: the setting is not offered", W, L"lintccm.ini", 11);
    Expect(L"SettingNum=300: only the first 256 positions are read", W, L"lintccm.ini", 13);
    Expect(L"colour settings offered: Office, Long", LintLevel::Note, L"lintccm.ini", 0);

    // PPD: what the pages show and remove, and a feature the plug-in does not know.
    Expect(L"the Color page is not added", LintLevel::Note, L"lint.ppd", 0);
    const LintFinding* finishing = Find(L"Finishing page: shows ZDCollate; removes");
    if (finishing) {
        EXPECT_NE(finishing->message.find(L"ZDStaple"), std::wstring::npos);
    }
    Expect(L"*ZDMystery is not one of the plug-in's features", W, L"lint.ppd", 8);
    Expect(L"*ZDHDD: auto-detect selects option 0 for a hard disk and option 1 without one, "
           L"but they are \"False\" and \"True\"",
           W, L"lint.ppd", 12);

    EXPECT_EQ(drvhost::LintExitStatus(findings_), 2);
}

TEST_F(ModelLint, UnreadableFilesAreFindingsNotFailures) {
    drvhost::ModelFileSet files;
    files.cap = g_dir + L"absent.cap";
    files.ini = Write(L"noplugin.ini", L"[DependentFiles]\r\nHELP=x.hlp\r\n", true);
    files.ppd = g_dir + L"absent.ppd";
    files.filesDir = g_dir;
    Lint(files);
    Expect(L"capability file (.cap) cannot be read", LintLevel::Error, L"absent.cap", 0);
    Expect(L"OEMConfigFile1 is missing or empty", LintLevel::Error, L"noplugin.ini", 0);
    Expect(L"PPD file cannot be read", LintLevel::Error, L"absent.ppd", 0);
    EXPECT_EQ(drvhost::LintExitStatus(findings_), 2);
}

// Saved as UTF-8, the Chinese section name of the custom colours is read
// as other characters; the same file in UTF-16 is fine.
TEST_F(ModelLint, AConfigurationFileInUtf8WithChineseTextIsReported) {
    const std::wstring text = L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n"
                              L"[\u81EA\u5B9A\u4E49\u989C\u8272]\r\nColor0=255,0,0\r\n";
    drvhost::ModelFileSet files;
    files.cap = Write(L"enc.cap", L"[Capability]\r\nEnc=E\r\n[E]\r\nCompression=0\r\n", false);
    files.ini = Write(L"enc8.ini", text, false);
    files.filesDir = g_dir;
    Lint(files);
    Expect(L"the configuration file is not UTF-16 but holds non-ASCII bytes", LintLevel::Warning,
           L"enc8.ini", 3);
    files.ini = Write(L"enc16.ini", text, true);
    Lint(files);
    for (const LintFinding& f : findings_)
        EXPECT_EQ(f.message.find(L"not UTF-16"), std::wstring::npos) << Narrow(f.message);
}

TEST_F(ModelLint, DemoModelHasNoErrors) {
    drvhost::ModelFileSet files;
    files.cap = zdtest::SamplesDir() + L"\\zdcp95.cap";
    files.ini = zdtest::SamplesDir() + L"\\zdcp95.ini";
    files.ppd = zdtest::SamplesDir() + L"\\zdcp95.ppd";
    files.filesDir = zdtest::SamplesDir() + L"\\";
    Lint(files);
    for (const LintFinding& f : findings_) {
        EXPECT_NE(int(f.level), int(LintLevel::Error)) << Narrow(drvhost::FormatFinding(f));
        EXPECT_EQ(f.message.find(L"auto-detect selects"), std::wstring::npos)
            << Narrow(drvhost::FormatFinding(f));
    }
    EXPECT_LE(drvhost::LintExitStatus(findings_), 1);
}

} // namespace
