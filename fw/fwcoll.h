// Collections: CArray, CList, CMap, their named forms and the typed pointer wrappers.
// Containers of pointers do not delete what they point to; their owners do.
#pragma once
#include "fw/fwobject.h"
#include "fw/fwstring.h"
#include "fw/fwexcept.h"
#include <string.h>
#include <new>
#include <type_traits>
#include <utility>

namespace fwcoll {

// Moves count elements from src to uninitialised dst (they may overlap); src is left
// unconstructed. Plain records are moved as bytes, others by move construction.
template <class T> void Relocate(T* dst, T* src, int count)
{
    if (count <= 0 || dst == src)
        return;
    if constexpr (std::is_trivially_copyable<T>::value) {
        memmove((void*)dst, (const void*)src, (size_t)count * sizeof(T));
    } else if (dst < src) {
        for (int i = 0; i < count; ++i) {
            ::new ((void*)(dst + i)) T(std::move(src[i]));
            src[i].~T();
        }
    } else {
        for (int i = count - 1; i >= 0; --i) {
            ::new ((void*)(dst + i)) T(std::move(src[i]));
            src[i].~T();
        }
    }
}

// New elements: the storage is zero-filled first, then default-initialised, so plain
// records come out all zero.
template <class T> void ConstructZeroed(T* p, int count)
{
    if (count <= 0)
        return;
    memset((void*)p, 0, (size_t)count * sizeof(T));
    for (int i = 0; i < count; ++i)
        ::new ((void*)(p + i)) T;
}

template <class T> void Destroy(T* p, int count)
{
    for (int i = 0; i < count; ++i)
        p[i].~T();
}

// Integer and pointer keys hash as key >> 4.
// Other key types may specialise HashKey.
template <class K> inline UINT HashKey(const K& key) { return (UINT)((DWORD_PTR)key >> 4); }
UINT HashString(LPCSTR key);
template <> inline UINT HashKey<CString>(const CString& key) { return HashString(key); }
template <> inline UINT HashKey<LPCSTR>(const LPCSTR& key) { return HashString(key); }

template <class A, class B> inline bool KeysEqual(const A& a, const B& b) { return a == b; }

} // namespace fwcoll

