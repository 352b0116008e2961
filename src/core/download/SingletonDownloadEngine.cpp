#include "download/SingletonDownloadEngine.h"

#include "Data/QLClassDAO.h"
#include "platform/Preferences.h"
#include "platform/SandboxPaths.h"

#include <algorithm>
#include <cstdio>

namespace ql {

SingletonDownloadEngine& SingletonDownloadEngine::sharedSingletonDownloadEngine() {
    static SingletonDownloadEngine shared;  // made once, thread-safely
    return shared;
}

std::filesystem::path SingletonDownloadEngine::userFolder() {
    std::string user = Preferences::standard().stringForKey("True_userid");
    if (!VDDownLoadEngine::isPlainId(user)) return {};
    return paths::caches() / user;
}

std::shared_ptr<DonwLoadView> SingletonDownloadEngine::makeRow(const QLVideoDownloadData& record) {
    auto engine = std::make_unique<VDDownLoadEngine>(record.uid, record.vid, userFolder());
    auto row = std::make_shared<DonwLoadView>(std::move(engine), record.status, "fromsettings");
    row->setRecord(record);
    return row;
}

void SingletonDownloadEngine::rebuild() {
    Rows rows;
    if (!userFolder().empty()) {
        for (const auto& record : QLClassDAO().searchDownloadVieo()) rows.push_back(makeRow(record));
    }
    engineArray_ = std::move(rows);
}

void SingletonDownloadEngine::init() {
    const bool loggedIn = Preferences::standard().contains("userid");
    for (const auto& row : engineArray_) {
        if (row->qlvideodownloaddata().status != DonwLoadView::kDownloading) continue;
        if (loggedIn) row->start();
        else row->pause();
    }
}

void SingletonDownloadEngine::startQueued() {
    for (const auto& row : engineArray_) {
        if (row->qlvideodownloaddata().status == DonwLoadView::kDownloading) row->start();
    }
}

void SingletonDownloadEngine::remove(const DonwLoadView* row) {
    std::erase_if(engineArray_, [row](const auto& r) { return r.get() == row; });
}

void SingletonDownloadEngine::pauseAllAndDrop() {
    for (const auto& row : engineArray_) row->pause();
    engineArray_.clear();
}

std::string freeSpaceText(std::uint64_t freeBytes) {
    if (freeBytes > 1073741824ULL) return std::to_string(freeBytes / 1073741824ULL) + " GB";
    return std::to_string(freeBytes / 1048576ULL) + " MB";
}

std::string totalSpaceText(std::uint64_t totalBytes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0.2f GB", static_cast<double>(totalBytes) / 1024 / 1024 / 1024);
    return buf;
}

}  // namespace ql
