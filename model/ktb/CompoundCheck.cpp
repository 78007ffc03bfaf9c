#include "model/ktb/CompoundCheck.h"

#include <string.h>
#include <vector>

namespace {

const DWORD kFreeSect = 0xFFFFFFFFu;
const DWORD kEndOfChain = 0xFFFFFFFEu;
const DWORD kNoStream = 0xFFFFFFFFu;
const DWORD kMaxDirectoryEntries = 65536;
const int kMaxTreeDepth = 512;

const BYTE kSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

WORD U16(const BYTE* p) { return (WORD)(p[0] | (p[1] << 8)); }
DWORD U32(const BYTE* p) { return (DWORD)p[0] | ((DWORD)p[1] << 8) | ((DWORD)p[2] << 16) | ((DWORD)p[3] << 24); }

class Checker
{
public:
    Checker(const BYTE* data, size_t size) : m_data(data), m_size(size), m_why("") {}

    bool Run();
    const char* Why() const { return m_why; }

private:
    bool Fail(const char* why)
    {
        m_why = why;
        return false;
    }
    const BYTE* Sector(DWORD index) const { return m_data + ((size_t)index + 1) * m_sectorSize; }
    DWORD SectorBytes(DWORD index) const
    {
        size_t start = ((size_t)index + 1) * m_sectorSize;
        size_t left = m_size - start;
        return (DWORD)(left < m_sectorSize ? left : m_sectorSize);
    }
    // Follows a chain through `table`, marking each link in `owned`; a link outside the
    // table or already owned (a loop, or a sector two chains share) refuses the file.
    bool Walk(DWORD start, const std::vector<DWORD>& table, DWORD limit, std::vector<bool>& owned,
              std::vector<DWORD>& chain, const char* what);
    // Writers of version 3 files did not always clear the upper half of a stream size,
    // and readers ignore it there; in version 4 it counts (and no stream here is that big).
    bool HighSizeMatters() const { return m_major != 3; }
    bool ReadHeader();
    bool ReadFat();
    bool ReadDirectory();
    bool CheckTree();
    bool CheckStreams();

    const BYTE* m_data;
    size_t m_size;
    const char* m_why;

    DWORD m_sectorSize = 0;
    DWORD m_sectorCount = 0;
    DWORD m_fatSectors = 0;
    DWORD m_firstDirectory = 0;
    DWORD m_firstMiniFat = 0;
    DWORD m_miniFatSectors = 0;
    DWORD m_firstDifat = 0;
    DWORD m_difatSectors = 0;
    WORD m_major = 0;

