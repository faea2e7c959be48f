// A small test API over the emulated driver: open a printer's document or
// printer sheet, drive its pages and dialogs as a user would, and read back
// what the plug-in did (DEVMODE, driver calls, INI files, screenshots).
#pragma once

#include "driver_host.h"
#include "sheet.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace drvhost {

// Controls of any window (a page, the sheet, a modal dialog), by id.
bool ClickControl(HWND parent, int id);
// Types as keystrokes (WM_CHAR at the caret) so that the edit's own
// notifications run; `replace` selects the old text first.
bool TypeInto(HWND parent, int id, const std::wstring& text, bool replace = true);
bool SelectComboEntry(HWND parent, int id, int index);
bool SelectListEntry(HWND parent, int id, int index);
std::wstring ControlText(HWND parent, int id);
// The entries of a list box or a combo box's list, in order.
std::vector<std::wstring> ListEntries(HWND parent, int id);
// A report-view list view: every row with its column texts.
std::vector<std::vector<std::wstring>> ListViewRows(HWND parent, int id);
// Focuses the list view as a click would and selects exactly `items`, so
// that the owner gets its focus and item-change notifications.
bool SelectListViewItems(HWND parent, int id, const std::vector<int>& items);
bool IsChecked(HWND parent, int id);
bool IsEnabled(HWND parent, int id);
bool IsShown(HWND parent, int id);
bool HasControl(HWND parent, int id);
// Message box text (static 0xFFFF).
std::wstring MessageBoxText(HWND box);

// Runs `handler` on the next top-level dialog or message box that this
// thread creates, after its WM_INITDIALOG, inside its own modal loop.
// Several calls queue up for nested dialogs.
void AnswerNextDialog(std::function<void(HWND dialog)> handler);
int PendingDialogAnswers();
// AnswerNextDialog for a user's steps: the dialog is shown first (hidden
// controls cannot be clicked), and one that the steps left open is
// cancelled, so that a failed check never leaves a test in a modal loop.
void ActInNextDialog(std::function<void(HWND dialog)> steps);
// Drops the answers no dialog took (a button that opened nothing).
void ForgetDialogAnswers();

// Window-DC capture of a window with its frame, redrawn first: opaque
// 32-bit BGRA pixels, top row first.
bool CaptureWindow(HWND window, std::vector<uint32_t>* pixels, SIZE* size);
// Writes BGRA pixels as a PNG file through WIC.
HRESULT WritePng(const std::wstring& path, const std::vector<uint32_t>& pixels, SIZE size);
// CaptureWindow, then WritePng.
bool SaveWindowPng(HWND window, const std::wstring& path, std::wstring* error = nullptr);

// INI value through the profile functions (default empty).
std::wstring ReadIni(const std::wstring& file, const std::wstring& section,
                     const std::wstring& key);

class HostSession {
  public:
    explicit HostSession(HostOptions options = {});
    ~HostSession();

    // Loads the plug-in, opens the printer, prepares the DEVMODE, builds the
    // tree of the mode and opens the sheet (modeless).
    bool OpenDocumentSheet(const std::wstring& printer, std::wstring* error = nullptr);
    bool OpenPrinterSheet(const std::wstring& printer, std::wstring* error = nullptr);
    // Up to the option tree, without a sheet.
    bool PrepareDocument(const std::wstring& printer, std::wstring* error = nullptr);
    bool PrepareDevice(const std::wstring& printer, std::wstring* error = nullptr);

    DriverHost& host() { return *host_; }
    Sheet* sheet() { return sheet_.get(); }
    HWND sheetWindow() const { return sheet_ ? sheet_->hwnd() : nullptr; }
    HWND page() const; // the current page's window
    void Pump();

    bool GoToPage(int index);
    int CurrentPage() const { return sheet_ ? sheet_->currentPage() : -1; }
    // On the current page.
    bool Click(int id) { return ClickAndPump(page(), id); }
    bool Type(int id, const std::wstring& text, bool replace = true);
    bool SelectCombo(int id, int index);
    bool SelectList(int id, int index);
    std::wstring Text(int id) const { return ControlText(page(), id); }
    bool Checked(int id) const { return IsChecked(page(), id); }
    bool Enabled(int id) const { return IsEnabled(page(), id); }
    bool Visible(int id) const { return IsShown(page(), id); }
    bool Exists(int id) const { return HasControl(page(), id); }

    // Sheet buttons; OK and Cancel close the sheet (the plug-in then gets
    // the result and destroy calls).
    bool PressOk();
    bool PressApply();
    bool PressCancel();

    std::vector<uint8_t> PrivateBlock() { return host_->OemBlockCopy(); }
    DEVMODEW PublicDevMode();
    const std::vector<UpdateCall>& UpdateCalls() const { return host_->updateCalls(); }
    // Sel of the driver item of this feature keyword (or public id); -1 if none.
    LONG ItemSel(std::string_view feature);
    LONG PublicItemSel(uint8_t dmPubId);
    OPTITEM* Item(std::string_view feature);
    OPTITEM* PublicItem(uint8_t dmPubId);

    bool Screenshot(const std::wstring& path, std::wstring* error = nullptr);

  private:
    bool ClickAndPump(HWND parent, int id);
    bool Press(int button);
    bool Prepare(const std::wstring& printer, bool document, std::wstring* error);

    std::unique_ptr<DriverHost> host_;
    std::unique_ptr<Sheet> sheet_;
};

} // namespace drvhost
