#pragma once
// One queued lesson: its download engine, its stored record, and the rules that run while it
// downloads (WiFi only, free space, progress written to the database at 0/30/60/90 %). What the
// row shows is plain state that a widget draws; alerts and "play this file" are events the GUI
// presents.

#include "Data/QLVideoDownloadData.h"
#include "download/VDDownLoadEngine.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace ql {

// What a row shows.
struct DownloadRowLook {
    std::string statusText;              // "下载中", "已暂停", "已完成"
    std::string progressText = "0%";     // "%d％"
    std::string lengthText = "0/0MB";    // "%.2f/%.2fMB"
    float progress = 0;                  // the bar, 0 to 1
    bool playShown = false, playEnabled = false;
    bool startShown = false, startEnabled = false;
    bool pauseShown = false, pauseEnabled = false;
};

struct DownloadAlert {
    std::string title;
    std::string message;
    std::string button;
    int tag = 0;
};

class DonwLoadView : public VDDonwnLoadEngineDelegate {
public:
    static inline const std::string kDownloading = "0";
    static inline const std::string kPaused = "1";
    static inline const std::string kFinished = "2";

    // Becomes the engine's delegate. A row in state "0" starts at once unless it comes
    // "fromsettings" (every caller's origin: rows are started by the queue, not by themselves).
    DonwLoadView(std::unique_ptr<VDDownLoadEngine> engine, std::string state, const std::string& origin);

    void setRecord(QLVideoDownloadData record) { qlvideodownloaddata_ = std::move(record); }
    const QLVideoDownloadData& qlvideodownloaddata() const { return qlvideodownloaddata_; }
    const std::string& state() const { return state_; }
    float currentSize() const { return currentSize_; }
    const DownloadRowLook& look() const { return look_; }
    VDDownLoadEngine& engine() { return *engine_; }

    void start();
    void pause();
    // Shows the progress stored in the record.
    void refreshLb();

    void startButtonPressed();
    void pauseButtonPressed();
    // Asks to play the finished file, when it is there.
    void playButtonPressed();

    // The finished file of this lesson, F/V.mp4.
    std::filesystem::path finishedFile() const;

    // Events for whoever shows the row.
    std::function<void()> onChanged;
    std::function<void(const DownloadAlert&)> onAlert;
    std::function<void(const std::filesystem::path&)> onPlay;
    // Free space in bytes of the file system that holds the downloads (replaceable where no
    // small file system can be made).
    std::function<std::optional<std::uint64_t>()> freeSpace;

    // Engine callbacks.
    void getCurrentSize(float fraction) override;
    void requestFinish(VDDownLoadEngine& engine) override;
    void requestFail(VDDownLoadEngine& engine) override;

private:
    void checkstatus();
    void showStored(bool enablePlayAtEnd);
    void write(const std::string& status, double currentMB, double totalMB);
    void changed();
    const std::string& networkType();

    std::unique_ptr<VDDownLoadEngine> engine_;
    QLVideoDownloadData qlvideodownloaddata_;
    std::string state_;
    float currentSize_ = 0;
    int lastWrittenCheckpoint_ = -1;
    std::string network_;
    std::chrono::steady_clock::time_point networkAt_;
    DownloadRowLook look_;
};

}  // namespace ql
