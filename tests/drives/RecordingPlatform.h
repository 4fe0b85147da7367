// A fake platform that notes the error mode in force while a drive is
// queried, and can throw from the query as a failing system layer would.
#pragma once

#include <stdexcept>

#include "platform/FakePlatform.h"

class RecordingPlatform : public FakePlatform {
public:
    static constexpr unsigned kNotAsked = 0xDEAD;
    unsigned ModeDuringQuery = kNotAsked;
    bool Throws = false;

    bool GetDiskFreeSpaceEx(const QString& root, std::int64_t& freeToCaller, std::int64_t& total) override
    {
        Note();
        return FakePlatform::GetDiskFreeSpaceEx(root, freeToCaller, total);
    }
    bool GetDiskFreeSpace(const QString& root, ClusterInfo& info) override
    {
        Note();
        return FakePlatform::GetDiskFreeSpace(root, info);
    }
    bool GetVolumeInformation(const QString& root, VolumeInformation& info) override
    {
        Note();
        return FakePlatform::GetVolumeInformation(root, info);
    }

private:
    void Note()
    {
        ModeDuringQuery = ErrorMode;
        if (Throws)
            throw std::runtime_error("the drive went away");
    }
};
