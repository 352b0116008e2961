#include "VideoFiles.h"

#include "platform/Sha256.h"

#include <cstring>
#include <memory>
#include <vector>

namespace qlsvc {

std::string lessonAddress(int layout, const std::string& uid, const std::string& vid) {
    if (uid.size() != 16) return {};
    size_t vidSize = (layout == 5 || layout == 6) ? 32 : 16;
    if (vid.size() != vidSize) return {};
    switch (layout) {
    case 1: return "http://v.qinglanwx.cn/player/flashplayer?videoID=" + uid + "_" + vid + "&autoStart=true";
    case 5: return "http://v.qinglanwx.cn/player/flashplayer?videoID=" + uid + "_" + vid + "&autoStart=false";
    case 2: return "http://www.qinglanwx.cn/player/flashplayer?videoID=" + uid + "_" + vid + "&autoStart=true";
    case 3: return "http://v.qinglanwx.cn/player/flashplayer?vid=" + vid + "&userid=" + uid;
    case 4: return "http://m.qinglanwx.cn/play/index.php?type=mp4hd&vid=" + vid + "&userid=" + uid;
    case 6: return "http://v.qinglanwx.cn/player/flashplayer?vid=" + vid + "&userid=" + uid + "&autoStart=true";
    default: return {};
    }
}

namespace {

std::uint64_t splitmix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t seedOf(const std::string& uid, const std::string& vid) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : uid + "/" + vid) h = (h ^ c) * 1099511628211ull;
    return h;
}

// Files begin with an MP4 file-type box, so that tools recognise the kind of file.
constexpr unsigned char kFileType[32] = {0, 0, 0, 32, 'f', 't', 'y', 'p', 'i', 's', 'o', 'm', 0, 0, 2, 0,
                                         'i', 's', 'o', 'm', 'i', 's', 'o', '2', 'a', 'v', 'c', '1', 'm', 'p', '4', '1'};

}  // namespace

void videoBytes(const std::string& uid, const std::string& vid, std::uint64_t offset, char* out, std::size_t length) {
    const std::uint64_t seed = seedOf(uid, vid);
    std::size_t done = 0;
    while (done < length && offset + done < sizeof kFileType) {
        out[done] = static_cast<char>(kFileType[offset + done]);
        ++done;
    }
    while (done < length) {
        std::uint64_t pos = offset + done;
        std::uint64_t word = splitmix(seed ^ (pos / 8) * 0xD6E8FEB86659FD93ull);
        unsigned char bytes[8];
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(word >> (8 * i));
        std::size_t from = pos % 8;
        std::size_t n = std::min<std::size_t>(8 - from, length - done);
        std::memcpy(out + done, bytes + from, n);
        done += n;
    }
}

std::string videoSha256(const std::string& uid, const std::string& vid, std::uint64_t size) {
    ql::Sha256 digest;
    std::vector<char> buffer(1 << 20);
    for (std::uint64_t offset = 0; offset < size;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), size - offset));
        videoBytes(uid, vid, offset, buffer.data(), n);
        digest.update(std::string_view(buffer.data(), n));
        offset += n;
    }
    return digest.hex();
}

}  // namespace qlsvc
