// options list | get KEY | set [--raw] KEY VALUE | reset: the options dialog from the command line.

#include <CLI/CLI.hpp>
#include <iostream>
#include <ostream>

#include "cli/environment.h"
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

// The shell cannot easily pass a line break: "\r\n" in VALUE stands for one.
std::string WithLineBreaks(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value.substr(i, 4) == "\\r\\n") {
            out += "\r\n";
            i += 3;
        } else {
            out += value[i];
        }
    }
    return out;
}

bool CheckKey(VerbContext& ctx, const std::string& k) {
    if (settings::IsKnownKey(k)) return true;
    ctx.err << "vextools: unknown option key \"" << k << "\"; the keys are:";
    for (auto known : settings::kAllKeys) ctx.err << ' ' << '"' << known << '"';
    ctx.err << '\n';
    ctx.exitCode = exit_code::kUsage;
    return false;
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

}  // namespace

void RegisterOptionsVerbs(CLI::App& app, VerbContext& ctx) {
    auto* options = app.add_subcommand("options", "Show or change the stored options");
    options->require_subcommand(1);

    options->add_subcommand("list", "Every option key with its stored value, or its default marked (default)")
        ->callback([&ctx] {
            Guarded(ctx, [&] {
                const auto store = OpenStore(ctx.global);
                for (auto k : settings::kAllKeys) {
                    const auto stored = store->Find(settings::kApplication, settings::kSection, k);
                    ctx.out << k << " = \"" << OneLine(stored ? *stored : settings::EngineDefault(k)) << '"'
                            << (stored ? "" : " (default)") << '\n';
                }
            });
        });

    auto key = std::make_shared<std::string>();
    auto* get = options->add_subcommand(
        "get", "Print the value of KEY: the stored one, else the one the next action would use");
    get->add_option("KEY", *key, "Option key, e.g. LineJump or ErrorCodeClose")->required();
    get->callback([&ctx, key] {
        if (!CheckKey(ctx, *key)) return;
        Guarded(ctx, [&] {
            const auto store = OpenStore(ctx.global);
            ctx.out << store->Get(*key, settings::EngineDefault(*key)) << '\n';
        });
    });

    auto args = std::make_shared<SetArgs>();
    auto* set = options->add_subcommand(
        "set", "Store VALUE under KEY as the options dialog would (\\r\\n in VALUE is a line break)");
    set->add_flag("--raw", args->raw, "Store VALUE exactly as given, without the dialog's checks");
    set->add_option("KEY", args->key, "Option key")->required();
    set->add_option("VALUE", args->value, "The new value (after --, when it starts with a dash)")->required();
    set->callback([&ctx, args] {
        if (!CheckKey(ctx, args->key)) return;
        Guarded(ctx, [&] {
            const auto store = OpenStore(ctx.global);
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
                const auto store = OpenStore(ctx.global);
                const auto prompter = MakePrompter(ctx.global, std::cin, ctx.err);
                const host::SystemClock clock;
                StreamNotices notices(ctx.err);
                const auto report = MakeErrorReport(*prompter, clock, nullptr, &notices);
                settings::OptionsModel model(*store);
                model.form = settings::DialogDefaults();
                if (!model.Apply(*report)) ctx.exitCode = exit_code::kFailure;
            });
        });
}

}  // namespace vex::cli
