#pragma once
// Lesson video addresses and files. A lesson's address ("fileurl", or an open lesson's video URL)
// carries the video platform's user id and video id at fixed positions, in one of these layouts:
//   1  http://v.qinglanwx.cn/player/flashplayer?videoID=<uid16>_<vid16>&autoStart=true
//   5  http://v.qinglanwx.cn/player/flashplayer?videoID=<uid16>_<vid32>&autoStart=false
//   2  http://www.qinglanwx.cn/player/flashplayer?videoID=<uid16>_<vid16>&autoStart=true
//   3  http://v.qinglanwx.cn/player/flashplayer?vid=<vid16>&userid=<uid16>
//   4  http://m.qinglanwx.cn/play/index.php?type=mp4hd&vid=<vid16>&userid=<uid16>
//   6  http://v.qinglanwx.cn/player/flashplayer?vid=<vid32>&userid=<uid16>&autoStart=true  (open lessons)
// The file itself is served by the video host at /file/<uid>/<vid>.mp4: deterministic bytes made
// on the fly from the two ids, so nothing is stored and any range can be produced directly.

#include <cstdint>
#include <optional>
#include <string>

namespace qlsvc {

// The address of a lesson in `layout`; empty when the ids do not fit the layout.
std::string lessonAddress(int layout, const std::string& uid, const std::string& vid);

// Fills `out` with the bytes [offset, offset + length) of the file of (uid, vid).
void videoBytes(const std::string& uid, const std::string& vid, std::uint64_t offset, char* out, std::size_t length);

// SHA-256 (lower-case hex) of the first `size` bytes of the file of (uid, vid).
std::string videoSha256(const std::string& uid, const std::string& vid, std::uint64_t size);

}  // namespace qlsvc
