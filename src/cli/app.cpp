#include "cli/app.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <ostream>

#include "cli/verbs.h"
#include "session/session.h"

namespace vex::cli {

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    GlobalOptions global;
    VerbContext ctx{out, err, global};

    CLI::App app{"vextools: line numbers, error handlers, indentation and backups for Visual Basic 6 projects.\n"
                 "PROJECT is a .vbp project, a .vbg group (its startup project is the one worked on) or a\n"
                 "single module file (.bas, .cls, .frm, .ctl, ...).",
                 "vextools"};
    app.set_version_flag("--version", std::string("vextools ") + VEXTOOLS_VERSION_TEXT);
    app.require_subcommand(1);
    // Options are --long and -s on every platform: CLI11's Windows default would read a path such as
    // "/tmp/Sample.vbp" as an option "/tmp".
    app.allow_windows_style_options(false);
    app.fallthrough();
    app.option_defaults()->always_capture_default();
    app.add_option("--settings", global.settingsFile,
                   "Settings file to read and write (default: $VEXTOOLS_SETTINGS, else the per-user store)");
    app.add_option("--on-error", global.onError,
                   "What to answer when an error is reported: ask, retry, ignore or abort\n"
                   "(default: ask on a terminal, abort otherwise)")
        ->check(CLI::IsMember({"ask", "retry", "ignore", "abort"}))
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);  // the last one given wins, as for most tools
    app.add_flag("--verbose", global.verbose,
                 "Also say what is normal but worth knowing (a module outside the project's folder)");

    RegisterProjectVerbs(app, ctx);
    RegisterOptionsVerbs(app, ctx);
    RegisterNumberingVerbs(app, ctx);
    RegisterHandlerVerbs(app, ctx);
    RegisterBackupVerbs(app, ctx);

    // A mistyped verb: name the nearest ones rather than CLI11's list of unexpected arguments.
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--settings" || arg == "--on-error") {
            ++i;
            continue;
        }
        if (arg.empty() || arg[0] == '-') continue;
        std::vector<std::string> verbs;
        for (const auto* sub : app.get_subcommands({})) verbs.push_back(sub->get_name());
        if (std::find(verbs.begin(), verbs.end(), arg) != verbs.end()) break;
        err << "vextools: unknown verb \"" << arg << "\"";
        const auto nearest = session::NearestWords(arg, verbs);
        for (size_t k = 0; k < nearest.size(); ++k) err << (k == 0 ? "; did you mean " : ", ") << nearest[k];
        err << (nearest.empty() ? "" : "?") << "\n";
        return exit_code::kUsage;
    }
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
