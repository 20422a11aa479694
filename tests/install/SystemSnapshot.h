// What a setup program can change, written down so that two moments can be
// compared: every file on the system drive outside the temporary folders,
// and the registry trees a setup writes to.
#pragma once
#include <map>
#include <string>
#include <vector>

// Lower-case path (or registry key and value) -> its size and time, or its
// data. Folders and keys end in a backslash.
using SystemSnapshot = std::map<std::string, std::string>;

SystemSnapshot TakeSystemSnapshot();

// "+ path", "- path" and "~ path" for every entry that differs, sorted.
std::vector<std::string> CompareSnapshots(const SystemSnapshot& before, const SystemSnapshot& after);
