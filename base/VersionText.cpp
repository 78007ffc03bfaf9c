#include "base/VersionText.h"

#include <cctype>

namespace {

// Reads the next dot-separated part at *p as a whole number and moves past it and its dot.
// Returns false when no part is left.
bool NextPart(const char*& p, unsigned long* value)
{
    *value = 0;
    if (!p || !*p || !(std::isdigit((unsigned char)*p) || *p == '.'))
        return false;
    while (std::isdigit((unsigned char)*p)) {
        if (*value < 100000000ul)
            *value = *value * 10 + (unsigned long)(*p - '0');
        ++p;
    }
    if (*p == '.')
        ++p;
    return true;
}

} // namespace

int CompareVersionText(const char* a, const char* b)
{
    const char* pa = a;
    const char* pb = b;
    if (pa)
        while (*pa == ' ' || *pa == '\t')
            ++pa;
    if (pb)
        while (*pb == ' ' || *pb == '\t')
            ++pb;
    for (;;) {
        unsigned long va, vb;
        const bool ha = NextPart(pa, &va);
        const bool hb = NextPart(pb, &vb);
        if (!ha && !hb)
            return 0;
        if (va != vb)
            return va < vb ? -1 : 1;
    }
}

bool IsVersionAtLeast(const char* text, const char* minimum) { return CompareVersionText(text, minimum) >= 0; }