// ---------------------------------------------------------------------------------------
// A growable array. SetSize(n) keeps the first elements; growing zero-fills the new
// storage before constructing the new elements.
template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject
{
public:
    CArray() = default;
    ~CArray() override { RemoveAll(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // growBy -1 keeps the current step; 0 or more sets it (0 = automatic).
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1)
    {
        if (growBy >= 0)
            m_nGrowBy = (int)growBy;
        if (newSize < 0)
            newSize = 0;
        int n = (int)newSize;
        if (n == 0) {
            RemoveAll();
            return;
        }
        if (n <= m_nSize) {
            fwcoll::Destroy(m_pData + n, m_nSize - n);
            m_nSize = n;
            return;
        }
        if (n > m_nMaxSize) {
            int grow = m_nGrowBy;
            if (grow == 0) {
                grow = m_nSize / 8;
                grow = grow < 4 ? 4 : (grow > 1024 ? 1024 : grow);
            }
            int capacity = n < m_nMaxSize + grow ? m_nMaxSize + grow : n;
            if (m_pData == NULL)
                capacity = n; // first allocation is exact, like the framework's
            Reallocate(capacity);
        }
        fwcoll::ConstructZeroed(m_pData + m_nSize, n - m_nSize);
        m_nSize = n;
    }
    void FreeExtra()
    {
        if (m_nSize != m_nMaxSize) {
            if (m_nSize == 0) {
                ::operator delete(m_pData);
                m_pData = NULL;
                m_nMaxSize = 0;
            } else {
                Reallocate(m_nSize);
            }
        }
    }
    void RemoveAll()
    {
        fwcoll::Destroy(m_pData, m_nSize);
        ::operator delete(m_pData);
        m_pData = NULL;
        m_nSize = m_nMaxSize = 0;
    }

    const TYPE& GetAt(INT_PTR i) const { return m_pData[i]; }
    TYPE& GetAt(INT_PTR i) { return m_pData[i]; }
    void SetAt(INT_PTR i, ARG_TYPE e) { m_pData[i] = e; }
    TYPE& ElementAt(INT_PTR i) { return m_pData[i]; }
    const TYPE& ElementAt(INT_PTR i) const { return m_pData[i]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }
    const TYPE& operator[](INT_PTR i) const { return m_pData[i]; }
    TYPE& operator[](INT_PTR i) { return m_pData[i]; }

    void SetAtGrow(INT_PTR i, ARG_TYPE e)
    {
        if (i >= m_nSize) {
            TYPE copy(e); // e may live in this array
            SetSize(i + 1);
            m_pData[i] = std::move(copy);
        } else {
            m_pData[i] = e;
        }
    }
    INT_PTR Add(ARG_TYPE e)
    {
        int i = m_nSize;
        SetAtGrow(i, e);
        return i;
    }
    INT_PTR Append(const CArray& src)
    {
        int old = m_nSize;
        int n = src.m_nSize;
        if (&src == this) {
            SetSize(old + n);
            for (int i = 0; i < n; ++i)
                m_pData[old + i] = m_pData[i];
        } else {
            SetSize(old + n);
            for (int i = 0; i < n; ++i)
                m_pData[old + i] = src.m_pData[i];
        }
        return old;
    }
    void Copy(const CArray& src)
    {
        if (&src == this)
            return;
        SetSize(src.m_nSize);
        for (int i = 0; i < m_nSize; ++i)
            m_pData[i] = src.m_pData[i];
    }
    // Inserts count copies of e at index (past the end grows the array).
    void InsertAt(INT_PTR index, ARG_TYPE e, INT_PTR count = 1)
    {
        if (count <= 0 || index < 0)
            return;
        TYPE copy(e);
        int at = (int)index, n = (int)count;
        if (at >= m_nSize) {
            SetSize(at + n);
        } else {
            int old = m_nSize;
            SetSize(old + n);
            fwcoll::Destroy(m_pData + old, n);
            fwcoll::Relocate(m_pData + at + n, m_pData + at, old - at);
            fwcoll::ConstructZeroed(m_pData + at, n);
        }
        for (int i = 0; i < n; ++i)
            m_pData[at + i] = copy;
    }
    void InsertAt(INT_PTR start, const CArray* src)
    {
        if (src == NULL || src->m_nSize == 0)
            return;
        CArray copy;
        copy.Copy(*src);
        InsertAt(start, copy.m_pData[0], copy.m_nSize);
        for (int i = 1; i < copy.m_nSize; ++i)
            m_pData[start + i] = copy.m_pData[i];
    }
    void RemoveAt(INT_PTR index, INT_PTR count = 1)
    {
        int at = (int)index, n = (int)count;
        if (at < 0 || n <= 0 || at >= m_nSize)
            return;
        if (at + n > m_nSize)
            n = m_nSize - at;
        fwcoll::Destroy(m_pData + at, n);
        fwcoll::Relocate(m_pData + at, m_pData + at + n, m_nSize - at - n);
        m_nSize -= n;
    }

protected:
    void Reallocate(int capacity)
    {
        TYPE* fresh = static_cast<TYPE*>(::operator new((size_t)capacity * sizeof(TYPE)));
        fwcoll::Relocate(fresh, m_pData, m_nSize);
        ::operator delete(m_pData);
        m_pData = fresh;
        m_nMaxSize = capacity;
    }

    TYPE* m_pData = NULL;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};

// ---------------------------------------------------------------------------------------
// A doubly linked list. A POSITION names one node and stays valid until that node is removed.
template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject
{
    struct Node
    {
        Node* next;
        Node* prev;
        TYPE data;
        explicit Node(ARG_TYPE e) : next(NULL), prev(NULL), data(e) {}
    };
    static Node* N(POSITION p) { return reinterpret_cast<Node*>(p); }
    static POSITION P(Node* n) { return reinterpret_cast<POSITION>(n); }

public:
    explicit CList(INT_PTR blockSize = 10) { (void)blockSize; }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pHead->data; }
    const TYPE& GetHead() const { return m_pHead->data; }
    TYPE& GetTail() { return m_pTail->data; }
    const TYPE& GetTail() const { return m_pTail->data; }

    TYPE RemoveHead()
    {
        Node* n = m_pHead;
        TYPE value(std::move(n->data));
        Unlink(n);
        return value;
    }
    TYPE RemoveTail()
    {
        Node* n = m_pTail;
        TYPE value(std::move(n->data));
        Unlink(n);
        return value;
    }

    POSITION AddHead(ARG_TYPE e) { return InsertBefore(P(m_pHead), e); }
    POSITION AddTail(ARG_TYPE e) { return InsertAfter(P(m_pTail), e); }
    void AddHead(const CList* other)
    {
        CList copy;
        copy.AddTail(other);
        for (Node* n = copy.m_pTail; n; n = n->prev)
            AddHead(n->data);
    }
    void AddTail(const CList* other)
    {
        if (other == this) {
            CList copy;
            copy.AddTail(other);
            AddTail(&copy);
            return;
        }
        for (Node* n = other->m_pHead; n; n = n->next)
            AddTail(n->data);
    }
    void RemoveAll()
    {
        Node* n = m_pHead;
        while (n) {
            Node* next = n->next;
            delete n;
            n = next;
        }
        m_pHead = m_pTail = NULL;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return P(m_pHead); }
    POSITION GetTailPosition() const { return P(m_pTail); }
    // Returns the element at pos and moves pos to the next one (NULL after the tail).
    TYPE& GetNext(POSITION& pos)
    {
        Node* n = N(pos);
        pos = P(n->next);
        return n->data;
    }
    const TYPE& GetNext(POSITION& pos) const
    {
        Node* n = N(pos);
        pos = P(n->next);
        return n->data;
    }
    TYPE& GetPrev(POSITION& pos)
    {
        Node* n = N(pos);
        pos = P(n->prev);
        return n->data;
    }
    const TYPE& GetPrev(POSITION& pos) const
    {
        Node* n = N(pos);
        pos = P(n->prev);
        return n->data;
    }
    TYPE& GetAt(POSITION pos) { return N(pos)->data; }
    const TYPE& GetAt(POSITION pos) const { return N(pos)->data; }
    void SetAt(POSITION pos, ARG_TYPE e) { N(pos)->data = e; }
    void RemoveAt(POSITION pos) { Unlink(N(pos)); }

    // With pos NULL, inserts at the head (before) or tail (after).
    POSITION InsertBefore(POSITION pos, ARG_TYPE e)
    {
        Node* n = new Node(e);
        Node* at = N(pos);
        if (at == NULL)
            at = m_pHead;
        n->next = at;
        n->prev = at ? at->prev : NULL;
        if (n->prev)
            n->prev->next = n;
        else
            m_pHead = n;
        if (at)
            at->prev = n;
        else
            m_pTail = n;
        ++m_nCount;
        return P(n);
    }
    POSITION InsertAfter(POSITION pos, ARG_TYPE e)
    {
        Node* n = new Node(e);
        Node* at = N(pos);
        if (at == NULL)
            at = m_pTail;
        n->prev = at;
        n->next = at ? at->next : NULL;
        if (n->next)
            n->next->prev = n;
        else
            m_pTail = n;
        if (at)
            at->next = n;
        else
            m_pHead = n;
        ++m_nCount;
        return P(n);
    }

    // First position holding a value equal to e, searching after startAfter (or from the head).
    POSITION Find(ARG_TYPE e, POSITION startAfter = NULL) const
    {
        Node* n = startAfter ? N(startAfter)->next : m_pHead;
        for (; n; n = n->next)
            if (fwcoll::KeysEqual(n->data, e))
                return P(n);
        return NULL;
    }
    POSITION FindIndex(INT_PTR index) const
    {
        if (index < 0 || index >= m_nCount)
            return NULL;
        Node* n = m_pHead;
        while (index-- > 0)
            n = n->next;
        return P(n);
    }

private:
    void Unlink(Node* n)
    {
        if (n->prev)
            n->prev->next = n->next;
        else
            m_pHead = n->next;
        if (n->next)
            n->next->prev = n->prev;
        else
            m_pTail = n->prev;
        delete n;
        --m_nCount;
    }

    Node* m_pHead = NULL;
    Node* m_pTail = NULL;
    int m_nCount = 0;
};

