#include "jobopts/job_storage_dialog.h"

#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/option_keywords.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "jobopts/job_storage_rules.h"
#include "resources/resource.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "ui/option_lists.h"

#include <imm.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace zd {

namespace {

constexpr int kTypedUnits = 64; // a field is read up to 63 characters

// A fixed text field of the block as it lies there, every unit of it.
std::u16string RawField(const ByteView& block, size_t offset, size_t units) {
    std::u16string raw(units, u'\0');
    for (size_t i = 0; i < units; ++i)
        raw[i] = char16_t(block.u16(offset + 2 * i));
    return raw;
}

std::u16string StoredName(const ByteView& block) {
    return StoredJobName(RawField(block, dm::kJobName, dm::kJobNameUnits).data(),
                         dm::kJobNameUnits);
}

std::u16string StoredPinOf(const ByteView& block) {
    return StoredPin(RawField(block, dm::kJobPassword, dm::kJobPasswordUnits).data(),
                     dm::kJobPasswordUnits);
}

// Option keywords are 8-bit ASCII; anything else matches none.
std::string Ascii(std::wstring_view s) {
    std::string out;
    for (wchar_t c : s)
        out.push_back(c > 0 && c < 128 ? char(c) : '?');
    return out;
}

// The job type item's options by their PPD option keyword, in option order,
// and the ones that need a PIN. Keywords are known only when the PPD offers
// exactly as many options as the driver's item has.
struct JobTypeKeywords {
    std::vector<std::string> options;
    std::vector<std::string> pinTypes;
    bool pinKeyPresent = false;

    bool NeedsPin(uint32_t option) const {
        return option < options.size() && JobTypeNeedsPin(options[option], pinTypes, pinKeyPresent);
    }
};

JobTypeKeywords ReadJobTypeKeywords(const UiContext* ctx) {
    JobTypeKeywords k;
    HANDLE printer = PrinterOf(ctx);
    if (!printer)
        return k;
    k.options = PpdOptionKeywords(ReadPpdText(PrinterDriverDataFile(printer)), "ZDJob_Type");
    if (k.options.size() != OptionCount(ctx, slot::JobType))
        k.options.clear();
    std::wstring pin;
    k.pinKeyPresent = ReadModelTextIfPresent(printer, L"PinJobTypes", &pin);
    if (k.pinKeyPresent)
        k.pinTypes = ParsePinJobTypes(Ascii(pin));
    return k;
}

HeldJobKind KindOf(uint32_t jobType, const JobTypeKeywords& k) {
    if (jobType == 0)
        return HeldJobKind::Normal;
    return k.NeedsPin(jobType) ? HeldJobKind::NamedWithPin : HeldJobKind::Named;
}

std::u16string FieldOf(HWND dlg, int id) {
    WCHAR text[kTypedUnits] = {};
    GetDlgItemTextW(dlg, id, text, kTypedUnits);
    return std::u16string(U16(text));
}

// Every change of the name or PIN field: what the rules do not take is
// dropped, as the page's digit fields drop non-digits.
void FilterTyped(HWND dlg, int id) {
    HWND edit = GetDlgItem(dlg, id);
    if (!edit)
        return;
    ImmAssociateContext(edit, nullptr);
    const std::u16string typed = FieldOf(dlg, id);
    const TypedText kept = id == IDC_JS_PIN ? FilterPinTyped(typed) : FilterJobNameTyped(typed);
    if (!kept.dropped)
        return;
    MessageBeep(MB_OK);
    SetWindowTextW(edit, W(kept.text).c_str());
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, WPARAM(end), LPARAM(end));
}

void InitFields(HWND dlg, const std::u16string& name, const std::u16string& pin) {
    SendDlgItemMessageW(dlg, IDC_JS_NAME, EM_LIMITTEXT, kJobNameMaxChars, 0);
    SendDlgItemMessageW(dlg, IDC_JS_PIN, EM_LIMITTEXT, kPinDigits, 0);
    SetDlgItemTextW(dlg, IDC_JS_NAME, W(name).c_str());
    SetDlgItemTextW(dlg, IDC_JS_PIN, W(pin).c_str());
}

// A failed rule: its message, the focus on its field, the dialog stays.
void RefuseField(HWND dlg, JobStorageProblem problem) {
    const bool name = problem == JobStorageProblem::NameMissing;
    ShowStringMessage(dlg, name ? IDS_JOB_NAME_NEEDED : IDS_JOB_PIN_NEEDED, 0, MB_OK | MB_ICONSTOP);
    HWND field = GetDlgItem(dlg, name ? IDC_JS_NAME : IDC_JS_PIN);
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 0, -1);
}

// ---------------------------------------------------------------------------
// The job storage dialog

// Working copies for one opening; the sheet's record and the block change
// only on OK.
struct JobStorageState {
    UiContext* ctx = nullptr;
    JobTypeKeywords keywords;
};

