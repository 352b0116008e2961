#pragma once
// The play records of lessons (category 1), keyed by the lesson id, one list per process.

#include "Data/QLPlayRecordList.h"

namespace ql {

class QLLessonDBDataSource : public QLPlayRecordList {
public:
    static constexpr std::int32_t kCategory = 1;

    // The one list, made (database opened, records loaded) on first use.
    static QLLessonDBDataSource& lessonDataSource();

    std::optional<QLLessonPlayData> lessonWithVideoId(std::int32_t videoId) const;
    bool containsVideo(const QLLessonPlayData& record) const;

private:
    QLLessonDBDataSource() : QLPlayRecordList(kCategory, &QLLessonPlayData::currentPlayID) {}
};

}  // namespace ql
