#pragma once
// An INI file in memory: sections of key=value lines, read and written through SimpleIni. Names and values
// are taken and given back as they stand in the file; callers that need exact round trips escape them
// (ini_escape.h). Section and key names compare without regard to ASCII case, as Windows profiles do.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vex::ini {

class IniDocument {
public:
    IniDocument();
    ~IniDocument();
    IniDocument(IniDocument&&) noexcept;
    IniDocument& operator=(IniDocument&&) noexcept;

    /// Parses `text`. Every line must be blank, a comment (";" or "#"), a "[section]" header or a
    /// "key=value" line; anything else would be dropped silently by the INI reader and lost on the next
    /// write, so it is refused: throws RuntimeError naming `source` and the line number.
    static IniDocument Parse(std::string_view text, const std::string& source);

    /// The value of `key` in `section`, or nothing when absent. A key with an empty value gives "".
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    /// The keys of `section` as they stand in the file, in file order; none when the section is absent.
    std::vector<std::string> Keys(std::string_view section) const;

    /// Sets `key` in `section`, creating both when missing; an existing key keeps its place.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    /// The file's text: "[section]" headers and "key=value" lines, comments kept, LF line ends.
    std::string Text() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

/// Reads and parses `path`; a missing file gives an empty document. Throws RuntimeError naming the file
/// when it cannot be read or parsed.
IniDocument ReadIniFile(const std::filesystem::path& path);

/// Read-modify-write under the file's lock: `edit` changes the freshly read document, which is then
/// written atomically, so two processes editing different keys at once both keep their change. A file
/// that cannot be parsed is left exactly as it is and the RuntimeError propagates; so does a failed
/// write. The directory must exist.
void UpdateIniFile(const std::filesystem::path& path, const std::function<void(IniDocument&)>& edit);

}  // namespace vex::ini
