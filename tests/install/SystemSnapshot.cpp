#include "install/SystemSnapshot.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string FolderOf(const std::string& path)
{
    std::string folder = Lower(path);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder;
}

// The temporary folders change with every program run, the setup's own
// scratch files included; they are not part of what it installs.
std::vector<std::string> SkippedFolders()
{
    std::vector<std::string> skipped;
    char path[MAX_PATH] = {};
    if (GetTempPathA(MAX_PATH, path)) {
        char longPath[MAX_PATH] = {};
        if (GetLongPathNameA(path, longPath, MAX_PATH)) skipped.push_back(FolderOf(longPath));
        skipped.push_back(FolderOf(path));
    }
    if (GetWindowsDirectoryA(path, MAX_PATH)) skipped.push_back(FolderOf(std::string(path) + "\\temp"));
    return skipped;
}

void AddFolder(const std::string& folder, const std::vector<std::string>& skipped, SystemSnapshot& snapshot)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileExA((folder + "*").c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        std::string path = Lower(folder + name);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            path += '\\';
            if (std::find(skipped.begin(), skipped.end(), path) != skipped.end()) continue;
            snapshot[path] = "folder";
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) AddFolder(path, skipped, snapshot);
        } else {
            char text[64];
            std::snprintf(text, sizeof text, "%lu:%lu bytes, written %08lx%08lx",
                          found.nFileSizeHigh, found.nFileSizeLow,
                          found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime);
            snapshot[path] = text;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string Hex(const BYTE* data, DWORD size)
{
    std::string text;
    char byte[4];
    for (DWORD i = 0; i < size; ++i) {
        std::snprintf(byte, sizeof byte, "%02x", data[i]);
        text += byte;
    }
    return text;
}

void AddKey(HKEY root, const std::string& rootName, const std::string& subKey, SystemSnapshot& snapshot)
{
    HKEY key;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return;
    std::string keyPath = Lower(rootName + "\\" + subKey) + "\\";
    snapshot[keyPath] = "key";

    std::vector<BYTE> data(1 << 16);
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD nameSize = sizeof name;
        DWORD type = 0;
        DWORD dataSize = static_cast<DWORD>(data.size());
        LONG result = RegEnumValueA(key, index, name, &nameSize, nullptr, &type, data.data(), &dataSize);
        if (result == ERROR_MORE_DATA) {
            data.resize(dataSize);
            --index;
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        snapshot[keyPath + Lower(name)] = std::to_string(type) + ":" + Hex(data.data(), dataSize);
    }
    std::vector<std::string> children;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& child : children) AddKey(root, rootName, subKey + "\\" + child, snapshot);
}

}  // namespace

SystemSnapshot TakeSystemSnapshot()
{
    SystemSnapshot snapshot;
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string drive = std::string(windows, 2) + "\\";
    AddFolder(drive, SkippedFolders(), snapshot);

    AddKey(HKEY_LOCAL_MACHINE, "HKLM", "Software", snapshot);
    AddKey(HKEY_CURRENT_USER, "HKCU", "Software", snapshot);
    AddKey(HKEY_CURRENT_USER, "HKCU", "Control Panel", snapshot);
    AddKey(HKEY_CURRENT_USER, "HKCU", "Environment", snapshot);
    return snapshot;
}

std::vector<std::string> CompareSnapshots(const SystemSnapshot& before, const SystemSnapshot& after)
{
    std::vector<std::string> changes;
    for (const auto& entry : before) {
        auto now = after.find(entry.first);
        if (now == after.end())
            changes.push_back("- " + entry.first);
        else if (now->second != entry.second)
            changes.push_back("~ " + entry.first);
    }
    for (const auto& entry : after)
        if (!before.count(entry.first)) changes.push_back("+ " + entry.first);
    std::sort(changes.begin(), changes.end(),
              [](const std::string& a, const std::string& b) { return a.substr(2) < b.substr(2); });
    return changes;
}
