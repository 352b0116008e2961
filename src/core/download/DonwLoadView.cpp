#include "download/DonwLoadView.h"

#include "Data/QLClassDAO.h"
#include "platform/DiskSpace.h"
#include "platform/NotificationCenter.h"
#include "platform/Preferences.h"
#include "protocol/TestNetwork.h"

#include <cstdio>
#include <cstdlib>

namespace ql {

namespace {

std::string format(const char* pattern, double a, double b = 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, a, b);
    return buf;
}

std::string percent(int p) { return std::to_string(p) + "％"; }

}  // namespace

DonwLoadView::DonwLoadView(std::unique_ptr<VDDownLoadEngine> engine, std::string state, const std::string& origin)
    : engine_(std::move(engine)), state_(std::move(state)) {
    engine_->setDelegate(this);
    freeSpace = [folder = engine_->downLoadingPath()]() -> std::optional<std::uint64_t> {
        auto space = DiskSpace::of(folder);
        return space ? std::optional<std::uint64_t>(space->freeBytes) : std::nullopt;
    };
    if (state_ == kDownloading && origin != "fromsettings") engine_->startLoad();
    checkstatus();
}

std::filesystem::path DonwLoadView::finishedFile() const {
    return engine_->downLoadingPath().parent_path() / (engine_->getVid() + ".mp4");
}

void DonwLoadView::start() { engine_->startLoad(); }

void DonwLoadView::pause() {
    engine_->pauseLoad();
    state_ = kPaused;
    checkstatus();
}

void DonwLoadView::startButtonPressed() {
    state_ = kDownloading;
    checkstatus();
    engine_->startLoad();
    double total = engine_->fileTotalSize();
    write(kDownloading, total * currentSize_, total);
}

void DonwLoadView::pauseButtonPressed() {
    engine_->pauseLoad();
    state_ = kPaused;
    checkstatus();
    double total = engine_->fileTotalSize();
    write(kPaused, total * currentSize_, total);
}

void DonwLoadView::playButtonPressed() {
    std::error_code ec;
    auto file = finishedFile();
    if (std::filesystem::exists(file, ec) && onPlay) onPlay(file);
}

void DonwLoadView::getCurrentSize(float x) {
    const double total = engine_->fileTotalSize();
    if (Preferences::standard().stringForKey("wifi") == "ONLYWIFIISON" && networkType() != "wifi") {
        engine_->pauseLoad();
        state_ = kPaused;
        checkstatus();
        write(kPaused, total * currentSize_, total);
        if (onAlert) onAlert({"", "当前没有WIFI网络!使用3G下载请更改设置", "好", 10000});
        return;
    }
    auto free = freeSpace ? freeSpace() : std::nullopt;
    if (free && *free / 1048576 <= 9) {
        engine_->pauseLoad();
        state_ = kPaused;
        checkstatus();
        if (onAlert) onAlert({"", "当前剩余空间不足10M，请删除部分视频后下载", "好", 10001});
        return;
    }
    currentSize_ = x;
    if (x <= 0) return;
    const int p = static_cast<int>(x * 100);
    if (p % 2 == 0) {
        state_ = kDownloading;
        checkstatus();
        look_.progressText = percent(p);
        look_.lengthText = format("%.2f/%.2fMB", total * x, total);
        look_.progress = x;
        changed();
    }
    // The progress is stored at 0, 30, 60 and 90 %. Reports come at the pace of the transfer, so
    // a checkpoint passed between two reports is stored at the first report after it.
    const int checkpoint = p / 30;
    if (p % 30 == 0 || checkpoint > lastWrittenCheckpoint_) {
        lastWrittenCheckpoint_ = checkpoint;
        write(kDownloading, total * x, total);
    }
}

// Asking for the network type takes a connection probe on the UI thread; progress comes many
// times a second, so one answer serves for a second.
const std::string& DonwLoadView::networkType() {
    const auto now = std::chrono::steady_clock::now();
    if (network_.empty() || now - networkAt_ >= std::chrono::seconds(1)) {
        network_ = TestNetwork::GetCurrntNet();
        networkAt_ = now;
    }
    return network_;
}

void DonwLoadView::requestFinish(VDDownLoadEngine&) {
    state_ = kFinished;
    checkstatus();
    double total = engine_->fileTotalSize();
    write(kFinished, total, total);
    NotificationCenter::defaultCenter().post("QLDownloadNotification", this);
}

void DonwLoadView::requestFail(VDDownLoadEngine&) {
    // The engine has paused itself; the row stays queued and shows what is stored.
    showStored(false);
}

void DonwLoadView::refreshLb() { showStored(true); }

void DonwLoadView::showStored(bool enablePlayAtEnd) {
    const double c = std::atof(qlvideodownloaddata_.currentsize.c_str());
    const double t = std::atof(qlvideodownloaddata_.filetotalsize.c_str());
    if (c > 0 && t > 0) {  // a size without a total cannot be shown as a share
        const double share = c / t;
        look_.progressText = percent(static_cast<int>(share * 100));
        look_.lengthText = format("%.2f/%.2fMB", c, t);
        look_.progress = static_cast<float>(share);
        if (enablePlayAtEnd && share * 100 >= 100) look_.playEnabled = true;
    }
    changed();
}

void DonwLoadView::checkstatus() {
    auto show = [this](bool play, bool pause, bool start, const char* text) {
        look_.playShown = look_.playEnabled = play;
        look_.pauseShown = look_.pauseEnabled = pause;
        look_.startShown = look_.startEnabled = start;
        look_.statusText = text;
    };
    if (state_ == kDownloading) show(false, true, false, "下载中");
    else if (state_ == kPaused) show(false, false, true, "已暂停");
    else if (state_ == kFinished) show(true, false, false, "已完成");
    else return;
    changed();
}

void DonwLoadView::write(const std::string& status, double currentMB, double totalMB) {
    QLClassDAO dao;
    dao.updateDownloadVieo(qlvideodownloaddata_.uid, qlvideodownloaddata_.vid,
                           Preferences::standard().stringForKey("True_userid"), status,
                           format("%.2f", currentMB), format("%.2f", totalMB));
}

void DonwLoadView::changed() {
    if (onChanged) onChanged();
}

}  // namespace ql
