#pragma once
// One row of a course catalogue table: level 1 ("QLCourseCategory", the examination categories)
// or level 2 (the regions of one category, in the table that the level-1 row names).

#include <cstdint>
#include <string>

namespace ql {

struct QLCourseCategoryData {
    std::int32_t currentId = 0;
    std::string fullName;   // shown in the panel
    std::string sendName;   // short name, carried only
    std::string nextTable;  // level 1: the 15-character name of the level-2 table
    std::string C_or_P_id;  // level 1: the category id; level 2: the region id
};

}  // namespace ql
