#include "support/KeptSettings.h"

#include "support/SaverProcess.h"

namespace {

constexpr char DesktopKey[] = "Control Panel\\Desktop";
constexpr char FaultDebuggerKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";

}  // namespace

std::string ReadText(HKEY root, const char* key, const char* name)
{
    char text[2048];
    DWORD size = sizeof text;
    return RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS
               ? text
               : "<none>";
}

void PutText(HKEY root, const char* key, const char* name, const char* text)
{
    if (text)
        RegSetKeyValueA(root, key, name, REG_SZ, text, lstrlenA(text) + 1);
    else
        RegDeleteKeyValueA(root, key, name);
}

KeptValue::KeptValue(HKEY rootKey, const char* keyName, const char* valueName)
    : root(rootKey),
      key(keyName),
      name(valueName),
      had(RegGetValueA(root, keyName, valueName, RRF_RT_ANY | RRF_NOEXPAND, &type, bytes, &size) ==
          ERROR_SUCCESS)
{
}

KeptValue::~KeptValue()
{
    if (had)
        RegSetKeyValueA(root, key.c_str(), name.c_str(), type, bytes, size);
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

void SetUsePassword(bool wanted)
{
    const DWORD one = 1;
    if (wanted)
        RegSetKeyValueA(HKEY_CURRENT_USER, DesktopKey, "ScreenSaveUsePassword", REG_DWORD, &one,
                        sizeof one);
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
    PutText(HKEY_LOCAL_MACHINE, FaultDebuggerKey, "Debugger",
            "embrix-no-such-debugger.exe %ld %ld");
}
