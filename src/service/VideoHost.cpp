// The video host: GET /file/<uid>/<vid>.mp4 with byte ranges, and the video faults.

#include "ServiceContext.h"
#include "VideoFiles.h"

#include <charconv>
#include <memory>

namespace qlsvc {

namespace {

struct ByteRange {
    std::uint64_t first = 0;
    std::uint64_t last = 0;  // inclusive
    bool satisfiable = true;
};

std::optional<std::uint64_t> number(std::string_view s) {
    std::uint64_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return v;
}

// The first range of a "bytes=" header; nothing when the header is not a byte range at all.
std::optional<ByteRange> parseRange(std::string header, std::uint64_t total) {
    if (header.rfind("bytes=", 0) != 0) return std::nullopt;
    std::string rangeText = header.substr(6, header.find(',') == std::string::npos ? std::string::npos : header.find(',') - 6);
    size_t dash = rangeText.find('-');
    if (dash == std::string::npos) return std::nullopt;
    auto a = number(rangeText.substr(0, dash));
    auto b = number(rangeText.substr(dash + 1));
    ByteRange r;
    if (!a && b) {  // the last b bytes
        if (*b == 0 || total == 0) return ByteRange{0, 0, false};
        r.first = *b >= total ? 0 : total - *b;
        r.last = total - 1;
    } else if (a) {
        if (b && *b < *a) return std::nullopt;
        if (*a >= total) return ByteRange{0, 0, false};
        r.first = *a;
        r.last = b ? std::min(*b, total - 1) : total - 1;
    } else {
        return std::nullopt;
    }
    return r;
}

void serveFile(const std::string& uid, const std::string& vid, std::uint64_t total, const httplib::Request& req,
               httplib::Response& res, const std::optional<Fault>& fault) {
    // The range is answered here, not by the HTTP library, so that the faults can answer it wrongly.
    const_cast<httplib::Request&>(req).ranges.clear();
    res.set_header("Accept-Ranges", "bytes");
    std::optional<ByteRange> range;
    if (req.has_header("Range") && !(fault && fault->ignoreRange)) range = parseRange(req.get_header_value("Range"), total);
    if (range && (!range->satisfiable || (fault && fault->force416))) {
        res.status = 416;
        res.set_header("Content-Range", "bytes */" + std::to_string(total));
        res.set_content("", "text/plain");
        return;
    }
    std::uint64_t first = range ? range->first : 0;
    std::uint64_t last = range ? range->last : (total ? total - 1 : 0);
    if (range && fault && fault->wrongStart) {
        // The same length, from another place of the file.
        std::uint64_t span = last - first;
        if (last + 4096 < total) first += 4096;
        else if (first > 0) first = 0;
        else first = std::min<std::uint64_t>(1, last);
        last = std::min(first + span, total - 1);
    }
    std::uint64_t length = total == 0 ? 0 : last - first + 1;
    res.status = range ? 206 : 200;
    if (range) {
        std::uint64_t statedTotal = fault && fault->wrongTotal ? total + 1048576 : total;
        res.set_header("Content-Range", "bytes " + std::to_string(first) + "-" + std::to_string(last) + "/" +
                                            std::to_string(statedTotal));
    }
    long long cut = -1;
    if (fault && fault->cutAfterBytes >= 0) cut = fault->cutAfterBytes;
    if (fault && fault->dropAfterBytes >= 0) cut = cut < 0 ? fault->dropAfterBytes : std::min(cut, fault->dropAfterBytes);
    long long rate = fault ? fault->slowBytesPerSec : 0;
    bool declare = !(fault && fault->cutAfterBytes >= 0 && !fault->declareLength);

    auto chunk = [uid, vid, first, length, cut, rate](size_t offset, httplib::DataSink& sink) -> bool {
        size_t n = static_cast<size_t>(std::min<std::uint64_t>(65536, length - offset));
        if (cut >= 0) n = std::min<size_t>(n, static_cast<size_t>(cut) - offset);
        if (rate > 0) n = std::max<size_t>(1, std::min<size_t>(n, static_cast<size_t>(rate / 10)));
        std::vector<char> buffer(n);
        videoBytes(uid, vid, first + offset, buffer.data(), n);
        if (!sink.write(buffer.data(), n)) return false;
        if (rate > 0) interruptibleSleep(std::max<long long>(1, static_cast<long long>(n) * 1000 / rate));
        return !g_stopping.load();
    };
    if (length == 0) {
        res.set_content("", "video/mp4");
    } else if (declare) {
        res.set_content_provider(length, "video/mp4", [chunk, cut](size_t offset, size_t, httplib::DataSink& sink) {
            if (cut >= 0 && offset >= static_cast<size_t>(cut)) return false;  // closes the connection
            return chunk(offset, sink);
        });
    } else {
        // No declared length: the body ends when the connection closes, after `cut` bytes.
        res.set_header("Connection", "close");
        res.set_content_provider("video/mp4", [chunk, cut, length](size_t offset, httplib::DataSink& sink) {
            std::uint64_t end = std::min<std::uint64_t>(length, static_cast<std::uint64_t>(cut));
            if (offset >= end) {
                sink.done();
                return true;
            }
            return chunk(offset, sink);
        });
    }
}

}  // namespace

std::optional<std::uint64_t> videoSize(ServiceContext& ctx, const std::string& uid, const std::string& vid) {
    auto row = ctx.db.queryOne("SELECT size FROM videos WHERE uid = ? AND vid = ?", {uid, vid}, true);
    if (!row) return std::nullopt;
    return (*row)["size"].get<std::uint64_t>();
}

void registerVideoRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx) {
    if (host != HostKind::Video) return;
    server.Get(R"(/file/([^/]+)/([^/]+)\.mp4)",
               withFaults(ctx, host, [&ctx](const httplib::Request& req, httplib::Response& res, const auto& fault) {
                   std::string uid = req.matches[1], vid = req.matches[2];
                   auto size = videoSize(ctx, uid, vid);
                   if (!size) {
                       res.status = 404;
                       res.set_content("<html><body><h1>404 Not Found</h1></body></html>", "text/html");
                       return;
                   }
                   serveFile(uid, vid, *size, req, res, fault);
               }));
}

}  // namespace qlsvc
