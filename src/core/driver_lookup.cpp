#include "core/driver_lookup.h"

#include "core/win_util.h"

#include <winspool.h>

#include <vector>

namespace zd {

namespace {

// Large enough for a driver's level-3 information with a few dozen
// dependent files, so that one call usually answers without a size query.
constexpr DWORD kFirstGuessBytes = 8192;

struct Binding {
    const void* owner;
    HANDLE printer;
    bool asked;
    bool answered;
    DriverAnswer answer;
};

SRWLOCK bindingLock = SRWLOCK_INIT;
std::vector<Binding> bindings;

const WCHAR* TextInside(const BYTE* block, DWORD bytes, const WCHAR* text) {
    const BYTE* p = reinterpret_cast<const BYTE*>(text);
    return (p && p >= block && p < block + bytes) ? text : nullptr;
}

// The text at `text` when it lies in the block, up to its NUL or the block's end.
std::wstring BoundedText(const BYTE* block, DWORD bytes, const WCHAR* text) {
    if (!TextInside(block, bytes, text))
        return std::wstring();
    size_t units = size_t(block + bytes - reinterpret_cast<const BYTE*>(text)) / sizeof(WCHAR);
    return std::wstring(text, wcsnlen(text, units));
}

bool AskSpooler(HANDLE printer, DriverAnswer* out) {
    DWORD needed = 0;
    auto block = std::make_unique<TempBlock<BYTE>>(kFirstGuessBytes);
    DWORD bytes = kFirstGuessBytes;
    if (!*block || !GetPrinterDriverW(printer, nullptr, 3, block->get(), bytes, &needed)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= kFirstGuessBytes)
            return false;
        bytes = needed;
        block = std::make_unique<TempBlock<BYTE>>(bytes);
        if (!*block || !GetPrinterDriverW(printer, nullptr, 3, block->get(), bytes, &needed))
            return false;
    }
    if (bytes < sizeof(DRIVER_INFO_3W))
        return false;
    const BYTE* base = block->get();
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(base);
    out->name = BoundedText(base, bytes, info->pName);
    out->dataFile = BoundedText(base, bytes, info->pDataFile);
    // The list lies inside the block; never read past it.
    if (const WCHAR* list = TextInside(base, bytes, info->pDependentFiles)) {
        size_t units = size_t(base + bytes - reinterpret_cast<const BYTE*>(list)) / sizeof(WCHAR);
        out->dependentFiles.assign(reinterpret_cast<const char16_t*>(list), units);
    }
    return true;
}

} // namespace

bool AskDriver(HANDLE printer, DriverAnswer* out) {
    *out = DriverAnswer();
    bool bound = false;
    if (printer) {
        SrwLockHold lock(bindingLock, false);
        for (const Binding& b : bindings) {
            if (b.printer != printer)
                continue;
            bound = true;
            if (b.asked) {
                *out = b.answer;
                return b.answered;
            }
        }
    }
    bool answered = printer && AskSpooler(printer, out);
    if (!answered)
        *out = DriverAnswer();
    if (bound) {
        SrwLockHold lock(bindingLock, true);
        for (Binding& b : bindings)
            if (b.printer == printer && !b.asked) {
                b.asked = true;
                b.answered = answered;
                b.answer = *out;
            }
    }
    return answered;
}

void BindPrinter(const void* owner, HANDLE printer) {
    if (!owner || !printer)
        return;
    SrwLockHold lock(bindingLock, true);
    for (Binding& b : bindings) {
        if (b.owner != owner)
            continue;
        if (b.printer != printer)
            b = Binding{owner, printer, false, false, {}};
        return;
    }
    bindings.push_back(Binding{owner, printer, false, false, {}});
}

void ForgetPrinter(const void* owner) {
    SrwLockHold lock(bindingLock, true);
    for (size_t i = 0; i < bindings.size();) {
        if (bindings[i].owner == owner)
            bindings.erase(bindings.begin() + ptrdiff_t(i));
        else
            ++i;
    }
}

} // namespace zd
