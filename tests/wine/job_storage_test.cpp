// Held jobs through the emulated driver: the Job Options page's job storage
// button and dialog over the demo printer (with and without a hard disk, the
// job type item and the permission), what OK and Cancel leave in the private
// block and the driver's job type, and the prompt at print time played as
// the driver's document events.
#include "core/devmode_record.h"
#include "core/process_state.h"
#include "drvhost_api.h"
#include "jobopts/job_storage_rules.h"
#include "plugin_sheet_test.h"
#include "resources/resource.h"
#include "test_printer.h"
#include "test_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace drvhost;

constexpr int kJobOptionsPage = 3;
constexpr int kColorPage = 5; // after the Finishing page
constexpr uint32_t kSecure = 2; // the demo PPD's job types: Normal, Proof, Secure, Store
constexpr uint32_t kProof = 1;
const wchar_t kPrinter[] = L"zd job storage";
const wchar_t kNoJobType[] = L"zd job storage nojt";

std::u16string Field(const std::vector<uint8_t>& block, size_t offset, size_t units) {
    return zd::ByteView(const_cast<uint8_t*>(block.data()), block.size()).text16(offset, units);
}

uint32_t U32(const std::vector<uint8_t>& block, size_t offset) {
    return zd::ByteView(const_cast<uint8_t*>(block.data()), block.size()).u32(offset);
}

// Answers the next message box with OK and keeps its text.
void AnswerMessage(std::wstring* text) {
    AnswerNextDialog([text](HWND box) {
        *text = MessageBoxText(box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    });
}

class JobStorage : public zdtest::PluginSheetTest {
  protected:
    static void SetUpTestSuite() {
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kPrinter), &error))
            << zdtest::Utf8(error);
        // The demo model without its job type item.
        std::string ppd = ReadWholeFile(zdtest::SamplesDir() + L"\\zdcp95.ppd"), kept;
        for (size_t pos = 0; pos < ppd.size();) {
            size_t end = std::min(ppd.find('\n', pos), ppd.size() - 1) + 1;
            std::string line = ppd.substr(pos, end - pos);
            if (line.find("ZDJob_Type") == std::string::npos)
                kept += line;
            pos = end;
        }
        std::wstring dir = zdtest::MakeTempDir(L"jobstorage");
        ASSERT_FALSE(dir.empty());
        zdtest::PrinterSpec spec = zdtest::DemoPrinterSpec(kNoJobType);
        spec.driverName = L"ZD Job Storage NoJT";
        spec.dataFile = dir + L"\\zdjs_nojt.ppd";
        ASSERT_TRUE(
            zdtest::WriteTextFile(spec.dataFile, std::wstring(kept.begin(), kept.end()), false));
        ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << zdtest::Utf8(error);
    }

    // The document sheet on the Job Options page; `hardDisk` is what the
    // device tree's ZDHDD item selects.
    void Open(const char* hardDisk = "True", HostOptions options = {},
              const wchar_t* printer = kPrinter) {
        options.device.selections["ZDHDD"] = hardDisk;
        StartSession(std::move(options));
        std::wstring error;
        ASSERT_TRUE(session_->OpenDocumentSheet(printer, &error)) << zdtest::Utf8(error);
        ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    }

    // Presses the button; `steps` act in the dialog, which OK or Cancel ends.
    void InDialog(std::function<void(HWND)> steps) {
        ActInNextDialog(std::move(steps));
        ASSERT_TRUE(session_->Click(IDC_JO_JOB_STORAGE));
        EXPECT_EQ(PendingDialogAnswers(), 0);
    }

    // The prompt's steps, then one job's document events.
    PrintJobResult Print(std::function<void(HWND)> steps) {
        if (steps)
            ActInNextDialog(std::move(steps));
        PrintJobResult job;
        std::wstring error;
        EXPECT_TRUE(session_->host().PlayCreateDc(&job, false, &error)) << zdtest::Utf8(error);
        return job;
    }

    // A secure job asked at every print, set through the dialog and the sheet's OK.
    void AskForSecureJobAtPrint() {
        Open();
        InDialog([](HWND dlg) {
            EXPECT_TRUE(SelectComboEntry(dlg, IDC_JS_TYPE, kSecure));
            EXPECT_TRUE(ClickControl(dlg, IDC_JS_ASK));
            EXPECT_TRUE(ClickControl(dlg, IDOK));
        });
        EXPECT_EQ(U32(session_->PrivateBlock(), zd::dm::kAskJobName), 1u);
        ASSERT_TRUE(session_->PressOk());
    }

    bool ApplyEnabled() {
        return IsWindowEnabled(GetDlgItem(session_->sheetWindow(), 0x3021)) != FALSE;
    }
};

