#pragma once
// The last-studied record of each course (category 2), keyed by the course id, one list per process.

#include "Data/QLPlayRecordList.h"

namespace ql {

class QLMyClassDBDataSource : public QLPlayRecordList {
public:
    static constexpr std::int32_t kCategory = 2;

    // The one list, made (database opened, records loaded) on first use.
    static QLMyClassDBDataSource& lessonDataSource();

private:
    QLMyClassDBDataSource() : QLPlayRecordList(kCategory, &QLLessonPlayData::classId) {}
};

}  // namespace ql
