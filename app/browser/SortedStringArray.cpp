#include "app/browser/SortedStringArray.h"

int CompareTextNoCase(const CString* a, const CString* b)
{
    const int order = a->CompareNoCase(*b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool CSortedStringArray::Less(INT_PTR a, INT_PTR b) const { return m_pCompare(&GetData()[a], &GetData()[b]) == -1; }

void CSortedStringArray::Swap(INT_PTR a, INT_PTR b)
{
    if (a == b)
        return;
    CString kept = GetAt(a);
    SetAt(a, GetAt(b));
    SetAt(b, kept);
}

void CSortedStringArray::Sort(INT_PTR first, INT_PTR last)
{
    if (m_pCompare == nullptr || GetSize() == 0)
        return;
    if (last == -1)
        last = GetSize() - 1;
    if (first < 0 || last >= GetSize())
        return;
    SortRange(first, last);
}

void CSortedStringArray::SortRange(INT_PTR first, INT_PTR last)
{
    while (last > first) {
        if (last - first == 1) {
            if (Less(last, first))
                Swap(first, last);
            return;
        }
        // The middle element is the pivot, kept at the front while the block grows behind it.
        Swap(first, first + (last - first) / 2);
        INT_PTR block = first;
        for (INT_PTR i = first + 1; i <= last; ++i)
            if (Less(i, first))
                Swap(++block, i);
        Swap(first, block);
        // The smaller part by recursion, the larger by the loop.
        if (block - first < last - block) {
            SortRange(first, block - 1);
            first = block + 1;
        } else {
            SortRange(block + 1, last);
            last = block - 1;
        }
    }
}
