#pragma once
// Downloads the MP4 file of one lesson into the user's folder F, resumably:
//   F/temp/<vid>.mp4   the partial file, appended to across pauses, failures and restarts
//   F/<vid>.mp4        the finished file, which appears (by a rename) only once the partial
//                      file holds exactly the whole file
// Callbacks reach the delegate on the main queue; after pauseLoad() none follows.

#include "platform/HttpTransport.h"
#include "platform/WeakRef.h"

#include <filesystem>
#include <memory>
#include <string>

namespace ql {

class VDDownLoadEngine;

class VDDonwnLoadEngineDelegate : public Trackable {
public:
    virtual ~VDDonwnLoadEngineDelegate() = default;
    // The fraction of the whole file present, 0 to 1 (earlier starts included).
    virtual void getCurrentSize(float fraction) = 0;
    virtual void requestFinish(VDDownLoadEngine& engine) = 0;
    virtual void requestFail(VDDownLoadEngine& engine) = 0;
};

class VDDownLoadEngine {
public:
    // Ids must be plain (letters and digits): they become file names inside F.
    VDDownLoadEngine(std::string uid, std::string vid, std::filesystem::path folder);
    ~VDDownLoadEngine();
    VDDownLoadEngine(const VDDownLoadEngine&) = delete;
    VDDownLoadEngine& operator=(const VDDownLoadEngine&) = delete;

    void setDelegate(VDDonwnLoadEngineDelegate* delegate) { delegate_ = delegate; }

    void startLoad();
    void pauseLoad();
    // Pauses, then removes the finished file if there is one, else the partial file. False when
    // nothing could be removed (also when there was no file).
    bool deleteLoad();

    double fileTotalSize() const { return totalLength_; }  // megabytes; 0 until known
    const std::string& getVid() const { return vid_; }
    const std::string& getUid() const { return uid_; }
    std::filesystem::path downLoadingPath() const { return folder_ / "temp"; }
    const std::filesystem::path& downloadPath() const { return downloadPath_; }
    const std::string& url() const { return videoDLUrl_; }
    bool isStartAndPause() const { return isStartAndPause_; }
    // The error of the last failure, for messages.
    const std::string& lastError() const { return lastError_; }

    // The lesson file address on the video host; "" when an id is missing.
    static std::string flash2Mp4(const std::string& uid, const std::string& vid);
    // Letters and digits only, 1 to 64 of them.
    static bool isPlainId(const std::string& id);

private:
    class Transfer;
    void begin(uint64_t offset, int restartsLeft);
    void onHead(unsigned generation, float totalMB);
    void onProgress(unsigned generation, float fraction);
    void onEnd(unsigned generation, std::string error, bool complete, bool restartFromZero, int restartsLeft);
    void fail(std::string error);
    std::filesystem::path partialPath() const { return downLoadingPath() / (vid_ + ".mp4"); }

    std::string uid_;
    std::string vid_;
    std::filesystem::path folder_;
    std::filesystem::path downloadPath_;
    std::string videoDLUrl_;
    float totalLength_ = 0;
    bool isStartAndPause_ = false;
    bool done_ = false;
    std::string lastError_;
    WeakRef<VDDonwnLoadEngineDelegate> delegate_;
    HttpCallPtr call_;
    // Results posted by the transfer carry the generation they belong to; a pause moves it on,
    // so results of a cancelled transfer are dropped.
    unsigned generation_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace ql
