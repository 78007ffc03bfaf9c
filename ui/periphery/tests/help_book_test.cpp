// Help books read from small files: pages with their two lines, links numbered from 0 in
// each page, action lines without "//", the last condition, and books whose tags come in the
// wrong order or never end - read without a crash and without leaving a page or link behind.
#include "ui/periphery/HelpBook.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string>
#include <vector>

namespace {

class HelpBookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pages = CHelpPage::Live();
        links = CHelpLink::Live();
    }
    void TearDown() override
    {
        EXPECT_EQ(pages, CHelpPage::Live()) << "a page was left behind";
        EXPECT_EQ(links, CHelpLink::Live()) << "a link was left behind";
        remove(path.c_str());
    }
    // The lines, each ended by "\r\n", in a file of the test's own.
    const char* Write(const std::vector<const char*>& lines)
    {
        path = std::string("help_book_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        FILE* f = fopen(path.c_str(), "wb");
        for (const char* line : lines)
            fprintf(f, "%s\r\n", line);
        fclose(f);
        return path.c_str();
    }
    static std::vector<std::string> Actions(const CHelpLink* link)
    {
        std::vector<std::string> out;
        for (POSITION pos = link->m_actions.GetHeadPosition(); pos != nullptr;)
            out.push_back((LPCTSTR)link->m_actions.GetNext(pos));
        return out;
    }
    static const CHelpLink* Link(const CHelpPage* page, WORD number)
    {
        CHelpLink* link = nullptr;
        return page->m_links.Lookup(number, link) ? link : nullptr;
    }

    std::string path;
    LONG pages = 0, links = 0;
};

TEST_F(HelpBookTest, PagesLinksActionsAndConditions)
{
    CHelpBook book;
    EXPECT_TRUE(book.LoadFile(Write({
        "[page]",
        "12",
        "Backgrounds",
        "Colours behind the design", //
        "[link]",
        "Solid colour", //
        "[actions]",
        "open=fill",
        "// a remark",
        "select=solid", //
        "[Condition]",
        "mode=edit",
        "// not this",
        "mode=any", //
        "[/link]",  //
        "",         //
        "[link]",
        "Gradient",
        "[/link]", //
        "[/page]", //
        "[page]",
        "7 extra words",
        "Frames",
        "Round the edge", //
        "[link]",
        "Frame fill",
        "[/link]", //
        "[/page]",
    })));
    EXPECT_EQ(2, book.GetPageCount());

    const CHelpPage* first = book.GetPage(12);
    ASSERT_NE(nullptr, first);
    EXPECT_STREQ("Backgrounds", first->m_strFirst);
    EXPECT_STREQ("Colours behind the design", first->m_strSecond);
    ASSERT_EQ(2, (int)first->m_links.GetCount());
    const CHelpLink* solid = Link(first, 0);
    ASSERT_NE(nullptr, solid);
    EXPECT_EQ(0, solid->m_nNumber);
    EXPECT_STREQ("Solid colour", solid->m_strText);
    EXPECT_EQ((std::vector<std::string>{"open=fill", "select=solid"}), Actions(solid));
    EXPECT_STREQ("mode=any", solid->m_strCondition) << "the last condition line wins";
    const CHelpLink* gradient = Link(first, 1);
    ASSERT_NE(nullptr, gradient);
    EXPECT_STREQ("Gradient", gradient->m_strText);
    EXPECT_TRUE(Actions(gradient).empty());

    // The id is the line's leading number; links count from 0 again in every page.
    const CHelpPage* second = book.GetPage(7);
    ASSERT_NE(nullptr, second);
    EXPECT_STREQ("Frames", second->m_strFirst);
    const CHelpLink* fill = Link(second, 0);
    ASSERT_NE(nullptr, fill);
    EXPECT_STREQ("Frame fill", fill->m_strText);

    EXPECT_EQ(nullptr, book.GetPage(13)) << "an id without a page";
}

TEST_F(HelpBookTest, UnfinishedAndReplacedPages)
{
    CHelpBook book;
    book.LoadFile(Write({
        "[page]", "1", "First",  "kept until replaced", "[link]",  "old link",      "[/link]", "[/page]", //
        "[page]", "1", "Second", "replaces the first",  "[/page]",                                        //
        "[page]", "2", "Open",   "never ended",         "[link]",  "dangling link",                       //
    }));
    EXPECT_EQ(1, book.GetPageCount()) << "a page without [/page] is not stored";
    const CHelpPage* page = book.GetPage(1);
    ASSERT_NE(nullptr, page);
    EXPECT_STREQ("Second", page->m_strFirst);
    EXPECT_EQ(0, (int)page->m_links.GetCount());
    EXPECT_EQ(nullptr, book.GetPage(2));
}

TEST_F(HelpBookTest, TagsOutOfOrderAreIgnored)
{
    CHelpBook book;
    book.LoadFile(Write({
        "[/link]",     "[/page]",     // nothing to end
        "[link]",      "no page yet", // no page: ignored
        "[actions]",   "act=1",
        "[Condition]", "cond=1", // no link: ignored
        "[page]",      "3",
        "Third",       "after the stray tags", //
        "[actions]",   "still no link",
        "[Condition]", "nor here", //
        "[link]",      "Real link",
        "[actions]",   "go=1",
        "[/link]",     "[/link]", //
        "[/page]",
    }));
    EXPECT_EQ(1, book.GetPageCount());
    const CHelpPage* page = book.GetPage(3);
    ASSERT_NE(nullptr, page);
    EXPECT_STREQ("Third", page->m_strFirst);
    ASSERT_EQ(1, (int)page->m_links.GetCount());
    const CHelpLink* link = Link(page, 0);
    ASSERT_NE(nullptr, link);
    EXPECT_STREQ("Real link", link->m_strText);
    EXPECT_EQ((std::vector<std::string>{"go=1"}), Actions(link));
    EXPECT_STREQ("", link->m_strCondition);
}

TEST_F(HelpBookTest, MissingFileLoadsNothing)
{
    CHelpBook book;
    EXPECT_TRUE(book.LoadFile("no_such_folder\\no_such_book.txt"));
    EXPECT_TRUE(book.Load("no_such_book.txt"));
    EXPECT_EQ(0, book.GetPageCount());
    EXPECT_EQ(nullptr, book.GetPage(0));
}

TEST(HelpBookLine, ValueAfterTheFirstEquals)
{
    struct Case
    {
        const char* line;
        BOOL found;
        const char* value;
    } cases[] = {
        {"key=value", TRUE, "value"},      {"a=b=c", TRUE, "b=c"},   {"key=", TRUE, ""},
        {"no equals", FALSE, "unchanged"}, {"", FALSE, "unchanged"},
    };
    for (const Case& c : cases) {
        CString value = "unchanged";
        EXPECT_EQ(c.found, CHelpBook::GetValueOfLine(c.line, value)) << c.line;
        EXPECT_STREQ(c.value, value) << c.line;
    }
}

} // namespace
