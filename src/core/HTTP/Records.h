#pragma once
// The plain records that answers are decoded into. One record class serves several answer kinds;
// the decoder's table says which answer key lands in which field.
//
// A text field holds the value exactly as the JSON reader gave it (usually a string, but a number
// stays a number and a null stays null); an empty optional means the answer entry lacked the key.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace ql {

using Text = std::optional<nlohmann::json>;

// The text to show for a field: a string as it is, a number in decimal, anything else "".
std::string textOf(const Text& field);
std::string textOf(const nlohmann::json& value);
// Integer value of a number or of a text that starts with an integer; anything else 0.
long long integerOf(const nlohmann::json& value);
long long integerOf(const Text& field);

struct QLLesson {
    Text classId;
    Text classImg = nlohmann::json("play.png");
    Text classUrl;
    Text classTitle;
    Text classPingFen;
    Text classTimeLength;
    Text classTeacherName;
    double currentTime = 0;
};

// A news item: a column row, a headline or an article.
struct QLFirstview {
    Text classId;
    Text classImg;
    Text classTitle;
    Text classUrl;
    Text classPingFen;
    Text classTeacherName;
    Text classTimeLength;  // publication time, seconds since 1970

    // "刚刚", "N分钟前", … for list rows; the absolute date after four weeks.
    std::string timestamp() const;
    std::string timestampAt(long long nowSeconds) const;
    // The publication time as a local medium date and short time.
    std::string timeAbsu() const;
};

struct QLMyClass {
    Text classId;
    Text classTitle;
    Text classLearning;
    Text classUserId;
    Text classUserName;
    Text classTeacher;
    Text classTimelength;
    Text classImageUrl;
    Text classPresent;
};

struct QLMyLessonList {
    Text downLoadurl;
    Text fileurl;
    std::int32_t lessionsid = 0;
    Text lessionstitle;
    std::int32_t teacherid = 0;
    Text teachername;
    std::int32_t timelength = 0;
};

struct QLClassDetails {
    Text NetclassId;
    Text Title;
    Text TypeName;
    Text SubjectName;
    Text TimeLength;
    Text Price;
    Text ActualPrice;
    Text netclassext;
    Text netclassext_fw;
    Text teacher;
};

// An order list entry passed on unchanged.
using RawEntry = nlohmann::json;

using Record = std::variant<QLLesson, QLFirstview, QLMyClass, QLMyLessonList, QLClassDetails, RawEntry>;
using RecordList = std::vector<Record>;

}  // namespace ql
