#pragma once
// The download rows of the logged-in user, shared by the whole app. All rows in state "0" run at
// once, each with its own engine.

#include "download/DonwLoadView.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace ql {

class SingletonDownloadEngine {
public:
    using Rows = std::vector<std::shared_ptr<DonwLoadView>>;

    static SingletonDownloadEngine& sharedSingletonDownloadEngine();

    const Rows& engineArray() const { return engineArray_; }
    void setEngineArray(Rows rows) { engineArray_ = std::move(rows); }

    // Replaces the list by one row per stored download of the logged-in user (none when nobody
    // is logged in), each made "fromsettings" so that none starts by itself.
    void rebuild();
    // After a rebuild: rows stored as downloading start when a user is logged in, else pause.
    void init();
    // Starts every row whose record says downloading (a lesson was added, the manager opened).
    void startQueued();
    void append(std::shared_ptr<DonwLoadView> row) { engineArray_.push_back(std::move(row)); }
    void remove(const DonwLoadView* row);
    // Logout: every row pauses and the list is dropped.
    void pauseAllAndDrop();

    // The download folder of the logged-in user, Library/Caches/<True_userid>; empty when
    // nobody is logged in or the id is not a plain id.
    static std::filesystem::path userFolder();
    // A row for a stored download of the logged-in user.
    static std::shared_ptr<DonwLoadView> makeRow(const QLVideoDownloadData& record);

private:
    SingletonDownloadEngine() = default;
    Rows engineArray_;
};

// Texts of the manager's space bar: free space "%qi GB" above 1 GB, else "%qi MB"; total "%0.2f GB".
std::string freeSpaceText(std::uint64_t freeBytes);
std::string totalSpaceText(std::uint64_t totalBytes);

}  // namespace ql
