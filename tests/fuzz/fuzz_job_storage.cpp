// The held-job rules over random fields and model values: a stored name or
// PIN is either empty or valid, the typed filters keep only what the rules
// allow, and the PinJobTypes list holds no empty or blank-edged keyword.
#include "fuzz_input.h"
#include "jobopts/job_storage_rules.h"

#include <algorithm>
#include <vector>

using namespace zd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    const size_t units = f.take<uint8_t>() % 24;
    const std::string_view model = f.bytes(f.take<uint8_t>());
    const std::u16string text = f.rest16();

    // A field of exactly `units` units on the heap: the sanitizer sees any overrun.
    std::vector<char16_t> field(text.begin(), text.begin() + std::min(units, text.size()));
    field.resize(units, u'A');
    const std::u16string name = StoredJobName(field.data(), field.size());
    ZD_FUZZ_CHECK(name.empty() || IsValidJobName(name));
    ZD_FUZZ_CHECK(name.size() < units || name.empty());
    const std::u16string pin = StoredPin(field.data(), field.size());
    ZD_FUZZ_CHECK(pin.empty() || IsValidPin(pin));

    const TypedText typedName = FilterJobNameTyped(text);
    for (char16_t c : typedName.text)
        ZD_FUZZ_CHECK(JobNameCharAllowed(c));
    ZD_FUZZ_CHECK(typedName.dropped == (typedName.text.size() != text.size()));
    const TypedText typedPin = FilterPinTyped(text);
    for (char16_t c : typedPin.text)
        ZD_FUZZ_CHECK(c >= u'0' && c <= u'9');

    for (const std::string& k : ParsePinJobTypes(model)) {
        ZD_FUZZ_CHECK(!k.empty() && k.find(',') == std::string::npos);
        ZD_FUZZ_CHECK(k.front() != ' ' && k.back() != ' ');
        ZD_FUZZ_CHECK(JobTypeNeedsPin(k, ParsePinJobTypes(model), true));
    }
    const uint32_t word = f.take<uint32_t>() ^ uint32_t(size);
    const HeldJobKind kind = HeldJobKindOf(word);
    ZD_FUZZ_CHECK(HeldJobKindOf(HeldJobWord(kind, HeldJobTypeOf(word))) == kind);
    return 0;
}
