#pragma once
// An in-memory list of the play records of one category, kept in step with the table: a record
// enters or leaves the list only when its row was written. Newest first once records are stored.

#include "Data/QLClassDAO.h"
#include "Data/QLLessonPlayData.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace ql {

class QLPlayRecordList {
public:
    QLPlayRecordList(const QLPlayRecordList&) = delete;
    QLPlayRecordList& operator=(const QLPlayRecordList&) = delete;

    std::int32_t catetory() const { return catetory_; }
    QLClassDAO& lessonDao() { return lessonDao_; }
    const std::vector<QLLessonPlayData>& lessonItems() const { return lessonItems_; }

    // Stores the record; when stored, it replaces the record of the same key at the front.
    bool addVideo(QLLessonPlayData record);
    // Deletes the record's row; when deleted, drops the record of the same key from the list.
    bool removeVideo(const QLLessonPlayData& record);
    // Deletes the whole category; when deleted, empties the list.
    bool removeAll();
    void clearLessonItems() { removeAll(); }

    std::optional<QLLessonPlayData> lessonWithClassId(std::int32_t classId) const;
    bool containsClassVideo(const QLLessonPlayData& record) const;

protected:
    using Key = std::int32_t QLLessonPlayData::*;
    // Opens the database and loads the category's records.
    QLPlayRecordList(std::int32_t catetory, Key key);
    ~QLPlayRecordList() = default;

    std::optional<QLLessonPlayData> firstWhere(Key field, std::int32_t value) const;

private:
    void eraseKey(std::int32_t value);

    std::int32_t catetory_;
    Key key_;
    QLClassDAO lessonDao_;
    std::vector<QLLessonPlayData> lessonItems_;
};

}  // namespace ql
