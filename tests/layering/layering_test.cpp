// Every #include of the program and the platform against the allowed edges that
// docs/ARCHITECTURE.md tables, and the check itself on small trees.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "include_rules.h"

namespace fs = std::filesystem;
using layering::CheckTree;
using layering::ParseRules;
using layering::Rules;
using layering::Violation;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Describe(const std::vector<Violation>& violations) {
  std::string text;
  for (const Violation& v : violations)
    text += v.file + ":" + std::to_string(v.line) + ": " + v.text + "\n";
  return text;
}

TEST(Layering, EveryIncludeOfTheTreeFollowsTheArchitecture) {
  Rules rules = ParseRules(ReadFile(fs::path(VINTREL_SOURCE_DIR) / "docs/ARCHITECTURE.md"));
  ASSERT_TRUE(rules.mayInclude.count("base")) << "the table of allowed includes is missing";
  ASSERT_TRUE(rules.mayInclude.count("platform/kernel"));
  ASSERT_TRUE(rules.libraryOnlyIn.count("SDL2"));
  std::vector<Violation> violations = CheckTree(VINTREL_SOURCE_DIR, rules);
  EXPECT_TRUE(violations.empty()) << Describe(violations);
}

const char* const SmallRules = R"(
| folder | may include |
|---|---|
| base | platform/include |
| view | base, platform/include |
| app | view, base, resources/ids.h, platform/include |
| platform/kernel | platform/include |
| platform/shell | platform/user/system.h, platform/kernel |
| platform/user | platform/kernel |
| resources | - |

| library | only in |
|---|---|
| SDL2 | platform/display |
| FreeType | platform/gdi |
)";

// A small tree under a temporary folder: each file with its text.
class SmallTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("layering-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const std::string& file, const std::string& text) {
    fs::create_directories((root_ / file).parent_path());
    std::ofstream(root_ / file) << text;
  }
  std::vector<Violation> Check() { return CheckTree(root_.string(), ParseRules(SmallRules)); }
  fs::path root_;
};

TEST_F(SmallTree, AllowedEdgesPass) {
  Write("base/state.h", "#pragma once\n#include \"platform.h\"\n#include <cstring>\n");
  Write("view/view.cpp", "#include \"view/view.h\"\n#include \"base/state.h\"\n#include \"local.h\"\n");
  Write("app/main.cpp", "#include \"view/view.h\"\n#include \"resources/ids.h\"\n");
  Write("platform/shell/bar.cpp", "#include \"user/system.h\"\n#include \"kernel/heap.h\"\n");
  Write("platform/user/controls/edit.cpp", "#include \"controls/common.h\"\n#include \"user/window.h\"\n");
  Write("tests/anything.cpp", "#include \"app/main.h\"\n#include <SDL.h>\n");
  EXPECT_EQ(Describe(Check()), "");
}

TEST_F(SmallTree, UpwardAndSidewaysIncludesAreNamedWithFileAndLine) {
  struct Case {
    const char* file;
    const char* text;
    const char* expected;
  } cases[] = {
      {"base/state.cpp", "// state\n#include \"view/view.h\"\n",
       "base/state.cpp:2: base may not include view/view.h\n"},
      {"view/view.cpp", "#include \"app/main.h\"\n", "view/view.cpp:1: view may not include app/main.h\n"},
      {"app/main.cpp", "#include \"resources/other.h\"\n",
       "app/main.cpp:1: app may not include resources/other.h\n"},
      {"platform/shell/bar.cpp", "#include \"user/window.h\"\n",
       "platform/shell/bar.cpp:1: platform/shell may not include platform/user/window.h\n"},
      {"platform/kernel/heap.cpp", "#include \"app/main.h\"\n",
       "platform/kernel/heap.cpp:1: platform/kernel may not include app/main.h\n"},
      {"platform/user/window.cpp", "  #  include <SDL.h>\n",
       "platform/user/window.cpp:1: SDL2 is not for platform/user\n"},
      {"platform/kernel/font.cpp", "#include <ft2build.h>\n#include FT_FREETYPE_H\n",
       "platform/kernel/font.cpp:1: FreeType is not for platform/kernel\n"
       "platform/kernel/font.cpp:2: FreeType is not for platform/kernel\n"},
  };
  for (const Case& c : cases) {
    fs::remove_all(root_);
    Write(c.file, c.text);
    EXPECT_EQ(Describe(Check()), c.expected) << c.file;
  }
}

TEST(LayeringRules, ReadOnlyTheTwoTablesWithTheirCells) {
  Rules rules = ParseRules(std::string("| other | table |\n|---|---|\n| x | y |\n") + SmallRules);
  EXPECT_FALSE(rules.mayInclude.count("x"));
  EXPECT_EQ(rules.mayInclude.at("app"),
            (std::vector<std::string>{"view", "base", "resources/ids.h", "platform/include"}));
  EXPECT_TRUE(rules.mayInclude.at("resources").empty());
  EXPECT_EQ(rules.libraryOnlyIn.at("FreeType"), std::vector<std::string>{"platform/gdi"});
}

}  // namespace
