// Byte layout of the stream records, and how the readers treat damaged or hostile data.
#include <windows.h>
#include <objidl.h>
#include <gtest/gtest.h>

#include <vector>

#include "base/ComOwner.h"
#include "base/StreamCodec.h"

namespace {

typedef std::vector<BYTE> Bytes;

// A memory stream holding `bytes`, positioned at its start.
ComOwner<IStream> StreamOf(const Bytes& bytes)
{
    ComOwner<IStream> stream;
    EXPECT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
    if (!bytes.empty()) {
        ULONG put = 0;
        stream->Write(bytes.data(), (ULONG)bytes.size(), &put);
    }
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

Bytes ContentOf(IStream* stream)
{
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    Bytes bytes((size_t)stat.cbSize.QuadPart);
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG got = 0;
    if (!bytes.empty())
        stream->Read(bytes.data(), (ULONG)bytes.size(), &got);
    return bytes;
}

ULONGLONG PositionOf(IStream* stream)
{
    LARGE_INTEGER zero = {};
    ULARGE_INTEGER pos = {};
    stream->Seek(zero, STREAM_SEEK_CUR, &pos);
    return pos.QuadPart;
}

VARIANT Var(VARTYPE vt)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    return v;
}

TEST(StreamCodec, WritesRecordsByteExact)
{
    struct Case
    {
        const char* what;
        HRESULT (*write)(IStream*);
        Bytes bytes;
    } cases[] = {
        {"BSTR abc",
         [](IStream* s) { return WriteBstrRecord(s, "abc"); },
         {0x08, 0x00, 0x00, 0x00,             // byte count: 3 x 2 + terminator
          0x61, 0x00, 0x62, 0x00, 0x63, 0x00, // "abc" in UTF-16LE
          0x00, 0x00}},                       // terminator
        {"BSTR empty text", [](IStream* s) { return WriteBstrRecord(s, ""); }, {0x02, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"BSTR null", [](IStream* s) { return WriteBstrRecordW(s, nullptr); }, {0x00, 0x00, 0x00, 0x00}},
        {"BSTR e-acute, code page 1252",
         [](IStream* s) { return WriteBstrRecord(s, "\xE9"); },
         {0x04, 0x00, 0x00, 0x00, 0xE9, 0x00, 0x00, 0x00}},
        {"key line IMAGE 0",
         [](IStream* s) { return WriteKeyLine(s, "IMAGE", 0); },
         {0x10, 0x00, 0x00, 0x00, 'I', 0, 'M', 0, 'A', 0, 'G', 0, 'E', 0, '=', 0, '0', 0, 0, 0}},
        {"VT_I4 1",
         [](IStream* s) { return WriteI4Record(s, 1); },
         {0x03, 0x00,               // VT_I4
          0x01, 0x00, 0x00, 0x00}}, // 1
        {"VT_I4 -2", [](IStream* s) { return WriteI4Record(s, -2); }, {0x03, 0x00, 0xFE, 0xFF, 0xFF, 0xFF}},
        {"VT_BOOL true", [](IStream* s) { return WriteBoolRecord(s, TRUE); }, {0x0B, 0x00, 0xFF, 0xFF}},
        {"VT_BOOL false", [](IStream* s) { return WriteBoolRecord(s, FALSE); }, {0x0B, 0x00, 0x00, 0x00}},
        {"VT_R4 1.0", [](IStream* s) { return WriteR4Record(s, 1.0f); }, {0x04, 0x00, 0x00, 0x00, 0x80, 0x3F}},
        {"VT_R8 -2.5",
         [](IStream* s) { return WriteR8Record(s, -2.5); },
         {0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0xC0}},
        {"VT_BSTR x",
         [](IStream* s) { return WriteTextRecord(s, "x"); },
         {0x08, 0x00, // VT_BSTR
          0x04, 0x00, 0x00, 0x00, 0x78, 0x00, 0x00, 0x00}},
        {"VT_UI1 0xAB",
         [](IStream* s) {
             VARIANT v = Var(VT_UI1);
             v.bVal = 0xAB;
             return WriteVariantRecord(s, v);
         },
         {0x11, 0x00, 0xAB}},
        {"VT_I2 -1",
         [](IStream* s) {
             VARIANT v = Var(VT_I2);
             v.iVal = -1;
             return WriteVariantRecord(s, v);
         },
         {0x02, 0x00, 0xFF, 0xFF}},
        {"VT_I8 5 goes as text",
         [](IStream* s) {
             VARIANT v = Var(VT_I8);
             v.llVal = 5;
             return WriteVariantRecord(s, v);
         },
         {0x14, 0x00, // VT_I8
          0x04, 0x00, 0x00, 0x00, '5', 0x00, 0x00, 0x00}},
    };
    for (const Case& c : cases) {
        ComOwner<IStream> stream = StreamOf({});
        EXPECT_EQ(S_OK, c.write(stream)) << c.what;
        EXPECT_EQ(c.bytes, ContentOf(stream)) << c.what;
    }
}

TEST(StreamCodec, ReadsBackWhatItWrote)
{
    ComOwner<IStream> stream = StreamOf({});
    ASSERT_EQ(S_OK, WriteBstrRecord(stream, "a==b"));
    ASSERT_EQ(S_OK, WriteI4Record(stream, -7));
    ASSERT_EQ(S_OK, WriteR4Record(stream, 0.25f));
    ASSERT_EQ(S_OK, WriteR8Record(stream, 3.5));
    ASSERT_EQ(S_OK, WriteBoolRecord(stream, TRUE));
    ASSERT_EQ(S_OK, WriteTextRecord(stream, "Caf\xE9"));
    ASSERT_EQ(S_OK, WriteBstrRecordW(stream, nullptr));
    VARIANT i8 = Var(VT_I8);
    i8.llVal = 1234567890123ll;
    ASSERT_EQ(S_OK, WriteVariantRecord(stream, i8));
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);

    CString text;
    EXPECT_EQ(S_OK, ReadBstrRecord(stream, text));
    EXPECT_STREQ("a==b", text);
    LONG i4 = 0;
    EXPECT_EQ(S_OK, ReadI4Record(stream, i4));
    EXPECT_EQ(-7, i4);
    float r4 = 0;
    EXPECT_EQ(S_OK, ReadR4Record(stream, r4));
    EXPECT_EQ(0.25f, r4);
    double r8 = 0;
    EXPECT_EQ(S_OK, ReadR8Record(stream, r8));
    EXPECT_EQ(3.5, r8);
    BOOL flag = FALSE;
    EXPECT_EQ(S_OK, ReadBoolRecord(stream, flag));
    EXPECT_TRUE(flag);
    EXPECT_EQ(S_OK, ReadTextRecord(stream, text));
    EXPECT_STREQ("Caf\xE9", text);
    BSTR null = SysAllocString(L"x");
    EXPECT_EQ(S_OK, ReadBstrRecordW(stream, &null));
    EXPECT_EQ(nullptr, null);
    VARIANT v = Var(VT_EMPTY);
    EXPECT_EQ(S_OK, ReadVariantRecord(stream, v));
    EXPECT_EQ(VT_I8, v.vt);
    EXPECT_EQ(1234567890123ll, v.llVal);
    EXPECT_EQ(ContentOf(stream).size(), PositionOf(stream));
}

// Readers take the bytes as the type they expect, whatever the record says.
TEST(StreamCodec, TypedReadersKeepTheStoredBytes)
{
    ComOwner<IStream> stream = StreamOf({0x03, 0x00, 0x00, 0x00, 0x80, 0x3F}); // VT_I4 0x3F800000
    float r4 = 0;
    EXPECT_EQ(S_OK, ReadR4Record(stream, r4));
    EXPECT_EQ(1.0f, r4);

    stream = StreamOf({0x0B, 0x00, 0xFF, 0xFF}); // VT_BOOL true
    LONG i4 = 0;
    EXPECT_EQ(S_OK, ReadI4Record(stream, i4));
    EXPECT_EQ(0xFFFF, i4); // two bytes only
}

// A count from the file is never trusted: the record fails and its value stays empty.
TEST(StreamCodec, RefusesDamagedBstrRecords)
{
    struct Case
    {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty stream", {}},
        {"count cut short", {0x08, 0x00}},
        {"odd length", {0x03, 0x00, 0x00, 0x00, 0x61, 0x00, 0x00}},
        {"length 1", {0x01, 0x00, 0x00, 0x00, 0x00}},
        {"length past the end", {0x0A, 0x00, 0x00, 0x00, 0x61, 0x00, 0x00, 0x00}},
        {"length 0xFFFFFFF0", {0xF0, 0xFF, 0xFF, 0xFF, 0x61, 0x00, 0x00, 0x00}},
        {"no terminator", {0x04, 0x00, 0x00, 0x00, 0x61, 0x00, 0x62, 0x00}},
    };
    for (const Case& c : cases) {
        ComOwner<IStream> stream = StreamOf(c.bytes);
        CString text = "old";
        EXPECT_EQ(E_FAIL, ReadBstrRecord(stream, text)) << c.what;
        EXPECT_STREQ("", text) << c.what;
    }
}

TEST(StreamCodec, RefusesDamagedOrHostileVariantRecords)
{
    struct Case
    {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty stream", {}},
        {"type cut short", {0x03}},
        {"VT_I4 cut short", {0x03, 0x00, 0x01, 0x00}},
        {"VT_R8 cut short", {0x05, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"VT_BSTR odd length", {0x08, 0x00, 0x03, 0x00, 0x00, 0x00, 0x61, 0x00, 0x00}},
        {"VT_BSTR length past the end", {0x08, 0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {"VT_UNKNOWN naming a class",
         {0x0D, 0x00,                                     // VT_UNKNOWN
          0xC1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // a CLSID
          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}},
        {"VT_DISPATCH naming a class",
         {0x09, 0x00, 0xC1, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}},
        {"VT_BYREF | VT_I4", {0x03, 0x40, 0x01, 0x00, 0x00, 0x00}},
        {"VT_ARRAY | VT_I4", {0x03, 0x20, 0x01, 0x00, 0x00, 0x00}},
        {"VT_I8 text that is no number", {0x14, 0x00, 0x04, 0x00, 0x00, 0x00, 'x', 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ComOwner<IStream> stream = StreamOf(c.bytes);
        VARIANT v = Var(VT_EMPTY);
        HRESULT hr = ReadVariantRecord(stream, v);
        EXPECT_TRUE(FAILED(hr)) << c.what;
        EXPECT_EQ(VT_EMPTY, v.vt) << c.what;

        stream = StreamOf(c.bytes);
        LONG i4 = 99;
        EXPECT_TRUE(FAILED(ReadI4Record(stream, i4))) << c.what;
        EXPECT_EQ(0, i4) << c.what;
    }
}

TEST(StreamCodec, RefusesToWriteObjects)
{
    ComOwner<IStream> stream = StreamOf({});
    VARIANT v = Var(VT_UNKNOWN);
    v.punkVal = nullptr;
    EXPECT_TRUE(FAILED(WriteVariantRecord(stream, v)));
    EXPECT_TRUE(ContentOf(stream).empty());
}

} // namespace
