#include "sysops/step_times.h"

#include "sysops/file_handle.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// The file, opened for appending on the first use; every line goes out in one write, so
// lines of several processes do not mix.
FileHandle OpenStepFile()
{
#ifndef UNINSTALL_STEP_TIMES_BUILD
    // The shipped, elevated program would otherwise create or append to whatever file a user
    // names in their environment.
    return FileHandle();
#else
    constexpr const char* kStepTimesVariable = "UNINSTALL_STEP_TIMES";
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(kStepTimesVariable, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return FileHandle();
    return FileHandle(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
#endif
}

const FileHandle& File()
{
    static const FileHandle file = OpenStepFile();
    return file;
}

uint64_t Microseconds(const FILETIME& time)
{
    return ((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10;
}

void WriteLine(const std::string& line)
{
    DWORD written = 0;
    (void)WriteFile(File().Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void WriteMark(const char* name, const FILETIME& time)
{
    char line[256];
    std::snprintf(line, sizeof line, "%lu %s %llu\n", GetCurrentProcessId(), name,
                  static_cast<unsigned long long>(Microseconds(time)));
    WriteLine(line);
}

int64_t Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

}

bool StepTimesOn()
{
    return File().IsOpen();
}

void MarkStep(const char* name)
{
    if (!StepTimesOn())
        return;
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    WriteMark(name, now);
}

void MarkProcessCreated(const char* name)
{
    if (!StepTimesOn())
        return;
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        WriteMark(name, created);
}

void StepTotal::Write()
{
    if (StepTimesOn() && m_calls > 0) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        char line[256];
        std::snprintf(line, sizeof line, "%lu total:%s %lld %ld\n", GetCurrentProcessId(), m_name,
                      static_cast<long long>(m_ticks * 1000000 / frequency.QuadPart), m_calls);
        WriteLine(line);
    }
    m_ticks = 0;
    m_calls = 0;
}

StepSpan::StepSpan(StepTotal& total) : m_total(total), m_start(StepTimesOn() ? Ticks() : 0) {}

StepSpan::~StepSpan()
{
    if (m_start != 0)
        m_total.Add(Ticks() - m_start);
}
