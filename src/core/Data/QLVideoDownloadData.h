#pragma once
// One row of the download list "QLVideoDownload", fields in column order. Everything is text,
// sizes are megabytes written "%.2f".

#include <string>

namespace ql {

struct QLVideoDownloadData {
    std::string userId;         // the logged-in user ("True_userid") who queued the lesson
    std::string vid;            // video id on the video platform
    std::string uid;            // user id on the video platform
    std::string title;          // lesson title
    std::string status;         // "0" downloading, "1" paused, "2" finished
    std::string currentsize;    // megabytes on disk
    std::string filetotalsize;  // megabytes of the whole file
    std::string classid;        // course id, decimal text

    bool operator==(const QLVideoDownloadData&) const = default;
};

}  // namespace ql
