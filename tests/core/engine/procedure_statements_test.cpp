#include "engine/procedure_statements.h"

#include <gtest/gtest.h>

namespace vex::engine {
namespace {

TEST(ProcedureStatements, KindWordComesFromTheKeyword) {
    for (auto [line, word] :
         std::vector<std::pair<const char*, const char*>>{{"Sub A()", "Sub"},
                                                          {"  private sub A()", "Sub"},
                                                          {"Friend Sub A()", "Sub"},
                                                          {"Public Static Function F$()", "Function"},
                                                          {"Static Function F()", "Function"},
                                                          {"Public Property Get V() As Long", "Property"},
                                                          {"Property Let V(x)", "Property"},
                                                          {"Private Declare Function W Lib \"k\" ()", ""},
                                                          {"SubTotal = 1", ""},
                                                          {"", ""}})
        EXPECT_EQ(KindWord(line), word) << line;
}

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

TEST(ProcedureStatements, ContinuationMark) {
    EXPECT_TRUE(IsContinued("Sub A(a, _"));
    EXPECT_TRUE(IsContinued("Sub A(a,\t_  "));
    EXPECT_FALSE(IsContinued("Sub A(a_"));
    EXPECT_FALSE(IsContinued("Sub A()"));
    EXPECT_TRUE(IsContinued("_"));
}

}  // namespace
}  // namespace vex::engine
