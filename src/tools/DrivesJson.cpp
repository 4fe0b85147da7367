#include "DrivesJson.h"

#include <cstdio>

namespace drivesjson {

namespace {

// The length of the valid UTF-8 sequence at bytes[i], 0 when there is none.
std::size_t SequenceAt(const std::string& bytes, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char b = at(i);
    if (b < 0x80)
        return 1;
    std::size_t n;
    unsigned char lo = 0x80, hi = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            lo = 0xA0; // no overlong forms
        if (b == 0xED)
            hi = 0x9F; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            lo = 0x90;
        if (b == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + n > bytes.size())
        return 0;
    if (at(i + 1) < lo || at(i + 1) > hi)
        return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    return n;
}

} // namespace

bool ValidUtf8(const std::string& bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = SequenceAt(bytes, i);
        if (!n)
            return false;
        i += n;
    }
    return true;
}

std::string String(const std::string& bytes)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = SequenceAt(bytes, i);
        if (!n) {
            out += "\xEF\xBF\xBD"; // U+FFFD
            ++i;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out.append(bytes, i, n);
            }
        }
        i += n;
    }
    return out + "\"";
}

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

Object& Object::Text(const char* key, const std::string& bytes)
{
    fields_.emplace_back(key, String(bytes));
    if (!ValidUtf8(bytes))
        fields_.emplace_back(std::string(key) + "_hex", "\"" + Hex(bytes) + "\"");
    return *this;
}

Object& Object::Number(const char* key, std::int64_t value)
{
    fields_.emplace_back(key, std::to_string(value));
    return *this;
}

std::string Object::Json() const
{
    std::string out = "{";
    for (const auto& [key, value] : fields_) {
        if (out.size() > 1)
            out += ", ";
        out += String(key) + ": " + value;
    }
    return out + "}";
}

std::string Array(const std::vector<std::string>& values, const std::string& indent)
{
    if (values.empty())
        return "[]";
    std::string out = "[\n";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += indent + "  " + values[i] + (i + 1 < values.size() ? ",\n" : "\n");
    return out + indent + "]";
}

} // namespace drivesjson
