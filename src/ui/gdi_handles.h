// Scoped GDI handles: device contexts, objects and selections, so that a
// drawing releases everything it made on every path.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace zd {

// The device context of a window, released when the scope ends.
class WindowDc {
  public:
    explicit WindowDc(HWND w) : window_(w), dc_(w ? GetDC(w) : nullptr) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A memory context with one bitmap selected into it for its lifetime.
class MemoryDc {
  public:
    MemoryDc(HDC compatible, HBITMAP bitmap) : dc_(CreateCompatibleDC(compatible)) {
        if (dc_ && bitmap)
            old_ = SelectObject(dc_, bitmap);
    }
    ~MemoryDc() {
        if (dc_) {
            if (old_)
                SelectObject(dc_, old_);
            DeleteDC(dc_);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

struct GdiDeleter {
    void operator()(HGDIOBJ o) const {
        if (o)
            DeleteObject(o);
    }
};
template <typename T> using GdiObject = std::unique_ptr<std::remove_pointer_t<T>, GdiDeleter>;

// Selects an object into a context for the lifetime of the guard. Declare
// it after the object, so that the object is deselected before deletion.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(dc && obj ? SelectObject(dc, obj) : nullptr) {}
    ~Selected() {
        if (old_)
            SelectObject(dc_, old_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace zd
