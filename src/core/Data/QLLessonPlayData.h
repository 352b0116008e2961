#pragma once
// A play record: the resume position of a lesson (category 1), or the lesson a course was last
// studied at (category 2). One row of the play-record table "QL", identified by currentPlayID
// within its category.

#include <cstdint>
#include <string>

namespace ql {

struct QLLessonPlayData {
    std::int32_t currentPlayID = 0;    // lesson id (category 1) or course id (category 2)
    double currentTime = -1.0;         // resume position in seconds; -1 until the player sets it
    std::string classLastPlayTime;     // "yyyy/MM/dd HH:mm:ss:SSS" of the last study (category 2)
    bool isLocal = false;              // in memory only: set once the record has been stored
    std::int32_t category = 0;         // 1 lesson play records, 2 per-course last-studied records
    std::int32_t classId = 0;          // course id (category 2)
    std::int32_t classLessonId = 0;    // lesson studied last (category 2)
    std::string classLessonTitle;      // its title (category 2)
    std::int32_t isPlayFinished = 0;   // 1 when last watched to the end
};

}  // namespace ql
