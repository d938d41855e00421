// Loads fuzzer-made record files, runs every query, and checks that what Save writes loads
// back to the same record and saves to the same bytes.
#include "record/install_record.h"
#include "record/record_fields.h"
#include "record/record_queries.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Every file with an even-length name carries the same time, so the unchanged test runs
// both ways.
class EvenNameFileTimes : public FileTimeSource {
public:
    bool GetFileWriteTime(const std::string& path, int64_t& calendarTime) const override
    {
        calendarTime = 1700000000;
        return path.size() % 2 == 0;
    }
};

std::string TempPath(const char* role)
{
    return "/tmp/fuzz_record_" + std::to_string(getpid()) + "_" + role + ".kvx";
}

const std::string& InputPath()
{
    static const std::string path = TempPath("in");
    return path;
}

const std::string& FirstPath()
{
    static const std::string path = TempPath("first");
    return path;
}

const std::string& SecondPath()
{
    static const std::string path = TempPath("second");
    return path;
}

void RemoveTempFiles()
{
    std::remove(InputPath().c_str());
    std::remove(FirstPath().c_str());
    std::remove(SecondPath().c_str());
}

bool WriteBytes(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

std::string ReadBytes(const std::string& path)
{
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char buffer[4096];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, count);
    std::fclose(file);
    return bytes;
}

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_record: %s\n", what);
        std::abort();
    }
}

void RunQueries(const InstallRecord& record)
{
    EvenNameFileTimes times;
    std::vector<std::string> files, folders, registry, shell, servers;
    std::vector<unsigned> types;
    ListFilesToRemove(record, times, files);
    ListFolders(record, folders);
    ListRegistryItems(record, registry);
    ListShellObjects(record, shell);
    ListComServers(record, servers, types);
    Check(servers.size() == types.size(), "COM list and types differ in length");
    Check(CountExeFiles(files) <= files.size(), "more programs than files");
    Check(CountServiceCandidates(types) <= types.size(), "more services than servers");
    std::vector<std::string> fields;
    for (const auto& entry : registry)
        Check(SplitRecordFields(entry, 4, fields), "a registry entry does not split into four fields");
    for (const auto& entry : shell)
        Check(SplitRecordFields(entry, 2, fields), "a shell entry does not split into two fields");
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& input = InputPath();
    const std::string& first = FirstPath();
    const std::string& second = SecondPath();
    if (!WriteBytes(input, data, size)) {
        RemoveTempFiles();
        return 0;
    }

    InstallRecord original;
    Check(original.Load(input), "an existing file does not load");
    RunQueries(original);

    // The first save drops what the layout cannot hold; from then on nothing changes.
    Check(original.Save(first), "save failed");
    InstallRecord reloaded;
    Check(reloaded.Load(first), "saved file does not load");
    RunQueries(reloaded);
    Check(reloaded.Save(second), "second save failed");
    InstallRecord again;
    Check(again.Load(second), "second saved file does not load");
    Check(SameRecordContent(reloaded, again), "saved record loads back differently");
    Check(ReadBytes(first) == ReadBytes(second) || !SameRecordContent(original, reloaded),
          "a record that loads back the same saves differently");
    Check(again.Save(first), "third save failed");
    Check(ReadBytes(first) == ReadBytes(second), "saving the same record twice gives different files");
    RemoveTempFiles();
    return 0;
}
