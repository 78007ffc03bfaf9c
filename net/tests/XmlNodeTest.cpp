// The XML document: parse errors from small fixtures, the record table, navigation, element
// text, added elements written into the text, escaping, and the nesting limit.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/XmlNode.h"

namespace {

struct ErrorCase
{
    const char* label;
    const char* text;
    const char* message;
};

const ErrorCase kErrors[] = {
    {"empty text", "", "Element tag not found"},
    {"text without an element", "just words <?pi ok?>", "Element tag not found"},
    {"quoted tag name", "<\"a\"/>", "Tag starts with quote"},
    {"unclosed processing instruction", "<?xml version=\"1.0\"", "Invalid node"},
    {"unclosed comment", "<!-- never closed", "Invalid node"},
    {"unclosed declaration", "<!DOCTYPE a [ <!ENTITY x \"y\"> ", "Invalid node"},
    {"start tag without its >", "<a x=\"1\" <b/>", "End of tag not found"},
    {"start tag cut off", "<a", "End of tag not found"},
    {"text ends after <", "<", "Abrupt end within tag"},
    {"text ends inside a quote", "<a x=\"1", "Abrupt end within tag"},
    {"children without an end tag", "<a><b/>", "End tag of a element not found"},
    {"end tag not started by </", "<a>< /a>", "Expecting end tag of element a"},
    {"end tag of another element", "<a></b>", "End tag does not correspond to a"},
    {"nested end tag of another element", "<r><a>x</b></r>", "End tag does not correspond to a"},
    {"end tag without its >", "<a></a", "End tag not completed for element a"},
    {"end tag with more than its name", "<a></a x>", "End tag not completed for element a"},
};

TEST(XmlNodeParse, EachErrorHasItsMessageAndLeavesTheDocumentRecordOnly)
{
    for (const ErrorCase& c : kErrors) {
        SCOPED_TRACE(c.label);
        CXmlNode doc;
        EXPECT_FALSE(doc.LoadFromText(c.text));
        EXPECT_STREQ(c.message, doc.GetError());
        EXPECT_EQ(1, doc.GetRecordCount());
        EXPECT_EQ(0, doc.GetRecord(0).iChild);
        // The text stays as it was given.
        EXPECT_STREQ(c.text, doc.GetDoc());
        EXPECT_FALSE(doc.FindElem());
    }
}

TEST(XmlNodeParse, NullIsAnEmptyDocument)
{
    CXmlNode doc;
    EXPECT_FALSE(doc.LoadFromText(nullptr));
    EXPECT_EQ(1, doc.GetRecordCount());
    EXPECT_STREQ("", doc.GetDoc());
}

TEST(XmlNodeParse, LoneEmptyElementIsOneElementWithEmptyText)
{
    CXmlNode doc;
    ASSERT_TRUE(doc.LoadFromText("<a/>"));
    EXPECT_STREQ("", doc.GetError());
    ASSERT_EQ(2, doc.GetRecordCount());
    const CXmlElement& a = doc.GetRecord(1);
    EXPECT_EQ(1, doc.GetRecord(0).iChild);
    // start "<" at 0, start ">" at 3; for an empty tag its "/" (2) and the start tag's end.
    EXPECT_EQ(0, a.nStartL);
    EXPECT_EQ(3, a.nStartR);
    EXPECT_EQ(2, a.nEndL);
    EXPECT_EQ(3, a.nEndR);
    EXPECT_EQ(0, a.iParent);
    EXPECT_EQ(0, a.iChild);
    EXPECT_EQ(0, a.iNext);
    ASSERT_TRUE(doc.FindElem("a"));
    EXPECT_STREQ("", doc.GetData());
}

TEST(XmlNodeParse, RecordsHoldOffsetsAndLinks)
{
    const char* text = "<?xml version=\"1.0\"?>\r\n<!-- c --><r x='1'><a>t</a><b/></r>";
    CXmlNode doc;
    ASSERT_TRUE(doc.LoadFromText(text));
    ASSERT_EQ(4, doc.GetRecordCount());
    const std::string s = text;
    const CXmlElement& r = doc.GetRecord(1);
    EXPECT_EQ((int)s.find("<r"), r.nStartL);
    EXPECT_EQ((int)s.find("'1'>") + 3, r.nStartR);
    EXPECT_EQ((int)s.find("</r>"), r.nEndL);
    EXPECT_EQ((int)s.size() - 1, r.nEndR);
    EXPECT_EQ(2, r.iChild);
    const CXmlElement& a = doc.GetRecord(2);
    EXPECT_EQ(1, a.iParent);
    EXPECT_EQ(3, a.iNext);
    EXPECT_EQ((int)s.find("</a>"), a.nEndL);
    EXPECT_EQ(0, doc.GetRecord(3).iNext);
}

TEST(XmlNodeParse, ManyElementsGrowTheTable)
{
    std::string text = "<r>";
    for (int i = 0; i < 500; ++i)
        text += "<i/>";
    text += "</r>";
    CXmlNode doc;
    ASSERT_TRUE(doc.LoadFromText(text.c_str()));
    EXPECT_EQ(502, doc.GetRecordCount());
    ASSERT_TRUE(doc.FindElem("r"));
    int found = 0;
    while (doc.FindChildElem("i"))
        ++found;
    EXPECT_EQ(500, found);
}

TEST(XmlNodeParse, DeepNestingFailsWithTheDepthMessage)
{
    struct
    {
        int depth;
        bool parses;
    } cases[] = {{CXmlNode::kMaxDepth, true}, {CXmlNode::kMaxDepth + 1, false}, {10000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.depth);
        std::string text;
        for (int i = 0; i < c.depth; ++i)
            text += "<e>";
        for (int i = 0; i < c.depth; ++i)
            text += "</e>";
        CXmlNode doc;
        const DWORD start = GetTickCount();
        EXPECT_EQ(c.parses, doc.LoadFromText(text.c_str()) != FALSE);
        EXPECT_LT(GetTickCount() - start, 2000u);
        EXPECT_STREQ(c.parses ? "" : "Elements nested deeper than 256 levels", doc.GetError());
        EXPECT_EQ(c.parses ? c.depth + 1 : 1, doc.GetRecordCount());
    }
}

TEST(XmlNodeNavigate, FindIntoOutAndChildPositions)
{
    CXmlNode doc;
    ASSERT_TRUE(doc.LoadFromText("<top><name>n1</name><item id='1'>a</item><item id='2'>b</item><end/></top>"));
    EXPECT_FALSE(doc.IntoElem()); // no main position yet
    EXPECT_FALSE(doc.FindElem("nothing"));
    ASSERT_TRUE(doc.FindElem("top"));
    EXPECT_FALSE(doc.OutOfElem()); // at the top

    ASSERT_TRUE(doc.FindChildElem("item"));
    EXPECT_STREQ("a", doc.GetChildData());
    ASSERT_TRUE(doc.FindChildElem("item"));
    EXPECT_STREQ("b", doc.GetChildData());
    EXPECT_FALSE(doc.FindChildElem("item"));

    doc.ResetChildPos();
    ASSERT_TRUE(doc.FindChildElem("name"));
    ASSERT_TRUE(doc.IntoElem()); // name becomes the main element
    EXPECT_STREQ("name", doc.GetTagName());
    EXPECT_STREQ("n1", doc.GetData());
    ASSERT_TRUE(doc.FindElem()); // any: the next sibling
    EXPECT_STREQ("item", doc.GetTagName());
    ASSERT_TRUE(doc.OutOfElem());
    EXPECT_STREQ("top", doc.GetTagName());
    EXPECT_STREQ("item", doc.GetChildTagName());
    EXPECT_STREQ("", doc.GetData()); // an element with children has no text
}

TEST(XmlNodeNavigate, NameMatchesTheTagNameAndOneSeparator)
{
    struct
    {
        const char* wanted;
        bool found;
    } cases[] = {
        {"item", true}, {"item id", true}, {"item=", true}, {"item/", true},  {"item[", true},
        {"ite", false}, {"items", false},  {"Item", false}, {"item.", false}, {"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wanted);
        CXmlNode doc;
        ASSERT_TRUE(doc.LoadFromText("<item id='1'/>"));
        EXPECT_EQ(c.found, doc.FindElem(c.wanted) != FALSE);
    }
}

TEST(XmlNodeText, EntitiesAndCdata)
{
    struct
    {
        const char* element;
        const char* text;
    } cases[] = {
        {"<v>a &lt;b&gt; &amp; &apos;c&apos; &quot;d&quot;</v>", "a <b> & 'c' \"d\""},
        {"<v>&unknown; & &amp</v>", "&unknown; & &amp"},
        {"<v>  <![CDATA[<raw> &amp;]]></v>", "<raw> &amp;"},
        {"<v>x<![CDATA[y]]></v>", "x<![CDATA[y]]>"},
        {"<v></v>", ""},
        {"<v>\r\n  spaced \r\n</v>", "\r\n  spaced \r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.element);
        CXmlNode doc;
        ASSERT_TRUE(doc.LoadFromText(c.element));
        ASSERT_TRUE(doc.FindElem("v"));
        EXPECT_STREQ(c.text, doc.GetData());
    }
}

TEST(XmlNodeEscape, TextModeKeepsQuotesAttributeModeEscapesAllFive)
{
    struct
    {
        const char* in;
        BOOL attribute;
        const char* out;
    } cases[] = {
        {"a<b>&'\"", FALSE, "a&lt;b&gt;&amp;'\""},
        {"a<b>&'\"", TRUE, "a&lt;b&gt;&amp;&apos;&quot;"},
        {"", TRUE, ""},
        {"plain", FALSE, "plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_STREQ(c.out, XmlEscape(c.in, c.attribute));
    }
    EXPECT_STREQ("", XmlEscape(nullptr, TRUE));
    // Every character an entity of six bytes: the result grows past any first guess.
    const std::string quotes(1000, '"');
    std::string expected;
    for (int i = 0; i < 1000; ++i)
        expected += "&quot;";
    EXPECT_EQ(expected, std::string(XmlEscape(quotes.c_str(), TRUE)));
}

// The element offsets in document order, walking the links from the document record.
void Walk(const CXmlNode& doc, int index, std::vector<std::vector<int>>& out)
{
    for (int i = doc.GetRecord(index).iChild; i != 0; i = doc.GetRecord(i).iNext) {
        const CXmlElement& e = doc.GetRecord(i);
        EXPECT_EQ(index, e.iParent);
        out.push_back({e.nStartL, e.nStartR, e.nEndL, e.nEndR});
        Walk(doc, i, out);
    }
}

// The records must keep describing the text after every added element: parsing the new text
// gives the same elements at the same offsets.
void ExpectTableMatchesText(const CXmlNode& doc)
{
    CXmlNode again;
    ASSERT_TRUE(again.LoadFromText(doc.GetDoc()));
    ASSERT_EQ(again.GetRecordCount(), doc.GetRecordCount());
    std::vector<std::vector<int>> kept, parsed;
    Walk(doc, 0, kept);
    Walk(again, 0, parsed);
    EXPECT_EQ(parsed, kept);
}

TEST(XmlNodeAdd, ChildOfEmptyElementSplitsItIntoStartAndEndTag)
{
    CXmlNode doc;
    ASSERT_TRUE(doc.LoadFromText("<a/>"));
    EXPECT_FALSE(doc.AddChildElem("b")); // no main position
    EXPECT_STREQ("<a/>", doc.GetDoc());
    ASSERT_TRUE(doc.FindElem("a"));
    ASSERT_TRUE(doc.AddChildElem("b"));
    EXPECT_STREQ("<a>\r\n<b/>\r\n</a>", doc.GetDoc());
    EXPECT_STREQ("b", doc.GetChildTagName());
    ExpectTableMatchesText(doc);
}

TEST(XmlNodeAdd, PlacesLinesAndShiftsLaterOffsets)
{
    struct
    {
        const char* label;
        const char* text;
        const char* expected;
    } cases[] = {
        {"start tag followed by its end tag", "<r><a></a><z/></r>", "<r><a>\r\n<b>x &amp; y</b>\r\n</a><z/></r>"},
        {"after the last child", "<r><a>\r\n<c/>\r\n</a><z/></r>",
         "<r><a>\r\n<c/>\r\n<b>x &amp; y</b>\r\n</a><z/></r>"},
        {"empty element among others", "<r><a/><z/></r>", "<r><a>\r\n<b>x &amp; y</b>\r\n</a><z/></r>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        CXmlNode doc;
        ASSERT_TRUE(doc.LoadFromText(c.text));
        ASSERT_TRUE(doc.FindChildElem("a"));
        ASSERT_TRUE(doc.IntoElem());
        ASSERT_TRUE(doc.AddChildElem("b", "x & y"));
        EXPECT_STREQ(c.expected, doc.GetDoc());
        ExpectTableMatchesText(doc);
        // The element after the insertion is found where it now is.
        ASSERT_TRUE(doc.OutOfElem());
        doc.ResetChildPos();
        ASSERT_TRUE(doc.FindChildElem("z"));
        EXPECT_STREQ("z", doc.GetChildTagName());
    }
}

TEST(XmlNodeAdd, SiblingsAndTheTopElement)
{
    CXmlNode doc;
    EXPECT_FALSE(doc.LoadFromText("<?pi?>\r\n"));
    ASSERT_TRUE(doc.AddElem("top"));
    EXPECT_STREQ("<?pi?>\r\n<top/>\r\n", doc.GetDoc());
    // A second top element is refused once the position is back at the top.
    doc.ResetPos();
    EXPECT_FALSE(doc.AddElem("second"));
    ASSERT_TRUE(doc.FindElem("top"));
    ASSERT_TRUE(doc.AddChildElem("one", "1"));
    ASSERT_TRUE(doc.IntoElem());
    ASSERT_TRUE(doc.AddElem("two", "2")); // a sibling after "one"
    ASSERT_TRUE(doc.OutOfElem());
    doc.ResetChildPos();
    ASSERT_TRUE(doc.AddChildElem("zero")); // no child position: at the end
    EXPECT_STREQ("<?pi?>\r\n<top>\r\n<one>1</one>\r\n<two>2</two>\r\n<zero/>\r\n</top>\r\n", doc.GetDoc());
    ExpectTableMatchesText(doc);
}

} // namespace
