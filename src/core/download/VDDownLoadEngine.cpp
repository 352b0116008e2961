#include "download/VDDownLoadEngine.h"

#include "HTTP/Endpoints.h"
#include "platform/MainQueue.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ql {

namespace {

constexpr double kMB = 1024.0 * 1024.0;

std::optional<uint64_t> parseNumber(std::string_view s) {
    uint64_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

struct ContentRange {
    std::optional<uint64_t> first, last, total;  // "bytes a-b/t" or "bytes */t"
};

std::optional<ContentRange> parseContentRange(std::string_view v) {
    if (!v.starts_with("bytes ")) return std::nullopt;
    v.remove_prefix(6);
    auto slash = v.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    ContentRange r;
    r.total = parseNumber(v.substr(slash + 1));
    auto range = v.substr(0, slash);
    if (range != "*") {
        auto dash = range.find('-');
        if (dash == std::string_view::npos) return std::nullopt;
        r.first = parseNumber(range.substr(0, dash));
        r.last = parseNumber(range.substr(dash + 1));
        if (!r.first || !r.last) return std::nullopt;
    }
    return r;
}

const std::string* header(const HttpResponseHead& head, std::string_view name) {
    for (const auto& [k, v] : head.headers) {
        if (k.size() == name.size() && strncasecmp(k.c_str(), name.data(), name.size()) == 0) return &v;
    }
    return nullptr;
}

uint64_t fileSize(const std::filesystem::path& p) {
    std::error_code ec;
    auto n = std::filesystem::file_size(p, ec);
    return ec ? 0 : n;
}

}  // namespace

// The transfer of one start, on the I/O thread. It decides from the answer's head whether the
// body continues the partial file, and writes it there; it never moves the file itself.
class VDDownLoadEngine::Transfer : public HttpStreamHandler, public std::enable_shared_from_this<Transfer> {
public:
    Transfer(VDDownLoadEngine* engine, std::weak_ptr<bool> alive, unsigned generation,
             std::filesystem::path partial, uint64_t offset, int restartsLeft)
        : engine_(engine), alive_(std::move(alive)), generation_(generation), partial_(std::move(partial)),
          offset_(offset), restartsLeft_(restartsLeft), queue_(MainQueue::main()) {}
    ~Transfer() override {
        if (fd_ >= 0) ::close(fd_);
    }

    void onResponse(const HttpResponseHead& head) override {
        if (head.status == 206) {
            acceptRange(head);
        } else if (head.status == 200) {
            if (offset_ > 0) {
                // The server ignores ranges: what it sends starts at byte 0, so appending it would
                // corrupt the file. Start the partial file again from zero.
                restartFromZero_ = true;
            } else {
                total_ = head.contentLength.value_or(0);
                openPartial();
            }
        } else if (head.status == 416) {
            auto range = header(head, "Content-Range");
            auto parsed = range ? parseContentRange(*range) : std::nullopt;
            // A partial file at or past the end the server states cannot be trusted to be this
            // file: start again rather than call it finished.
            if (parsed && parsed->total && offset_ >= *parsed->total) restartFromZero_ = true;
            else error_ = "the server refused to resume at byte " + std::to_string(offset_);
        } else {
            error_ = "the server answered HTTP " + std::to_string(head.status);
        }
        if (accepting() && total_ > 0) {
            // The share already present is reported first, on its own: a resume at 40 % starts
            // at 0.4, whatever arrives before the main queue gets to it.
            const auto share = static_cast<float>(static_cast<double>(offset_) / static_cast<double>(total_));
            lastPermille_ = static_cast<int>(share * 1000);
            post([total = static_cast<float>(total_ / kMB), share](VDDownLoadEngine& e, unsigned g) {
                e.onHead(g, total);
                e.onProgress(g, share);
            });
        }
    }

