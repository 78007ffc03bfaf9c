// Web service reply fuzzer, long run: valid XML-RPC replies are mutated and handed to the
// XML document and the reply's records one after the other on a worker thread. It stops at
// the first mutant that takes longer than its bound (a crash ends the process: the seed and
// the last progress line say where to look), and prints its figures.
//
//   xml_fuzz.exe [--seed N] [--mutants N] [--minutes N]
//                (defaults: seed 1, 10,000,000 mutants, 60 minutes)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "net/tests/XmlFuzz.h"

int main(int argc, char** argv)
{
    xmlfuzz::Options options;
    options.seed = 1;
    options.maxMutants = 10000000;
    options.maxSeconds = 3600;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seed"))
            options.seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--mutants"))
            options.maxMutants = std::strtoull(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--minutes"))
            options.maxSeconds = (DWORD)(std::strtoul(argv[i + 1], nullptr, 10) * 60);
    }
    const DWORD started = GetTickCount();
    options.progress = [started](uint64_t n) {
        std::printf("progress: %llu mutants, %lu s\n", (unsigned long long)n,
                    (unsigned long)((GetTickCount() - started) / 1000));
        std::fflush(stdout);
    };
    std::printf("xml_fuzz: seed %llu, at most %llu mutants in %lu minutes\n", (unsigned long long)options.seed,
                (unsigned long long)options.maxMutants, (unsigned long)(options.maxSeconds / 60));
    const xmlfuzz::Figures f = xmlfuzz::Run(options);
    std::printf("xml_fuzz: %llu mutants, %llu parsed, %llu records; %.1f ms at most; %lu s\n",
                (unsigned long long)f.mutants, (unsigned long long)f.parsed, (unsigned long long)f.records, f.maxMs,
                (unsigned long)((GetTickCount() - started) / 1000));
    if (!f.failure.empty()) {
        std::printf("FAILURE: %s\n", f.failure.c_str());
        std::fflush(stdout);
        ExitProcess(1);
    }
    return 0;
}
