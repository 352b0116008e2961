#include "Data/QLPlayRecordList.h"

#include "Data/DBConnection.h"

#include <algorithm>

namespace ql {

QLPlayRecordList::QLPlayRecordList(std::int32_t catetory, Key key) : catetory_(catetory), key_(key) {
    DBConnection::getSharedDatabase();
    lessonItems_ = lessonDao_.videosWithCatetory(catetory_);
}

void QLPlayRecordList::eraseKey(std::int32_t value) {
    std::erase_if(lessonItems_, [&](const QLLessonPlayData& r) { return r.*key_ == value; });
}

bool QLPlayRecordList::addVideo(QLLessonPlayData record) {
    if (!lessonDao_.saveVideo(record, catetory_)) return false;
    eraseKey(record.*key_);
    lessonItems_.insert(lessonItems_.begin(), std::move(record));
    return true;
}

bool QLPlayRecordList::removeVideo(const QLLessonPlayData& record) {
    if (!lessonDao_.removeVideo(record, catetory_)) return false;
    eraseKey(record.*key_);
    return true;
}

bool QLPlayRecordList::removeAll() {
    if (!lessonDao_.removeVideosWithCategory(catetory_)) return false;
    lessonItems_.clear();
    return true;
}

std::optional<QLLessonPlayData> QLPlayRecordList::firstWhere(Key field, std::int32_t value) const {
    auto it = std::find_if(lessonItems_.begin(), lessonItems_.end(),
                           [&](const QLLessonPlayData& r) { return r.*field == value; });
    if (it == lessonItems_.end()) return std::nullopt;
    return *it;
}

std::optional<QLLessonPlayData> QLPlayRecordList::lessonWithClassId(std::int32_t classId) const {
    return firstWhere(&QLLessonPlayData::classId, classId);
}

bool QLPlayRecordList::containsClassVideo(const QLLessonPlayData& record) const {
    return lessonWithClassId(record.classId).has_value();
}

}  // namespace ql