uint32_t ChosenJobType(HWND dlg, const JobStorageState* state) {
    std::optional<uint32_t> chosen = ChosenOption(dlg, IDC_JS_TYPE, state->ctx, slot::JobType);
    return chosen ? *chosen : state->ctx->selections[slot::JobType];
}

// The PIN is asked for only by the job types that need one.
void ShowPinRule(HWND dlg, const JobStorageState* state) {
    const BOOL needsPin = state->keywords.NeedsPin(ChosenJobType(dlg, state));
    EnableWindow(GetDlgItem(dlg, IDC_JS_PIN_LABEL), needsPin);
    EnableWindow(GetDlgItem(dlg, IDC_JS_PIN), needsPin);
}

BOOL OnInitStorage(HWND dlg, LPARAM lParam) {
    JobStorageState* state = AttachDialogState<JobStorageState>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    if (!state || !state->ctx)
        return TRUE;
    UiContext* ctx = state->ctx;
    state->keywords = ReadJobTypeKeywords(ctx);
    FillOptionList(dlg, IDC_JS_TYPE, ctx, slot::JobType);
    SelectOptionEntry(dlg, IDC_JS_TYPE, ctx->selections[slot::JobType]);
    std::u16string name, pin;
    bool ask = false;
    if (ByteView block = PrivateDevMode(ctx); block.size()) {
        name = StoredName(block);
        pin = StoredPinOf(block);
        ask = block.u32(dm::kAskJobName) == 1;
    }
    InitFields(dlg, name, pin);
    SetBoxChecked(dlg, IDC_JS_ASK, ask);
    ShowPinRule(dlg, state);
    return TRUE;
}

void OnStorageOk(HWND dlg, JobStorageState* state) {
    UiContext* ctx = state ? state->ctx : nullptr;
    ByteView block = PrivateDevMode(ctx);
    if (!ctx || !block.size()) {
        EndDialog(dlg, 0); // nowhere to store the fields
        return;
    }
    const uint32_t jobType = ChosenJobType(dlg, state);
    const bool needsPin = state->keywords.NeedsPin(jobType);
    const std::u16string name = FieldOf(dlg, IDC_JS_NAME);
    const std::u16string pin = needsPin ? FieldOf(dlg, IDC_JS_PIN) : std::u16string();
    const bool ask = IsBoxChecked(dlg, IDC_JS_ASK);
    const JobStorageProblem problem = CheckJobStorage(jobType != 0, needsPin, name, pin, ask);
    if (problem != JobStorageProblem::None) {
        RefuseField(dlg, problem);
        return;
    }
    StoreOption(ctx, slot::JobType, jobType);
    // Only what the rules allow is stored: with "ask" a partial entry is dropped.
    block.set_text16(dm::kJobName, dm::kJobNameUnits, IsValidJobName(name) ? name : u"");
    block.set_text16(dm::kJobPassword, dm::kJobPasswordUnits, IsValidPin(pin) ? pin : u"");
    block.set_u32(dm::kAskJobName, ask ? 1 : 0);
    block.set_u32(dm::kHeldJob, HeldJobWord(KindOf(ctx->selections[slot::JobType], state->keywords),
                                            ctx->selections[slot::JobType]));
    EndDialog(dlg, 1);
}

