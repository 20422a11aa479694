// Arbitrary settings files through the native profile layer: reading every
// setting, then writing one. A missing file gives the defaults; whatever the
// file held, a written value reads back as written, and writing it again
// leaves the file as it is.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

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

std::string Folder, Path;  // one scratch folder per run, the settings file alone in it

void RemoveFolder()
{
    std::remove(Path.c_str());
    rmdir(Folder.c_str());
}

std::string ReadFile()
{
    std::ifstream file(Path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (Folder.empty()) {
        char pattern[] = "/tmp/embrix-profile-fuzz-XXXXXX";
        if (mkdtemp(pattern) == nullptr) std::abort();
        Folder = pattern;
        Path = Folder + "/" + SettingsFile;
        ProfileDirectory = Folder.c_str();
        std::atexit(RemoveFolder);
    }
    static const char* const keys[] = {SizeKey, ScalingKey, NewFireKey, FireTypeKey};
    FuzzedDataProvider input(data, size);
    const char* key = keys[input.ConsumeIntegralInRange<int>(0, 3)];
    const int32_t value = input.ConsumeIntegral<int32_t>();
    const bool fileExists = input.ConsumeBool();
    const std::string contents = input.ConsumeRemainingBytesAsString();
    std::remove(Path.c_str());
    if (fileExists && !(std::ofstream(Path, std::ios::binary) << contents << std::flush)) return 0;

    LoadFireSettings();
    Require(fileExists || (FireSettings.newFire == 8 && FireSettings.fireType == 8 &&
                           FireSettings.size == 4 && FireSettings.scaling == 0));
    WriteFireSetting(key, value);
    // A byte-order mark after leading blanks hides the lines behind it until
    // a rewrite drops the blanks, as with the platform's own functions.
    if (contents.find("\xEF\xBB\xBF") != std::string::npos) return 0;
    Require(ReadFireSetting(key, value == 0 ? 1 : 0) == value);
    const std::string written = ReadFile();
    WriteFireSetting(key, value);
    Require(ReadFile() == written);
    return 0;
}
