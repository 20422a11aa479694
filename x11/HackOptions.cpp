#include "x11/HackOptions.h"

#include <cstring>

namespace {

bool ParseDigits(const char* text, int base, uint64_t limit, uint64_t& value)
{
    value = 0;
    if (*text == '\0') return false;
    for (const char* p = text; *p != '\0'; ++p) {
        int digit = -1;
        if (*p >= '0' && *p <= '9') digit = *p - '0';
        if (base == 16 && *p >= 'a' && *p <= 'f') digit = *p - 'a' + 10;
        if (base == 16 && *p >= 'A' && *p <= 'F') digit = *p - 'A' + 10;
        if (digit < 0) return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit) return false;
    }
    return true;
}

// Decimal with an optional sign, within 32 bits.
bool ParseSigned(const char* text, int32_t& value)
{
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    uint64_t magnitude = 0;
    if (!ParseDigits(text, 10, negative ? 0x80000000u : 0x7FFFFFFFu, magnitude)) return false;
    value = static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude)
                                          : static_cast<int64_t>(magnitude));
    return true;
}

// "--name" and "-name" both give "name"; anything else is no option.
const char* OptionName(const char* arg)
{
    if (arg[0] != '-') return nullptr;
    return arg[1] == '-' ? arg + 2 : arg + 1;
}

// arg in quotes, control bytes as \xNN, so that the message stays one line.
std::string Quoted(const char* arg)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string quoted = "\"";
    for (const char* p = arg; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F) {
            quoted += {'\\', 'x', hex[c >> 4], hex[c & 15]};
        } else {
            quoted += *p;
        }
    }
    return quoted + "\"";
}

}  // namespace

bool ParseWindowId(const char* text, uint32_t& id)
{
    uint64_t value = 0;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (!ParseDigits(hex ? text + 2 : text, hex ? 16 : 10, 0xFFFFFFFFu, value)) return false;
    id = static_cast<uint32_t>(value);
    return true;
}

bool ParseHackOptions(int argc, const char* const* argv, HackOptions& options, std::string& error)
{
    options = HackOptions();
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* name = OptionName(arg);
        if (name != nullptr && std::strcmp(name, "root") == 0) {
            options.target = HackTarget::Root;
            continue;
        }
        int32_t* setting = nullptr;
        if (name == nullptr) {
        } else if (std::strcmp(name, "size") == 0) {
            setting = &options.settings.size;
        } else if (std::strcmp(name, "scaling") == 0) {
            setting = &options.settings.scaling;
        } else if (std::strcmp(name, "new-fire") == 0) {
            setting = &options.settings.newFire;
        } else if (std::strcmp(name, "fire-type") == 0) {
            setting = &options.settings.fireType;
        } else if (std::strcmp(name, "delay") == 0) {
            setting = &options.delay;
        } else if (std::strcmp(name, "frames") == 0) {
            setting = &options.frames;
        } else if (std::strcmp(name, "window-id") != 0) {
            name = nullptr;
        }
        if (name == nullptr) {
            error = "embrix: unknown option " + Quoted(arg);
            return false;
        }
        if (i + 1 >= argc) {
            error = "embrix: " + Quoted(arg) + " needs a value";
            return false;
        }
        const char* value = argv[++i];
        bool valid = false;
        if (setting == nullptr) {
            valid = ParseWindowId(value, options.windowId);
            options.target = HackTarget::WindowId;
        } else {
            const bool counts = setting == &options.delay || setting == &options.frames;
            valid = ParseSigned(value, *setting) && (!counts || *setting >= 0);
        }
        if (!valid) {
            error = "embrix: " + Quoted(arg) + " takes a number, not " + Quoted(value);
            return false;
        }
    }
    return true;
}
