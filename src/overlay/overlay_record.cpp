#include "overlay/overlay_record.h"

#include "core/text_fields.h"

namespace zd {

namespace {

bool SameText(const char16_t* field, std::u16string_view name) {
    return FieldText(field, kOverlayTextUnits) == name.substr(0, kOverlayTextUnits - 1);
}

void CopyEntry(char16_t* dst, const char16_t* src) {
    for (size_t i = 0; i < kOverlayTextUnits; ++i)
        dst[i] = src[i];
    dst[kOverlayTextUnits - 1] = 0;
}

} // namespace

void RememberFormName(OverlayList& list, std::u16string_view name) {
    uint16_t count =
        list.HistoryCount < kMaxOverlayHistory ? list.HistoryCount : kMaxOverlayHistory;
    uint16_t last = count;
    for (uint16_t i = 0; i < count; ++i) {
        if (SameText(list.History[i], name)) {
            last = i;
            break;
        }
    }
    if (last == count) {
        // A new name: the list grows unless full, the oldest then drops out.
        if (count < kMaxOverlayHistory)
            ++count;
        last = uint16_t(count - 1);
    }
    for (uint16_t i = last; i > 0; --i)
        CopyEntry(list.History[i], list.History[i - 1]);
    SetFieldText(list.History[0], kOverlayTextUnits, name);
    list.HistoryCount = count;
}

void TakeCurrentOverlays(OverlayList& list, const uint16_t (&documentIndexes)[4]) {
    uint16_t n = 0;
    while (n < kMaxCurrentOverlays && documentIndexes[n] != 255) {
        list.CurrentIndex[n] = documentIndexes[n];
        ++n;
    }
    list.CurrentCount = n;
    // An index that names no definition would send the dialogs past the
    // defined slots: such a list is reset like one that is too long.
    bool outside = false;
    for (uint16_t i = 0; i < n; ++i)
        outside = outside || list.CurrentIndex[i] >= list.DefinedCount;
    if (list.DefinedCount < list.CurrentCount || outside) {
        if (list.DefinedCount < list.CurrentCount)
            list.CurrentCount = list.DefinedCount;
        for (uint16_t i = 0; i < kMaxCurrentOverlays; ++i)
            list.CurrentIndex[i] = i < list.CurrentCount ? i : 0;
    }
}

} // namespace zd
