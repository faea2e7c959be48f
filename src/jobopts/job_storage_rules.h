// Rules of held jobs (proof, secure and stored jobs) that need no window:
// which job name and PIN a user may type and store, which job types need a
// PIN, what the OK of the job storage dialog and of the print-time prompt
// checks, and the held-job word the private block carries to print time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zd {

constexpr size_t kJobNameMaxChars = 16;
constexpr size_t kPinDigits = 4;

// A job name character: printable ASCII (32..126) other than the double
// quote, which would end the name in the job's PostScript.
bool JobNameCharAllowed(char16_t c);

// A name or PIN as typed, with the characters the field does not take dropped.
struct TypedText {
    std::u16string text;
    bool dropped = false; // the field must be rewritten from `text`
};
TypedText FilterJobNameTyped(std::u16string_view typed);
TypedText FilterPinTyped(std::u16string_view typed);

// A name of 1..16 allowed characters; a PIN of exactly 4 digits.
bool IsValidJobName(std::u16string_view name);
bool IsValidPin(std::u16string_view pin);

// The name or PIN a fixed field of the private block holds, when it is
// NUL-ended inside the field and follows the rules; empty otherwise (an
// older document, a foreign block), so that it is never shown or stored back.
std::u16string StoredJobName(const char16_t* field, size_t units);
std::u16string StoredPin(const char16_t* field, size_t units);

// The model's `PinJobTypes` value: comma-separated option keywords of the
// job type item, blanks around them ignored, empty entries dropped.
std::vector<std::string> ParsePinJobTypes(std::string_view value);

// Whether option `keyword` needs a PIN: named by the model's list, or
// "Secure" when the model has no such key.
bool JobTypeNeedsPin(std::string_view keyword, const std::vector<std::string>& pinJobTypes,
                     bool keyPresent);

// What OK finds missing, in the order it checks.
enum class JobStorageProblem { None, NameMissing, PinMissing };

// The job storage dialog's OK: a held job (any type but normal) needs a
// name, and a PIN type a valid PIN, unless the user is asked at every print.
JobStorageProblem CheckJobStorage(bool heldJob, bool needsPin, std::u16string_view name,
                                  std::u16string_view pin, bool askAtPrint);

// The held-job word at offset 64 of the private block: which kind of held
// job the stored job type is, so that print time knows it without the
// driver's option tree. Only words carrying the tag count; host bytes there
// read as a normal job.
enum class HeldJobKind : uint8_t { Normal = 0, Named = 1, NamedWithPin = 2 };
constexpr uint32_t kHeldJobTag = 0x4A530000; // "SJ" in the high half
uint32_t HeldJobWord(HeldJobKind kind, uint32_t jobType);
HeldJobKind HeldJobKindOf(uint32_t word);
// The job type option the word was written for (0 for an untagged word).
uint32_t HeldJobTypeOf(uint32_t word);

// "****" for a PIN of n characters: its length shows, never its digits.
std::string MaskedPin(size_t length);

} // namespace zd
