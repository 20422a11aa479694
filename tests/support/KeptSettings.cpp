#include "support/KeptSettings.h"

#include "support/SaverProcess.h"

namespace {

constexpr char DesktopKey[] = "Control Panel\\Desktop";
constexpr char FaultDebuggerKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
constexpr DWORD AnyValue = RRF_RT_ANY | RRF_NOEXPAND;

}  // namespace

bool ReadText(HKEY root, const char* key, const char* name, std::string& value)
{
    char text[2048];
    DWORD size = sizeof text;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return false;
    value = text;
    return true;
}

void PutText(HKEY root, const char* key, const char* name, const char* text)
{
    if (text)
        RegSetKeyValueA(root, key, name, REG_SZ, text, lstrlenA(text) + 1);
    else
        RegDeleteKeyValueA(root, key, name);
}

KeptValue::KeptValue(HKEY rootKey, const char* keyName, const char* valueName)
    : root(rootKey), key(keyName), name(valueName)
{
    DWORD size = 0;
    had = RegGetValueA(root, keyName, valueName, AnyValue, &type, nullptr, &size) == ERROR_SUCCESS;
    bytes.resize(size);
    had = had && RegGetValueA(root, keyName, valueName, AnyValue, &type, bytes.data(), &size) ==
                     ERROR_SUCCESS;
}

KeptValue::~KeptValue()
{
    if (had)
        RegSetKeyValueA(root, key.c_str(), name.c_str(), type, bytes.data(), static_cast<DWORD>(bytes.size()));
    else
        RegDeleteKeyValueA(root, key.c_str(), name.c_str());
}

std::string SettingsFilePath()
{
    char folder[MAX_PATH];
    return std::string(folder, GetWindowsDirectoryA(folder, MAX_PATH)) + "\\control.ini";
}

bool WriteSettingsSection(const std::string& lines)
{
    return WriteWholeFile(SettingsFilePath(), "[Screen Saver.Embrix]\r\n" + lines);
}

int ReadSetting(const char* key, int defaultValue)
{
    return static_cast<int>(GetPrivateProfileIntA("Screen Saver.Embrix", key, defaultValue, "control.ini"));
}

void SetUsePassword(bool wanted)
{
    const DWORD one = 1;
    if (wanted)
        RegSetKeyValueA(HKEY_CURRENT_USER, DesktopKey, "ScreenSaveUsePassword", REG_DWORD, &one, sizeof one);
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, DesktopKey, "ScreenSaveUsePassword");
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
