// A short fixed-seed run of the reply fuzzer (the long run is bench/xml_fuzz.exe): no mutant
// may crash the document or the reply's records, or take longer than its bound.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "net/tests/XmlFuzz.h"

namespace {

TEST(XmlFuzz, ShortFixedSeedRun)
{
    xmlfuzz::Options options;
    options.seed = 20261211;
    options.maxMutants = 3000;
    options.maxSeconds = 120;
    options.boundMs = 2000;
    const xmlfuzz::Figures f = xmlfuzz::Run(options);
    EXPECT_EQ("", f.failure);
    EXPECT_EQ(3000u, f.mutants);
    // The mutants reach past the parser: some still parse and give records.
    EXPECT_GT(f.parsed, 100u);
    EXPECT_GT(f.records, 0u);
    std::printf("xml fuzz: %llu mutants, %llu parsed, %llu records; %.0f ms at most\n", (unsigned long long)f.mutants,
                (unsigned long long)f.parsed, (unsigned long long)f.records, f.maxMs);
}

} // namespace
