// Arbitrary settings files through the native profile layer: reading every
// setting, then writing one. Whatever the file held, a written value reads
// back as written, and writing it again leaves the file as it is, except
// where the platform itself does otherwise (below).
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "fire/FireSettings.h"
#include "fire/ProfileStore.h"

namespace {

void Require(bool holds)
{
    if (!holds) std::abort();
}

std::string Folder;

void RemoveFolder()
{
    std::remove((Folder + "/" + SettingsFile).c_str());
    rmdir(Folder.c_str());
}

// One scratch folder per run, the settings file alone in it.
const std::string& SettingsPath()
{
    static const std::string path = [] {
        char pattern[] = "/tmp/embrix-profile-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr) std::abort();
        Folder = pattern;
        ProfileDirectory = Folder.c_str();
        std::atexit(RemoveFolder);
        return Folder + "/" + SettingsFile;
    }();
    return path;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary);
    return static_cast<bool>(file.write(bytes.data(), std::streamsize(bytes.size())).flush());
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const keys[] = {SizeKey, ScalingKey, NewFireKey, FireTypeKey};
    FuzzedDataProvider input(data, size);
    const char* key = keys[input.ConsumeIntegralInRange<int>(0, 3)];
    const int32_t value = input.ConsumeIntegral<int32_t>();
    const bool fileExists = input.ConsumeBool();
    const std::string contents = input.ConsumeRemainingBytesAsString();

    const std::string& path = SettingsPath();
    if (fileExists) {
        if (!WriteFile(path, contents)) return 0;
    } else {
        std::remove(path.c_str());
    }

    LoadFireSettings();
    // A missing file, section or key gives the default, never a guess.
    if (!fileExists) {
        Require(FireSettings.newFire == 8 && FireSettings.fireType == 8 && FireSettings.size == 4 &&
                FireSettings.scaling == 0);
    }
    ProfileReadInt(SettingsSection, key, value, SettingsFile);

    WriteFireSetting(key, value);
    // A byte-order mark is honoured only at the very start of the file. One
    // after leading blanks hides the lines behind it until a rewrite drops
    // the blanks and brings them back; the platform's own functions behave
    // the same, byte for byte, so such files only have to be handled safely.
    if (contents.find("\xEF\xBB\xBF") != std::string::npos) return 0;
    Require(ReadFireSetting(key, value == 0 ? 1 : 0) == value);
    const std::string written = ReadFile(path);
    WriteFireSetting(key, value);
    Require(ReadFile(path) == written);
    return 0;
}
