// Folder listings on Linux: getdents64 on an open folder, each entry examined
// with fstatat relative to it, sub-folders opened with openat on the same
// handle. Names are raw bytes and never glued back into path strings, so
// renamed or odd names (no valid UTF-8, newlines) are listed as they are and
// a symbolic link is never followed.
#pragma once

#include <memory>
#include <vector>
#include <string>

#include "Platform.h"

// Opens a folder listing of an absolute folder, then descends `components`
// one by one without following links ("." and ".." are refused). nullptr
// when any step cannot be opened.
std::unique_ptr<DirListing> OpenDirListing(const std::string& folder, const std::vector<std::string>& components);
