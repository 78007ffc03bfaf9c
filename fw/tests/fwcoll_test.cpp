// Collections: positions, zero-filled growth, hash-map walk order, string maps.
#include "fw/fw.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<int> Walk(const CList<int, int>& list)
{
    std::vector<int> out;
    for (POSITION p = list.GetHeadPosition(); p;)
        out.push_back(list.GetNext(p));
    return out;
}

std::vector<int> WalkBack(const CList<int, int>& list)
{
    std::vector<int> out;
    for (POSITION p = list.GetTailPosition(); p;)
        out.push_back(list.GetPrev(p));
    return out;
}

TEST(CList, PositionSurvivesRemovalOfOthers)
{
    struct Case
    {
        const char* name;
        std::vector<int> remove; // values removed around the kept 5
    } cases[] = {
        {"neighbours", {4, 6}},
        {"head and tail", {0, 9}},
        {"everything else", {0, 1, 2, 3, 4, 6, 7, 8, 9}},
        {"nothing", {}},
    };
    for (auto& c : cases) {
        CList<int, int> list;
        POSITION kept = NULL;
        std::vector<POSITION> positions;
        for (int i = 0; i < 10; ++i) {
            POSITION p = list.AddTail(i);
            positions.push_back(p);
            if (i == 5)
                kept = p;
        }
        for (int v : c.remove)
            list.RemoveAt(positions[v]);
        EXPECT_EQ(5, list.GetAt(kept)) << c.name;
        std::vector<int> left;
        for (int i = 0; i < 10; ++i)
            if (std::find(c.remove.begin(), c.remove.end(), i) == c.remove.end())
                left.push_back(i);
        EXPECT_EQ(left, Walk(list)) << c.name;
        std::vector<int> back(left.rbegin(), left.rend());
        EXPECT_EQ(back, WalkBack(list)) << c.name;
        // Inserting around the kept position still works.
        list.InsertBefore(kept, 50);
        list.InsertAfter(kept, 51);
        POSITION p = kept;
        list.GetPrev(p);
        EXPECT_EQ(50, list.GetAt(p)) << c.name;
        p = kept;
        list.GetNext(p);
        EXPECT_EQ(51, list.GetAt(p)) << c.name;
    }
}

TEST(CList, HeadTailFindAndIndex)
{
    CList<int, int> list;
    list.AddTail(2);
    list.AddHead(1);
    list.AddTail(3);
    list.AddTail(2);
    EXPECT_EQ((std::vector<int>{1, 2, 3, 2}), Walk(list));
    POSITION first2 = list.Find(2);
    ASSERT_NE(nullptr, first2);
    POSITION second2 = list.Find(2, first2);
    ASSERT_NE(nullptr, second2);
    EXPECT_NE(first2, second2);
    EXPECT_EQ(nullptr, list.Find(2, second2));
    EXPECT_EQ(nullptr, list.Find(7));
    EXPECT_EQ(second2, list.FindIndex(3));
    EXPECT_EQ(nullptr, list.FindIndex(4));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    EXPECT_EQ(1, list.RemoveHead());
    EXPECT_EQ(2, list.RemoveTail());
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ(2, list.GetHead());
    EXPECT_EQ(3, list.GetTail());
    // NULL positions insert at the ends.
    list.InsertBefore(NULL, 0);
    list.InsertAfter(NULL, 9);
    EXPECT_EQ((std::vector<int>{0, 2, 3, 9}), Walk(list));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
}

TEST(CStringList, FindsByText)
{
    CStringList names;
    names.AddTail("Arial");
    names.AddTail(CString("Tahoma"));
    EXPECT_NE(nullptr, names.Find("Tahoma"));
    EXPECT_EQ(nullptr, names.Find("tahoma"));
}

// A frame-record-like plain record, and one whose constructor sets only one field.
struct PlainRecord
{
    int kind;
    float values[5];
    void* image;
};
struct PartlyInitialised
{
    int set = 7;
    int untouched;
    PartlyInitialised() {}
};

TEST(CArray, GrowthIsZeroFilled)
{
    CArray<PlainRecord, const PlainRecord&> records;
    records.SetSize(3);
    for (int i = 0; i < 3; ++i)
        memset(&records[i], 0xAB, sizeof(PlainRecord));
    // Shrink and grow back within the same storage, then grow into new storage.
    records.SetSize(1);
    records.SetSize(40);
    ASSERT_EQ(40, records.GetSize());
    static const PlainRecord zero = {};
    for (int i = 1; i < 40; ++i)
        EXPECT_EQ(0, memcmp(&zero, &records[i], sizeof zero)) << "record " << i;
    PlainRecord first;
    memset(&first, 0xAB, sizeof first);
    EXPECT_EQ(0, memcmp(&first, &records[0], sizeof first)) << "kept record changed";

    CArray<PartlyInitialised, const PartlyInitialised&> partly;
    partly.SetSize(5);
    partly[0].untouched = 99;
    partly.SetSize(0);
    PartlyInitialised last;
    last.untouched = 5;
    partly.SetAtGrow(7, last);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(7, partly[i].set);
        EXPECT_EQ(0, partly[i].untouched) << "element " << i;
    }
    EXPECT_EQ(5, partly[7].untouched);
}

