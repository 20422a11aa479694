// Arbitrary command lines for the hack, one argument per NUL-separated piece:
// nothing is read past argv or past an argument's end (each is a heap block
// of its own), a refusal is one line quoting one of the arguments (its plain
// part when it holds control bytes), a setting
// never named keeps its default, and whatever is accepted reads back the same
// when written out again as plain decimal options.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "x11/HackOptions.h"

namespace {

void Require(bool holds)
{
    if (!holds) std::abort();
}

bool Named(const std::vector<std::string>& args, const char* name)
{
    for (const std::string& a : args) {
        if (a == std::string("-") + name || a == std::string("--") + name) return true;
    }
    return false;
}

bool Parse(const std::vector<std::string>& args, HackOptions& options, std::string& error)
{
    // Exactly argc pointers, every argument a block of its own.
    std::vector<std::unique_ptr<char[]>> blocks;
    std::unique_ptr<const char*[]> argv(new const char*[args.size()]);
    for (size_t i = 0; i < args.size(); ++i) {
        blocks.emplace_back(new char[args[i].size() + 1]);
        std::memcpy(blocks.back().get(), args[i].c_str(), args[i].size() + 1);
        argv[i] = blocks.back().get();
    }
    return ParseHackOptions(static_cast<int>(args.size()), argv.get(), options, error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args = {"embrix"};
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= size && args.size() < 16;) {
        const size_t end = std::min(text.find('\0', start), size);
        args.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    HackOptions options;
    std::string error;
    if (!Parse(args, options, error)) {
        Require(error.rfind("embrix: ", 0) == 0 && error.find('\n') == std::string::npos);
        bool quotesOne = false;
        // At least up to a control byte, which the message writes otherwise.
        for (size_t i = 1; i < args.size(); ++i) {
            size_t plain = 0;
            while (plain < args[i].size() && static_cast<unsigned char>(args[i][plain]) >= 0x20 &&
                   args[i][plain] != 0x7F)
                ++plain;
            const std::string quoted = '"' + args[i].substr(0, plain);
            quotesOne |=
                error.find(plain == args[i].size() ? quoted + '"' : quoted) != std::string::npos;
        }
        Require(quotesOne);
        return 0;
    }
    const FireSettingsRecord& s = options.settings;
    Require(options.delay >= 0 && options.frames >= 0);
    Require(Named(args, "size") || s.size == 4);
    Require(Named(args, "scaling") || s.scaling == 0);
    Require(Named(args, "new-fire") || s.newFire == 8);
    Require(Named(args, "fire-type") || s.fireType == 8);
    Require(Named(args, "delay") || options.delay == DefaultFrameDelay);
    Require(Named(args, "frames") || options.frames == 0);
    Require(Named(args, "root") || Named(args, "window-id") ||
            options.target == HackTarget::OwnWindow);

    std::vector<std::string> again = {"embrix",
                                      "--size",
                                      std::to_string(s.size),
                                      "--scaling",
                                      std::to_string(s.scaling),
                                      "--new-fire",
                                      std::to_string(s.newFire),
                                      "--fire-type",
                                      std::to_string(s.fireType),
                                      "--delay",
                                      std::to_string(options.delay),
                                      "--frames",
                                      std::to_string(options.frames)};
    if (options.target == HackTarget::Root) again.push_back("--root");
    if (options.target == HackTarget::WindowId)
        again.insert(again.end(), {"--window-id", std::to_string(options.windowId)});
    HackOptions read;
    Require(Parse(again, read, error));
    Require(read.target == options.target);
    Require(read.target != HackTarget::WindowId || read.windowId == options.windowId);
    Require(std::memcmp(&read.settings, &s, sizeof s) == 0);
    Require(read.delay == options.delay && read.frames == options.frames);
    return 0;
}
