#include "Meminfo.h"

#include <charconv>
#include <cstdio>
#include <limits>
#include <map>
#include <string_view>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// "Key:   12345 kB" lines; values without the kB unit are counts, not
// sizes, and are not needed.
std::map<std::string, std::uint64_t> SizeFields(std::string_view text)
{
    std::map<std::string, std::uint64_t> fields;
    while (!text.empty()) {
        const std::size_t eol = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, eol);
        text.remove_prefix(std::min(eol + 1, text.size()));
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            continue;
        const std::string key(line.substr(0, colon));
        std::string_view rest = line.substr(colon + 1);
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
        std::uint64_t kb = 0;
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), kb);
        if (ec != std::errc() || end == rest.data())
            continue;
        std::string_view unit(end, std::size_t(rest.data() + rest.size() - end));
        while (!unit.empty() && (unit.back() == ' ' || unit.back() == '\r'))
            unit.remove_suffix(1);
        if (unit != " kB" && unit != " KB")
            continue;
        if (kb > std::numeric_limits<std::uint64_t>::max() / 1024)
            continue; // would not fit: treat as unreadable
        fields.emplace(key, kb * 1024);
    }
    return fields;
}

std::uint64_t PercentInUse(std::uint64_t total, std::uint64_t available)
{
    if (total == 0 || available >= total)
        return 0;
    const unsigned __int128 used = total - available;
    return std::uint64_t(used * 100 / total);
}

} // namespace

bool ParseMeminfo(const std::string& text, MemoryStatus& status)
{
    const std::map<std::string, std::uint64_t> f = SizeFields(text);
    for (const char* key : {"MemTotal", "MemAvailable", "SwapTotal", "SwapFree"})
        if (!f.count(key))
            return false;
    // TotalPhys: MemTotal, the RAM the kernel manages.
    // AvailPhys: MemAvailable, what new programs can get without swapping
    //   (free memory plus caches the kernel can drop), which is what
    //   "available" means to the user; MemFree alone would call the page
    //   cache "in use".
    // TotalPageFile / AvailPageFile: SwapTotal / SwapFree, the swap space.
    //   Not CommitLimit / Committed_AS: the kernel enforces that limit only
    //   with vm.overcommit_memory = 2, and in the default mode the committed
    //   figure often exceeds it, which would read as more than 100 % in use.
    //   Both are 0 without swap; the memory panel shows 0 % then.
    // MemoryLoad: the share of physical memory in use, in whole percent,
    //   truncated: (TotalPhys - AvailPhys) * 100 / TotalPhys.
    status.TotalPhys = f.at("MemTotal");
    status.AvailPhys = f.at("MemAvailable");
    status.TotalPageFile = f.at("SwapTotal");
    status.AvailPageFile = f.at("SwapFree");
    status.MemoryLoad = std::uint32_t(PercentInUse(status.TotalPhys, status.AvailPhys));
    return true;
}

bool ReadMemoryStatus(const std::string& path, MemoryStatus& status)
{
    FILE* f = std::fopen(path.c_str(), "re");
    if (!f)
        return false;
    std::string text;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && text.size() < (1u << 20))
        text.append(buf, n);
    const bool readError = std::ferror(f);
    std::fclose(f);
    MemoryStatus parsed = status;
    if (readError || !ParseMeminfo(text, parsed))
        return false;
    // TotalVirtual: the address space the process may use (its RLIMIT_AS,
    //   else the 128 TiB user half of a 48-bit address space);
    // AvailVirtual: that less what the process has mapped (/proc/self/statm).
    struct rlimit limit {};
    const std::uint64_t userSpace = std::uint64_t(1) << 47;
    parsed.TotalVirtual = ::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
        ? std::uint64_t(limit.rlim_cur) : userSpace;
    unsigned long long pages = 0;
    parsed.AvailVirtual = parsed.TotalVirtual;
    if (FILE* statm = std::fopen("/proc/self/statm", "re")) {
        if (std::fscanf(statm, "%llu", &pages) == 1) {
            const std::uint64_t mapped = std::uint64_t(pages) * std::uint64_t(::sysconf(_SC_PAGESIZE));
            parsed.AvailVirtual = mapped < parsed.TotalVirtual ? parsed.TotalVirtual - mapped : 0;
        }
        std::fclose(statm);
    }
    status = parsed;
    return true;
}
