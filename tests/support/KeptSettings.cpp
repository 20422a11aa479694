#include "support/KeptSettings.h"

#include "support/SaverProcess.h"

namespace {

constexpr char DesktopKey[] = "Control Panel\\Desktop";
constexpr char FaultDebuggerKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";

// Writes the value, or removes it when there is none to write.
void PutValue(HKEY root, const std::string& keyName, const std::string& name, bool present,
              DWORD type, const void* bytes, DWORD size)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    if (present)
        RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(bytes), size);
    else
        RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

// The value's bytes, or false when it is not there.
bool ReadValue(HKEY root, const std::string& keyName, const std::string& name, DWORD& type,
               std::vector<BYTE>& bytes)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyName.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool found = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    bytes.assign(size + 1, 0);  // room for a terminator the value may lack
    found = found && RegQueryValueExA(key, name.c_str(), nullptr, &type, bytes.data(), &size) ==
                         ERROR_SUCCESS;
    bytes.resize(size);
    RegCloseKey(key);
    return found;
}

}  // namespace

bool ReadText(HKEY root, const char* key, const char* name, std::string& value)
{
    DWORD type = 0;
    std::vector<BYTE> bytes;
    if (!ReadValue(root, key, name, type, bytes) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    value.assign(bytes.begin(), bytes.end());
    value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
    return true;
}

void PutText(HKEY root, const char* key, const char* name, const char* text)
{
    PutValue(root, key, name, text != nullptr, REG_SZ, text, text ? lstrlenA(text) + 1 : 0);
}

KeptValue::KeptValue(HKEY rootKey, const char* keyName, const char* valueName)
    : root(rootKey), key(keyName), name(valueName)
{
    had = ReadValue(root, key, name, type, bytes);
}

KeptValue::~KeptValue()
{
    PutValue(root, key, name, had, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

std::string SettingsFilePath()
{
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder, length) + "\\control.ini";
}

bool WriteSettingsSection(const std::string& lines)
{
    return WriteWholeFile(SettingsFilePath(), "[Screen Saver.Embrix]\r\n" + lines);
}

int ReadSetting(const char* key, int defaultValue)
{
    return static_cast<int>(
        GetPrivateProfileIntA("Screen Saver.Embrix", key, defaultValue, "control.ini"));
}

void SetUsePassword(bool wanted)
{
    const DWORD one = 1;
    PutValue(HKEY_CURRENT_USER, DesktopKey, "ScreenSaveUsePassword", wanted, REG_DWORD, &one,
             sizeof one);
}

KeptSettings::KeptSettings()
    : hadFile(GetFileAttributesA(SettingsFilePath().c_str()) != INVALID_FILE_ATTRIBUTES),
      file(ReadWholeFile(SettingsFilePath())),
      password(HKEY_CURRENT_USER, DesktopKey, "ScreenSaveUsePassword")
{
}

KeptSettings::~KeptSettings()
{
    if (hadFile)
        WriteWholeFile(SettingsFilePath(), file);
    else
        DeleteFileA(SettingsFilePath().c_str());
}

NoFaultDebugger::NoFaultDebugger() : debugger(HKEY_LOCAL_MACHINE, FaultDebuggerKey, "Debugger")
{
    PutText(HKEY_LOCAL_MACHINE, FaultDebuggerKey, "Debugger", "embrix-no-such-debugger.exe %ld %ld");
}
