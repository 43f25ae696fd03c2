#include "cli/help_text.h"

#include <CLI/CLI.hpp>
#include <map>
#include <string>

namespace vex::cli {

const char* const kAppDescription =
    "vextools: line numbers, error handlers, indentation and backups for Visual Basic 6 projects.\n"
    "PROJECT is a .vbp project, a .vbg group (its startup project is the one worked on) or a\n"
    "single module file (.bas, .cls, .frm, .ctl, ...). Options come from --set, --settings FILE\n"
    "or $VEXTOOLS_SETTINGS, the nearest .vextools.ini above the project, then the per-user store.\n"
    "Run `vextools VERB --help` for a verb's options.";

namespace {

constexpr const char* kExitCodes =
    "Exit codes:\n"
    "  0  success: every file is as asked\n"
    "  1  --check: some file would change\n"
    "  2  bad command line (unknown verb, option, key or component)\n"
    "  3  failure: a file could not be read, parsed or saved, the run was aborted, or an error\n"
    "     answered Ignore skipped some of the work\n";

// One example per verb, by its full name ("options list").
const std::map<std::string, std::string>& Examples() {
    static const std::map<std::string, std::string> examples = {
        {"vextools", "vextools number --dry-run app/Project.vbp | less -R"},
        {"list", "vextools list app/Project.vbp"},
        {"procs", "vextools procs app/Project.vbp modMain"},
        {"show", "vextools show app/Project.vbp modMain"},
        {"number", "vextools number --check src/          # in CI: exit 1 when numbers are missing"},
        {"unnumber", "vextools unnumber app/Project.vbp --component modMain"},
        {"delete-lines", "vextools delete-lines --keyword Stop --dry-run app/Project.vbp"},
        {"add-handlers", "vextools add-handlers --set ViewResult=0 --log handlers.txt app/Project.vbp"},
        {"remove-handlers", "vextools remove-handlers --dry-run app/Project.vbp | git apply"},
        {"indent", "vextools indent --check modMain.bas modUtil.bas"},
        {"backup", "vextools backup app/Project.vbp --to /tmp/copies"},
        {"options", "vextools options list app/"},
        {"options list", "vextools options list app/      # with app/'s .vextools.ini"},
        {"options get", "vextools options get tabulation"},
        {"options set", "vextools options set ErrorKey \"%Gestion Error%\""},
        {"options reset", "vextools options reset"},
    };
    return examples;
}

std::string Indented(const std::string& text, size_t column) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\n') out += std::string(column, ' ');
    }
    return out;
}

std::string GlobalOptions(const CLI::App& app) {
    constexpr size_t kColumn = 30;
    std::string text = "Global options (before or after the verb):\n";
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_name() == "--help") continue;
        std::string names = "  " + option->get_name(false, true);
        if (!option->get_option_text().empty()) names += " " + option->get_option_text();
        names += names.size() + 1 < kColumn ? std::string(kColumn - names.size(), ' ') : "\n" + std::string(kColumn, ' ');
        text += names + Indented(option->get_description(), kColumn) + "\n";
    }
    return text;
}

void AddFooters(CLI::App& verb, const std::string& prefix, const std::string& globals) {
    const std::string name = prefix.empty() ? verb.get_name() : prefix + " " + verb.get_name();
    std::string footer = "\n";
    if (!prefix.empty() || verb.get_parent()) footer += globals + "\n";
    footer += kExitCodes;
    if (auto it = Examples().find(name); it != Examples().end()) footer += "\nExample:\n  " + it->second + "\n";
    verb.footer(footer);
    for (CLI::App* sub : verb.get_subcommands({})) AddFooters(*sub, verb.get_parent() ? name : "", globals);
}

}  // namespace

void AddHelpFooters(CLI::App& app) {
    const std::string globals = GlobalOptions(app);
    AddFooters(app, "", globals);
}

}  // namespace vex::cli
