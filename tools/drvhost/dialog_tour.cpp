#include "dialog_tour.h"

#include "resources/resource.h"

#include <commctrl.h>

namespace drvhost {

namespace {

// On a page of the document sheet, each step presses a button of the window
// opened by the step before and names the dialog it opens, after choosing an
// entry of one of its lists when the step names one. A step without a name
// only presses its button (a mode that enables the next one).
struct DialogStep {
    int button;
    const wchar_t* name;
    int list = 0; // list box or list view to choose `entry` in before the visit
    int entry = 0;
};
struct DialogRoute {
    int page;
    std::vector<DialogStep> steps;
};

const DialogRoute kRoutes[] = {
    {kJobOptionsPageIndex, {{IDC_JO_ADVANCED, L"dialog-advanced"}}},
    {kJobOptionsPageIndex, {{IDC_JO_ABOUT, L"dialog-about"}}},
    // Offered with a hard disk; the picture shows a type that asks for a PIN.
    {kJobOptionsPageIndex, {{IDC_JO_JOB_STORAGE, L"dialog-job-storage", IDC_JS_TYPE, 2}}},
    {kJobOptionsPageIndex,
     {{IDC_JO_WATERMARK, L"dialog-watermark-list", IDC_WM_LIST, 3},
      {IDC_WM_EDIT, L"dialog-watermark-edit"},
      {IDC_WM_FONT, L"dialog-watermark-font"}}},
    {kColorPageIndex,
     {{IDC_COLOR_MODE_OFFICE, nullptr}, {IDC_COLOR_OFFICE_DETAILS, L"dialog-office-color"}}},
    {kColorPageIndex,
     {{IDC_COLOR_MODE_PHOTO, nullptr}, {IDC_COLOR_PHOTO_DETAILS, L"dialog-advanced-photo"}}},
    {kColorPageIndex, {{IDC_COLOR_ADVANCED, L"dialog-others"}}},
    {kJobOptionsPageIndex,
     {{IDC_JO_OVERLAY, L"dialog-overlay", IDC_OV_DEFINED_LIST, 0},
      {IDC_OV_EDIT, L"dialog-overlay-definition"}}},
};

using Visit = std::function<void(const std::wstring&, HWND)>;

// A list box's entry, a drop-down list's as the keyboard chooses it, or a
// list view's item as a click selects it. Returns why the entry could not
// be chosen (empty when it was).
std::wstring ChooseListEntry(HWND dlg, int list, int entry) {
    WCHAR cls[32] = {};
    GetClassNameW(GetDlgItem(dlg, list), cls, 32);
    const bool listView = _wcsicmp(cls, WC_LISTVIEWW) == 0;
    const bool comboBox = _wcsicmp(cls, WC_COMBOBOXW) == 0;
    const LRESULT count = SendDlgItemMessageW(dlg, list,
                                              listView   ? LVM_GETITEMCOUNT
                                              : comboBox ? CB_GETCOUNT
                                                         : LB_GETCOUNT,
                                              0, 0);
    if (count <= entry)
        return L"the model's list " + std::to_wstring(list) + L" holds " + std::to_wstring(count) +
               L" entries, entry " + std::to_wstring(entry + 1) + L" was to be chosen";
    if (listView)
        SelectListViewItems(dlg, list, {entry});
    else if (comboBox)
        SelectComboEntry(dlg, list, entry);
    else
        SelectListEntry(dlg, list, entry);
    return std::wstring();
}

// Presses steps[i].button in `window`, visits the dialog it opens and goes
// on in that dialog; counts the buttons that opened nothing. A button that
// is absent, hidden or disabled is skipped with its reason (`why`: what the
// step before could not do) and is no failure: the model is right to have it
// so.
int FollowSteps(HWND window, const std::vector<DialogStep>& steps, size_t i, const Visit& visit,
                std::vector<std::wstring>* problems, const std::wstring& why = std::wstring()) {
    if (i == steps.size())
        return 0;
    HWND button = GetDlgItem(window, steps[i].button);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) {
        if (problems)
            problems->push_back(std::wstring(steps[i].name ? steps[i].name : L"step") +
                                L": skipped: button " + std::to_wstring(steps[i].button) + L" is " +
                                (!button                    ? L"absent"
                                 : !IsWindowVisible(button) ? L"hidden"
                                                            : L"disabled") +
                                (why.empty() ? L" for this model" : L": " + why));
        return 0;
    }
    if (!steps[i].name)
        return ClickControl(window, steps[i].button)
                   ? FollowSteps(window, steps, i + 1, visit, problems)
                   : 1;
    bool opened = false;
    int failures = 0;
    AnswerNextDialog([&](HWND dlg) {
        opened = true;
        ShowWindow(dlg, SW_SHOWNORMAL);
        std::wstring notChosen;
        if (steps[i].list)
            notChosen = ChooseListEntry(dlg, steps[i].list, steps[i].entry);
        visit(steps[i].name, dlg);
        failures = FollowSteps(dlg, steps, i + 1, visit, problems, notChosen);
        SendMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    ClickControl(window, steps[i].button);
    if (opened)
        return failures;
    ForgetDialogAnswers();
    if (problems)
        problems->push_back(std::wstring(steps[i].name) + L": button " +
                            std::to_wstring(steps[i].button) + L" opened no dialog");
    return 1;
}

} // namespace

int VisitPluginDialogs(HostSession& session, const Visit& visit,
                       std::vector<std::wstring>* problems) {
    int failures = 0;
    for (const DialogRoute& route : kRoutes) {
        if (!session.GoToPage(route.page)) {
            if (problems)
                problems->push_back(L"page " + std::to_wstring(route.page) +
                                    L" cannot be selected");
            ++failures;
            continue;
        }
        failures += FollowSteps(session.page(), route.steps, 0, visit, problems);
        session.Pump();
    }
    return failures;
}

} // namespace drvhost
