#include "Data/QLLessonDBDataSource.h"

namespace ql {

QLLessonDBDataSource& QLLessonDBDataSource::lessonDataSource() {
    static QLLessonDBDataSource list;
    return list;
}

std::optional<QLLessonPlayData> QLLessonDBDataSource::lessonWithVideoId(std::int32_t videoId) const {
    return firstWhere(&QLLessonPlayData::currentPlayID, videoId);
}

bool QLLessonDBDataSource::containsVideo(const QLLessonPlayData& record) const {
    return lessonWithVideoId(record.currentPlayID).has_value();
}

}  // namespace ql
