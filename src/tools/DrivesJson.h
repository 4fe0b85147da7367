// kestrix-drives --json: the drive map as JSON, for scripts (as findmnt -J
// serves them). Names are bytes as the system gives them, and a mount point
// need not be valid UTF-8; JSON must be. Such a name is written with U+FFFD
// for each byte that is not part of a valid UTF-8 sequence, so the output is
// always valid JSON and reads as the file manager shows the name, and the
// exact bytes follow in a field "<name>_hex" (lower-case hex digits), which
// only names that are not valid UTF-8 get.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drivesjson {

// Whether bytes are valid UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF, no sequence cut short).
bool ValidUtf8(const std::string& bytes);

// A JSON string literal, quotes included: '"' and '\' escaped, control
// characters as \n, \t, ... or \u00XX, bytes outside valid UTF-8 as U+FFFD.
std::string String(const std::string& bytes);

// The bytes as lower-case hex digits.
std::string Hex(const std::string& bytes);

// One JSON object, its fields in the order they are added.
class Object {
public:
    // A text field; one that is not valid UTF-8 gets its "<key>_hex" twin.
    Object& Text(const char* key, const std::string& bytes);
    Object& Number(const char* key, std::int64_t value);
    // `{"key": value, ...}` on one line.
    std::string Json() const;

private:
    std::vector<std::pair<std::string, std::string>> fields_;
};

// A JSON array of the given values, one per line, indented by two blanks.
std::string Array(const std::vector<std::string>& values, const std::string& indent = "");

} // namespace drivesjson
