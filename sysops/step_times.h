#pragma once

#include <cstdint>

// Where the time of one uninstall goes, for the benchmark. In a build made with the CMake
// option UNINSTALL_STEP_TIMES (the preset windows-steps), when the environment variable
// UNINSTALL_STEP_TIMES names a file, every mark appends one line to it:
//
//   <process id> <mark> <microseconds since 1601, system clock>
//
// so that the uninstaller, its cleanup copy and the driver that presses the buttons can write
// into the same file and be put on one time line. Without the variable, and always in the
// shipped build, a mark costs one test of a flag, and nothing is written.
bool StepTimesOn();

// A point in time: "run started", "files removed".
void MarkStep(const char* name);

// Marks the moment the system created this process, so that a breakdown can start there.
void MarkProcessCreated(const char* name);

// Time spent in a kind of call that happens many times (setting the status text, moving the
// bar), summed over a run and written as one line "<name> <microseconds> <calls>".
class StepTotal {
public:
    explicit StepTotal(const char* name) : m_name(name) {}
    void Add(int64_t ticks) { m_ticks += ticks; ++m_calls; }
    // Writes the sum and starts again from zero.
    void Write();

private:
    const char* m_name;
    int64_t m_ticks = 0;
    long m_calls = 0;
};

// Adds the time from its construction to its end to a total, when step times are on.
class StepSpan {
public:
    explicit StepSpan(StepTotal& total);
    ~StepSpan();
    StepSpan(const StepSpan&) = delete;
    StepSpan& operator=(const StepSpan&) = delete;

private:
    StepTotal& m_total;
    int64_t m_start;
};