TEST(CArray, InsertRemoveTable)
{
    struct Case
    {
        const char* name;
        void (*edit)(CUIntArray&);
        std::vector<UINT> want;
    } cases[] = {
        {"add", [](CUIntArray& a) { a.Add(9); }, {0, 1, 2, 3, 9}},
        {"insert at front", [](CUIntArray& a) { a.InsertAt(0, 7, 2); }, {7, 7, 0, 1, 2, 3}},
        {"insert in middle", [](CUIntArray& a) { a.InsertAt(2, 8); }, {0, 1, 8, 2, 3}},
        {"insert past end", [](CUIntArray& a) { a.InsertAt(6, 5); }, {0, 1, 2, 3, 0, 0, 5}},
        {"remove middle", [](CUIntArray& a) { a.RemoveAt(1, 2); }, {0, 3}},
        {"remove too many", [](CUIntArray& a) { a.RemoveAt(2, 10); }, {0, 1}},
        {"remove out of range", [](CUIntArray& a) { a.RemoveAt(4); }, {0, 1, 2, 3}},
        {"set at grow", [](CUIntArray& a) { a.SetAtGrow(5, 4); }, {0, 1, 2, 3, 0, 4}},
        {"shrink", [](CUIntArray& a) { a.SetSize(2); }, {0, 1}},
        {"remove all", [](CUIntArray& a) { a.RemoveAll(); }, {}},
    };
    for (auto& c : cases) {
        CUIntArray a;
        for (UINT i = 0; i < 4; ++i)
            a.Add(i);
        c.edit(a);
        std::vector<UINT> got(a.GetData(), a.GetData() + a.GetSize());
        EXPECT_EQ(c.want, got) << c.name;
        EXPECT_EQ((INT_PTR)c.want.size() - 1, a.GetUpperBound()) << c.name;
    }
}

TEST(CArray, StringsMoveSafely)
{
    CStringArray a;
    for (int i = 0; i < 100; ++i) {
        CString s;
        s.Format("line %d", i);
        a.InsertAt(0, s);
    }
    a.Add(a[0]); // an element of itself, while the array grows
    a.RemoveAt(10, 50);
    ASSERT_EQ(51, a.GetSize());
    EXPECT_STREQ("line 99", a[0]);
    EXPECT_STREQ("line 90", a[9]);
    EXPECT_STREQ("line 39", a[10]);
    EXPECT_STREQ("line 99", a[50]);

    CStringArray b;
    b.Copy(a);
    b.Append(b);
    EXPECT_EQ(102, b.GetSize());
    EXPECT_STREQ("line 99", b[51]);
}

template <class MAP> std::vector<DWORD> MapWalk(const MAP& map)
{
    std::vector<DWORD> keys;
    POSITION p = map.GetStartPosition();
    while (p) {
        typename MAP::KeyType k;
        typename MAP::ValueType v;
        map.GetNextAssoc(p, k, v);
        keys.push_back((DWORD)(DWORD_PTR)k);
    }
    return keys;
}

TEST(CMap, IntegerKeysWalkBucketByBucketNewestFirst)
{
    struct Case
    {
        const char* name;
        std::vector<DWORD> inserted;
        std::vector<DWORD> walk;
    } cases[] = {
        // Keys 0..15 share bucket 0 (key >> 4 == 0), 16..20 go to bucket 1.
        {"keys 0 to 20",
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
         {15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 20, 19, 18, 17, 16}},
        // 272 >> 4 = 17 wraps to bucket 0; 48 >> 4 = 3.
        {"wrapping keys", {48, 0, 272, 16, 5}, {5, 272, 0, 16, 48}},
        {"one key", {1000}, {1000}},
        {"none", {}, {}},
    };
    for (auto& c : cases) {
        CMap<DWORD, DWORD, int, int> map;
        for (DWORD k : c.inserted)
            map.SetAt(k, (int)k * 2);
        EXPECT_EQ(c.walk, MapWalk(map)) << c.name;
        EXPECT_EQ((INT_PTR)c.inserted.size(), map.GetCount()) << c.name;
        EXPECT_EQ(17u, map.GetHashTableSize());
        for (DWORD k : c.inserted) {
            int v = 0;
            EXPECT_TRUE(map.Lookup(k, v));
            EXPECT_EQ((int)k * 2, v);
        }
    }
}

