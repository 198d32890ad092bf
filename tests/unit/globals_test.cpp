// game.h's lists of globals are the one place the tests learn what to put back between tests
// and which sheets and pictures the game loads; globals.cpp is where the game defines them.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "game.h"

namespace {

// The names globals.cpp defines at file scope: "type name;", "type* name = ...;" or
// "type name[count];", one a line.
std::set<std::string> definedInGlobalsCpp()
{
    std::ifstream in("src/globals.cpp");
    const std::regex definition(
        R"(^[A-Za-z_]\w*(?:\s*\*\s*|\s+)([A-Za-z_]\w*)\s*(?:\[[^\]]*\])?\s*(?:=[^;]*)?;)");
    std::set<std::string> names;
    std::smatch found;
    for (std::string line; std::getline(in, line);)
        if (std::regex_search(line, found, definition))
            names.insert(found[1]);
    return names;
}

std::set<std::string> listedInGameH()
{
    std::set<std::string> names;
#define NAME_OF_VALUE(type, name) names.insert(#name);
#define NAME_OF_POOL(type, name, count) names.insert(#name);
#define NAME_OF(name) names.insert(#name);
    QUIMBO_VALUES(NAME_OF_VALUE)
    QUIMBO_POOLS(NAME_OF_POOL)
    QUIMBO_PICTURES(NAME_OF)
    QUIMBO_SHEETS(NAME_OF)
#undef NAME_OF_VALUE
#undef NAME_OF_POOL
#undef NAME_OF
    return names;
}

std::string missingFrom(const std::set<std::string>& names, const std::set<std::string>& from)
{
    std::string missing;
    for (const std::string& name : names)
        if (from.count(name) == 0)
            missing += " " + name;
    return missing;
}

}  // namespace

// A global defined outside the lists would be neither restored between tests (one test's
// leftovers would reach the next) nor known to the tests that check every sheet.
TEST(Globals, GlobalsCppDefinesExactlyTheGlobalsListedInGameH)
{
    std::set<std::string> defined = definedInGlobalsCpp();
    ASSERT_FALSE(defined.empty()) << "src/globals.cpp, read from the project root";
    std::set<std::string> listed = listedInGameH();
    EXPECT_EQ(missingFrom(defined, listed), "") << "defined in globals.cpp, not in game.h's lists";
    EXPECT_EQ(missingFrom(listed, defined), "") << "in game.h's lists, not defined in globals.cpp";
}
