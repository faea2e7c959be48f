#include "overlay/overlay_record.h"
#include "watermark/watermark_record.h"

#include <gtest/gtest.h>

#include <string>

using namespace zd;

namespace {

OverlayList WithHistory(int n) {
    OverlayList l{};
    for (int i = 0; i < n; ++i)
        SetFieldText(l.History[i], kOverlayTextUnits, u"F" + FormatDecimal(i));
    l.HistoryCount = uint16_t(n);
    return l;
}

std::u16string H(const OverlayList& l, int i) {
    return FieldText(l.History[i], kOverlayTextUnits);
}

} // namespace

TEST(FormHistory, AKnownNameMovesToTheFront) {
    OverlayList l = WithHistory(6);
    RememberFormName(l, u"F3");
    EXPECT_EQ(l.HistoryCount, 6);
    EXPECT_EQ(H(l, 0), u"F3");
    EXPECT_EQ(H(l, 1), u"F0");
    EXPECT_EQ(H(l, 2), u"F1");
    EXPECT_EQ(H(l, 3), u"F2");
    EXPECT_EQ(H(l, 4), u"F4");
    EXPECT_EQ(H(l, 5), u"F5");
    // Case counts: "f3" is a new name.
    RememberFormName(l, u"f3");
    EXPECT_EQ(l.HistoryCount, 7);
    EXPECT_EQ(H(l, 0), u"f3");
    EXPECT_EQ(H(l, 1), u"F3");
}

TEST(FormHistory, ANewNameGrowsTheListAndDropsTheOldestWhenFull) {
    OverlayList l = WithHistory(0);
    RememberFormName(l, u"A");
    EXPECT_EQ(l.HistoryCount, 1);
    EXPECT_EQ(H(l, 0), u"A");

    OverlayList full = WithHistory(10);
    RememberFormName(full, u"New");
    EXPECT_EQ(full.HistoryCount, 10);
    EXPECT_EQ(H(full, 0), u"New");
    EXPECT_EQ(H(full, 1), u"F0");
    EXPECT_EQ(H(full, 9), u"F8"); // F9 fell out

    // Remembering the head again changes nothing.
    RememberFormName(full, u"New");
    EXPECT_EQ(H(full, 0), u"New");
    EXPECT_EQ(H(full, 1), u"F0");
}

TEST(FormHistory, LongNamesAreCutAndAnOverfullCountIsBounded) {
    OverlayList l = WithHistory(2);
    std::u16string name(100, u'n');
    RememberFormName(l, name);
    EXPECT_EQ(H(l, 0).size(), 63u);
    // The cut name is found again by its full text.
    RememberFormName(l, name);
    EXPECT_EQ(l.HistoryCount, 3);

    OverlayList bad = WithHistory(10);
    bad.HistoryCount = 500;
    RememberFormName(bad, u"X");
    EXPECT_EQ(bad.HistoryCount, 10);
    EXPECT_EQ(H(bad, 0), u"X");
}

TEST(CurrentOverlays, CopiesUpToTheFirst255) {
    OverlayList l{};
    l.DefinedCount = 5;
    TakeCurrentOverlays(l, {3, 1, 255, 4});
    EXPECT_EQ(l.CurrentCount, 2);
    EXPECT_EQ(l.CurrentIndex[0], 3);
    EXPECT_EQ(l.CurrentIndex[1], 1);
    TakeCurrentOverlays(l, {0, 1, 2, 4});
    EXPECT_EQ(l.CurrentCount, 4);
    TakeCurrentOverlays(l, {255, 0, 0, 0});
    EXPECT_EQ(l.CurrentCount, 0);
}

TEST(CurrentOverlays, MoreThanDefinedResetsToTheFirstDefinitions) {
    OverlayList l{};
    l.DefinedCount = 2;
    TakeCurrentOverlays(l, {1, 0, 1, 255});
    EXPECT_EQ(l.CurrentCount, 2);
    EXPECT_EQ(l.CurrentIndex[0], 0);
    EXPECT_EQ(l.CurrentIndex[1], 1);
    // An index naming no definition is reset the same way.
    TakeCurrentOverlays(l, {7, 255, 255, 255});
    EXPECT_EQ(l.CurrentCount, 1);
    EXPECT_EQ(l.CurrentIndex[0], 0);
    l.DefinedCount = 0;
    TakeCurrentOverlays(l, {0, 255, 255, 255});
    EXPECT_EQ(l.CurrentCount, 0);
}
