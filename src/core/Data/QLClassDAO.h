#pragma once
// Every statement the application runs on its database: play records, the download list and the
// course catalogue. Writes answer true when SQLite finished the statement; reads give an empty list
// when nothing matches or the database cannot be opened.

#include "Data/QLCourseCategoryData.h"
#include "Data/QLLessonPlayData.h"
#include "Data/QLVideoDownloadData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ql {

class QLClassDAO {
public:
    // Play records of one category, `category` set to it.
    std::vector<QLLessonPlayData> videosWithCatetory(std::int32_t category);
    // Stores (replaces) the record's row in `category`; sets record.isLocal when stored.
    bool saveVideo(QLLessonPlayData& record, std::int32_t category);
    bool removeVideo(const QLLessonPlayData& record, std::int32_t category);
    bool removeVideosWithCategory(std::int32_t category);

    // Download rows of the logged-in user (preference "True_userid"); none when nobody is.
    std::vector<QLVideoDownloadData> searchDownloadVieo();
    // Download rows of a video, whoever queued it.
    std::vector<QLVideoDownloadData> searchDownloadVieobyuid(const std::string& uid, const std::string& vid);
    // Queues a lesson with sizes 0. False when the user has already queued this video.
    bool addDownloadVieo(const std::string& uid, const std::string& vid, const std::string& userid,
                         const std::string& status, const std::string& title, const std::string& classid);
    // Writes user, status and sizes into every row of the video; `uid` is not used.
    bool updateDownloadVieo(const std::string& uid, const std::string& vid, const std::string& userid,
                            const std::string& status, const std::string& currentsize,
                            const std::string& filetotalsize);
    // Deletes the user's row of the video; `uid` is not used.
    bool delDownloadVieo(const std::string& uid, const std::string& vid, const std::string& userid);

    // Level-1 rows of the course catalogue, in table order.
    std::vector<QLCourseCategoryData> searchFirstCatetory();
    // Rows of a level-2 table; none when the table is missing or the name is not a plain table name.
    std::vector<QLCourseCategoryData> searchSecondCatetory(const std::string& tableName);
};

}  // namespace ql