    bool onData(std::string_view chunk) override {
        if (!accepting()) return false;
        if (total_ > 0 && offset_ + written_ + chunk.size() > total_) {
            error_ = "the server sent more bytes than the file holds";
            return false;
        }
        while (!chunk.empty()) {
            ssize_t n = ::write(fd_, chunk.data(), chunk.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                error_ = std::string("cannot write the lesson file: ") + std::strerror(errno);
                return false;
            }
            written_ += static_cast<uint64_t>(n);
            chunk.remove_prefix(static_cast<size_t>(n));
        }
        reportProgress();
        return true;
    }

    void onEnd(const HttpStreamEnd& end) override {
        bool complete = false;
        if (error_.empty() && end.error && !restartFromZero_) error_ = end.error->message;
        if (error_.empty() && !restartFromZero_) {
            if (total_ == 0) error_ = "the server did not say how large the file is";
            else if (offset_ + written_ != total_) error_ = "the transfer ended before the whole file arrived";
            else complete = true;
        }
        if (fd_ >= 0) {
            // The finished file must be on disk before it is renamed into place.
            if (complete && ::fsync(fd_) != 0) {
                complete = false;
                error_ = "cannot write the lesson file to disk";
            }
            ::close(fd_);
            fd_ = -1;
        }
        post([error = error_, complete, restart = restartFromZero_, left = restartsLeft_](VDDownLoadEngine& e,
                                                                                        unsigned g) {
            e.onEnd(g, error, complete, restart, left);
        });
    }

private:
    bool accepting() const { return fd_ >= 0 && error_.empty(); }

    void acceptRange(const HttpResponseHead& head) {
        auto value = header(head, "Content-Range");
        auto range = value ? parseContentRange(*value) : std::nullopt;
        if (!range || !range->first || !range->total) {
            error_ = "the server answered a range without a valid Content-Range";
        } else if (*range->first != offset_) {
            error_ = "the server resumed at byte " + std::to_string(*range->first) + " instead of " +
                     std::to_string(offset_);
        } else if (*range->last + 1 != *range->total || *range->last < *range->first ||
                   (head.contentLength && *head.contentLength != *range->last - *range->first + 1)) {
            error_ = "the server's range does not agree with the size it states";
        } else {
            total_ = *range->total;
            openPartial();
        }
    }

