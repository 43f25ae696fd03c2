// list, procs, show: what the IDE would show of a project, for scripts and for a look before changing it.

#include <CLI/CLI.hpp>
#include <memory>
#include <fmt/format.h>
#include <fmt/ostream.h>

#include "cli/verb_session.h"
#include "cli/verbs.h"
#include "ide/source_module.h"
#include "text/cp1252.h"
#include "util/file_io.h"

namespace vex::cli {
namespace {

const char* KindLabel(ide::ProcKind kind) {
    switch (kind) {
        case ide::ProcKind::Proc: return "Proc";
        case ide::ProcKind::Let: return "Let";
        case ide::ProcKind::Set: return "Set";
        case ide::ProcKind::Get: return "Get";
    }
    return "Proc";
}

ide::Component* FindOrComplain(VerbContext& ctx, ide::Project& project, const std::string& name) {
    if (auto* c = project.FindComponent(text::FromUtf8(name))) return c;
    std::vector<std::string> names;
    for (const auto& c : project.VBComponents()) names.push_back(text::ToUtf8(c.Name()));
    ComplainUnknown(ctx, {name, session::NearestWords(name, names)});
    ctx.exitCode = exit_code::kUsage;
    return nullptr;
}

void ListComponents(VerbContext& ctx, const std::string& path) {
    auto ws = LoadOrComplain(ctx, path);
    if (!ws) return;
    for (const auto& c : ws->ActiveVBProject()->VBComponents()) {
        fmt::print(ctx.out, "{}\t{}", text::ToUtf8(c.Name()), ide::KindName(c.Kind()));
        for (const auto& f : c.Files()) fmt::print(ctx.out, "\t{}", util::Display(f));
        fmt::print(ctx.out, "\n");
    }
}

void ListProcedures(VerbContext& ctx, const std::string& path, const std::string& only) {
    auto ws = LoadOrComplain(ctx, path);
    if (!ws) return;
    auto& project = *ws->ActiveVBProject();
    for (auto& c : project.VBComponents()) {
        if (!only.empty() && c.Name() != text::FromUtf8(only)) continue;
        for (const auto& p : c.Source().Procedures())
            fmt::print(ctx.out, "{}\t{}\t{}\t{}\t{}\t{}\n", text::ToUtf8(c.Name()), text::ToUtf8(p.name),
                       KindLabel(p.kind), p.start, p.body, p.end - p.start + 1);
    }
    if (!only.empty()) FindOrComplain(ctx, project, only);
}

void ShowComponent(VerbContext& ctx, const std::string& path, const std::string& name) {
    auto ws = LoadOrComplain(ctx, path);
    if (!ws) return;
    auto* c = FindOrComplain(ctx, *ws->ActiveVBProject(), name);
    if (!c) return;
    const auto& code = c->GetCodeModule();
    for (long i = 1; i <= code.CountOfLines(); ++i) fmt::print(ctx.out, "{}\n", text::ToUtf8(code.Lines(i, 1)));
}

}  // namespace

void RegisterProjectVerbs(CLI::App& app, VerbContext& ctx) {
    struct Args {
        std::string project, component;
    };
    auto args = std::make_shared<Args>();
    const char* projectHelp = "Project (.vbp), group (.vbg) or module file";

    auto* list = app.add_subcommand("list", "List the components of the project, in the order the IDE shows them:\n"
                                            "NAME<TAB>KIND<TAB>FILE[<TAB>COMPANION]");
    list->add_option("PROJECT", args->project, projectHelp)->required();
    list->callback([&ctx, args] { ListComponents(ctx, args->project); });

    auto* procs = app.add_subcommand("procs", "List the procedures as the IDE counts them:\n"
                                              "COMPONENT<TAB>NAME<TAB>KIND<TAB>START<TAB>BODY<TAB>COUNT\n"
                                              "(KIND is Proc, Let, Set or Get; lines numbered from 1)");
    procs->add_option("PROJECT", args->project, projectHelp)->required();
    procs->add_option("COMPONENT", args->component, "Only this component");
    procs->callback([&ctx, args] { ListProcedures(ctx, args->project, args->component); });

    auto* show = app.add_subcommand("show", "Print a component's code as the IDE shows it (header and attributes hidden)");
    show->add_option("PROJECT", args->project, projectHelp)->required();
    show->add_option("COMPONENT", args->component, "The component's name")->required();
    show->callback([&ctx, args] { ShowComponent(ctx, args->project, args->component); });
}

}  // namespace vex::cli
