#include "ToolCommands.h"

#include "download/VDDownLoadEngine.h"
#include "platform/AppConfig.h"
#include "platform/RunLoop.h"

#include <cstdio>
#include <iostream>
#include <unistd.h>

namespace qltool {

namespace {

constexpr const char* kUsage =
    "usage: qinglan-tool download [--config FILE] --uid U --vid V --dir F\n"
    "  Downloads the lesson file of video id V (platform user id U) from the video host into F/V.mp4,\n"
    "  through F/temp/V.mp4, with a progress line. Run it again to resume an interrupted download.\n"
    "  Exit status 0 only when the whole file is in place, 1 when the download failed.\n";

class Progress : public ql::VDDonwnLoadEngineDelegate {
public:
    explicit Progress(ql::RunLoop& loop) : loop_(loop) {}
    bool finished = false;
    bool failed = false;

    void getCurrentSize(float fraction) override {
        // A terminal gets one line redrawn per 0.1 %; a log gets a line per 10 %.
        int step = static_cast<int>(fraction * (tty_ ? 1000 : 10));
        if (step == lastStep_) return;
        lastStep_ = step;
        std::fprintf(stderr, tty_ ? "\r%5.1f%%  %.2f/%.2f MB " : "%5.1f%%  %.2f/%.2f MB\n", fraction * 100.0,
                     fraction * total(), total());
    }
    void requestFinish(ql::VDDownLoadEngine& engine) override {
        std::fprintf(stderr, "%s100.0%%  %.2f/%.2f MB\n", tty_ ? "\r" : "", engine.fileTotalSize(),
                     engine.fileTotalSize());
        finished = true;
        loop_.quit();
    }
    void requestFail(ql::VDDownLoadEngine& engine) override {
        std::fprintf(stderr, "\nqinglan-tool: download failed: %s\n", engine.lastError().c_str());
        failed = true;
        loop_.quit();
    }
    ql::VDDownLoadEngine* engine = nullptr;

private:
    double total() const { return engine ? engine->fileTotalSize() : 0; }
    ql::RunLoop& loop_;
    bool tty_ = ::isatty(2) != 0;
    int lastStep_ = -1;
};

}  // namespace

int download(const Args& args) {
    if (wantsHelp(args, kUsage)) return 0;
    std::string configPath, uid, vid, dir;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string* target = args[i] == "--config" ? &configPath
                              : args[i] == "--uid"  ? &uid
                              : args[i] == "--vid"  ? &vid
                              : args[i] == "--dir"  ? &dir
                                                    : nullptr;
        if (!target) return badArguments("unknown argument " + args[i], kUsage);
        if (i + 1 >= args.size()) return badArguments(args[i] + " needs a value", kUsage);
        *target = args[++i];
    }
    if (uid.empty() || vid.empty() || dir.empty()) return badArguments("--uid, --vid and --dir are needed", kUsage);
    if (!ql::VDDownLoadEngine::isPlainId(uid) || !ql::VDDownLoadEngine::isPlainId(vid))
        return badArguments("--uid and --vid are plain ids (letters and digits)", kUsage);

    if (!useConfiguration(configPath)) return 2;

    ql::RunLoop loop;
    ql::MainQueue::setMain(&loop);
    Progress progress(loop);
    ql::VDDownLoadEngine engine(uid, vid, dir);
    progress.engine = &engine;
    engine.setDelegate(&progress);
    engine.startLoad();
    loop.run();
    ql::MainQueue::setMain(nullptr);
    return progress.finished ? 0 : 1;
}

}  // namespace qltool
