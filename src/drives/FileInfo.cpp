#include "FileInfo.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/Platform.h"

namespace {

constexpr std::uint32_t kNoFolder = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t kMaxBytes = std::numeric_limits<std::int64_t>::max();

std::int64_t AddSaturated(std::int64_t a, std::int64_t b)
{
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? kMaxBytes : std::numeric_limits<std::int64_t>::min();
    return sum;
}

// An array of fixed-size chunks: growing never moves an element (so no
// reference goes stale and no copy doubles the memory for a moment), and a
// chunk's pages are touched only as elements are written.
template <class T, unsigned Bits>
class ChunkedArray {
public:
    static constexpr std::uint64_t kChunk = std::uint64_t(1) << Bits;

    std::uint64_t Size() const { return size_; }
    T& operator[](std::uint64_t i) { return chunks_[i >> Bits][i & (kChunk - 1)]; }
    const T& operator[](std::uint64_t i) const { return chunks_[i >> Bits][i & (kChunk - 1)]; }

    T& Append()
    {
        if ((size_ >> Bits) == chunks_.size())
            chunks_.emplace_back(new T[kChunk]); // default-initialised: untouched
        return (*this)[size_++];
    }
    void Clear()
    {
        chunks_.clear();
        size_ = 0;
    }
    std::uint64_t Bytes() const { return chunks_.size() * kChunk * sizeof(T); }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    std::uint64_t size_ = 0;
};

std::string_view Dots(std::size_t n) { return std::string_view("..", n); }

bool IsDotOrDotDot(const std::string& name)
{
    return !name.empty() && name[0] == '.' && (name.size() == 1 || (name.size() == 2 && name[1] == '.'));
}

} // namespace

std::int64_t RoundUpToUnit(std::int64_t Size, std::int64_t Unit)
{
    const std::uint64_t mask = std::uint64_t(Unit) - 1;
    if (Size > kMaxBytes - std::int64_t(mask))
        return std::int64_t(std::uint64_t(kMaxBytes) & ~mask);
    return std::int64_t((std::uint64_t(Size) + mask) & ~mask);
}

// --- the kept tree --------------------------------------------------------------

class TDirectoryTree {
public:
    // One entry of a folder: 16 bytes.
    struct Item {
        std::uint64_t Name;  // offset in the arena << 16 | length
        std::uint32_t Size;  // the design's 32-bit size
        std::uint32_t Sub;   // folder index + 1 for a folder, 0 for a file
    };
    // One folder: its items are the contiguous run FirstItem .. + ItemCount.
    struct Folder {
        std::uint64_t FirstItem;
        std::uint64_t Entry; // its item in the parent's run
        std::int64_t TotalSize;
        std::int64_t EntryCount;
        std::int64_t FolderCount;
        std::uint32_t ItemCount;
        std::uint32_t Parent;
        std::uint32_t Enter; // 1 while the walk has still to enter it
    };
    static constexpr unsigned kArenaBits = 18;
    static constexpr std::uint64_t kMaxName = 0xFFFF;

    explicit TDirectoryTree(const QString& path) { Clear(path); }

    void Clear(const QString& path)
    {
        items_.Clear();
        folders_.Clear();
        arena_.clear();
        arenaUsed_ = 0;
        rootPath_ = path;
        Folder& root = folders_.Append();
        root = Folder{0, 0, 0, 0, 0, 0, kNoFolder, 0};
    }

    const QString& RootPath() const { return rootPath_; }
    Folder& F(std::uint32_t i) { return folders_[i]; }
    const Folder& F(std::uint32_t i) const { return folders_[i]; }
    Item& I(std::uint64_t i) { return items_[i]; }
    const Item& I(std::uint64_t i) const { return items_[i]; }
    std::uint64_t ItemTotal() const { return items_.Size(); }

    std::uint32_t NewFolder(std::uint32_t parent, std::uint64_t entry)
    {
        const auto index = std::uint32_t(folders_.Size());
        Folder& f = folders_.Append();
        // The "." and ".." of every folder below the root count.
        f = Folder{0, entry, 0, 2, 0, 0, parent, 1};
        return index;
    }

    void AppendItem(const std::string& name, std::uint32_t size, std::uint32_t sub)
    {
        const std::uint64_t length = std::min<std::uint64_t>(name.size(), kMaxName);
        const std::uint64_t chunk = std::uint64_t(1) << kArenaBits;
        // A name never straddles two chunks.
        if (arena_.empty() || arenaUsed_ + length > arena_.size() * chunk) {
            arena_.emplace_back(new char[chunk]);
            arenaUsed_ = (arena_.size() - 1) * chunk;
        }
        std::memcpy(arena_.back().get() + (arenaUsed_ & (chunk - 1)), name.data(), length);
        Item& item = items_.Append();
        item = Item{arenaUsed_ << 16 | length, size, sub};
        arenaUsed_ += length;
    }

