// Compilers' messages: where each one points, and which item of a batch source that place belongs to.
#include <gtest/gtest.h>

#include "engine/phases/batch/BatchSource.h"
#include "engine/phases/batch/Diagnostics.h"

TEST(Diagnostics, LocationsAndKindsInTheSpellingsOfManyCompilers)
{
    const struct { const char *Line, *File; long Number; Diagnostic::Kind Kind; } cases[] = {
        {"t.c:12:5: error: expected identifier", "t.c", 12, Diagnostic::Error},
        {"/tmp/x/t.c:3:1: fatal error: ak12345: No such file", "t.c", 3, Diagnostic::Error},
        {"t.c:7:2: warning: unused variable 'x' [-Wunused-variable]", "t.c", 7, Diagnostic::Warning},
        {"t.c:7:2: note: previous declaration is here", "t.c", 7, Diagnostic::Note},
        {"t.c:11: syntax error: token -> '__asm__' ; column 11", "t.c", 11, Diagnostic::Error},
        {"t.c:4: warning 215: static assertion failed", "t.c", 4, Diagnostic::Warning},
        {"t.c:7.8: error: string const expected", "t.c", 7, Diagnostic::Error},
        {"C:\\src\\t.c(12) : error C2065: 'x': undeclared identifier", "t.c", 12, Diagnostic::Error},
        {"t.c(9,3): warning: dubious", "t.c", 9, Diagnostic::Warning},
        {"\"t.c\", line 8: error: identifier \"x\" is undefined", "t.c", 8, Diagnostic::Error},
        {"\"t.c\",21  Error[Pe020]: identifier \"x\" is undefined", "t.c", 21, Diagnostic::Error},
        {"kxcopy3.c:5:1: error: 'warning' attribute ignored", "kxcopy3.c", 5, Diagnostic::Error},
    };
    for (const auto& c : cases) {
        const std::vector<Diagnostic> read = ReadDiagnostics(c.Line);
        ASSERT_EQ(read.size(), 1u) << c.Line;
        EXPECT_EQ(std::tie(read[0].File, read[0].Line, read[0].Severity), std::tie(c.File, c.Number, c.Kind)) << c.Line;
    }
    // Lines without a location of their own belong to the message before them.
    const std::vector<Diagnostic> read = ReadDiagnostics("t.c: In function 'f':\nt.c:3:1: error: x\n"
                                                         "    3 | int f;\n      | ^\n1 error generated.\n"
                                                         "In file included from t.c:2:\n");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].File, "");
    EXPECT_EQ(read[1].Text, "t.c:3:1: error: x\n    3 | int f;\n      | ^\n1 error generated.\nIn file included from t.c:2:\n");
}

TEST(Diagnostics, EachLineOfABatchSourceBelongsToItsItem)
{
    BatchSource source("b.c");
    source.AddShared("#define S(X) #X\n");
    source.AddItem(0, "int a;\nint b;");  // a last line without its end still counts
    source.StartFile("copy1.c");
    source.AddItem(1, "int c;\n");
    source.AddShared("int sep;\n");
    // The lines keep their numbers in the source, for a compiler that ignores #line.
    EXPECT_EQ(source.Text(), "#define S(X) #X\nint a;\nint b;\n#line 5 \"copy1.c\"\nint c;\nint sep;\n");
    using O = BatchSource::Owner;
    const std::tuple<const char*, long, O::Kind, std::size_t> cases[] = {
        {"b.c", 1, O::Shared, 0},     {"b.c", 3, O::Item, 0},       {"b.c", 4, O::Shared, 0},
        {"copy1.c", 5, O::Item, 1},   {"copy1.c", 6, O::Shared, 0}, {"copy1.c", 9, O::Shared, 0},
        {"b.c", 5, O::Item, 1},       {"copy1.c", 3, O::Shared, 0}, {"stdio.h", 1, O::Foreign, 0},
        {"", 0, O::Foreign, 0},
    };
    for (const auto& [file, line, what, item] : cases) {
        const O owner = source.OwnerOf(Diagnostic{file, line, Diagnostic::Other, ""});
        EXPECT_EQ(owner.What, what) << file << ":" << line;
        EXPECT_TRUE(what != O::Item || owner.Index == item) << file << ":" << line;
    }
}
