// Every stored name has one home: no two rows, of one table or of two, store the same name in
// the same place (the user hive, or one section of the settings file).
#include "app/StoredSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace {

// Stored names match without regard to case in both the hive and the settings file.
std::string folded(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

} // namespace

TEST(StoredSettings, EveryStoredNameIsInExactlyOneTable)
{
    std::map<std::pair<std::string, std::string>, std::string_view> home; // (store, name) -> group
    for (const StoredSettingGroup& group : storedSettingGroups()) {
        EXPECT_FALSE(group.names.empty()) << group.group;
        for (const std::string& name : group.names) {
            auto [it, added] = home.emplace(std::pair(std::string(group.store), folded(name)), group.group);
            EXPECT_TRUE(added) << name << " in " << group.store << " is stored by " << group.group << " and by "
                               << it->second;
        }
    }
}