TEST_F(JobStorage, ButtonNeedsTheJobTypeItemTheDiskAndThePermission) {
    Open("True");
    EXPECT_TRUE(session_->Enabled(IDC_JO_JOB_STORAGE));
    Open("False");
    EXPECT_FALSE(session_->Enabled(IDC_JO_JOB_STORAGE));
    HostOptions readOnly;
    readOnly.pageFlags = DM_NOPERMISSION;
    Open("True", readOnly);
    EXPECT_FALSE(session_->Enabled(IDC_JO_JOB_STORAGE));
    Open("True", {}, kNoJobType);
    EXPECT_FALSE(session_->Enabled(IDC_JO_JOB_STORAGE));
}

TEST_F(JobStorage, OkStoresTheFieldsAndTheJobTypeAfterItsRules) {
    Open();
    InDialog([](HWND dlg) {
        EXPECT_EQ(ListEntries(dlg, IDC_JS_TYPE),
                  (std::vector<std::wstring>{L"Normal", L"Proof", L"Secure", L"Store"}));
        EXPECT_FALSE(IsEnabled(dlg, IDC_JS_PIN)); // Normal needs none
        ASSERT_TRUE(SelectComboEntry(dlg, IDC_JS_TYPE, kSecure));
        EXPECT_TRUE(IsEnabled(dlg, IDC_JS_PIN));
        // A quote and a character above 126 are dropped as they are typed.
        TypeInto(dlg, IDC_JS_NAME, L"Pay\"roll\u00e9");
        EXPECT_EQ(ControlText(dlg, IDC_JS_NAME), L"Payroll");
        TypeInto(dlg, IDC_JS_PIN, L"123");
        std::wstring message;
        AnswerMessage(&message);
        ClickControl(dlg, IDOK);
        EXPECT_EQ(message, L"此作业类型需要由 4 位数字组成的 PIN。");
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_JS_PIN));
        TypeInto(dlg, IDC_JS_PIN, L"12a34");
        EXPECT_EQ(ControlText(dlg, IDC_JS_PIN), L"1234");
        ClickControl(dlg, IDOK);
    });
    std::vector<uint8_t> block = session_->PrivateBlock();
    EXPECT_EQ(Field(block, zd::dm::kJobName, zd::dm::kJobNameUnits), u"Payroll");
    EXPECT_EQ(Field(block, zd::dm::kJobPassword, zd::dm::kJobPasswordUnits), u"1234");
    EXPECT_EQ(U32(block, zd::dm::kAskJobName), 0u);
    EXPECT_EQ(zd::HeldJobKindOf(U32(block, zd::dm::kHeldJob)), zd::HeldJobKind::NamedWithPin);
    EXPECT_EQ(Ctx().selections[zd::slot::JobType], kSecure);
    EXPECT_TRUE(ApplyEnabled());
    // A held job is printed once: the copies are fixed.
    EXPECT_FALSE(session_->Enabled(IDC_JO_COPIES));
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(session_->ItemSel("ZDJob_Type"), LONG(kSecure));

    // Proof needs a name; Normal needs nothing and keeps no PIN.
    ASSERT_TRUE(session_->GoToPage(kJobOptionsPage));
    InDialog([](HWND dlg) {
        ASSERT_TRUE(SelectComboEntry(dlg, IDC_JS_TYPE, kProof));
        EXPECT_FALSE(IsEnabled(dlg, IDC_JS_PIN));
        SetDlgItemTextW(dlg, IDC_JS_NAME, L"");
        std::wstring message;
        AnswerMessage(&message);
        ClickControl(dlg, IDOK);
        EXPECT_EQ(message.rfind(L"此作业类型需要作业名称。", 0), 0u) << zdtest::Utf8(message);
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDC_JS_NAME));
        ASSERT_TRUE(SelectComboEntry(dlg, IDC_JS_TYPE, 0));
        ClickControl(dlg, IDOK);
    });
    block = session_->PrivateBlock();
    EXPECT_EQ(Field(block, zd::dm::kJobName, zd::dm::kJobNameUnits), u"");
    EXPECT_EQ(Field(block, zd::dm::kJobPassword, zd::dm::kJobPasswordUnits), u"");
    EXPECT_EQ(zd::HeldJobKindOf(U32(block, zd::dm::kHeldJob)), zd::HeldJobKind::Normal);
    EXPECT_EQ(Ctx().selections[zd::slot::JobType], 0u);
    EXPECT_TRUE(session_->Enabled(IDC_JO_COPIES));
}

