// options list | get KEY | set [--raw] KEY VALUE | reset: the options dialog from the command line.

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <ostream>

#include "cli/environment.h"
#include "cli/option_keys.h"
#include "host/paths.h"
#include "cli/verbs.h"
#include "errors/runtime_error.h"
#include "settings/options.h"
#include "settings/options_model.h"

namespace vex::cli {
namespace {

// A value on one line for the listing: line breaks shown as \r and \n.
std::string OneLine(std::string_view value) {
    std::string out;
    for (char c : value) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

// The key `typed` names, letter case ignored; empty after a message and exit code 2 when it names none.
std::string CheckKey(VerbContext& ctx, const std::string& typed) {
    std::string problem;
    std::string k = ResolveKey(typed, problem);
    if (k.empty()) {
        ctx.err << "vextools: " << problem << '\n';
        ctx.exitCode = exit_code::kUsage;
    }
    return k;
}

// Where the search for the team's .vextools.ini starts: the PATH given, else the current folder.
std::filesystem::path SearchFrom(const std::string& path) {
    return path.empty() ? std::filesystem::current_path() : host::PathFromUtf8(path);
}

// Runs a verb body, turning a failing store into a message and exit code 3.
template <typename Body>
void Guarded(VerbContext& ctx, Body body) {
    try {
        body();
    } catch (const errors::RuntimeError& e) {
        ctx.err << "vextools: " << e.Description() << '\n';
        ctx.exitCode = exit_code::kFailure;
    } catch (const std::exception& e) {
        ctx.err << "vextools: " << e.what() << '\n';
        ctx.exitCode = exit_code::kFailure;
    }
}

struct SetArgs {
    std::string key;
    std::string value;
    bool raw = false;
};

struct ReadArgs {
    std::string key;
    std::string path;
};

constexpr const char* kPathHelp =
    "Project, module or folder whose .vextools.ini counts (default: the current folder)";

}  // namespace

void RegisterOptionsVerbs(CLI::App& app, VerbContext& ctx) {
    auto* options = app.add_subcommand("options", "Show or change the stored options");
    options->require_subcommand(1);

    auto read = std::make_shared<ReadArgs>();
    auto* list = options->add_subcommand(
        "list", "Every option key with the value the next action would use and where it comes from:\n"
                "--set, a settings file, a .vextools.ini, or (default)");
    list->add_option("PATH", read->path, kPathHelp);
    list->callback([&ctx, read] {
        Guarded(ctx, [&] {
            const auto store = OpenStore(ctx.global, SearchFrom(read->path));
            WarnOfUnknownKeys(*store, ctx.err);
            for (auto k : settings::kAllKeys) {
                const auto stored = store->Find(settings::kApplication, settings::kSection, k);
                const std::string origin = stored ? store->Origin(k) : "default";
                ctx.out << k << " = \"" << OneLine(stored ? *stored : settings::EngineDefault(k)) << "\" ("
                        << origin << ")\n";
            }
        });
    });

    auto* get = options->add_subcommand(
        "get", "Print the value of KEY the next action would use (--set, the settings files, else the default)");
    get->add_option("KEY", read->key, "Option key, e.g. LineJump or ErrorCodeClose (letter case ignored)")->required();
    get->add_option("PATH", read->path, kPathHelp);
    get->callback([&ctx, read] {
        const std::string k = CheckKey(ctx, read->key);
        if (k.empty()) return;
        Guarded(ctx, [&] {
            const auto store = OpenStore(ctx.global, SearchFrom(read->path));
            ctx.out << store->Get(k, settings::EngineDefault(k)) << '\n';
        });
    });

    auto args = std::make_shared<SetArgs>();
    auto* set = options->add_subcommand(
        "set", "Store VALUE under KEY in the user's store (--settings FILE, else $VEXTOOLS_SETTINGS, else the\n"
               "per-user store) as the options dialog would (\\r\\n in VALUE is a line break)");
    set->add_flag("--raw", args->raw, "Store VALUE exactly as given, without the dialog's checks");
    set->add_option("KEY", args->key, "Option key")->required();
    set->add_option("VALUE", args->value, "The new value (after --, when it starts with a dash)")->required();
    set->callback([&ctx, args] {
        const std::string k = CheckKey(ctx, args->key);
        if (k.empty()) return;
        args->key = k;
        Guarded(ctx, [&] {
            // Written to the user's own store; a team's .vextools.ini is edited in its repository.
            const auto store = OpenStore(ctx.global, std::nullopt);
            if (args->raw) {
                store->Save(args->key, args->value);
                return;
            }
            const std::string value = WithLineBreaks(args->value);
            switch (settings::SetOption(*store, args->key, value)) {
                case settings::SetOutcome::Stored: break;
                case settings::SetOutcome::NotNumeric:
                    ctx.err << "vextools: " << args->key << " takes a number; \"" << args->value
                            << "\" was not stored\n";
                    ctx.exitCode = exit_code::kUsage;
                    break;
                case settings::SetOutcome::Refused:
                    ctx.err << "vextools: " << settings::OptionProblem(args->key, value) << "; \"" << args->value
                            << "\" was not stored\n";
                    ctx.exitCode = exit_code::kUsage;
                    break;
            }
        });
    });

    options->add_subcommand("reset", "Store the options dialog's defaults, as OK on an empty dialog would")
        ->callback([&ctx] {
            Guarded(ctx, [&] {
                const auto store = OpenStore(ctx.global, std::nullopt);
                const auto prompter = MakePrompter(ctx.global, std::cin, ctx.err);
                const host::SystemClock clock;
                const auto report = MakeErrorReport(*prompter, clock);
                settings::OptionsModel model(*store);
                model.form = settings::DialogDefaults();
                if (!model.Apply(*report)) ctx.exitCode = exit_code::kFailure;
            });
        });
}

}  // namespace vex::cli
