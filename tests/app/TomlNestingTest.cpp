// The nesting bound that keeps deep project files from overflowing the TOML library's stack.
#include <gtest/gtest.h>

#include <string>

#include "app/cli/AppError.h"
#include "app/project/ProjectFile.h"
#include "app/project/TomlNesting.h"

namespace {

std::string RefusalOf(const std::string& text) {
    try {
        CheckTomlNesting(text, "deep.toml");
    } catch (const AppError& error) {
        return error.what();
    }
    return "(accepted)";
}

std::string Repeated(const std::string& part, size_t count, const std::string& joint = "") {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += (i > 0 ? joint : "") + part;
    return text;
}

const std::string kTooManyParts = "deep.toml:2: a key has more than 32 dotted parts";
const std::string kTooDeep = "deep.toml:2: arrays and inline tables nest more than 32 deep";

TEST(TomlNesting, KeysOfMoreThan32PartsAreRefusedWithTheirLine) {
    EXPECT_EQ(RefusalOf("# x\n[" + Repeated("a", 32, ".") + "]\n"), "(accepted)");
    EXPECT_EQ(RefusalOf("# x\n[" + Repeated("a", 33, ".") + "]\n"), kTooManyParts);
    EXPECT_EQ(RefusalOf("x = 1\n" + Repeated("a", 33, ".") + " = 1\n"), kTooManyParts);
    EXPECT_EQ(RefusalOf("x = 1\n[[" + Repeated("\"a\"", 33, " . ") + "]]\n"), kTooManyParts);
    EXPECT_EQ(RefusalOf("x = 1\ny = {" + Repeated("'a'", 33, ".") + " = 1}\n"), kTooManyParts);
}

TEST(TomlNesting, ArraysAndInlineTablesNestedMoreThan32DeepAreRefused) {
    EXPECT_EQ(RefusalOf("#\nx = " + Repeated("[", 32) + Repeated("]", 32) + "\n"), "(accepted)");
    EXPECT_EQ(RefusalOf("#\nx = " + Repeated("[", 33) + Repeated("]", 33) + "\n"), kTooDeep);
    EXPECT_EQ(RefusalOf("#\nx = " + Repeated("{a=", 33) + "1" + Repeated("}", 33) + "\n"),
              kTooDeep);
    // Siblings do not add up: each closing bracket ends a level.
    EXPECT_EQ(RefusalOf("x = [" + Repeated("[[1], [2]]", 1000, ", ") + "]\n"), "(accepted)");
}

TEST(TomlNesting, StringsCommentsAndNumbersAreNoNesting) {
    const std::string dots = Repeated("a", 50, ".");
    const std::string brackets = Repeated("[", 50);
    for (const std::string& text :
         {"x = \"" + dots + brackets + "\"\n", "x = '" + dots + "'\n",
          "x = \"\"\"\n" + brackets + "\n\"q\" " + dots + "\"\"\"\n",
          "x = '''" + dots + "\n" + brackets + "'''\n", "# " + dots + brackets + "\n",
          "x = \"\\\"" + brackets + "\"\n", "x = [" + Repeated("1.5", 100, ", ") + "]\n",
          "t = 1979-05-27T07:32:00.999 # " + brackets + "\n"})
        EXPECT_EQ(RefusalOf(text), "(accepted)") << text;
}

// Lines inside multi-line strings count, so the place is the line the editor shows.
TEST(TomlNesting, LinesInsideMultiLineStringsCountTowardThePlace) {
    EXPECT_EQ(RefusalOf("x = \"\"\"\n\n\"\"\"\n" + Repeated("a", 40, ".") + " = 1\n"),
              "deep.toml:4: a key has more than 32 dotted parts");
}

// Fifty thousand levels overflowed the parser's stack; now the project is refused before it.
TEST(TomlNesting, AProjectOf50000LevelsIsRefusedNotACrash) {
    EXPECT_THROW(LoadProjectText("[" + Repeated("a", 50000, ".") + "]\n", "deep.toml"), AppError);
    EXPECT_THROW(LoadProjectText(Repeated("a", 50000, ".") + " = 1\n", "deep.toml"), AppError);
}

}  // namespace