    void openPartial() {
        fd_ = ::open(partial_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        // Exactly the bytes before the offset stay; the body continues from there.
        if (fd_ < 0 || ::ftruncate(fd_, static_cast<off_t>(offset_)) != 0 ||
            ::lseek(fd_, static_cast<off_t>(offset_), SEEK_SET) < 0) {
            error_ = std::string("cannot open the partial file: ") + std::strerror(errno);
        }
    }

    // Progress goes out when the permille changes, and at most one report waits on the main
    // queue; it carries the latest fraction.
    void reportProgress() {
        if (total_ == 0) return;
        const double fraction = static_cast<double>(offset_ + written_) / static_cast<double>(total_);
        const int permille = static_cast<int>(fraction * 1000);
        if (permille == lastPermille_) return;
        lastPermille_ = permille;
        latest_.store(static_cast<float>(fraction));
        if (progressPending_.exchange(true)) return;
        auto self = shared_from_this();
        post([self](VDDownLoadEngine& e, unsigned g) {
            self->progressPending_.store(false);
            e.onProgress(g, self->latest_.load());
        });
    }

    template <typename Fn>
    void post(Fn fn) {
        queue_.post([engine = engine_, alive = alive_, g = generation_, fn = std::move(fn)] {
            if (!alive.expired()) fn(*engine, g);
        });
    }

    VDDownLoadEngine* engine_;
    std::weak_ptr<bool> alive_;
    unsigned generation_;
    std::filesystem::path partial_;
    uint64_t offset_;
    int restartsLeft_;
    MainQueue& queue_;
    int fd_ = -1;
    uint64_t total_ = 0;
    uint64_t written_ = 0;
    bool restartFromZero_ = false;
    int lastPermille_ = -1;
    std::string error_;
    std::atomic<float> latest_{0};
    std::atomic<bool> progressPending_{false};
};

VDDownLoadEngine::VDDownLoadEngine(std::string uid, std::string vid, std::filesystem::path folder)
    : uid_(std::move(uid)), vid_(std::move(vid)), folder_(std::move(folder)) {
    videoDLUrl_ = flash2Mp4(uid_, vid_);
}

VDDownLoadEngine::~VDDownLoadEngine() {
    if (call_) call_->cancel();
}

bool VDDownLoadEngine::isPlainId(const std::string& id) {
    if (id.empty() || id.size() > 64) return false;
    for (unsigned char c : id) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    }
    return true;
}

std::string VDDownLoadEngine::flash2Mp4(const std::string& uid, const std::string& vid) {
    // Ids that are not plain would let an address name a file outside the user's folder.
    if (!isPlainId(uid) || !isPlainId(vid)) return {};
    return "http://" + Endpoints::hostName(Host::Video) + "/file/" + uid + "/" + vid + ".mp4";
}

void VDDownLoadEngine::startLoad() {
    if (isStartAndPause_) return;
    isStartAndPause_ = true;
    downloadPath_ = folder_ / (vid_ + ".mp4");
    std::error_code ec;
    std::filesystem::create_directories(downLoadingPath(), ec);
    if (videoDLUrl_.empty()) {
        unsigned g = generation_;
        MainQueue::main().post([this, alive = std::weak_ptr<bool>(alive_), g] {
            if (!alive.expired() && g == generation_) fail("the lesson has no valid video id");
        });
        return;
    }
    begin(fileSize(partialPath()), 1);
}

void VDDownLoadEngine::begin(uint64_t offset, int restartsLeft) {
    HttpStreamRequest request;
    request.url = videoDLUrl_;
    request.resumeFrom = offset;
    request.headers = {{"Connection", "close"}};
    auto transfer = std::make_shared<Transfer>(this, alive_, generation_, partialPath(), offset, restartsLeft);
    call_ = httpStream(std::move(request), transfer);
}

void VDDownLoadEngine::pauseLoad() {
    if (!isStartAndPause_) return;
    isStartAndPause_ = false;
    ++generation_;
    if (call_) call_->cancel();
    call_.reset();
}

bool VDDownLoadEngine::deleteLoad() {
    pauseLoad();
    std::error_code ec;
    auto finished = folder_ / (vid_ + ".mp4");
    if (std::filesystem::exists(finished, ec)) return std::filesystem::remove(finished, ec);
    return std::filesystem::remove(partialPath(), ec);
}

void VDDownLoadEngine::onHead(unsigned generation, float totalMB) {
    if (generation == generation_) totalLength_ = totalMB;
}

void VDDownLoadEngine::onProgress(unsigned generation, float fraction) {
    if (generation != generation_ || done_) return;
    if (auto* d = delegate_.get()) d->getCurrentSize(fraction);
}

void VDDownLoadEngine::onEnd(unsigned generation, std::string error, bool complete, bool restartFromZero,
                             int restartsLeft) {
    if (generation != generation_) return;
    call_.reset();
    if (restartFromZero && restartsLeft > 0) {
        std::error_code ec;
        std::filesystem::remove(partialPath(), ec);
        begin(0, restartsLeft - 1);
        return;
    }
    if (restartFromZero) error = "the server cannot resume this file";
    if (complete) {
        std::error_code ec;
        std::filesystem::rename(partialPath(), downloadPath_, ec);
        if (!ec) {
            if (int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
            done_ = true;
            videoDLUrl_.clear();  // a finished engine never starts again
            if (auto* d = delegate_.get()) d->requestFinish(*this);
            return;
        }
        error = "cannot move the finished lesson into place: " + ec.message();
    }
    fail(std::move(error));
}

void VDDownLoadEngine::fail(std::string error) {
    lastError_ = std::move(error);
    pauseLoad();
    if (auto* d = delegate_.get()) d->requestFail(*this);
}

}  // namespace ql
