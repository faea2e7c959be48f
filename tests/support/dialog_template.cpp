#include "dialog_template.h"

#include <cstring>
#include <map>

namespace zdtest {

namespace {

// Bounds-checked reader of an extended dialog template.
class TemplateReader {
  public:
    TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }

    template <class T> T Get() {
        T v{};
        if (pos_ + sizeof(T) > size_) {
            ok_ = false;
            return v;
        }
        std::memcpy(&v, data_ + pos_, sizeof(T));
        pos_ += sizeof(T);
        return v;
    }
    std::wstring String() {
        std::wstring s;
        for (;;) {
            wchar_t c = static_cast<wchar_t>(Get<WORD>());
            if (!ok_ || c == 0)
                return s;
            s += c;
        }
    }
    // Name or ordinal; ordinals come back as "#n".
    std::wstring NameOrOrdinal() {
        WORD first = Get<WORD>();
        if (first == 0)
            return L"";
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Get<WORD>());
        pos_ -= 2;
        return String();
    }
    void AlignDword() { pos_ = (pos_ + 3) & ~size_t{3}; }
    void Skip(size_t n) {
        if (pos_ + n > size_)
            ok_ = false;
        else
            pos_ += n;
    }

  private:
    const BYTE* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

std::wstring PredefinedClass(const std::wstring& cls) {
    static const std::map<std::wstring, std::wstring> ordinals = {
        {L"#128", L"Button"},  {L"#129", L"Edit"},      {L"#130", L"Static"},
        {L"#131", L"ListBox"}, {L"#132", L"ScrollBar"}, {L"#133", L"ComboBox"}};
    auto it = ordinals.find(cls);
    return it != ordinals.end() ? it->second : cls;
}

} // namespace

std::optional<Template> ParseTemplate(const BYTE* data, size_t size) {
    TemplateReader r(data, size);
    Template t;
    if (r.Get<WORD>() != 1 || r.Get<WORD>() != 0xFFFF)
        return std::nullopt; // not DIALOGEX
    r.Get<DWORD>();          // help id
    t.exStyle = r.Get<DWORD>();
    t.style = r.Get<DWORD>();
    WORD count = r.Get<WORD>();
    t.x = r.Get<short>();
    t.y = r.Get<short>();
    t.cx = r.Get<short>();
    t.cy = r.Get<short>();
    r.NameOrOrdinal(); // menu
    r.NameOrOrdinal(); // class
    t.caption = r.String();
    if (t.style & (DS_SETFONT | DS_SHELLFONT)) {
        t.pointSize = r.Get<WORD>();
        t.weight = r.Get<WORD>();
        t.italic = r.Get<BYTE>();
        t.charset = r.Get<BYTE>();
        t.face = r.String();
    }
    for (WORD i = 0; i < count && r.ok(); ++i) {
        r.AlignDword();
        TemplateItem item;
        r.Get<DWORD>(); // help id
        item.exStyle = r.Get<DWORD>();
        item.style = r.Get<DWORD>();
        item.x = r.Get<short>();
        item.y = r.Get<short>();
        item.cx = r.Get<short>();
        item.cy = r.Get<short>();
        item.id = r.Get<DWORD>();
        item.cls = PredefinedClass(r.NameOrOrdinal());
        item.text = r.NameOrOrdinal();
        r.Skip(r.Get<WORD>());
        t.items.push_back(item);
    }
    if (!r.ok())
        return std::nullopt;
    return t;
}

std::optional<Template> LoadTemplate(HMODULE module, int id, WORD language) {
    HRSRC res = FindResourceExW(module, reinterpret_cast<LPCWSTR>(RT_DIALOG), MAKEINTRESOURCEW(id),
                                language);
    HGLOBAL mem = res ? LoadResource(module, res) : nullptr;
    auto data = static_cast<const BYTE*>(mem ? LockResource(mem) : nullptr);
    DWORD size = res ? SizeofResource(module, res) : 0;
    if (!data || size == 0)
        return std::nullopt;
    return ParseTemplate(data, size);
}

} // namespace zdtest
