// Where the sections and keys of an INI file stand, so that the model-file
// checker can name a line. The profile functions that the plug-in reads
// through give no lines; this only locates what they read. Portable.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace drvhost {

// Lines beyond this are not indexed: a hostile file cannot exhaust memory.
constexpr size_t kMaxIniLines = 100000;

class IniLines {
  public:
    // `bytes`: the whole file; UTF-16LE with its byte-order mark, else
    // UTF-8 (bytes that are not UTF-8 read as U+FFFD).
    explicit IniLines(std::string_view bytes);

    // 1-based line of the "[section]" header, 0 when absent. Names compare
    // without regard to ASCII letter case, as the profile functions do.
    int Section(std::u16string_view section) const;
    // 1-based line of the first "key=" of the section, 0 when absent.
    int Key(std::u16string_view section, std::u16string_view key) const;
    // The section's key names in file order (the first of duplicates only).
    std::vector<std::u16string> Keys(std::u16string_view section) const;
    // Sections in file order.
    std::vector<std::u16string> Sections() const;

  private:
    struct Entry {
        size_t section; // index into sections_
        std::u16string key;
        int line;
    };
    struct SectionLine {
        std::u16string name;
        int line;
    };
    size_t FindSection(std::u16string_view section) const;

    std::vector<SectionLine> sections_;
    std::map<std::u16string, size_t> sectionIndex_; // ASCII-folded name -> index
    std::vector<Entry> keys_;
};

// The file's text as UTF-16 (the decoding IniLines uses).
std::u16string DecodeIniText(std::string_view bytes);

// ASCII case-insensitive equality.
bool SameIniName(std::u16string_view a, std::u16string_view b);

} // namespace drvhost
