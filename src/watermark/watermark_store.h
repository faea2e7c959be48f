// The watermark list and custom colours kept in the configuration file, the
// working set of a sheet and the copy of the chosen watermark into the
// private DEVMODE.
#pragma once

#include "core/byte_view.h"
#include "core/ui_context.h"
#include "watermark/watermark_record.h"

#include <windows.h>

#include <string>
#include <vector>

namespace zd {

// String table ids of the store's texts.
constexpr UINT kIdsWatermarkNone = 8050;    // "无"
constexpr UINT kIdsWatermarkSection = 8051; // "Watermark"
constexpr UINT kIdsDefaultWatermarkFace = 8052;
constexpr UINT kIdsCustomColorSection = 8053; // "自定义颜色"

constexpr size_t kFontPathUnits = 261;

// The stored watermarks (normalised values) as the sheet last read them,
// to see at Apply what another sheet of the printer saved meanwhile.
struct WatermarksAsRead {
    std::vector<std::u16string> values;
};

// The watermark fields of a UiContext seen as one working set.
class WatermarkList {
  public:
    explicit WatermarkList(UiContext& ctx) : ctx_(ctx) {}
    WatermarkRecord*& entry(uint32_t i) { return ctx_.watermarks[i]; }
    WatermarkRecord*& snapshot(uint32_t i) { return ctx_.watermarkSnapshot[i]; }
    WatermarkRecord*& working() { return ctx_.workingWatermark; }
    uint32_t& count() { return ctx_.selections[slot::WatermarkCount]; }
    uint32_t& selected() { return ctx_.selections[slot::SelectedWatermark]; }
    uint32_t& loaded() { return ctx_.selections[slot::WatermarkLoaded]; }
    uint32_t& snapshotCount() { return ctx_.snapshotCount; }
    uint32_t& snapshotSelected() { return ctx_.snapshotSelection; }
    uint32_t& committedFirstPage() { return ctx_.selections[slot::CommittedFirstPage]; }
    uint32_t& committedBackground() { return ctx_.selections[slot::CommittedBackground]; }
    const WCHAR* path() const { return ctx_.configFilePath; }

    // The counts cut to the entries a list can hold, for loops over them.
    uint32_t storedCount() { return Bounded(count()); }
    uint32_t storedSnapshotCount() { return Bounded(snapshotCount()); }

  private:
    static uint32_t Bounded(uint32_t n) {
        return n < kMaxStoredWatermarks ? n : kMaxStoredWatermarks;
    }

    UiContext& ctx_;
};

// The store's section names, from the string table.
std::wstring WatermarkSectionName();
std::wstring CustomColorSectionName();

// A stored key and its value as the plug-in reads them (value cut to the
// reader's buffer).
struct StoredValue {
    std::wstring key;
    std::wstring value;
};
// The watermarks the list takes: the section's keys in file order up to the
// first that does not begin with "W", at most 16.
std::vector<StoredValue> ReadStoredWatermarks(const WCHAR* configPath);
// The custom colours: the first 16 keys of their section, whatever their names.
std::vector<StoredValue> ReadStoredCustomColors(const WCHAR* configPath);

// Process-wide: the colour picker's 16 custom colours (0x00BBGGRR), light
// grey when the library loads, and the full path of the font list file.
COLORREF* CustomColors();
WCHAR* WatermarkFontFilePath();

// Builds WatermarkFontFilePath from key "WMFONT" of [DependentFiles] of the
// configuration file; without the key it names the driver folder itself.
void BuildWatermarkFontFilePath(const WCHAR* configPath);

// Entry 0 ("none") with the defaults; reads DefaultNo from the font list.
void InitNoneEntry(UiContext& ctx);

// Reads the store on the sheet's first call, then takes the snapshot and
// the working copy; enables Delete and Edit of `dialog` when an entry is
// selected. `oemDevMode` supplies the selection stored in the document.
void LoadWatermarkList(HWND dialog, UiContext& ctx, ByteView oemDevMode);

// Rewrites the "Watermark" section from entries 1..count. Watermarks that
// another sheet saved since this sheet read the section are first appended
// to the list (as room allows), so that neither sheet's additions are lost.
// False when a write failed; the list then stays as it is for another try.
bool SaveWatermarkList(UiContext& ctx);

// Releases every entry, the working copy and the section as read.
void FreeWatermarkList(UiContext& ctx);

// Releases the snapshot copies taken by LoadWatermarkList.
void FreeWatermarkSnapshot(UiContext& ctx);

// Cancel of the list dialog: entries 1..count go, the snapshot copies come
// back in their places (their slots emptied), and the count, the selection
// and entry 0's two flags return to what they were at opening.
void RestoreWatermarkSnapshot(UiContext& ctx);

// Removes stored entry `index` (1..count), moving the later ones down and
// emptying the slot vacated at the end. False when there is no such entry.
bool DeleteWatermarkEntry(UiContext& ctx, uint32_t index);

// Appends a copy of the working copy as entry count + 1. False at the
// limit of stored watermarks or when memory ran out.
bool AppendWatermarkEntry(UiContext& ctx);

// Empties the working copy's text when no watermark is selected.
void ClearWorkingTextIfNone(UiContext& ctx);

// Writes the watermark block of the private DEVMODE from the selected entry.
void CommitSelectionToDevMode(UiContext& ctx, ByteView oemDevMode);

void LoadCustomColors(UiContext& ctx);
void SaveCustomColors(UiContext& ctx);

// Value of key fontNumber + 1 of [PrinterFont] of the font list (empty when absent).
std::wstring ReadFontEntry(int fontNumber);

// One line per stored watermark ("WTMK001: <value>") of a configuration file.
std::wstring DescribeWatermarkStore(const WCHAR* configPath);

} // namespace zd
