// Arbitrary command lines for the hack, one argument per NUL-separated piece,
// each a heap block of its own: nothing is read past argv or an argument, a
// refusal is one line quoting an argument (up to its first control byte), and
// no pace is negative.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "x11/HackOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args = {"embrix"};
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (size_t start = 0; start <= size && args.size() < 16; start += args.back().size() + 1)
        args.push_back(text.substr(start, text.find('\0', start) - start));
    std::vector<std::unique_ptr<char[]>> blocks;
    std::unique_ptr<const char*[]> argv(new const char*[args.size()]);  // exactly argc
    for (size_t i = 0; i < args.size(); ++i) {
        blocks.emplace_back(new char[args[i].size() + 1]);
        argv[i] = std::strcpy(blocks[i].get(), args[i].c_str());
    }
    HackOptions o;
    std::string error;
    bool quotesOne = false;
    if (!ParseHackOptions(static_cast<int>(args.size()), argv.get(), o, error)) {
        for (size_t i = 1; i < args.size(); ++i) {
            const std::string& a = args[i];
            size_t plain = 0;
            while (plain < a.size() && uint8_t(a[plain]) >= 0x20 && a[plain] != 0x7F) ++plain;
            const std::string quoted = '"' + a.substr(0, plain) + (plain == a.size() ? "\"" : "");
            quotesOne |= error.find(quoted) != std::string::npos;
        }
        if (!quotesOne || error.rfind("embrix: ", 0) != 0 || error.find('\n') != std::string::npos)
            std::abort();
        return 0;
    }
    if (o.delay < 0 || o.frames < 0) std::abort();
    return 0;
}