    std::vector<DWORD> m_fat;
    std::vector<bool> m_ownedSectors;
    std::vector<BYTE> m_directory;
    DWORD m_entries = 0;
    std::vector<bool> m_reached;
};

bool Checker::Walk(DWORD start, const std::vector<DWORD>& table, DWORD limit, std::vector<bool>& owned,
                   std::vector<DWORD>& chain, const char* what)
{
    chain.clear();
    DWORD at = start;
    while (at != kEndOfChain) {
        if (at >= limit || at >= table.size())
            return Fail(what);
        if (owned[at])
            return Fail("a sector chain loops or is shared");
        owned[at] = true;
        chain.push_back(at);
        at = table[at];
    }
    return true;
}

bool Checker::ReadHeader()
{
    if (m_size < 512 || memcmp(m_data, kSignature, sizeof kSignature) != 0)
        return Fail("no compound-file signature");
    if (m_size > kMaxCompoundFileBytes)
        return Fail("file too large");
    m_major = U16(m_data + 0x1A);
    const WORD shift = U16(m_data + 0x1E);
    if (U16(m_data + 0x1C) != 0xFFFE)
        return Fail("byte order mark");
    if (!((m_major == 3 && shift == 9) || (m_major == 4 && shift == 12)))
        return Fail("version and sector size");
    if (U16(m_data + 0x20) != 6 || U32(m_data + 0x38) != 4096)
        return Fail("mini sector size or cut-off");
    m_sectorSize = 1u << shift;
    if (m_size < m_sectorSize)
        return Fail("shorter than its header");
    m_sectorCount = (DWORD)((m_size - m_sectorSize + m_sectorSize - 1) / m_sectorSize);
    m_fatSectors = U32(m_data + 0x2C);
    m_firstDirectory = U32(m_data + 0x30);
    m_firstMiniFat = U32(m_data + 0x3C);
    m_miniFatSectors = U32(m_data + 0x40);
    m_firstDifat = U32(m_data + 0x44);
    m_difatSectors = U32(m_data + 0x48);
    if (m_fatSectors == 0 || m_fatSectors > m_sectorCount || m_difatSectors > m_sectorCount ||
        m_miniFatSectors > m_sectorCount)
        return Fail("sector counts");
    return true;
}

bool Checker::ReadFat()
{
    // The FAT's own sectors: the first 109 listed in the header, the rest in the DIFAT
    // chain, whose sectors each end with the next one's number.
    std::vector<DWORD> fatSectors;
    for (DWORD i = 0; i < 109 && fatSectors.size() < m_fatSectors; ++i)
        fatSectors.push_back(U32(m_data + 0x4C + 4 * i));
    std::vector<bool> seen(m_sectorCount, false);
    DWORD difat = m_firstDifat;
    const DWORD perSector = m_sectorSize / 4;
    for (DWORD n = 0; n < m_difatSectors && fatSectors.size() < m_fatSectors; ++n) {
        if (difat >= m_sectorCount || seen[difat] || SectorBytes(difat) < m_sectorSize)
            return Fail("DIFAT chain");
        seen[difat] = true;
        const BYTE* p = Sector(difat);
        for (DWORD i = 0; i + 1 < perSector && fatSectors.size() < m_fatSectors; ++i)
            fatSectors.push_back(U32(p + 4 * i));
        difat = U32(p + 4 * (perSector - 1));
    }
    if (fatSectors.size() != m_fatSectors)
        return Fail("fewer FAT sectors listed than counted");
    m_fat.reserve((size_t)m_fatSectors * perSector);
    for (DWORD s : fatSectors) {
        if (s >= m_sectorCount || seen[s] || SectorBytes(s) < m_sectorSize)
            return Fail("FAT sector number");
        seen[s] = true;
        const BYTE* p = Sector(s);
        for (DWORD i = 0; i < perSector; ++i)
            m_fat.push_back(U32(p + 4 * i));
    }
    m_ownedSectors.assign(m_sectorCount, false);
    return true;
}

bool Checker::ReadDirectory()
{
    std::vector<DWORD> chain;
    if (m_firstDirectory == kEndOfChain)
        return Fail("no directory");
    if (!Walk(m_firstDirectory, m_fat, m_sectorCount, m_ownedSectors, chain, "directory chain"))
        return false;
    if ((size_t)chain.size() * (m_sectorSize / 128) > kMaxDirectoryEntries)
        return Fail("too many directory entries");
    for (DWORD s : chain) {
        if (SectorBytes(s) < m_sectorSize)
            return Fail("directory sector beyond the end");
        m_directory.insert(m_directory.end(), Sector(s), Sector(s) + m_sectorSize);
    }
    m_entries = (DWORD)(m_directory.size() / 128);
    if (m_entries == 0 || m_directory[0x42] != 5)
        return Fail("no root entry");
    return true;
}

bool Checker::CheckTree()
{
    // Every entry reached from the root once, through left, right and child links only.
    m_reached.assign(m_entries, false);
    m_reached[0] = true;
    struct Item
    {
        DWORD id;
        int depth;
    };
    std::vector<Item> stack;
    stack.push_back(Item{U32(&m_directory[0x4C]), 1});
    while (!stack.empty()) {
        Item item = stack.back();
        stack.pop_back();
        if (item.id == kNoStream)
            continue;
        if (item.id >= m_entries)
            return Fail("directory link out of range");
        if (m_reached[item.id])
            return Fail("directory tree has a cycle");
        if (item.depth > kMaxTreeDepth)
            return Fail("directory tree too deep");
        m_reached[item.id] = true;
        const BYTE* e = &m_directory[(size_t)item.id * 128];
        const BYTE type = e[0x42];
        if (type != 1 && type != 2)
            return Fail("directory entry type");
        const WORD nameBytes = U16(e + 0x40);
        if (nameBytes < 4 || nameBytes > 64 || (nameBytes & 1) != 0 || U16(e + nameBytes - 2) != 0)
            return Fail("directory entry name");
        stack.push_back(Item{U32(e + 0x44), item.depth + 1});
        stack.push_back(Item{U32(e + 0x48), item.depth + 1});
        if (type == 1)
            stack.push_back(Item{U32(e + 0x4C), item.depth + 1});
        else if (U32(e + 0x4C) != kNoStream)
            return Fail("stream with children");
    }
    return true;
}

bool Checker::CheckStreams()
{
    std::vector<DWORD> chain;
    // The mini stream lives in the root entry's chain; the mini FAT in its own chain.
    const BYTE* root = &m_directory[0];
    const DWORD rootSize = U32(root + 0x78);
    if (HighSizeMatters() && U32(root + 0x7C) != 0)
        return Fail("mini stream size");
    if (rootSize > m_size)
        return Fail("mini stream size");
    const DWORD miniSectors = (rootSize + 63) / 64;
    if (rootSize > 0) {
        if (!Walk(U32(root + 0x74), m_fat, m_sectorCount, m_ownedSectors, chain, "mini stream chain"))
            return false;
        if ((ULONGLONG)chain.size() * m_sectorSize < rootSize)
            return Fail("mini stream chain too short");
    }
    std::vector<DWORD> miniFat;
    if (m_miniFatSectors > 0) {
        if (!Walk(m_firstMiniFat, m_fat, m_sectorCount, m_ownedSectors, chain, "mini FAT chain"))
            return false;
        if (chain.size() < m_miniFatSectors)
            return Fail("mini FAT chain too short");
        for (DWORD i = 0; i < m_miniFatSectors; ++i) {
            if (SectorBytes(chain[i]) < m_sectorSize)
                return Fail("mini FAT sector beyond the end");
            const BYTE* p = Sector(chain[i]);
            for (DWORD k = 0; k < m_sectorSize / 4; ++k)
                miniFat.push_back(U32(p + 4 * k));
        }
    }
    std::vector<bool> ownedMini(miniFat.size(), false);
    for (DWORD id = 1; id < m_entries; ++id) {
        if (!m_reached[id])
            continue;
        const BYTE* e = &m_directory[(size_t)id * 128];
        if (e[0x42] != 2)
            continue;
        const DWORD size = U32(e + 0x78);
        const DWORD start = U32(e + 0x74);
        if ((HighSizeMatters() && U32(e + 0x7C) != 0) || size > m_size)
            return Fail("stream size");
        if (size == 0)
            continue;
        if (size < 4096) {
            if (!Walk(start, miniFat, miniSectors, ownedMini, chain, "mini chain"))
                return false;
            if ((ULONGLONG)chain.size() * 64 < size)
                return Fail("mini chain too short");
        } else {
            if (!Walk(start, m_fat, m_sectorCount, m_ownedSectors, chain, "stream chain"))
                return false;
            if ((ULONGLONG)chain.size() * m_sectorSize < size)
                return Fail("stream chain too short");
        }
    }
    return true;
}

bool Checker::Run() { return ReadHeader() && ReadFat() && ReadDirectory() && CheckTree() && CheckStreams(); }

} // namespace

bool CheckCompoundFile(const BYTE* data, size_t size, const char** why)
{
    if (why)
        *why = "";
    if (data == NULL)
        return false;
    Checker checker(data, size);
    bool ok = false;
    try {
        ok = checker.Run();
    } catch (...) { // out of memory on a huge table
        if (why)
            *why = "out of memory";
        return false;
    }
    if (!ok && why)
        *why = checker.Why();
    return ok;
}
