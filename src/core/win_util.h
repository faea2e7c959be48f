// Small RAII wrappers and text conversions at the Windows edge.
#pragma once

#include "core/text_fields.h"

#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <string_view>

namespace zd {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");

inline std::u16string_view U16(const wchar_t* s) {
    return s ? std::u16string_view(reinterpret_cast<const char16_t*>(s)) : std::u16string_view();
}
inline std::u16string_view U16(std::wstring_view s) {
    return std::u16string_view(reinterpret_cast<const char16_t*>(s.data()), s.size());
}
inline std::wstring W(std::u16string_view s) {
    return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}

// A profile key or section name with a number: "History " and 2 give "History 2".
inline std::wstring Numbered(std::wstring_view prefix, int64_t n) {
    return std::wstring(prefix) + W(FormatDecimal(n));
}

// A library export as a typed function pointer (nullptr when absent).
template <typename F> F ProcAddress(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Copies a text into a fixed buffer of `units` units, cut and NUL-ended.
inline void CopyText(wchar_t* dst, size_t units, std::wstring_view src) {
    if (!dst || units == 0)
        return;
    size_t n = src.size() < units - 1 ? src.size() : units - 1;
    src.copy(dst, n);
    dst[n] = 0;
}

class PrinterHandle {
  public:
    PrinterHandle() = default;
    explicit PrinterHandle(const wchar_t* name, ACCESS_MASK access = PRINTER_ACCESS_USE) {
        PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
        if (!name || !OpenPrinterW(const_cast<wchar_t*>(name), &handle_, &defaults))
            handle_ = nullptr;
    }
    ~PrinterHandle() {
        if (handle_)
            ClosePrinter(handle_);
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
    HANDLE get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

  private:
    HANDLE handle_ = nullptr;
};

// Holds an SRW lock, shared or exclusive, for one scope.
class SrwLockHold {
  public:
    SrwLockHold(SRWLOCK& lock, bool exclusive) : lock_(lock), exclusive_(exclusive) {
        if (exclusive_)
            AcquireSRWLockExclusive(&lock_);
        else
            AcquireSRWLockShared(&lock_);
    }
    ~SrwLockHold() {
        if (exclusive_)
            ReleaseSRWLockExclusive(&lock_);
        else
            ReleaseSRWLockShared(&lock_);
    }
    SrwLockHold(const SrwLockHold&) = delete;
    SrwLockHold& operator=(const SrwLockHold&) = delete;

  private:
    SRWLOCK& lock_;
    bool exclusive_;
};

struct ModuleDeleter {
    void operator()(HMODULE m) const {
        if (m)
            FreeLibrary(m);
    }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// A zero-filled process-heap block for one operation.
template <typename T = BYTE> class TempBlock {
  public:
    explicit TempBlock(size_t bytes)
        : ptr_(static_cast<T*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes ? bytes : 1))) {}
    ~TempBlock() {
        if (ptr_)
            HeapFree(GetProcessHeap(), 0, ptr_);
    }
    TempBlock(const TempBlock&) = delete;
    TempBlock& operator=(const TempBlock&) = delete;
    T* get() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

  private:
    T* ptr_;
};

} // namespace zd