// ---------------------------------------------------------------------------------------
// A hash map. Integer and pointer keys go to bucket (key >> 4) % table size (17 unless
// InitHashTable says otherwise); a new key goes to the head of its bucket; a walk visits
// bucket 0 to the last, each from its head. Setting an existing key replaces its value.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject
{
public:
    typedef KEY KeyType;
    typedef VALUE ValueType;
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };

    explicit CMap(INT_PTR blockSize = 10) { (void)blockSize; }
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    // Sets the bucket count; only takes effect while the map is empty.
    void InitHashTable(UINT size, BOOL allocNow = TRUE)
    {
        if (m_nCount != 0 || size == 0)
            return;
        delete[] m_pHashTable;
        m_pHashTable = NULL;
        m_nHashTableSize = size;
        if (allocNow)
            AllocTable();
    }

    BOOL Lookup(ARG_KEY key, VALUE& value) const
    {
        UINT hash;
        CAssoc* a = Find(key, hash);
        if (a == NULL)
            return FALSE;
        value = a->value;
        return TRUE;
    }
    const CAssoc* PLookup(ARG_KEY key) const
    {
        UINT h;
        return Find(key, h);
    }
    CAssoc* PLookup(ARG_KEY key)
    {
        UINT h;
        return Find(key, h);
    }

    VALUE& operator[](ARG_KEY key)
    {
        UINT hash;
        CAssoc* a = Find(key, hash);
        if (a == NULL) {
            if (m_pHashTable == NULL)
                AllocTable();
            a = new CAssoc{NULL, hash, KEY(key), VALUE()};
            a->pNext = m_pHashTable[hash];
            m_pHashTable[hash] = a;
            ++m_nCount;
        }
        return a->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_pHashTable == NULL)
            return FALSE;
        UINT hash = HashOf(key);
        CAssoc** link = &m_pHashTable[hash];
        for (CAssoc* a = *link; a; link = &a->pNext, a = a->pNext) {
            if (fwcoll::KeysEqual(a->key, key)) {
                *link = a->pNext;
                delete a;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        if (m_pHashTable) {
            for (UINT b = 0; b < m_nHashTableSize; ++b) {
                CAssoc* a = m_pHashTable[b];
                while (a) {
                    CAssoc* next = a->pNext;
                    delete a;
                    a = next;
                }
            }
            delete[] m_pHashTable;
            m_pHashTable = NULL;
        }
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const
    {
        CAssoc* a = reinterpret_cast<CAssoc*>(pos);
        if (pos == BEFORE_START_POSITION)
            a = NextFrom(0);
        key = a->key;
        value = a->value;
        CAssoc* next = a->pNext ? a->pNext : NextFrom(a->nHashValue + 1);
        pos = reinterpret_cast<POSITION>(next);
    }

protected:
    CAssoc* Find(ARG_KEY key, UINT& hash) const
    {
        hash = HashOf(key);
        if (m_pHashTable == NULL)
            return NULL;
        for (CAssoc* a = m_pHashTable[hash]; a; a = a->pNext)
            if (fwcoll::KeysEqual(a->key, key))
                return a;
        return NULL;
    }
    UINT HashOf(ARG_KEY key) const
    {
        typedef typename std::decay<ARG_KEY>::type K;
        return fwcoll::HashKey<K>(key) % m_nHashTableSize;
    }
    CAssoc* NextFrom(UINT bucket) const
    {
        for (UINT b = bucket; b < m_nHashTableSize; ++b)
            if (m_pHashTable[b])
                return m_pHashTable[b];
        return NULL;
    }
    void AllocTable()
    {
        m_pHashTable = new CAssoc*[m_nHashTableSize];
        for (UINT b = 0; b < m_nHashTableSize; ++b)
            m_pHashTable[b] = NULL;
    }

    CAssoc** m_pHashTable = NULL;
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
};

// ---------------------------------------------------------------------------------------
// Named collections.
#define FW_ARRAY_CLASS(name, type, argType)   \
    class name : public CArray<type, argType> \
    {                                         \
        DECLARE_DYNAMIC(name)                 \
    };
#define FW_LIST_CLASS(name, type, argType)                                         \
    class name : public CList<type, argType>                                       \
    {                                                                              \
        DECLARE_DYNAMIC(name)                                                      \
    public:                                                                        \
        explicit name(INT_PTR blockSize = 10) : CList<type, argType>(blockSize) {} \
    };
#define FW_MAP_CLASS(name, key, argKey, value, argValue)                                         \
    class name : public CMap<key, argKey, value, argValue>                                       \
    {                                                                                            \
        DECLARE_DYNAMIC(name)                                                                    \
    public:                                                                                      \
        explicit name(INT_PTR blockSize = 10) : CMap<key, argKey, value, argValue>(blockSize) {} \
    };

FW_ARRAY_CLASS(CStringArray, CString, const CString&)
FW_ARRAY_CLASS(CPtrArray, void*, void*)
FW_ARRAY_CLASS(CObArray, CObject*, CObject*)
FW_ARRAY_CLASS(CByteArray, BYTE, BYTE)
FW_ARRAY_CLASS(CWordArray, WORD, WORD)
FW_ARRAY_CLASS(CUIntArray, UINT, UINT)
FW_ARRAY_CLASS(CDWordArray, DWORD, DWORD)

FW_LIST_CLASS(CStringList, CString, const CString&)
FW_LIST_CLASS(CPtrList, void*, void*)
FW_LIST_CLASS(CObList, CObject*, CObject*)

// String keys compare case-sensitively; string maps walk in a stable but unspecified order.
FW_MAP_CLASS(CMapStringToString, CString, LPCSTR, CString, LPCSTR)
FW_MAP_CLASS(CMapStringToPtr, CString, LPCSTR, void*, void*)
FW_MAP_CLASS(CMapStringToOb, CString, LPCSTR, CObject*, CObject*)
FW_MAP_CLASS(CMapPtrToPtr, void*, void*, void*, void*)
FW_MAP_CLASS(CMapPtrToWord, void*, void*, WORD, WORD)
FW_MAP_CLASS(CMapWordToPtr, WORD, WORD, void*, void*)
FW_MAP_CLASS(CMapWordToOb, WORD, WORD, CObject*, CObject*)

#undef FW_ARRAY_CLASS
#undef FW_LIST_CLASS
#undef FW_MAP_CLASS

// ---------------------------------------------------------------------------------------
// Typed views of the pointer collections: CTypedPtrArray<CObArray, CShape*> and so on.
template <class BASE_CLASS, class TYPE> class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(INT_PTR i) const { return (TYPE)BASE_CLASS::GetAt(i); }
    TYPE& ElementAt(INT_PTR i) { return (TYPE&)BASE_CLASS::ElementAt(i); }
    void SetAt(INT_PTR i, TYPE p) { BASE_CLASS::SetAt(i, p); }
    void SetAtGrow(INT_PTR i, TYPE p) { BASE_CLASS::SetAtGrow(i, p); }
    INT_PTR Add(TYPE p) { return BASE_CLASS::Add(p); }
    INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(INT_PTR i, TYPE p, INT_PTR count = 1) { BASE_CLASS::InsertAt(i, p, count); }
    TYPE operator[](INT_PTR i) const { return (TYPE)BASE_CLASS::operator[](i); }
    TYPE& operator[](INT_PTR i) { return (TYPE&)BASE_CLASS::operator[](i); }
};

