#include "fire/ProfileStore.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

const char* ProfileDirectory = nullptr;

namespace {

// The platform copies a value into a buffer of this many characters, its
// terminator included, before converting it.
constexpr size_t ValueBufferSize = 30;

// One non-blank line of a profile file, already trimmed.
struct ProfileLine {
    bool isSection;
    bool hasValue;     // the line had an '='
    std::string name;  // section name, or key (the whole line when no '=')
    std::string value;
};

struct ProfileText {
    bool byteOrderMark;  // a UTF-8 mark in front, given back on writing
    std::vector<ProfileLine> lines;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string Trimmed(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    return std::string(begin, end);
}

bool SameNoCase(const std::string& a, const char* b)
{
    const size_t length = std::strlen(b);
    if (a.size() != length) return false;
    for (size_t i = 0; i < length; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string ProfilePath(const char* file)
{
    if (std::strchr(file, '/') != nullptr || ProfileDirectory == nullptr ||
        *ProfileDirectory == '\0') {
        return file;
    }
    std::string path = ProfileDirectory;
    if (path.back() != '/') path += '/';
    return path + file;
}

void AddLine(ProfileText& profile, const char* begin, const char* end)
{
    const std::string text = Trimmed(begin, end);
    if (text.empty()) return;  // blank lines do not survive a rewrite
    ProfileLine line{false, false, std::string(), std::string()};
    const size_t close = text.rfind(']');
    if (text[0] == '[' && close != std::string::npos) {
        line.isSection = true;
        line.name = Trimmed(text.data() + 1, text.data() + close);  // text after ']' is lost
    } else {
        const size_t equals = text.find('=');
        if (equals == std::string::npos) {
            line.name = text;
        } else {
            line.hasValue = true;
            line.name = Trimmed(text.data(), text.data() + equals);
            line.value = Trimmed(text.data() + equals + 1, text.data() + text.size());
        }
    }
    profile.lines.push_back(line);
}

// False when the file cannot be opened; profile is then empty.
bool ReadProfile(const char* file, ProfileText& profile)
{
    profile.byteOrderMark = false;
    profile.lines.clear();
    std::FILE* stream = std::fopen(ProfilePath(file).c_str(), "rb");
    if (stream == nullptr) return false;
    std::string bytes;
    char block[4096];
    size_t count;
    while ((count = std::fread(block, 1, sizeof block, stream)) > 0) bytes.append(block, count);
    std::fclose(stream);

    // Like the platform, the text ends at the first NUL.
    bytes.resize(std::strlen(bytes.c_str()));
    size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        profile.byteOrderMark = true;
        start = 3;
    }
    const char* text = bytes.data();
    for (size_t i = start; i <= bytes.size(); ++i) {
        if (i == bytes.size() || text[i] == '\r' || text[i] == '\n') {
            AddLine(profile, text + start, text + i);
            start = i + 1;
        }
    }
    return true;
}

bool WriteProfile(const char* file, const ProfileText& profile)
{
    std::string bytes;
    if (profile.byteOrderMark) bytes = "\xEF\xBB\xBF";
    for (const ProfileLine& line : profile.lines) {
        if (line.isSection) {
            // A section without a name has no header, as the platform writes it.
            if (!line.name.empty()) bytes += "[" + line.name + "]\r\n";
        } else {
            bytes += line.name;
            if (line.hasValue) bytes += "=" + line.value;
            bytes += "\r\n";
        }
    }
    std::FILE* stream = std::fopen(ProfilePath(file).c_str(), "wb");
    if (stream == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
    return std::fclose(stream) == 0 && written;
}

// Index of the first header of section, or the number of lines.
size_t FindSection(const ProfileText& profile, const char* section)
{
    size_t i = 0;
    while (i < profile.lines.size() &&
           !(profile.lines[i].isSection && SameNoCase(profile.lines[i].name, section))) {
        ++i;
    }
    return i;
}

// Index of the first line of key after the header at sectionIndex, or of the
// line that ends the section (next header or the end) when there is none.
size_t FindKey(const ProfileText& profile, size_t sectionIndex, const char* key, bool& found)
{
    size_t i = sectionIndex + 1;
    found = false;
    while (i < profile.lines.size() && !profile.lines[i].isSection) {
        if (SameNoCase(profile.lines[i].name, key)) {
            found = true;
            break;
        }
        ++i;
    }
    return i;
}

// The value as the platform hands it to its converter: a pair of like quotes
// around it is dropped, then at most ValueBufferSize - 1 characters are kept.
// When the opening quote plus the value just fill the buffer, the platform
// drops the last kept character as if it were the closing quote; so do we.
std::string CopiedValue(const std::string& value)
{
    std::string copy = value;
    const bool quoted =
        copy.size() >= 2 && (copy[0] == '"' || copy[0] == '\'') && copy.back() == copy[0];
    if (quoted) copy.erase(0, 1);
    const size_t unquotedLength = copy.size();
    if (copy.size() > ValueBufferSize - 1) copy.resize(ValueBufferSize - 1);
    if (quoted && unquotedLength <= ValueBufferSize) copy.pop_back();
    return copy;
}

// Leading control characters and blanks, one sign, a "0b", "0o" or "0x"
// prefix, then digits up to the first one that does not fit; wraps modulo
// 2^32 as the platform does.
uint32_t ConvertProfileInt(const std::string& text)
{
    size_t i = 0;
    const size_t length = text.size();
    while (i < length && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < length && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t base = 10;
    if (i + 1 < length && text[i] == '0') {
        if (text[i + 1] == 'b') base = 2;
        if (text[i + 1] == 'o') base = 8;
        if (text[i + 1] == 'x') base = 16;
        if (base != 10) i += 2;
    }
    uint32_t result = 0;
    for (; i < length; ++i) {
        const char c = text[i];
        uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'z') {
            digit = static_cast<uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'Z') {
            digit = static_cast<uint32_t>(c - 'A' + 10);
        } else {
            break;
        }
        if (digit >= base) break;
        result = result * base + digit;
    }
    return negative ? 0u - result : result;
}

}  // namespace

uint32_t ProfileReadInt(const char* section, const char* key, int32_t defaultValue,
                        const char* file)
{
    const uint32_t fallback = static_cast<uint32_t>(defaultValue);
    ProfileText profile;
    if (section == nullptr || key == nullptr || file == nullptr || !ReadProfile(file, profile)) {
        return fallback;
    }
    const size_t sectionIndex = FindSection(profile, section);
    if (sectionIndex == profile.lines.size()) return fallback;
    bool found;
    const size_t keyIndex = FindKey(profile, sectionIndex, key, found);
    if (!found || !profile.lines[keyIndex].hasValue) return fallback;
    const std::string value = CopiedValue(profile.lines[keyIndex].value);
    return value.empty() ? fallback : ConvertProfileInt(value);
}

bool ProfileWriteString(const char* section, const char* key, const char* text, const char* file)
{
    if (section == nullptr || key == nullptr || text == nullptr || file == nullptr) return false;
    ProfileText profile;
    ReadProfile(file, profile);  // a missing file is an empty one
    const ProfileLine entry{false, true, key, text};
    const size_t sectionIndex = FindSection(profile, section);
    if (sectionIndex == profile.lines.size()) {
        profile.lines.push_back(ProfileLine{true, false, section, std::string()});
        profile.lines.push_back(entry);
        return WriteProfile(file, profile);
    }
    bool found;
    const size_t keyIndex = FindKey(profile, sectionIndex, key, found);
    if (!found) {
        profile.lines.insert(profile.lines.begin() + static_cast<std::ptrdiff_t>(keyIndex), entry);
        return WriteProfile(file, profile);
    }
    ProfileLine& line = profile.lines[keyIndex];
    // The platform leaves the file alone, untidy spacing and all, when the
    // value is already there.
    if (line.hasValue && line.value == text) return true;
    line.hasValue = true;
    line.value = text;
    return WriteProfile(file, profile);
}
