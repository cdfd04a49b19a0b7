// Tests of the INI text rules: which line holds a key, what its value reads
// as, and what a write changes, against a model under random writes.
#include "settings/IniText.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

using namespace std::string_literals;

struct FindCase {
    std::string Text;
    std::optional<std::string> Value; // of key "Key" in section "Main"
};

const FindCase FindCases[] = {
    {"[Main]\nKey=v\n", "v"},
    {"[MAIN]\nkEY=v", "v"},
    {"  [ Main ]  ; note\n  Key  =  v w  \n", "v w"},
    {"[Main]\r\nKey=v\r\n", "v"},
    {"\xef\xbb\xbf[Main]\nKey=v\n", "v"},
    {"[Main]\nKey=\t\x1a\n", ""},
    {"[Main]\nKey=a=b\n", "a=b"},
    {"[Main]\nKey=\"  q  \"\n", "  q  "},
    {"[Main]\nKey='q'\n", "q"},
    {"[Main]\nKey=\"q'\n", "\"q'"},
    {"[Main]\nKey=\"\n", "\""},
    {"[Main]\nKey=\"\"\n", ""},
    {"[Main]\nKey=ab \0cd\n"s, "ab"},
    {"[Main]\nKey=1\nKey=2\n", "1"},
    {"[Main]\nOther=1\n[Main]\nKey=2\n", {}},
    {"Key=0\n[Main]\nKey=1\n", "1"},
    {"Key=0\n[Other]\nKey=1\n", {}},
    {"[Main]\n;Key=1\nKey\n", {}},
    {"[Main\nKey=1\n", {}},
    {"[Main]\n[Other]\nKey=1\n", {}},
    {"", {}},
};

TEST(IniTextTest, FindsTheFirstKeyOfTheFirstSectionOfItsName)
{
    for (const FindCase& c : FindCases) {
        std::optional<std::string_view> found = FindIniValue(c.Text, "Main", "Key");
        EXPECT_EQ(found ? std::optional<std::string>(*found) : std::nullopt, c.Value) << c.Text;
    }
}

struct SetCase {
    std::string Before, Value, After; // key "Key" in section "Main"
};

const SetCase SetCases[] = {
    {"", "v", "[Main]\nKey=v\n"},
    {"; c\r\n[main]\r\n KEY = old \r\nNext=1\r\n", "v", "; c\r\n[main]\r\nKEY=v\nNext=1\r\n"},
    {"[Main]\nA=1\n\n[Tail]\nB=2\n", "v", "[Main]\nA=1\nKey=v\n\n[Tail]\nB=2\n"},
    {"[Main]\nA=1", "v", "[Main]\nA=1\nKey=v\n"},
    {"\xef\xbb\xbf[Main]\n", "v", "\xef\xbb\xbf[Main]\nKey=v\n"},
    {"[Other]\nA=1", "v", "[Other]\nA=1\n[Main]\nKey=v\n"},
    {"[Main]\nKey=1\nKey=2\n", "v", "[Main]\nKey=v\nKey=2\n"},
    {"[Main]\nA=1\n[Main]\nKey=2\n", "v", "[Main]\nA=1\nKey=v\n[Main]\nKey=2\n"},
    {"Key=0\n[Main]\n;Key=1\n", "v", "Key=0\n[Main]\n;Key=1\nKey=v\n"},
    {"[Main]\n", "one\rtwo", "[Main]\nKey=one\n"},
    {"[Main]\n", "one\ntwo", "[Main]\nKey=one\n"},
    {"[Main]\n", "one\0two"s, "[Main]\nKey=one\n"},
    {"\xff\xfe[\x01\n", "v", "\xff\xfe[\x01\n[Main]\nKey=v\n"},
};

TEST(IniTextTest, WritesOnlyTheKeyLineAndKeepsEveryOtherByte)
{
    for (const SetCase& c : SetCases)
        EXPECT_EQ(SetIniValue(c.Before, "Main", "Key", c.Value), c.After) << c.Before;
}

// Random writes under names of varying letter case, into a text that starts
// with foreign content, must read back as a map of the last values written.
TEST(IniTextTest, RandomWritesReadBackLikeAMap)
{
    const char* sections[] = {"Main", "MAIN", "main", "Other", "x"};
    const char* keys[] = {"Z", "z", "YFormula", "yformula", "Key2"};
    std::mt19937 random(8);
    const std::string foreign = "; kept\r\n[Foreign]\r\nZ=9\r\n\r\n";
    for (int round = 0; round < 20; ++round) {
        std::string text = foreign;
        std::map<std::pair<int, int>, std::string> model; // by lower-case name
        for (int step = 0; step < 40; ++step) {
            int s = random() % 5, k = random() % 5;
            std::string value;
            for (int n = random() % 30; n > 0; --n)
                value += static_cast<char>(' ' + random() % 95);
            text = SetIniValue(text, sections[s], keys[k], value);
            // Blanks at the ends and a pair of quotes do not survive a write.
            std::string_view expected = value;
            expected.remove_prefix(std::min(expected.find_first_not_of(' '), expected.size()));
            expected.remove_suffix(expected.size() - (expected.find_last_not_of(' ') + 1));
            if (expected.size() >= 2 && (expected[0] == '"' || expected[0] == '\'') &&
                expected.back() == expected[0])
                expected = expected.substr(1, expected.size() - 2);
            model[{s < 3 ? 0 : s, k % 2 == 1 && k < 4 ? k - 1 : k}] = expected;
        }
        for (auto& [at, value] : model)
            EXPECT_EQ(FindIniValue(text, sections[at.first], keys[at.second]), value) << text;
        EXPECT_EQ(text.substr(0, foreign.size()), foreign);
    }
}

} // namespace