TEST_F(JobStorage, DefaultsEndTheHeldJobAndItsPromptWhenThePageIsLeft) {
    Open();
    InDialog([](HWND dlg) {
        SelectComboEntry(dlg, IDC_JS_TYPE, kSecure);
        ClickControl(dlg, IDC_JS_ASK);
        ClickControl(dlg, IDOK);
    });
    ASSERT_TRUE(session_->Click(IDC_DEFAULTS));
    ASSERT_TRUE(session_->GoToPage(kColorPage));
    EXPECT_EQ(session_->ItemSel("ZDJob_Type"), 0);
    EXPECT_EQ(zd::HeldJobKindOf(U32(session_->PrivateBlock(), zd::dm::kHeldJob)),
              zd::HeldJobKind::Normal);
    int shown = 0;
    AnswerNextDialog([&shown](HWND dlg) {
        ++shown;
        SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    PrintJobResult job = Print(nullptr);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(job.preResult, DOCUMENTEVENT_SUCCESS);
    ForgetDialogAnswers();
}

TEST_F(JobStorage, CancelLeavesTheBlockByteForByte) {
    Open();
    const std::vector<uint8_t> before = session_->PrivateBlock();
    InDialog([](HWND dlg) {
        SelectComboEntry(dlg, IDC_JS_TYPE, kSecure);
        TypeInto(dlg, IDC_JS_NAME, L"Draft");
        TypeInto(dlg, IDC_JS_PIN, L"9999");
        ClickControl(dlg, IDC_JS_ASK);
        ClickControl(dlg, IDCANCEL);
    });
    EXPECT_EQ(session_->PrivateBlock(), before);
    EXPECT_EQ(Ctx().selections[zd::slot::JobType], 0u);
}

TEST_F(JobStorage, StoredNameThatBreaksTheRulesOpensEmptyAndIsNotStoredBack) {
    Open();
    std::vector<uint8_t> stored = session_->PrivateBlock();
    zd::ByteView(stored.data(), stored.size())
        .set_text16(zd::dm::kJobName, zd::dm::kJobNameUnits, u"a\"b");
    HostOptions options;
    options.storedBlock = stored;
    Open("True", options);
    InDialog([](HWND dlg) {
        EXPECT_EQ(ControlText(dlg, IDC_JS_NAME), L"");
        ClickControl(dlg, IDOK);
    });
    EXPECT_EQ(Field(session_->PrivateBlock(), zd::dm::kJobName, zd::dm::kJobNameUnits), u"");
}

TEST_F(JobStorage, PromptAtPrintFillsTheJobsCopyAndFreesIt) {
    AskForSecureJobAtPrint();
    PrintJobResult job = Print([](HWND dlg) {
        EXPECT_TRUE(IsEnabled(dlg, IDC_JS_PIN));
        TypeInto(dlg, IDC_JS_NAME, L"Q3");
        TypeInto(dlg, IDC_JS_PIN, L"432");
        std::wstring message;
        AnswerMessage(&message);
        ClickControl(dlg, IDOK);
        EXPECT_EQ(message, L"此作业类型需要由 4 位数字组成的 PIN。");
        TypeInto(dlg, IDC_JS_PIN, L"4321");
        ClickControl(dlg, IDOK);
    });
    EXPECT_TRUE(job.interface2);
    EXPECT_EQ(job.preHr, S_OK);
    EXPECT_EQ(job.preResult, DOCUMENTEVENT_SUCCESS);
    EXPECT_FALSE(job.cancelled);
    EXPECT_NE(job.replacement, nullptr);
    EXPECT_NE(job.replacement, session_->host().publicDevMode());
    EXPECT_EQ(Field(job.jobBlock, zd::dm::kJobName, zd::dm::kJobNameUnits), u"Q3");
    EXPECT_EQ(Field(job.jobBlock, zd::dm::kJobPassword, zd::dm::kJobPasswordUnits), u"4321");
    // The caller's DEVMODE is the caller's; the copy went at the post event.
    EXPECT_EQ(Field(session_->PrivateBlock(), zd::dm::kJobName, zd::dm::kJobNameUnits), u"");
    EXPECT_EQ(job.postResult, DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(plugin_->heldDevModeCopies(), 0u);
}

TEST_F(JobStorage, CancelledPromptFailsTheEvent) {
    AskForSecureJobAtPrint();
    PrintJobResult job = Print([](HWND dlg) { ClickControl(dlg, IDCANCEL); });
    EXPECT_EQ(job.preHr, S_OK);
    EXPECT_EQ(job.preResult, DOCUMENTEVENT_FAILURE);
    EXPECT_TRUE(job.cancelled);
    EXPECT_EQ(job.replacement, nullptr);
    EXPECT_EQ(plugin_->heldDevModeCopies(), 0u);
}

TEST_F(JobStorage, NoPromptWithoutTheAskFlagOrForAnInformationContext) {
    int shown = 0;
    auto count = [&shown](HWND dlg) {
        ++shown;
        SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    };
    Open();
    AnswerNextDialog(count);
    PrintJobResult job = Print(nullptr);
    EXPECT_EQ(job.preResult, DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(job.replacement, nullptr);
    EXPECT_FALSE(job.cancelled);
    EXPECT_EQ(shown, 0);
    ForgetDialogAnswers();

    AskForSecureJobAtPrint();
    AnswerNextDialog(count);
    std::wstring error;
    ASSERT_TRUE(session_->host().PlayCreateDc(&job, true, &error));
    EXPECT_EQ(job.preResult, DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(job.replacement, nullptr);
    EXPECT_EQ(shown, 0);
    ForgetDialogAnswers();
}

} // namespace
