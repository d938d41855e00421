#pragma once

#include <string>
#include <vector>

class ValueSetObject;

// A program the finish page offers to start, as a script describes it in the page's
// "CWndParam" object: Launch<i>_Cmd, Launch<i>_Param, Launch<i>_Prompt and Launch<i>_Data
// (1: checked) for i from 1 to LaunchCount.
struct LaunchEntry {
    std::string command;
    std::string parameters;
    std::string prompt;
    unsigned state = 1;
};

// The entries the parameter object names; none without LaunchCount. An entry without its
// data starts checked.
[[nodiscard]] std::vector<LaunchEntry> ReadLaunchEntries(const ValueSetObject& parameters);

// Writes each entry's checked state back into Launch<i>_Data, so the script learns what the
// user chose.
void WriteLaunchStates(ValueSetObject& parameters, const std::vector<LaunchEntry>& entries);
