#include "jobopts/job_storage_rules.h"

namespace zd {

namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

template <typename Keep> TypedText Filter(std::u16string_view typed, Keep keep) {
    TypedText out;
    for (char16_t c : typed) {
        if (keep(c))
            out.text.push_back(c);
        else
            out.dropped = true;
    }
    return out;
}

// The field's text up to its NUL; nothing when no NUL lies inside it.
bool FieldText(const char16_t* field, size_t units, std::u16string_view* text) {
    if (!field)
        return false;
    for (size_t n = 0; n < units; ++n) {
        if (field[n] == 0) {
            *text = std::u16string_view(field, n);
            return true;
        }
    }
    return false;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

bool JobNameCharAllowed(char16_t c) {
    return c >= 32 && c <= 126 && c != u'"';
}

TypedText FilterJobNameTyped(std::u16string_view typed) {
    return Filter(typed, JobNameCharAllowed);
}

TypedText FilterPinTyped(std::u16string_view typed) {
    return Filter(typed, IsDigit);
}

bool IsValidJobName(std::u16string_view name) {
    if (name.empty() || name.size() > kJobNameMaxChars)
        return false;
    for (char16_t c : name)
        if (!JobNameCharAllowed(c))
            return false;
    return true;
}

bool IsValidPin(std::u16string_view pin) {
    if (pin.size() != kPinDigits)
        return false;
    for (char16_t c : pin)
        if (!IsDigit(c))
            return false;
    return true;
}

std::u16string StoredJobName(const char16_t* field, size_t units) {
    std::u16string_view text;
    if (!FieldText(field, units, &text) || !IsValidJobName(text))
        return std::u16string();
    return std::u16string(text);
}

std::u16string StoredPin(const char16_t* field, size_t units) {
    std::u16string_view text;
    if (!FieldText(field, units, &text) || !IsValidPin(text))
        return std::u16string();
    return std::u16string(text);
}

std::vector<std::string> ParsePinJobTypes(std::string_view value) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos <= value.size()) {
        size_t comma = value.find(',', pos);
        if (comma == std::string_view::npos)
            comma = value.size();
        size_t b = pos, e = comma;
        while (b < e && IsBlank(value[b]))
            ++b;
        while (e > b && IsBlank(value[e - 1]))
            --e;
        if (e > b)
            out.emplace_back(value.substr(b, e - b));
        pos = comma + 1;
    }
    return out;
}

bool JobTypeNeedsPin(std::string_view keyword, const std::vector<std::string>& pinJobTypes,
                     bool keyPresent) {
    if (keyword.empty())
        return false;
    if (!keyPresent)
        return keyword == "Secure";
    for (const std::string& k : pinJobTypes)
        if (k == keyword)
            return true;
    return false;
}

JobStorageProblem CheckJobStorage(bool heldJob, bool needsPin, std::u16string_view name,
                                  std::u16string_view pin, bool askAtPrint) {
    if (!heldJob || askAtPrint)
        return JobStorageProblem::None;
    if (!IsValidJobName(name))
        return JobStorageProblem::NameMissing;
    if (needsPin && !IsValidPin(pin))
        return JobStorageProblem::PinMissing;
    return JobStorageProblem::None;
}

uint32_t HeldJobWord(HeldJobKind kind, uint32_t jobType) {
    return kHeldJobTag | ((jobType & 0xFF) << 8) | uint32_t(kind);
}

HeldJobKind HeldJobKindOf(uint32_t word) {
    if ((word & 0xFFFF0000) != kHeldJobTag)
        return HeldJobKind::Normal;
    switch (word & 0xFF) {
    case uint32_t(HeldJobKind::Named):
        return HeldJobKind::Named;
    case uint32_t(HeldJobKind::NamedWithPin):
        return HeldJobKind::NamedWithPin;
    default:
        return HeldJobKind::Normal;
    }
}

uint32_t HeldJobTypeOf(uint32_t word) {
    return (word & 0xFFFF0000) == kHeldJobTag ? (word >> 8) & 0xFF : 0;
}

std::string MaskedPin(size_t length) {
    return std::string(length, '*');
}

} // namespace zd