TEST(CMap, ReplaceRemoveAndTableSize)
{
    CMap<DWORD, DWORD, int, int> map;
    for (DWORD k = 0; k < 4; ++k)
        map[k] = 1;
    map.SetAt(2, 5); // replaces in place: the walk order stays
    EXPECT_EQ((std::vector<DWORD>{3, 2, 1, 0}), MapWalk(map));
    EXPECT_EQ(4, map.GetCount());
    EXPECT_TRUE(map.RemoveKey(2));
    EXPECT_FALSE(map.RemoveKey(2));
    EXPECT_EQ((std::vector<DWORD>{3, 1, 0}), MapWalk(map));
    int v = 0;
    EXPECT_FALSE(map.Lookup(2, v));
    map.SetAt(2, 6); // back at the head of its bucket
    EXPECT_EQ((std::vector<DWORD>{2, 3, 1, 0}), MapWalk(map));

    CMap<DWORD, DWORD, int, int> small;
    small.InitHashTable(3);
    for (DWORD k : {0u, 16u, 32u, 48u})
        small[k] = 0;
    // Buckets: 0 -> {48, 0}, 1 -> {16}, 2 -> {32}.
    EXPECT_EQ((std::vector<DWORD>{48, 0, 16, 32}), MapWalk(small));
}

TEST(CMap, PointerAndWordKeys)
{
    CMapPtrToPtr ptrs;
    int objects[3];
    for (int& o : objects)
        ptrs.SetAt(&o, &o);
    void* found = NULL;
    EXPECT_TRUE(ptrs.Lookup(&objects[1], found));
    EXPECT_EQ(&objects[1], found);
    EXPECT_EQ(3, ptrs.GetCount());

    CMapWordToPtr words;
    words.SetAt(2, &objects[0]);
    words.SetAt(65535, &objects[1]);
    EXPECT_TRUE(words.Lookup(65535, found));
    EXPECT_EQ(&objects[1], found);
    EXPECT_FALSE(words.Lookup(3, found));
}

TEST(CMapStringToString, KeysAreCaseSensitiveAndSetReplaces)
{
    CMapStringToString map(10);
    map.SetAt("language", "english");
    map.SetAt("Language", "french");
    map.SetAt("language", "dutch");
    map["metric"] = "1";
    EXPECT_EQ(3, map.GetCount());
    struct
    {
        const char* key;
        BOOL found;
        const char* value;
    } cases[] = {
        {"language", TRUE, "dutch"},
        {"Language", TRUE, "french"},
        {"LANGUAGE", FALSE, ""},
        {"metric", TRUE, "1"},
        {"", FALSE, ""},
    };
    for (auto& c : cases) {
        CString value;
        EXPECT_EQ(c.found, map.Lookup(c.key, value)) << c.key;
        EXPECT_STREQ(c.value, value) << c.key;
    }
    // A walk visits each key once, in the same order each time.
    std::vector<CString> first, second;
    for (auto* out : {&first, &second}) {
        POSITION p = map.GetStartPosition();
        while (p) {
            CString k, v;
            map.GetNextAssoc(p, k, v);
            out->push_back(k);
        }
    }
    EXPECT_EQ(3u, first.size());
    EXPECT_EQ(first, second);
    EXPECT_TRUE(map.RemoveKey("Language"));
    EXPECT_FALSE(map.RemoveKey("Language"));
    EXPECT_EQ(2, map.GetCount());
}

struct Shape
{
    int id;
};

TEST(CTypedPtrCollections, KeepTheirElementType)
{
    Shape a{1}, b{2};
    CTypedPtrArray<CPtrArray, Shape*> array;
    array.Add(&a);
    array.Add(&b);
    EXPECT_EQ(2, array[1]->id);
    EXPECT_EQ(1, array.GetAt(0)->id);

    CTypedPtrList<CPtrList, Shape*> list;
    list.AddTail(&a);
    list.AddHead(&b);
    POSITION p = list.GetHeadPosition();
    EXPECT_EQ(2, list.GetNext(p)->id);
    EXPECT_EQ(1, list.GetNext(p)->id);
    EXPECT_EQ(nullptr, p);
    EXPECT_NE(nullptr, list.Find(&a));

    CTypedPtrMap<CMapWordToPtr, WORD, Shape*> map;
    map.SetAt(7, &b);
    Shape* found = NULL;
    EXPECT_TRUE(map.Lookup(7, found));
    EXPECT_EQ(&b, found);
    p = map.GetStartPosition();
    WORD key = 0;
    map.GetNextAssoc(p, key, found);
    EXPECT_EQ(7, key);
    EXPECT_EQ(nullptr, p);
}

} // namespace
