#include "settings/option_sources.h"

#include "settings/ini_settings_store.h"
#include "settings/locations.h"
#include "settings/user_store.h"
#include "util/file_io.h"

namespace vex::settings {
namespace fs = std::filesystem;

std::optional<fs::path> FindTeamFile(const fs::path& start) {
    std::error_code ec;
    fs::path dir = fs::absolute(start, ec);
    if (ec) return std::nullopt;
    if (!fs::is_directory(dir, ec)) dir = dir.parent_path();
    for (;;) {
        const fs::path candidate = dir / kTeamFileName;
        if (fs::is_regular_file(candidate, ec)) return candidate;
        if (dir == dir.parent_path() || dir.empty()) return std::nullopt;
        dir = dir.parent_path();
    }
}

LayeredSettingsStore::LayeredSettingsStore(std::vector<OptionSource> sources, size_t writable)
    : sources_(std::move(sources)), writable_(writable) {}

std::optional<std::string> LayeredSettingsStore::Find(std::string_view app, std::string_view section,
                                                      std::string_view key) const {
    for (const auto& source : sources_)
        if (auto value = source.store->Find(app, section, key)) return value;
    return std::nullopt;
}

void LayeredSettingsStore::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                                       std::string_view value) {
    sources_[writable_].store->SaveSetting(app, section, key, value);
}

std::string LayeredSettingsStore::Origin(std::string_view key) const {
    for (const auto& source : sources_)
        if (source.store->Find(kApplication, kSection, key)) return source.label;
    return {};
}

std::unique_ptr<LayeredSettingsStore> OpenOptionSources(SourceRequest request) {
    std::vector<OptionSource> sources;
    if (request.runValues) sources.push_back({"--set", std::move(request.runValues)});
    const auto chosen = ExplicitSettingsFile(request.explicitFile);
    size_t writable = sources.size();
    if (chosen) sources.push_back({util::Display(*chosen), std::make_unique<IniSettingsStore>(*chosen)});
    if (request.searchFrom)
        if (auto team = FindTeamFile(*request.searchFrom)) {
            std::error_code ec;
            // A team file also named as the run's own file is one source, not two.
            if (!chosen || !fs::equivalent(*team, *chosen, ec))
                sources.push_back({util::Display(*team), std::make_unique<IniSettingsStore>(*team)});
        }
    if (!chosen) {
        writable = sources.size();
        sources.push_back({UserStoreLabel(), OpenUserStore()});
    }
    return std::make_unique<LayeredSettingsStore>(std::move(sources), writable);
}

}  // namespace vex::settings
