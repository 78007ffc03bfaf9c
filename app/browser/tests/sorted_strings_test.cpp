// The browser's sorted string array (quicksort by an exact -1 of the compare function) and
// the item-text rule of its folder tree.
#include "app/browser/FileWnd.h"
#include "app/browser/SortedStringArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Sorted(const std::vector<std::string>& in, INT_PTR first, INT_PTR last,
                                StringCompareFunction compare = &CompareTextNoCase)
{
    CSortedStringArray array;
    for (const std::string& s : in)
        array.Add(s.c_str());
    array.SetCompareFunction(compare);
    array.Sort(first, last);
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < array.GetSize(); ++i)
        out.push_back((LPCTSTR)array[i]);
    return out;
}

// Says "before" (1) where the others say -1: nothing may move.
int NeverMinusOne(const CString* a, const CString* b) { return a->Compare(*b) < 0 ? 1 : 0; }

} // namespace

TEST(SortedStringArray, SortsTheRangeWithoutRegardToCase)
{
    using V = std::vector<std::string>;
    struct Case
    {
        V in;
        INT_PTR first, last;
        V out;
    } cases[] = {
        {{}, 0, -1, {}},
        {{"b"}, 0, -1, {"b"}},
        {{"b", "A"}, 0, -1, {"A", "b"}},
        {{"zeta", "Photos", "beta", "Data", "Alpha"}, 0, -1, {"Alpha", "beta", "Data", "Photos", "zeta"}},
        {{"d", "c", "b", "a", "E", "f", "G"}, 0, -1, {"a", "b", "c", "d", "E", "f", "G"}},
        {{"d", "c", "b", "a"}, 1, 2, {"d", "b", "c", "a"}}, // only the range
        {{"d", "c", "b", "a"}, 2, 1, {"d", "c", "b", "a"}}, // last not above first
        {{"b", "a", "c"}, 0, 0, {"b", "a", "c"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, Sorted(c.in, c.first, c.last)) << c.in.size() << " from " << c.first << " to " << c.last;
    EXPECT_EQ((V{"b", "a"}), Sorted({"b", "a"}, 0, -1, &NeverMinusOne));
    EXPECT_EQ((V{"b", "a"}), Sorted({"b", "a"}, 0, -1, nullptr));

    // A long run of equal names ends, in order.
    V many(2000, "same");
    many.push_back("Aa");
    V out = Sorted(many, 0, -1);
    EXPECT_EQ("Aa", out.front());
    EXPECT_EQ(many.size(), out.size());
}

TEST(FileWndItemText, NamesWithoutLowerCaseAreCapitalised)
{
    const char* const cases[][2] = {
        {"DATA", "Data"}, {"Data", "Data"},
        {"dATA", "dATA"}, {"NETWORK", "Network"},
        {"C:", "C:"},     {"PHOTOS 2024", "Photos 2024"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c[1], CFileWnd::ItemText(c[0])) << c[0];
}
