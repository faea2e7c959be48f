#include "jobopts/job_storage_rules.h"

#include <gtest/gtest.h>

using namespace zd;

TEST(JobStorageRules, TypedNameDropsQuotesControlsAndNonAscii) {
    TypedText t = FilterJobNameTyped(u"Q3 \"report\"\u00e9\t~");
    EXPECT_EQ(t.text, u"Q3 report~");
    EXPECT_TRUE(t.dropped);
    EXPECT_FALSE(FilterJobNameTyped(u"plain").dropped);
    EXPECT_EQ(FilterPinTyped(u"1a2-3").text, u"123");
}

TEST(JobStorageRules, NameAndPinBounds) {
    EXPECT_TRUE(IsValidJobName(u"abcdefghijklmnop")); // 16
    EXPECT_FALSE(IsValidJobName(u"abcdefghijklmnopq"));
    EXPECT_FALSE(IsValidJobName(u""));
    EXPECT_FALSE(IsValidJobName(u"a\"b"));
    EXPECT_FALSE(IsValidJobName(u"\u007f"));
    EXPECT_TRUE(IsValidPin(u"0042"));
    EXPECT_FALSE(IsValidPin(u"123"));
    EXPECT_FALSE(IsValidPin(u"12345"));
    EXPECT_FALSE(IsValidPin(u"12a4"));
}

TEST(JobStorageRules, StoredFieldsThatBreakTheRulesReadEmpty) {
    const char16_t good[17] = u"Invoices";
    EXPECT_EQ(StoredJobName(good, 17), u"Invoices");
    const char16_t quoted[17] = u"a\"b";
    EXPECT_EQ(StoredJobName(quoted, 17), u"");
    char16_t unended[17];
    for (char16_t& c : unended)
        c = u'x';
    EXPECT_EQ(StoredJobName(unended, 17), u"");
    const char16_t pin[5] = u"1234";
    EXPECT_EQ(StoredPin(pin, 5), u"1234");
    const char16_t shortPin[5] = u"123";
    EXPECT_EQ(StoredPin(shortPin, 5), u"");
    EXPECT_EQ(StoredPin(nullptr, 5), u"");
}

TEST(JobStorageRules, PinJobTypesByKeyword) {
    const auto list = ParsePinJobTypes(" Secure , Store,,Proof ");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], "Secure");
    EXPECT_EQ(list[1], "Store");
    EXPECT_EQ(list[2], "Proof");
    EXPECT_TRUE(JobTypeNeedsPin("Store", list, true));
    EXPECT_FALSE(JobTypeNeedsPin("Normal", list, true));
    // Without the key only "Secure" needs one; an empty key names none.
    EXPECT_TRUE(JobTypeNeedsPin("Secure", {}, false));
    EXPECT_FALSE(JobTypeNeedsPin("Proof", {}, false));
    EXPECT_FALSE(JobTypeNeedsPin("Secure", {}, true));
}

TEST(JobStorageRules, OkChecksNameThenPinUnlessAskedAtPrint) {
    EXPECT_EQ(CheckJobStorage(false, false, u"", u"", false), JobStorageProblem::None);
    EXPECT_EQ(CheckJobStorage(true, false, u"", u"", false), JobStorageProblem::NameMissing);
    EXPECT_EQ(CheckJobStorage(true, true, u"", u"12", false), JobStorageProblem::NameMissing);
    EXPECT_EQ(CheckJobStorage(true, true, u"Pay", u"123", false), JobStorageProblem::PinMissing);
    EXPECT_EQ(CheckJobStorage(true, true, u"Pay", u"1234", false), JobStorageProblem::None);
    EXPECT_EQ(CheckJobStorage(true, true, u"", u"", true), JobStorageProblem::None);
}

TEST(JobStorageRules, HeldJobWordNeedsItsTag) {
    const uint32_t w = HeldJobWord(HeldJobKind::NamedWithPin, 2);
    EXPECT_EQ(HeldJobKindOf(w), HeldJobKind::NamedWithPin);
    EXPECT_EQ(HeldJobTypeOf(w), 2u);
    // Host bytes at the offset (zeros, 0xFF) read as a normal job.
    EXPECT_EQ(HeldJobKindOf(0), HeldJobKind::Normal);
    EXPECT_EQ(HeldJobKindOf(0xFFFFFFFF), HeldJobKind::Normal);
    EXPECT_EQ(HeldJobKindOf(kHeldJobTag | 7), HeldJobKind::Normal);
    EXPECT_EQ(MaskedPin(4), "****");
}
