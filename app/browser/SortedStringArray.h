// An array of texts that sorts itself with a compare function (the file browser sorts folder
// names with it).
//
// The rule it keeps: only an exact -1 from the compare function moves an element ahead of
// another, so equal texts keep no particular order; recursion goes into the smaller part
// only, so a long run of equal texts cannot exhaust the stack.
#pragma once

#include "fw/fw.h"

// Compares two texts: -1, 0 or 1.
typedef int (*StringCompareFunction)(const CString* a, const CString* b);

// Without regard to case, as the folder tree orders names.
int CompareTextNoCase(const CString* a, const CString* b);

class CSortedStringArray : public CStringArray
{
public:
    CSortedStringArray() = default;

    void SetCompareFunction(StringCompareFunction compare) { m_pCompare = compare; }
    // Sorts the elements first..last in place; last -1 means the last element.  Nothing
    // happens without a compare function, for an empty array or when last is not above first.
    void Sort(INT_PTR first = 0, INT_PTR last = -1);

private:
    void SortRange(INT_PTR first, INT_PTR last);
    bool Less(INT_PTR a, INT_PTR b) const;
    void Swap(INT_PTR a, INT_PTR b);

    StringCompareFunction m_pCompare = nullptr;
};
