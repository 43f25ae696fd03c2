#include "cli/app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

#include "cli/help_text.h"
#include "cli/option_keys.h"
#include "cli/verbs.h"
#include "session/session.h"
#include "settings/memory_settings_store.h"

namespace vex::cli {

namespace {

/// The verb `argv` names when it is no verb of `app`: prints the nearest verbs and returns true.
bool ComplainOfUnknownVerb(CLI::App& app, int argc, const char* const* argv, std::ostream& err) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.empty() || arg[0] == '-') {
            // The value of a global option is no verb.
            const CLI::Option* option = arg.find('=') == std::string::npos ? app.get_option_no_throw(arg) : nullptr;
            if (option && option->get_expected_min() > 0) ++i;
            continue;
        }
        std::vector<std::string> verbs;
        for (const auto* sub : app.get_subcommands({})) verbs.push_back(sub->get_name());
        if (std::find(verbs.begin(), verbs.end(), arg) != verbs.end()) return false;
        err << "vextools: unknown verb \"" << arg << "\"";
        const auto nearest = session::NearestWords(arg, verbs);
        for (size_t k = 0; k < nearest.size(); ++k) err << (k == 0 ? "; did you mean " : ", ") << nearest[k];
        err << (nearest.empty() ? "" : "?") << "\n";
        return true;
    }
    return false;
}

void BuildApp(CLI::App& app, VerbContext& ctx) {
    GlobalOptions& global = ctx.global;
    app.set_version_flag("--version", std::string("vextools ") + VEXTOOLS_VERSION_TEXT);
    app.require_subcommand(1);
    // Options are --long and -s on every platform: CLI11's Windows default would read a path such as
    // "/tmp/Sample.vbp" as an option "/tmp".
    app.allow_windows_style_options(false);
    app.fallthrough();
    app.option_defaults()->always_capture_default();
    app.add_option("--settings", global.settingsFile,
                   "Settings file to read and write instead of the per-user store\n"
                   "(default: $VEXTOOLS_SETTINGS, else the per-user store)")
        ->option_text("FILE");
    app.add_option("--set", global.runValues,
                   "Use VALUE for option KEY in this run only (repeatable; \\r\\n is a line break)")
        ->option_text("KEY=VALUE")
        ->expected(1)
        ->allow_extra_args(false)  // one KEY=VALUE per --set: what follows is the verb's
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(CLI::Validator(
            [](std::string& argument) {
                settings::MemorySettingsStore scratch;
                return AddRunValue(argument, scratch);
            },
            ""));
    app.add_option("--on-error", global.onError,
                   "What to answer when an error is reported: ask, retry, ignore or abort\n"
                   "(default: ask on a terminal, abort otherwise)")
        ->option_text("POLICY")
        ->check(CLI::IsMember({"ask", "retry", "ignore", "abort"}))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);  // the last one given wins, as for most tools
    app.add_flag("-q,--quiet", global.quiet, "No progress line, counts or notes on stderr; only problems");

    RegisterProjectVerbs(app, ctx);
    RegisterOptionsVerbs(app, ctx);
    RegisterNumberingVerbs(app, ctx);
    RegisterHandlerVerbs(app, ctx);
    RegisterBackupVerbs(app, ctx);
    AddHelpFooters(app);
}

}  // namespace

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    GlobalOptions global;
    VerbContext ctx{out, err, global};
    CLI::App app{kAppDescription, "vextools"};
    BuildApp(app, ctx);

    if (ComplainOfUnknownVerb(app, argc, argv, err)) return exit_code::kUsage;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e, out, err);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        app.exit(e, out, err);
        return exit_code::kUsage;
    }
    return ctx.exitCode;
}

}  // namespace vex::cli
