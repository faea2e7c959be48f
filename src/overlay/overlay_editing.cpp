#include "overlay/overlay_editing.h"

#include "core/text_fields.h"

namespace zd {

namespace {

// Only bits of items that exist count: a stale selection bit past the end
// of a list never names a record.
uint32_t Within(uint32_t selection, uint16_t count) {
    if (count >= 32)
        return selection;
    return selection & ((uint32_t(1) << count) - 1);
}

int CountBits(uint32_t bits) {
    int n = 0;
    for (; bits; bits &= bits - 1)
        ++n;
    return n;
}

uint16_t CurrentCountOf(const OverlayList& list) {
    return list.CurrentCount < kMaxCurrentOverlays ? list.CurrentCount : kMaxCurrentOverlays;
}

uint16_t DefinedCountOf(const OverlayList& list) {
    return list.DefinedCount < kMaxDefinedOverlays ? list.DefinedCount : kMaxDefinedOverlays;
}

bool IsCurrent(const OverlayList& list, uint16_t definition) {
    for (uint16_t i = 0; i < CurrentCountOf(list); ++i)
        if (list.CurrentIndex[i] == definition)
            return true;
    return false;
}

uint16_t FormCountOf(const OverlayDefinition& d) {
    return d.FormCount < kMaxOverlayForms ? d.FormCount : kMaxOverlayForms;
}

} // namespace

OverlayButtonStates OverlayButtons(const OverlayList& list, DefinedSelection defined,
                                   CurrentSelection current) {
    const uint16_t definedCount = DefinedCountOf(list);
    const uint16_t currentCount = CurrentCountOf(list);
    defined = Within(defined, definedCount);
    current = Within(current, currentCount);
    const int s = CountBits(defined);
    OverlayButtonStates b;
    b.remove = currentCount > 0 && current != 0;
    b.create = definedCount < kMaxDefinedOverlays;
    b.edit = definedCount > 0 && s == 1;
    b.erase = definedCount > 0 && s > 0;
    b.add = definedCount > 0 && s > 0 && s + currentCount <= kMaxCurrentOverlays;
    for (uint16_t n = 0; b.add && n < definedCount; ++n)
        if ((defined >> n & 1) && IsCurrent(list, n))
            b.add = false;
    return b;
}

bool AddToCurrent(OverlayList& list, DefinedSelection defined) {
    if (!OverlayButtons(list, defined, 0).add)
        return false;
    const uint16_t definedCount = DefinedCountOf(list);
    uint16_t count = CurrentCountOf(list);
    for (uint16_t n = 0; n < definedCount && count < kMaxCurrentOverlays; ++n)
        if (defined >> n & 1)
            list.CurrentIndex[count++] = n;
    list.CurrentCount = count;
    return true;
}

bool RemoveFromCurrent(OverlayList& list, CurrentSelection current) {
    const uint16_t count = CurrentCountOf(list);
    current = Within(current, count);
    if (!current)
        return false;
    uint16_t kept = 0;
    for (uint16_t i = 0; i < count; ++i)
        if (!(current >> i & 1))
            list.CurrentIndex[kept++] = list.CurrentIndex[i];
    for (uint16_t i = kept; i < kMaxCurrentOverlays; ++i)
        list.CurrentIndex[i] = 0;
    list.CurrentCount = kept;
    return true;
}

bool DeleteDefinitions(OverlayRecords& records, DefinedSelection defined) {
    OverlayList& list = records.list;
    const uint16_t definedCount = DefinedCountOf(list);
    defined = Within(defined, definedCount);
    if (!defined)
        return false;
    // Where each kept definition lands.
    uint16_t newIndex[kMaxDefinedOverlays] = {};
    uint16_t kept = 0;
    for (uint16_t n = 0; n < definedCount; ++n) {
        if (defined >> n & 1)
            continue;
        newIndex[n] = kept;
        if (kept != n)
            records.definitions[kept] = records.definitions[n];
        ++kept;
    }
    for (uint16_t n = kept; n < definedCount; ++n)
        records.definitions[n] = OverlayDefinition{};

    uint16_t current = 0;
    for (uint16_t i = 0; i < CurrentCountOf(list); ++i) {
        uint16_t old = list.CurrentIndex[i];
        if (old < definedCount && !(defined >> old & 1))
            list.CurrentIndex[current++] = newIndex[old];
    }
    for (uint16_t i = current; i < kMaxCurrentOverlays; ++i)
        list.CurrentIndex[i] = 0;
    list.CurrentCount = current;
    list.DefinedCount = kept;
    return true;
}

void DocumentOverlayIndexes(const OverlayList& list, uint16_t (&indexes)[kMaxCurrentOverlays]) {
    const uint16_t count = CurrentCountOf(list);
    for (uint16_t i = 0; i < kMaxCurrentOverlays; ++i)
        indexes[i] = i < count ? list.CurrentIndex[i] : uint16_t(255);
}

bool NameTaken(const OverlayRecords& records, uint16_t self, std::u16string_view name) {
    const uint16_t count = DefinedCountOf(records.list);
    for (uint16_t n = 0; n < count; ++n)
        if (n != self && FieldText(records.definitions[n].OverlayName, kOverlayTextUnits) == name)
            return true;
    return false;
}

bool FormListed(const OverlayDefinition& d, std::u16string_view text) {
    for (uint16_t f = 0; f < FormCountOf(d); ++f)
        if (FieldText(d.FormName[f], kOverlayTextUnits) == text)
            return true;
    return false;
}

bool CanAddOverlayForm(const OverlayDefinition& d, std::u16string_view text) {
    return !text.empty() && FormCountOf(d) < kMaxOverlayForms && !FormListed(d, text);
}

bool CanRenameOverlayForm(const OverlayDefinition& d, std::u16string_view text, int selected) {
    return !text.empty() && !FormListed(d, text) && selected >= 0 && selected < FormCountOf(d);
}

bool AddOverlayForm(OverlayDefinition& d, std::u16string_view text) {
    if (!CanAddOverlayForm(d, text))
        return false;
    uint16_t f = FormCountOf(d);
    SetFieldText(d.FormName[f], kOverlayTextUnits, text);
    d.FormCount = uint16_t(f + 1);
    return true;
}

bool RenameOverlayForm(OverlayDefinition& d, int selected, std::u16string_view text) {
    if (!CanRenameOverlayForm(d, text, selected))
        return false;
    SetFieldText(d.FormName[selected], kOverlayTextUnits, text);
    return true;
}

bool DeleteOverlayForm(OverlayDefinition& d, int selected) {
    const uint16_t count = FormCountOf(d);
    if (selected < 0 || selected >= count)
        return false;
    for (int f = selected; f + 1 < count; ++f)
        for (size_t u = 0; u < kOverlayTextUnits; ++u)
            d.FormName[f][u] = d.FormName[f + 1][u];
    for (size_t u = 0; u < kOverlayTextUnits; ++u)
        d.FormName[count - 1][u] = 0;
    d.FormCount = uint16_t(count - 1);
    return true;
}

uint16_t PageModeAfterPageList(uint16_t mode, bool anyPageListed) {
    if (anyPageListed)
        return uint16_t(PageMode::CustomPages);
    return mode == uint16_t(PageMode::CustomPages) ? uint16_t(PageMode::AllPages) : mode;
}

uint16_t PageModeFromFile(int value) {
    if (value < int(PageMode::AllPages) || value > int(PageMode::CustomPages))
        return uint16_t(PageMode::AllPages);
    return uint16_t(value);
}

} // namespace zd
