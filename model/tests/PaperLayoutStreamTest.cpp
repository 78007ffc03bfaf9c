// The paper layout in design-file streams.
#include <gtest/gtest.h>

#include <objbase.h>

#include <limits>

#include "base/ComOwner.h"
#include "model/paper/PaperGlobals.h"
#include "model/paper/PaperLayout.h"
#include "model/paper/PaperLayoutMap.h"
#include "model/paper/PaperSize.h"
#include "base/StreamCodec.h"
#include "model/tests/PaperTestUtil.h"

namespace {

class PaperStream : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { FillPaperCatalogues(); }
};

// ---------------------------------------------------------------------------------------
// Streams.

class MemoryStream
{
public:
    MemoryStream() { CreateStreamOnHGlobal(NULL, TRUE, m_stream.Put()); }
    IStream* get() const { return m_stream; }
    void Rewind()
    {
        LARGE_INTEGER zero = {};
        m_stream->Seek(zero, STREAM_SEEK_SET, NULL);
    }

private:
    ComOwner<IStream> m_stream;
};

TEST_F(PaperStream, StreamRoundTrip)
{
    MemoryStream s;
    ASSERT_TRUE(s.get() != NULL);
    const CPaperLayout* a = GetGlobalObjectA()->Lookup(67);
    ASSERT_EQ(S_OK, a->SaveToStream(s.get()));
    s.Rewind();
    CPaperLayout b;
    ASSERT_TRUE(b.LoadFromStream(s.get(), "10.15"));
    EXPECT_STREQ(a->FormatCsv(), b.FormatCsv());
    EXPECT_EQ(180, b.GetItemAngle(0, 0));
    // Nothing more to read.
    EXPECT_FALSE(b.LoadFromStream(s.get(), "10.15"));
}

struct OldRecords
{
    LONG custom, oldId, skipped, round, rectangle, shape3;
    float height, width;
    LONG skip1, perCell, skip2, multiple;
    float spacing;
    LONG areas;
    const char* version;
    LONG a, b, c, d;
};

void WriteOld(IStream* s, const OldRecords& r, bool withTail)
{
    WriteI4Record(s, r.custom);
    WriteI4Record(s, r.oldId);
    WriteI4Record(s, r.skipped);
    WriteBoolRecord(s, r.round);
    WriteBoolRecord(s, r.rectangle);
    WriteBoolRecord(s, r.shape3);
    WriteR4Record(s, r.height);
    WriteR4Record(s, r.width);
    WriteI4Record(s, r.skip1);
    WriteI4Record(s, r.perCell);
    WriteI4Record(s, r.skip2);
    WriteI4Record(s, r.multiple);
    WriteR4Record(s, r.spacing);
    WriteI4Record(s, r.areas);
    WriteTextRecord(s, r.version);
    if (withTail) {
        WriteI4Record(s, r.a);
        WriteI4Record(s, r.b);
        WriteI4Record(s, r.c);
        WriteI4Record(s, r.d);
    }
}

TEST_F(PaperStream, OldestFormBuiltInLayout)
{
    MemoryStream s;
    // Not custom: layout 10 is copied, the sizes are ignored, the areas are its cells.
    WriteOld(s.get(), {0, 10, 0, 0, 1, 0, 500, 400, 0, 1, 0, 0, 50, 3, "6.5"}, false);
    s.Rewind();
    CPaperLayout l;
    CString version;
    EXPECT_EQ(10, l.ReadFromDesign(s.get(), version));
    EXPECT_STREQ("6.5", version);
    EXPECT_EQ(10, l.GetId());
    EXPECT_FLOAT_EQ(3.7007f, l.GetItemSize().Width);
    EXPECT_EQ(0, l.IsOneDesignPerCell());
}

TEST_F(PaperStream, OldestFormCustomLayout)
{
    MemoryStream s;
    // Custom rectangle on old id 2 (paper 2, which the catalogue does not hold).
    WriteOld(s.get(), {1, 2, 0, 0, 0xFFFF, 0, 500, 400, 0, 1, 0, 1, 50, 6, "6.7", 10, 20, 30, 40}, true);
    s.Rewind();
    CPaperLayout l;
    l.SetPaperSize(GetGlobalObjectB()->Lookup(10));
    CString version;
    EXPECT_EQ(6, l.ReadFromDesign(s.get(), version));
    EXPECT_STREQ("6.7", version);
    EXPECT_EQ(312, l.GetId());
    EXPECT_FLOAT_EQ(4.0f, l.GetItemSize().Width);
    EXPECT_FLOAT_EQ(5.0f, l.GetItemSize().Height);
    EXPECT_EQ(1, l.IsOneDesignPerCell());
    EXPECT_EQ(1, l.IsMultiple());
    EXPECT_FLOAT_EQ(0.1f, l.GetSpacing().Width);
    EXPECT_FLOAT_EQ(0.2f, l.GetSpacing().Height);
    EXPECT_FLOAT_EQ(0.3f, l.GetMargin().X);
    EXPECT_FLOAT_EQ(0.4f, l.GetMargin().Y);
    EXPECT_TRUE(l.GetPaperSize() == NULL);
}

