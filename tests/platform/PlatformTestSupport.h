// Helpers of the platform tests: temporary folders, sysfs trees built the
// way the kernel lays them out, fixture files.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace platformtest {

namespace fs = std::filesystem;

inline std::string Fixture(const std::string& name)
{
    return std::string(KESTRIX_PLATFORM_FIXTURES) + "/" + name;
}

// A temporary folder, removed with everything in it at the end.
class TempDir {
public:
    explicit TempDir(const char* prefix = "kestrix-test")
    {
        std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        if (!path_.empty())
            fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& contents)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

// A sysfs tree in a temporary folder: devices under devices/, with the
// links class/block/<name>, dev/block/<maj:min> and block/<disk> pointing at
// them, and "subsystem" links naming each bus.
class SysfsTree {
public:
    const std::string& Root() const { return dir_.Path(); }

    // Marks a device folder (relative to devices/) as belonging to a bus.
    void Bus(const std::string& device, const std::string& subsystem)
    {
        const fs::path d = fs::path(Root()) / "devices" / device;
        fs::create_directories(d);
        fs::create_directories(fs::path(Root()) / "bus" / subsystem);
        fs::create_symlink(fs::path(Root()) / "bus" / subsystem, d / "subsystem");
    }

    // A whole disk below a parent device folder (relative to devices/).
    // Returns the disk's folder relative to devices/.
    std::string Disk(const std::string& parent, const std::string& name, const std::string& dev, bool removable,
                     unsigned logicalBlockSize = 512)
    {
        const std::string rel = parent + "/block/" + name;
        const fs::path d = fs::path(Root()) / "devices" / rel;
        WriteFile((d / "dev").string(), dev + "\n");
        WriteFile((d / "removable").string(), removable ? "1\n" : "0\n");
        WriteFile((d / "queue" / "logical_block_size").string(), std::to_string(logicalBlockSize) + "\n");
        Link(rel, name, dev);
        fs::create_directories(fs::path(Root()) / "block");
        fs::create_symlink(d, fs::path(Root()) / "block" / name);
        return rel;
    }

    void Partition(const std::string& disk, const std::string& name, const std::string& dev)
    {
        const std::string rel = disk + "/" + name;
        const fs::path d = fs::path(Root()) / "devices" / rel;
        WriteFile((d / "dev").string(), dev + "\n");
        WriteFile((d / "partition").string(), "1\n");
        Link(rel, name, dev);
    }

    // A device-mapper (or md) disk built on other block devices.
    void Slave(const std::string& disk, const std::string& slaveName)
    {
        const fs::path slaves = fs::path(Root()) / "devices" / disk / "slaves";
        fs::create_directories(slaves);
        fs::create_symlink(fs::read_symlink(fs::path(Root()) / "class" / "block" / slaveName), slaves / slaveName);
    }

private:
    void Link(const std::string& rel, const std::string& name, const std::string& dev)
    {
        const fs::path target = fs::path(Root()) / "devices" / rel;
        fs::create_directories(fs::path(Root()) / "class" / "block");
        fs::create_directories(fs::path(Root()) / "dev" / "block");
        fs::create_symlink(target, fs::path(Root()) / "class" / "block" / name);
        fs::create_symlink(target, fs::path(Root()) / "dev" / "block" / dev);
    }

    TempDir dir_{"kestrix-sysfs"};
};

} // namespace platformtest
