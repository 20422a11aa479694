#include "support/KeptSettings.h"

#include "support/SaverProcess.h"

namespace {

constexpr char DesktopKey[] = "Control Panel\\Desktop";
constexpr char UsePasswordValue[] = "ScreenSaveUsePassword";
constexpr char FaultDebuggerKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
constexpr char FaultDebuggerValue[] = "Debugger";

// The value's bytes, or false when it is not there.
bool ReadValue(HKEY root, const char* keyName, const char* valueName, DWORD& type,
               std::vector<BYTE>& bytes)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool found = RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
        bytes.resize(size);
        found = RegQueryValueExA(key, valueName, nullptr, &type, bytes.data(), &size) ==
                ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return found;
}

// Writes the value, or removes it when there is none to write.
void PutValue(HKEY root, const char* keyName, const char* valueName, bool present, DWORD type,
              const std::vector<BYTE>& bytes)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, keyName, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (present)
        RegSetValueExA(key, valueName, 0, type, bytes.data(), static_cast<DWORD>(bytes.size()));
    else
        RegDeleteValueA(key, valueName);
    RegCloseKey(key);
}

}  // namespace

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
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&one);
    PutValue(HKEY_CURRENT_USER, DesktopKey, UsePasswordValue, wanted, REG_DWORD,
             std::vector<BYTE>(bytes, bytes + sizeof one));
}

KeptSettings::KeptSettings() : hadFile(false), hadPassword(false), passwordType(0)
{
    const std::string path = SettingsFilePath();
    hadFile = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (hadFile) file = ReadWholeFile(path);
    hadPassword = ReadValue(HKEY_CURRENT_USER, DesktopKey, UsePasswordValue, passwordType, password);
}

KeptSettings::~KeptSettings()
{
    const std::string path = SettingsFilePath();
    if (hadFile)
        WriteWholeFile(path, file);
    else
        DeleteFileA(path.c_str());
    PutValue(HKEY_CURRENT_USER, DesktopKey, UsePasswordValue, hadPassword, passwordType, password);
}

NoFaultDebugger::NoFaultDebugger()
{
    DWORD type = 0;
    hadDebugger =
        ReadValue(HKEY_LOCAL_MACHINE, FaultDebuggerKey, FaultDebuggerValue, type, debugger);
    const char missing[] = "embrix-no-such-debugger.exe %ld %ld";
    PutValue(HKEY_LOCAL_MACHINE, FaultDebuggerKey, FaultDebuggerValue, true, REG_SZ,
             std::vector<BYTE>(missing, missing + sizeof missing));
}

NoFaultDebugger::~NoFaultDebugger()
{
    PutValue(HKEY_LOCAL_MACHINE, FaultDebuggerKey, FaultDebuggerValue, hadDebugger, REG_SZ,
             debugger);
}
