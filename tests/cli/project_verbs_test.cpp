// list, procs and show on the sample project: what a script reading their output relies on.

#include <gtest/gtest.h>

#include "fakes/cli_sandbox.h"

namespace vex::testing {
namespace {

TEST(ProjectVerbs, PrintWhatTheIdeShows) {
    CliSandbox box;
    const auto list = box.Vex({"list", box.project});
    ASSERT_EQ(list.code, 0) << list.err;
    // IDE order, kinds, and the form's binary companion as a fourth column.
    EXPECT_EQ(list.out.substr(0, list.out.find('\n')), "frmMain\tForm\t" + (box.dir / "sample" / "frmMain.frm").string() +
                                                           "\t" + (box.dir / "sample" / "frmMain.frx").string());
    EXPECT_NE(list.out.find("modUtil\tModule\t"), std::string::npos);
    EXPECT_NE(list.out.find("clsCustomer\tClass\t"), std::string::npos);

    const auto procs = box.Vex({"procs", box.project, "clsCustomer"});
    ASSERT_EQ(procs.code, 0) << procs.err;
    for (const char* kind : {"\tName\tGet\t", "\tName\tLet\t", "\tTag\tSet\t"})
        EXPECT_NE(procs.out.find(kind), std::string::npos) << kind;
    EXPECT_EQ(procs.out.find("frmMain"), std::string::npos);

    const auto show = box.Vex({"show", box.project, "clsCustomer"});
    ASSERT_EQ(show.code, 0) << show.err;
    EXPECT_EQ(show.out.find("Attribute "), std::string::npos);  // header and member attributes hidden
    EXPECT_EQ(show.out.find("VERSION"), std::string::npos);
    EXPECT_EQ(show.out.find('\r'), std::string::npos);
}

TEST(ProjectVerbs, ExitCodes) {
    CliSandbox box;
    const struct {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{"procs", box.project, "modNone"}, 2},
        {{"list", (box.dir / "missing.vbp").string()}, 3},
        {{"list"}, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(box.Vex(c.args).code, c.code) << c.args.front();
}

}  // namespace
}  // namespace vex::testing