template <class BASE_CLASS, class TYPE> class CTypedPtrList : public BASE_CLASS
{
public:
    explicit CTypedPtrList(INT_PTR blockSize = 10) : BASE_CLASS(blockSize) {}
    TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
    TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
    TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
    POSITION AddHead(TYPE p) { return BASE_CLASS::AddHead(p); }
    POSITION AddTail(TYPE p) { return BASE_CLASS::AddTail(p); }
    void AddHead(CTypedPtrList* other) { BASE_CLASS::AddHead(other); }
    void AddTail(CTypedPtrList* other) { BASE_CLASS::AddTail(other); }
    TYPE& GetNext(POSITION& pos) { return (TYPE&)BASE_CLASS::GetNext(pos); }
    TYPE GetNext(POSITION& pos) const { return (TYPE)BASE_CLASS::GetNext(pos); }
    TYPE& GetPrev(POSITION& pos) { return (TYPE&)BASE_CLASS::GetPrev(pos); }
    TYPE GetPrev(POSITION& pos) const { return (TYPE)BASE_CLASS::GetPrev(pos); }
    TYPE& GetAt(POSITION pos) { return (TYPE&)BASE_CLASS::GetAt(pos); }
    TYPE GetAt(POSITION pos) const { return (TYPE)BASE_CLASS::GetAt(pos); }
    void SetAt(POSITION pos, TYPE p) { BASE_CLASS::SetAt(pos, p); }
    POSITION InsertBefore(POSITION pos, TYPE p) { return BASE_CLASS::InsertBefore(pos, p); }
    POSITION InsertAfter(POSITION pos, TYPE p) { return BASE_CLASS::InsertAfter(pos, p); }
    POSITION Find(TYPE p, POSITION startAfter = NULL) const { return BASE_CLASS::Find(p, startAfter); }
};

template <class BASE_CLASS, class KEY, class VALUE> class CTypedPtrMap : public BASE_CLASS
{
public:
    explicit CTypedPtrMap(INT_PTR blockSize = 10) : BASE_CLASS(blockSize) {}
    BOOL Lookup(KEY key, VALUE& value) const
    {
        auto* a = BASE_CLASS::PLookup(key);
        if (a == NULL)
            return FALSE;
        value = (VALUE)a->value;
        return TRUE;
    }
    VALUE& operator[](KEY key) { return (VALUE&)BASE_CLASS::operator[](key); }
    void SetAt(KEY key, VALUE value) { BASE_CLASS::SetAt(key, value); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const
    {
        typename BASE_CLASS::KeyType k;
        typename BASE_CLASS::ValueType v;
        BASE_CLASS::GetNextAssoc(pos, k, v);
        key = (KEY)k;
        value = (VALUE)v;
    }
};
