#include "platform/folder_names.h"

#include <cerrno>
#include <dirent.h>
#include <map>
#include <mutex>
#include <pthread.h>
#include <set>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

#include "platform/cp1251.h"

namespace morvath {
namespace {

// The key of a name: lower case by the game's own table.
std::wstring KeyOf(std::string_view name) { return LowerText(FromUtf8(name)); }

// One folder's names by their keys. A folder is known by its device and inode, so two
// spellings of its path share one list, and a folder removed and made again is listed anew.
struct FolderList {
    std::unordered_map<std::wstring, std::set<std::string>> names;

    void Add(const std::string& name) { names[KeyOf(name)].insert(name); }
    void Remove(const std::string& name) {
        auto it = names.find(KeyOf(name));
        if (it == names.end()) return;
        it->second.erase(name);
        if (it->second.empty()) names.erase(it);
    }
};

using FolderId = std::pair<dev_t, ino_t>;

// Calls `take` with every name in the folder but "." and ".."; false when it cannot be read.
template <typename Take>
bool ListFolder(const fs::path& folder, Take take) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name != "." && name != "..") take(std::string(name));
    }
    ::closedir(dir);
    return true;
}

// What a change in a watched folder is reported for: a name that appears or goes, and the
// folder itself going away.
constexpr std::uint32_t kWatched =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

class FolderNames {
public:
    FolderNames() {
        ::pthread_atfork(nullptr, nullptr, [] { ForkedCopy() = true; });
    }

    std::optional<std::string> Find(const fs::path& folder, std::wstring_view name) {
        std::lock_guard<std::mutex> lock(mutex_);
        struct stat st;
        if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
        const std::wstring key = LowerText(name);
        FolderList* list = Watched({st.st_dev, st.st_ino}, folder);
        if (!list) return ListedNow(folder, key);
        auto it = list->names.find(key);
        if (it == list->names.end()) return std::nullopt;
        return *it->second.begin();
    }

private:
    // The list of a folder, kept current by the reports; nothing when the system will not
    // report on it.
    FolderList* Watched(const FolderId& id, const fs::path& folder) {
        // A copy of the process made by fork shares the parent's reports, and whichever
        // reads one takes it from the other: each process keeps its own.
        if (ForkedCopy()) {
            ForkedCopy() = false;
            Forget();
        }
        if (fd_ < 0) {
            fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            if (fd_ < 0) return nullptr;
        }
        TakeReports();
        if (fd_ < 0) return nullptr;
        auto known = lists_.find(id);
        if (known != lists_.end()) return &known->second;
        // The watch comes before the listing: a name that changes meanwhile is reported and
        // put right by the report, whichever way the listing saw it.
        const int watch = ::inotify_add_watch(fd_, folder.c_str(), kWatched);
        if (watch < 0) return nullptr;
        // A watch already held stands for the folder that had this inode before, gone unseen.
        if (auto old = watches_.find(watch); old != watches_.end()) {
            lists_.erase(old->second);
            watches_.erase(old);
        }
        FolderList list;
        if (!ListFolder(folder, [&](const std::string& n) { list.Add(n); })) {
            ::inotify_rm_watch(fd_, watch);
            return nullptr;
        }
        watches_[watch] = id;
        lists_[id] = std::move(list);
        TakeReports();
        auto listed = lists_.find(id);
        return listed == lists_.end() ? nullptr : &listed->second;
    }

    static std::optional<std::string> ListedNow(const fs::path& folder, const std::wstring& key) {
        std::optional<std::string> found;
        ListFolder(folder, [&](const std::string& n) {
            if (KeyOf(n) == key && (!found || n < *found)) found = n;
        });
        return found;
    }

    // Applies every report waiting; a lost report makes every list suspect, so all go.
    void TakeReports() {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return;  // EAGAIN: nothing more waits
            for (ssize_t at = 0; at < got;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                if (e->mask & IN_Q_OVERFLOW) {
                    Forget();
                    return;
                }
                Apply(*e);
            }
        }
    }

    void Apply(const inotify_event& e) {
        auto w = watches_.find(e.wd);
        if (w == watches_.end()) return;
        auto list = lists_.find(w->second);
        if (e.mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
            // The folder itself went: its list goes, and the next look-up lists what stands there.
            if (!(e.mask & IN_IGNORED)) ::inotify_rm_watch(fd_, e.wd);
            if (list != lists_.end()) lists_.erase(list);
            watches_.erase(w);
            return;
        }
        if (list == lists_.end() || e.len == 0) return;
        const std::string name(e.name);
        if (e.mask & (IN_CREATE | IN_MOVED_TO)) list->second.Add(name);
        if (e.mask & (IN_DELETE | IN_MOVED_FROM)) list->second.Remove(name);
    }

    void Forget() {
        // The descriptor of a parent process is closed in the copy only; the parent keeps it.
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        lists_.clear();
        watches_.clear();
    }

    static bool& ForkedCopy() {
        static bool forked = false;
        return forked;
    }

    std::mutex mutex_;
    int fd_ = -1;
    std::map<FolderId, FolderList> lists_;
    std::unordered_map<int, FolderId> watches_;
};

FolderNames& Names() {
    static FolderNames names;
    return names;
}

}  // namespace

std::optional<std::string> FindNameInFolder(const fs::path& folder, std::wstring_view name) {
    return Names().Find(folder, name);
}

}  // namespace morvath
