#include "engine/procedure_statements.h"

#include <gtest/gtest.h>

namespace vex::engine {
namespace {

TEST(ProcedureStatements, OwnEndStatementOnly) {
    struct Case {
        const char* line;
        const char* kind;
        bool end;
    };
    for (const Case& c :
         {Case{"End Sub", "Sub", true}, Case{"  end   sub ' done", "Sub", true}, Case{"10 End Sub", "Sub", true},
          Case{"20: End Function", "Function", true}, Case{"Fin: End Sub", "Sub", true},
          Case{"End Property", "Property", true}, Case{"End Sub", "Function", false}, Case{"' end sub", "Sub", false},
          Case{"s = \"end sub\"", "Sub", false}, Case{"x = 1: End Sub", "Sub", false},
          Case{"End Subtotal", "Sub", false}, Case{"End", "Sub", false}, Case{"End Sub", "", false}})
        EXPECT_EQ(IsProcedureEnd(c.line, c.kind), c.end) << c.line << " / " << c.kind;
}

}  // namespace
}  // namespace vex::engine