TEST_F(PaperStream, OldestFormCustomShapesBefore67)
{
    // The shape flags (set when their low 16 bits are) pick the custom layout to start from,
    // a later one winning; before 6.7 the one spacing value serves both axes and no margin
    // is read.
    const struct
    {
        LONG round, rectangle, shape3;
        int id;
    } cases[] = {{1, 0, 0, 313}, {0, 1, 0, 312}, {0, 0, 1, 315},
                 {1, 1, 0, 312}, {1, 1, 1, 315}, {0x10001, 0x10000, 0, 313}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.round << " " << c.rectangle << " " << c.shape3);
        MemoryStream s;
        for (LONG v : {1L, 5L, 0L, c.round, c.rectangle, c.shape3})
            WriteI4Record(s.get(), v);
        WriteR4Record(s.get(), 300); // height x 100
        WriteR4Record(s.get(), 200); // width x 100
        for (LONG v : {0L, 0L, 0L, 0L})
            WriteI4Record(s.get(), v);
        WriteR4Record(s.get(), 50); // spacing x 100
        WriteI4Record(s.get(), 2);  // design areas
        WriteTextRecord(s.get(), "6.5");
        s.Rewind();
        CPaperLayout l;
        l.SetMargin(9, 9);
        CString version;
        EXPECT_EQ(2, l.ReadFromDesign(s.get(), version));
        EXPECT_EQ(c.id, l.GetId());
        EXPECT_FLOAT_EQ(2.0f, l.GetItemSize().Width);
        EXPECT_FLOAT_EQ(3.0f, l.GetItemSize().Height);
        EXPECT_FLOAT_EQ(0.5f, l.GetSpacing().Width);
        EXPECT_FLOAT_EQ(0.5f, l.GetSpacing().Height);
        EXPECT_EQ(0.0f, l.GetMargin().X); // the catalogue layout's, not read from the stream
    }
}

TEST_F(PaperStream, OldestFormRefusesDamage)
{
    const float kNaN = std::numeric_limits<float>::quiet_NaN();
    const float kInf = std::numeric_limits<float>::infinity();
    const struct
    {
        const char* what;
        LONG areas;
        bool truncate;
        float height, spacing;
    } cases[] = {{"negative count", -5, false, 500, 50},      {"huge count", 100000000, false, 500, 50},
                 {"zero count", 0, false, 500, 50},           {"stream ends early", 6, true, 500, 50},
                 {"height not a number", 6, false, kNaN, 50}, {"infinite spacing", 6, false, 500, -kInf}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryStream s;
        WriteOld(s.get(), {1, 2, 0, 0, 1, 0, c.height, 400, 0, 1, 0, 1, c.spacing, c.areas, "6.7", 1, 2, 3, 4},
                 !c.truncate);
        s.Rewind();
        CPaperLayout l;
        CString version;
        EXPECT_EQ(0, l.ReadFromDesign(s.get(), version));
    }
}

TEST_F(PaperStream, KeyValueRecords)
{
    MemoryStream s;
    WriteKeyLine(s.get(), "IMAGE", 3);
    WriteBstrRecord(s.get(), "A=b=7");
    WriteKeyLine(s.get(), "END", 0);
    s.Rewind();
    CString key;
    int value = -1;
    EXPECT_TRUE(ReadKeyValueRecord(s.get(), key, value));
    EXPECT_STREQ("IMAGE", key);
    EXPECT_EQ(3, value);
    EXPECT_TRUE(ReadKeyValueRecord(s.get(), key, value));
    EXPECT_STREQ("A", key);
    EXPECT_EQ(0, value); // "b=7" has no number
    EXPECT_FALSE(ReadKeyValueRecord(s.get(), key, value));
    EXPECT_STREQ("END", key);
    EXPECT_FALSE(ReadKeyValueRecord(s.get(), key, value)); // end of the stream
}

} // namespace