BOOL OnStorageCommand(HWND dlg, WORD id, WORD code) {
    JobStorageState* state = DialogState<JobStorageState>(dlg);
    switch (id) {
    case IDC_JS_NAME:
    case IDC_JS_PIN:
        if (code == EN_CHANGE)
            FilterTyped(dlg, id);
        return TRUE;
    case IDC_JS_TYPE:
        if (code == CBN_SELCHANGE && state && state->ctx)
            ShowPinRule(dlg, state);
        return TRUE;
    case IDOK:
        OnStorageOk(dlg, state);
        return TRUE;
    case IDCANCEL:
        EndDialog(dlg, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK JobStorageDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitStorage(dlg, lParam);
    case WM_COMMAND:
        return OnStorageCommand(dlg, LOWORD(wParam), HIWORD(wParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

// ---------------------------------------------------------------------------
// The prompt at print time

struct PromptState {
    bool needsPin = false;
    std::u16string name, pin; // the stored values first, the answers after OK
};

BOOL OnInitPrompt(HWND dlg, LPARAM lParam) {
    PromptState* state = AttachDialogState<PromptState>(dlg, lParam);
    ApplyHelpButtonRule(dlg);
    if (!state)
        return TRUE;
    InitFields(dlg, state->name, state->pin);
    EnableWindow(GetDlgItem(dlg, IDC_JS_PIN_LABEL), state->needsPin);
    EnableWindow(GetDlgItem(dlg, IDC_JS_PIN), state->needsPin);
    // The prompt comes up over whatever the application shows.
    SetForegroundWindow(dlg);
    return TRUE;
}

void OnPromptOk(HWND dlg, PromptState* state) {
    if (!state) {
        EndDialog(dlg, 0);
        return;
    }
    const std::u16string name = FieldOf(dlg, IDC_JS_NAME);
    const std::u16string pin = state->needsPin ? FieldOf(dlg, IDC_JS_PIN) : std::u16string();
    const JobStorageProblem problem = CheckJobStorage(true, state->needsPin, name, pin, false);
    if (problem != JobStorageProblem::None) {
        RefuseField(dlg, problem);
        return;
    }
    state->name = name;
    state->pin = pin;
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK JobPromptProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitPrompt(dlg, lParam);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_JS_NAME:
        case IDC_JS_PIN:
            if (HIWORD(wParam) == EN_CHANGE)
                FilterTyped(dlg, LOWORD(wParam));
            return TRUE;
        case IDOK:
            OnPromptOk(dlg, DialogState<PromptState>(dlg));
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// The plug-in's block inside a whole DEVMODE: after the public part, among
// the driver's private data, found by its header (the full size and the
// signature). The last one wins: the plug-ins' blocks follow the driver's own.
uint8_t* FindPrivateBlock(const DEVMODEW* devmode, size_t* offset) {
    if (!devmode || devmode->dmSize < offsetof(DEVMODEW, dmFields))
        return nullptr;
    const size_t start = devmode->dmSize;
    const size_t end = start + devmode->dmDriverExtra;
    if (end - start < kOemDevModeSize)
        return nullptr;
    auto* bytes = reinterpret_cast<uint8_t*>(const_cast<DEVMODEW*>(devmode));
    for (size_t at = end - kOemDevModeSize + 1; at-- > start;) {
        ByteView header(bytes + at, 12);
        if (header.u32(dm::kSize) == kOemDevModeSize &&
            header.u32(dm::kSignature) == kOemSignature) {
            *offset = at;
            return bytes + at;
        }
    }
    return nullptr;
}

} // namespace

bool JobStorageOffered(const UiContext* ctx, bool hardDisk) {
    return hardDisk && HasSlotItem(ctx, slot::JobType) && OptionCount(ctx, slot::JobType) > 0;
}

INT_PTR RunJobStorageDialog(HWND owner, UiContext* ctx) {
    JobStorageState state;
    state.ctx = ctx;
    return RunModalDialog(owner, IDD_JOB_STORAGE, JobStorageDialogProc, &state);
}

void StoreHeldJob(UiContext* ctx) {
    ByteView block = PrivateDevMode(ctx);
    if (!block.size())
        return;
    const uint32_t jobType = HasSlotItem(ctx, slot::JobType) ? ctx->selections[slot::JobType] : 0;
    const uint32_t word = block.u32(dm::kHeldJob);
    if (jobType == 0 && HeldJobKindOf(word) == HeldJobKind::Normal)
        return; // host bytes or a normal job: nothing to say
    if (jobType != 0 && HeldJobTypeOf(word) == jobType &&
        HeldJobKindOf(word) != HeldJobKind::Normal)
        return;
    block.set_u32(dm::kHeldJob, HeldJobWord(KindOf(jobType, ReadJobTypeKeywords(ctx)), jobType));
}

PrintPrompt PromptAtPrint(const DEVMODEW* devmode, DEVMODEW** copy) {
    *copy = nullptr;
    size_t offset = 0;
    const uint8_t* found = FindPrivateBlock(devmode, &offset);
    if (!found)
        return PrintPrompt::NotDue;
    ByteView block(const_cast<uint8_t*>(found), kOemDevModeSize);
    const HeldJobKind kind = HeldJobKindOf(block.u32(dm::kHeldJob));
    if (block.u32(dm::kAskJobName) != 1 || kind == HeldJobKind::Normal)
        return PrintPrompt::NotDue;
    PromptState state;
    state.needsPin = kind == HeldJobKind::NamedWithPin;
    state.name = StoredName(block);
    state.pin = state.needsPin ? StoredPinOf(block) : std::u16string();
    if (!DialogConfirmed(RunModalDialog(GetActiveWindow(), IDD_JOB_PROMPT, JobPromptProc, &state)))
        return PrintPrompt::Cancelled;
    const size_t total = size_t(devmode->dmSize) + devmode->dmDriverExtra;
    auto* out = static_cast<DEVMODEW*>(HeapAlloc(GetProcessHeap(), 0, total));
    if (!out)
        return PrintPrompt::Cancelled; // the job cannot carry what the user typed
    memcpy(out, devmode, total);
    ByteView outBlock(reinterpret_cast<uint8_t*>(out) + offset, kOemDevModeSize);
    outBlock.set_text16(dm::kJobName, dm::kJobNameUnits, state.name);
    outBlock.set_text16(dm::kJobPassword, dm::kJobPasswordUnits, state.pin);
    *copy = out;
    return PrintPrompt::Filled;
}

void FreePromptCopy(DEVMODEW* copy) {
    if (copy)
        HeapFree(GetProcessHeap(), 0, copy);
}

} // namespace zd
