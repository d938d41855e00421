// Loads an install record of 100,000 copied files and prints the best load time and the
// peak memory the load needs, against the goals of half a second and eight times the file
// size.
#include "record/install_record.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <string>

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

std::size_t BlockSize(void* block)
{
#ifdef _WIN32
    return _msize(block);
#else
    return malloc_usable_size(block);
#endif
}

// Live heap bytes and their high-water mark, counted by the replaced operator new below.
std::atomic<std::size_t> g_liveBytes{0};
std::atomic<std::size_t> g_peakBytes{0};

void CountAllocation(void* block)
{
    const std::size_t live = g_liveBytes += BlockSize(block);
    std::size_t peak = g_peakBytes.load();
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live)) {
    }
}

constexpr int ItemCount = 100000;
constexpr int Runs = 5;

// Fields as an installer writes them: every file has a name, a policy and a date; some are
// servers or services, some were updated.
bool WriteRecord(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fputs("[CopyFile]\r\n", file);
    for (int n = 1; n <= ItemCount; ++n) {
        std::fprintf(file, "Item%d=C:\\Program Files\\Maker\\App\\bin%d\\file%05d.%s\r\n", n, n % 40, n,
                     n % 10 == 0 ? "exe" : "dll");
        if (n % 25 == 0)
            std::fprintf(file, "Item%d_RegType=%d\r\n", n, n % 50 == 0 ? 2 : 1);
        std::fprintf(file, "Item%d_Uninstall=%d\r\n", n, n % 6);
        std::fprintf(file, "Item%d_ModifyDate=2023-%d-%d %d:%d:%d\r\n", n, n % 12 + 1, n % 28 + 1, n % 24, n % 60,
                     (n * 7) % 60);
        if (n % 3 == 0)
            std::fprintf(file, "Item%d_UpdateType=%d\r\n", n, n % 4);
    }
    std::fprintf(file, "Count=%d\r\n[Comm]\r\nAppName=Benchmark\r\nGUID={BENCH}\r\n", ItemCount);
    return std::fclose(file) == 0;
}

long FileSize(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return -1;
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return size;
}

// Zero where the system does not tell.
long MaxResidentKilobytes()
{
#ifdef _WIN32
    return 0;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

}

void* operator new(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    CountAllocation(block);
    return block;
}

void operator delete(void* block) noexcept
{
    if (!block)
        return;
    g_liveBytes -= BlockSize(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

int main()
{
    const std::string path = "record_load_bench.kvx";
    if (!WriteRecord(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    const double fileBytes = static_cast<double>(FileSize(path));

    const long residentBefore = MaxResidentKilobytes();
    double best = 1e9;
    std::size_t peakGrowth = 0;
    std::size_t items = 0;
    for (int run = 0; run < Runs; ++run) {
        const std::size_t before = g_liveBytes.load();
        g_peakBytes = before;
        const auto start = std::chrono::steady_clock::now();
        {
            InstallRecord record;
            if (!record.Load(path)) {
                std::fprintf(stderr, "cannot load %s\n", path.c_str());
                return 1;
            }
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            best = std::min(best, elapsed.count());
            items = record.CopyFiles().size();
        }
        peakGrowth = std::max(peakGrowth, g_peakBytes.load() - before);
    }
    const long residentGrowth = MaxResidentKilobytes() - residentBefore;
    std::remove(path.c_str());

    std::printf("record: %zu copied files, %.1f MB\n", items, fileBytes / 1e6);
    std::printf("load time, best of %d: %.3f s (goal < 0.5 s)\n", Runs, best);
    std::printf("peak heap during load: %.1f MB = %.2f x file size (goal < 8 x)\n", peakGrowth / 1e6,
                peakGrowth / fileBytes);
    std::printf("peak resident growth: %.1f MB = %.2f x file size\n", residentGrowth / 1e3,
                residentGrowth * 1e3 / fileBytes);
    return 0;
}