    std::string_view NameOf(const Item& item) const
    {
        const std::uint64_t offset = item.Name >> 16;
        const std::uint64_t chunk = std::uint64_t(1) << kArenaBits;
        return std::string_view(arena_[offset >> kArenaBits].get() + (offset & (chunk - 1)),
                                std::size_t(item.Name & kMaxName));
    }

    std::uint64_t Bytes() const
    {
        return items_.Bytes() + folders_.Bytes() + arena_.size() * (std::uint64_t(1) << kArenaBits);
    }

private:
    ChunkedArray<Item, 13> items_;    // 128 KiB chunks
    ChunkedArray<Folder, 12> folders_; // 224 KiB chunks
    std::vector<std::unique_ptr<char[]>> arena_;
    std::uint64_t arenaUsed_ = 0;
    QString rootPath_;
};

// --- the view of one folder ------------------------------------------------------

namespace {

QString Decoded(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

int TDirectoryFolder::Count() const
{
    const auto& f = tree_->F(index_);
    return int(f.ItemCount) + (f.Parent == kNoFolder ? 0 : 1);
}

bool TDirectoryFolder::IsFolder(int i) const
{
    const auto& f = tree_->F(index_);
    if (f.Parent != kNoFolder && i-- == 0)
        return false;
    return i >= 0 && std::uint32_t(i) < f.ItemCount && tree_->I(f.FirstItem + std::uint64_t(i)).Sub != 0;
}

std::string_view TDirectoryFolder::Name(int i) const
{
    const auto& f = tree_->F(index_);
    if (f.Parent != kNoFolder && i-- == 0)
        return Dots(2);
    if (i < 0 || std::uint32_t(i) >= f.ItemCount)
        return {};
    return tree_->NameOf(tree_->I(f.FirstItem + std::uint64_t(i)));
}

QString TDirectoryFolder::Strings(int i) const
{
    const QString name = Decoded(Name(i));
    return IsFolder(i) ? QLatin1Char('\\') + name : name;
}

TDirectoryData TDirectoryFolder::Objects(int i) const
{
    const auto& f = tree_->F(index_);
    if (f.Parent != kNoFolder && i-- == 0)
        return TDirectoryData(0, *this, std::nullopt);
    if (i < 0 || std::uint32_t(i) >= f.ItemCount)
        return TDirectoryData(0, *this, std::nullopt);
    const auto& item = tree_->I(f.FirstItem + std::uint64_t(i));
    std::optional<TDirectoryFolder> sub;
    if (item.Sub != 0)
        sub = TDirectoryFolder(tree_, item.Sub - 1);
    return TDirectoryData(item.Size, *this, sub);
}

QString TDirectoryFolder::Path() const
{
    std::vector<std::string_view> names;
    for (std::uint32_t i = index_; tree_->F(i).Parent != kNoFolder; i = tree_->F(i).Parent)
        names.push_back(tree_->NameOf(tree_->I(tree_->F(i).Entry)));
    QString path = tree_->RootPath();
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        path += Decoded(*it) + QLatin1Char('\\');
    return path;
}

std::optional<TDirectoryFolder> TDirectoryFolder::Parent() const
{
    const std::uint32_t parent = tree_->F(index_).Parent;
    if (parent == kNoFolder)
        return std::nullopt;
    return TDirectoryFolder(tree_, parent);
}

std::int64_t TDirectoryFolder::TotalSize() const { return tree_->F(index_).TotalSize; }
std::int64_t TDirectoryFolder::EntryCount() const { return tree_->F(index_).EntryCount; }
std::int64_t TDirectoryFolder::FolderCount() const { return tree_->F(index_).FolderCount; }

// --- the walk ----------------------------------------------------------------------

namespace {

using Clock = std::chrono::steady_clock;

// An iterative depth-first walk: a stack of the folders along the current
// path, each with its listing (or none, while its handle is let go) and the
// next of its items to look at for a sub-folder. A folder is read whole
// before any of its sub-folders is entered.
class Walk {
public:
    Walk(TDirectoryTree& tree, const bool& stop, const TScanStatus& status, std::int64_t unit,
         const TScanPacing& pacing)
        : tree_(tree), stop_(stop), status_(status), unit_(unit), pacing_(pacing),
          pumpEvery_(std::chrono::milliseconds(std::max(0, pacing.PumpMs))),
          statusEvery_(std::chrono::milliseconds(std::max(0, pacing.StatusMs))),
          maxOpen_(std::max(1, pacing.OpenHandles))
    {
    }

    void Run()
    {
        Platform& platform = CurrentPlatform();
        StartFolder(0);
        if (stop_)
            return;
        std::unique_ptr<DirListing> root = platform.FindFirst(tree_.RootPath());
        if (!root)
            return;
        Push(0, std::move(root));
        while (!frames_.empty()) {
            if (stop_) {
                while (!frames_.empty())
                    Pop();
                break;
            }
            Frame& top = frames_.back();
            const std::uint64_t next = NextSubFolder(top);
            if (next == kNone) {
                Pop();
                continue;
            }
            top.Cursor = next + 1;
            Enter(frames_.size() - 1, tree_.I(next).Sub - 1);
        }
    }

private:
    static constexpr std::uint64_t kNone = std::numeric_limits<std::uint64_t>::max();

    struct Frame {
        std::uint32_t Folder;
        std::unique_ptr<DirListing> Listing;
        FolderIdentity Id;
        std::uint64_t Cursor; // absolute item index
    };

    std::uint64_t NextSubFolder(const Frame& frame) const
    {
        const auto& f = tree_.F(frame.Folder);
        const std::uint64_t end = f.FirstItem + f.ItemCount;
        for (std::uint64_t i = frame.Cursor; i < end; ++i) {
            const auto& item = tree_.I(i);
            if (item.Sub != 0 && tree_.F(item.Sub - 1).Enter)
                return i;
        }
        return kNone;
    }

    // A folder begins: its text becomes the one due, the loop may run.
    void StartFolder(std::uint32_t folder)
    {
        dueStatus_ = folder;
        MaybePump();
    }

    void MaybePump()
    {
        Clock::time_point now = Clock::now();
        if (pumped_ && now - lastPump_ < pumpEvery_)
            return;
        if (dueStatus_ != kNoFolder && (!statusShown_ || now - lastStatus_ >= statusEvery_)) {
            if (status_)
                status_(QStringLiteral("Scanning ") + TDirectoryFolderOf(dueStatus_).Path() + QStringLiteral("..."));
            statusShown_ = true;
            lastStatus_ = now;
            dueStatus_ = kNoFolder;
        }
        if (pacing_.Pump)
            pacing_.Pump();
        else if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        pumped_ = true;
        lastPump_ = Clock::now();
    }

    // A view of a folder of this tree (for its path).
    struct FolderView : TDirectoryFolder {
        FolderView(const TDirectoryTree* t, std::uint32_t i) : TDirectoryFolder(t, i) {}
    };
    FolderView TDirectoryFolderOf(std::uint32_t folder) const { return FolderView(&tree_, folder); }

    void Push(std::uint32_t folder, std::unique_ptr<DirListing> listing)
    {
        const FolderIdentity id = listing->Identity();
        frames_.push_back(Frame{folder, std::move(listing), id, 0});
        ++open_;
        LimitHandles();
        Read(frames_.back());
    }

    // Reads a folder's whole listing into the tree.
    void Read(Frame& frame)
    {
        auto& f = tree_.F(frame.Folder);
        f.FirstItem = tree_.ItemTotal();
        frame.Cursor = f.FirstItem;
        DirEntry e;
        unsigned n = 0;
        for (;;) {
            if ((++n & 63) == 0)
                MaybePump();
            if (stop_ || !frame.Listing->Next(e))
                break;
            if (IsDotOrDotDot(e.Name))
                continue; // counted for every folder below the root, never for the root
            if (e.Directory) {
                const std::uint32_t sub = tree_.NewFolder(frame.Folder, tree_.ItemTotal());
                tree_.AppendItem(e.Name, 0, sub + 1);
                f.FolderCount += 1;
                f.EntryCount += 1;
                if (e.OtherDevice) { // another filesystem: an empty folder, not entered
                    tree_.F(sub).Enter = 0;
                    Finish(sub);
                }
            } else {
                const std::int64_t size = std::max<std::int64_t>(0, e.SymLink ? e.LinkSize : e.Size);
                const std::int64_t rounded = RoundUpToUnit(size, unit_);
                tree_.AppendItem(e.Name, std::uint32_t(std::uint64_t(rounded)), 0);
                f.TotalSize = AddSaturated(f.TotalSize, rounded);
                f.EntryCount += 1;
            }
            ++f.ItemCount;
        }
    }

    // Walks into sub-folder `folder` of the frame at `parent`.
    void Enter(std::size_t parent, std::uint32_t folder)
    {
        tree_.F(folder).Enter = 0;
        StartFolder(folder);
        if (stop_) {
            Finish(folder);
            return;
        }
        const std::string name(tree_.NameOf(tree_.I(tree_.F(folder).Entry)));
        Frame& p = frames_[parent];
        std::unique_ptr<DirListing> listing = p.Listing ? p.Listing->OpenChild(name) : nullptr;
        if (listing)
            Push(folder, std::move(listing));
        else
            Finish(folder); // cannot be listed (or gone): an empty folder
    }

    void Pop()
    {
        Frame done = std::move(frames_.back());
        frames_.pop_back();
        if (done.Listing)
            --open_;
        Finish(done.Folder);
        if (frames_.empty() || stop_)
            return;
        Frame& p = frames_.back();
        if (!p.Listing && NextSubFolder(p) != kNone) {
            p.Listing = Reopen(frames_.size() - 1, done.Listing.get());
            if (p.Listing)
                ++open_;
        }
    }

    // A folder's sums go to its parent, its size to its item there.
    void Finish(std::uint32_t folder)
    {
        const auto& c = tree_.F(folder);
        if (c.Parent == kNoFolder)
            return;
        auto& p = tree_.F(c.Parent);
        tree_.I(c.Entry).Size = std::uint32_t(std::uint64_t(c.TotalSize));
        p.TotalSize = AddSaturated(p.TotalSize, c.TotalSize);
        p.EntryCount += c.EntryCount;
        p.FolderCount += c.FolderCount;
    }

    // Lets the shallowest open handles go while more than the bound are open.
    void LimitHandles()
    {
        while (open_ > maxOpen_) {
            while (firstOpen_ < frames_.size() && !frames_[firstOpen_].Listing)
                ++firstOpen_;
            if (firstOpen_ + 1 >= frames_.size())
                return; // the deepest stays open
            frames_[firstOpen_].Listing.reset();
            --open_;
        }
    }

    // Opens the folder of frame `index` again: through the ".." of its child
    // just walked, else from the nearest open folder above it (or the root)
    // down by names; each reopened folder must be the one that was left.
    std::unique_ptr<DirListing> Reopen(std::size_t index, DirListing* child)
    {
        firstOpen_ = std::min(firstOpen_, index);
        if (child) {
            std::unique_ptr<DirListing> up = child->OpenParent();
            if (up && up->Identity() == frames_[index].Id)
                return up;
        }
        std::size_t from = index;
        while (from > 0 && !frames_[from - 1].Listing)
            --from;
        std::unique_ptr<DirListing> l;
        DirListing* at = nullptr;
        if (from == 0) {
            l = CurrentPlatform().FindFirst(tree_.RootPath());
            if (!l || l->Identity() != frames_[0].Id)
                return nullptr;
            at = l.get();
            ++from;
        } else {
            at = frames_[from - 1].Listing.get();
        }
        for (std::size_t k = from; k <= index; ++k) {
            const std::string name(tree_.NameOf(tree_.I(tree_.F(frames_[k].Folder).Entry)));
            std::unique_ptr<DirListing> next = at->OpenChild(name);
            if (!next || next->Identity() != frames_[k].Id)
                return nullptr;
            l = std::move(next);
            at = l.get();
        }
        return l;
    }

    TDirectoryTree& tree_;
    const bool& stop_;
    const TScanStatus& status_;
    const std::int64_t unit_;
    const TScanPacing& pacing_;
    const Clock::duration pumpEvery_;
    const Clock::duration statusEvery_;
    const std::size_t maxOpen_;

    std::vector<Frame> frames_;
    std::size_t open_ = 0;
    std::size_t firstOpen_ = 0;
    std::uint32_t dueStatus_ = kNoFolder;
    bool pumped_ = false;
    bool statusShown_ = false;
    Clock::time_point lastPump_{};
    Clock::time_point lastStatus_{};
};

} // namespace

// --- the root list ------------------------------------------------------------------

TDirectoryList::TDirectoryList(const QString& Path)
    : TDirectoryFolder(nullptr, 0), store_(std::make_unique<TDirectoryTree>(Path))
{
    tree_ = store_.get();
}

TDirectoryList::~TDirectoryList() = default;

void TDirectoryList::Reset(const QString& Path)
{
    if (scanning_)
        return;
    store_->Clear(Path);
}

void TDirectoryList::Scan(const bool& StopFlag, const TScanStatus& Status, std::int64_t AllocationUnit,
                          const TScanPacing& Pacing)
{
    if (scanning_)
        return;
    scanning_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{scanning_};
    store_->Clear(store_->RootPath());
    Walk(*store_, StopFlag, Status, AllocationUnit < 1 ? 1 : AllocationUnit, Pacing).Run();
}

std::uint64_t TDirectoryList::KeptBytes() const
{
    return store_->Bytes();
}
