#pragma once
// Where the options of one run come from, highest first:
//   1. the values given for the run (the command line's --set),
//   2. the settings file chosen for the run (--settings FILE, else $VEXTOOLS_SETTINGS),
//   3. the team's .vextools.ini: the nearest one in the project's folder or a folder above it,
//   4. the per-user store (read only when no file was chosen for the run: that file takes its place).
// A read takes the value from the first source that holds the key; writes go to the user's own store
// (2, else 4), never to the team's file nor to the run's values.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace vex::settings {

/// The team's options file, looked for as .clang-format is.
inline constexpr const char* kTeamFileName = ".vextools.ini";

/// The nearest kTeamFileName in `start` (a folder, or a file whose folder is meant) or in a folder above
/// it, up to the file system's root; nothing when there is none.
std::optional<std::filesystem::path> FindTeamFile(const std::filesystem::path& start);

/// One place values are read from, and how people know it (a path, "--set").
struct OptionSource {
    std::string label;
    std::unique_ptr<SettingsStore> store;
};

class LayeredSettingsStore : public SettingsStore {
public:
    /// `sources` highest first; SaveSetting writes to sources[writable].
    LayeredSettingsStore(std::vector<OptionSource> sources, size_t writable);

    std::optional<std::string> Find(std::string_view app, std::string_view section,
                                    std::string_view key) const override;
    void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;

    /// The label of the source the value of `key` (in the add-in's section) comes from, or empty when
    /// no source holds it.
    std::string Origin(std::string_view key) const;

    const std::vector<OptionSource>& Sources() const { return sources_; }

private:
    std::vector<OptionSource> sources_;
    size_t writable_;
};

/// What the front end knows of a run's sources.
struct SourceRequest {
    std::unique_ptr<SettingsStore> runValues;          ///< --set; null when none
    std::optional<std::filesystem::path> explicitFile;  ///< --settings FILE
    std::optional<std::filesystem::path> searchFrom;    ///< where the search for the team's file starts
};

/// The sources of the run, in the order above. Throws RuntimeError when the per-user store has no
/// location. Nothing is read yet.
std::unique_ptr<LayeredSettingsStore> OpenOptionSources(SourceRequest request);

}  // namespace vex::settings
