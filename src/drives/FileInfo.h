// The folder tree of a drive walk. A TDirectoryList is the root folder of a
// walk: it walks its path and keeps, for every folder below it, the entries
// in the order of the listing and the sums below that folder. A
// TDirectoryFolder shows one folder of such a tree (the root or any folder
// below it) as an ordered list of strings with an attached TDirectoryData
// each: a file's name, or "\" and a folder's name, and below the root a
// first item "..".
//
// The tree is kept compact: one 16-byte record per entry and one small
// record per folder in chunked arrays (nothing is moved while the tree
// grows), and every name once in a byte arena. Names are the listing's raw
// bytes; Strings() decodes them for display.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

// Size rounded up to a multiple of Unit, a power of two: (Size + Unit - 1)
// AND NOT (Unit - 1). Unit 1 leaves the size as it is; a size so large that
// rounding would pass the 64-bit range gives the largest multiple there is.
std::int64_t RoundUpToUnit(std::int64_t Size, std::int64_t Unit);

// Shows one status text of the walk ("Scanning C:\Windows\...").
using TScanStatus = std::function<void(const QString& Text)>;

// How a walk on the GUI thread keeps the window alive.
struct TScanPacing {
    // The event loop runs when this many milliseconds have passed since its
    // last pass: checked at the start of every folder and every 64 entries
    // within one. 0 runs it at every folder (and every 64 entries).
    int PumpMs = 10;
    // A folder's status text is handed on when the loop is about to run and
    // at least this many milliseconds have passed since the last text, so
    // that the status bar repaints at most about 60 times a second. 0 hands
    // on every folder's text.
    int StatusMs = 16;
    // One pass of the event loop; empty runs QCoreApplication::processEvents.
    std::function<void()> Pump;
    // Folder handles kept open along the path being walked; deeper folders
    // let the handle of the shallowest go and reopen it when they return.
    int OpenHandles = 32;
};

class TDirectoryTree;
class TDirectoryData;

// One folder of a walked tree. A light handle: valid while the tree it
// points into is neither reset nor walked again.
class TDirectoryFolder {
public:
    // Items: below the root, item 0 is "..".
    int Count() const;
    // The item's string: the file's name, or "\" and the folder's name
    // (decoded for display; invalid bytes show as replacement characters).
    QString Strings(int i) const;
    // The item's name as the listing gave it, without the folder's "\".
    std::string_view Name(int i) const;
    // Whether the item is a folder (an entry with a sub-list).
    bool IsFolder(int i) const;
    TDirectoryData Objects(int i) const;

    // The folder's path, ending in "\": the root's path, then the names of
    // the folders down to this one, each followed by "\".
    QString Path() const;
    // The folder that holds this one; none for the root.
    std::optional<TDirectoryFolder> Parent() const;

    // Sum of the rounded sizes of all files in and below the folder.
    std::int64_t TotalSize() const;
    // Listing entries counted in and below the folder: files, folders, and
    // the "." and ".." of every folder below the root.
    std::int64_t EntryCount() const;
    // Folders below this one at any depth, this one not counted.
    std::int64_t FolderCount() const;

    friend bool operator==(const TDirectoryFolder& a, const TDirectoryFolder& b)
    {
        return a.tree_ == b.tree_ && a.index_ == b.index_;
    }

protected:
    TDirectoryFolder(const TDirectoryTree* tree, std::uint32_t index) : tree_(tree), index_(index) {}
    friend class TDirectoryData;

    const TDirectoryTree* tree_;
    std::uint32_t index_;
};

// The record of one item: its size (the file's rounded size, or the
// sub-folder's TotalSize; a value of 4 GiB or more keeps its low 32 bits),
// the list that holds it and, for a folder, the folder's own list.
class TDirectoryData {
public:
    std::uint32_t Size() const { return size_; }
    TDirectoryFolder Owner() const { return owner_; }
    std::optional<TDirectoryFolder> SubList() const { return subList_; }

private:
    friend class TDirectoryFolder;
    TDirectoryData(std::uint32_t size, TDirectoryFolder owner, std::optional<TDirectoryFolder> subList)
        : size_(size), owner_(owner), subList_(subList)
    {
    }

    std::uint32_t size_;
    TDirectoryFolder owner_;
    std::optional<TDirectoryFolder> subList_;
};

// The root folder of a walk, owner of the whole tree.
class TDirectoryList : public TDirectoryFolder {
public:
    // An empty list of a path, all counters zero.
    explicit TDirectoryList(const QString& Path = QStringLiteral("."));
    ~TDirectoryList();
    TDirectoryList(const TDirectoryList&) = delete;
    TDirectoryList& operator=(const TDirectoryList&) = delete;

    // Releases every item (the whole tree below) and sets the path. Refused
    // (nothing changes) while this list is being walked.
    void Reset(const QString& Path);

    // Walks the path and everything below it, depth first in listing order,
    // filling the items and the counters (a tree left by an earlier walk is
    // released first). StopFlag is read before every entry and after every
    // pass of the event loop; a stop ends the walk at once and keeps what
    // was read. Status is handed "Scanning " + a folder's path + "..." as
    // the pacing allows, the root's first. Refused while this list is being
    // walked already (a walk started from within its own event-loop pass).
    //
    // The walk stays on the filesystem of the root: a folder of another one
    // counts as an empty folder and is not entered. Symbolic links count as
    // files of their own size and are never followed. A folder that cannot
    // be listed, or that vanished, counts as an empty folder; entries that
    // vanish while they are listed are skipped. The "." and ".." entries are
    // counted for every folder below the root, whether or not its listing
    // returns them, and never for the root: so that EntryCount less three
    // per folder is always the number of files.
    void Scan(const bool& StopFlag, const TScanStatus& Status, std::int64_t AllocationUnit,
              const TScanPacing& Pacing = {});

    bool Scanning() const { return scanning_; }
    // Bytes the kept tree holds (records and names), for measurements.
    std::uint64_t KeptBytes() const;

private:
    std::unique_ptr<TDirectoryTree> store_;
    bool scanning_ = false;
};
