#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "ListIterators.h"

TEST(ListIterators, WordListKeepsBlankAndUnterminatedLines)
{
    std::istringstream in("a\nb\n\nc");
    std::set<std::string> words(line_iterator(in), line_iterator{});
    EXPECT_EQ(words, (std::set<std::string>{"", "a", "b", "c"}));
}

TEST(ListIterators, CarriageReturnsAreDroppedEverywhere)
{
    std::istringstream in("a\rb\r\nkey=val\r\n");
    std::set<std::string> words(line_iterator(in), line_iterator{});
    EXPECT_EQ(words, (std::set<std::string>{"ab", "key=val"}));
}

TEST(ListIterators, KeyValuePairs)
{
    std::istringstream in("a\nb\n\nk = v=w\r\nk=second\nlast=1");
    std::map<std::string, std::string> pairs(map_iterator(in), map_iterator{});
    const std::map<std::string, std::string> expected{
        {"", ""}, {"a", "a"}, {"b", "b"}, {"k ", " v=w"}, {"k", "second"}, {"last", "1"}};
    EXPECT_EQ(pairs, expected);
}

TEST(ListIterators, FirstKeyWins)
{
    std::istringstream in("x=1\nx=2\n");
    std::map<std::string, std::string> pairs;
    pairs.insert(map_iterator(in), map_iterator{});
    EXPECT_EQ(pairs.at("x"), "1");
}

TEST(ListIterators, EmptyStreamIsEnd)
{
    std::istringstream in("");
    EXPECT_TRUE(line_iterator(in) == line_iterator{});
    std::istringstream in2("");
    EXPECT_TRUE(map_iterator(in2) == map_iterator{});
}
