#include "HTTP/RecordJson.h"

namespace ql {

namespace {
using nlohmann::json;

json value(const Text& t) { return t ? *t : json(); }

json fields(const QLLesson& r) {
    return {{"classId", value(r.classId)}, {"classImg", value(r.classImg)}, {"classUrl", value(r.classUrl)},
            {"classTitle", value(r.classTitle)}, {"classPingFen", value(r.classPingFen)},
            {"classTimeLength", value(r.classTimeLength)}, {"classTeacherName", value(r.classTeacherName)},
            {"currentTime", r.currentTime}};
}

json fields(const QLFirstview& r) {
    return {{"classId", value(r.classId)}, {"classImg", value(r.classImg)}, {"classTitle", value(r.classTitle)},
            {"classUrl", value(r.classUrl)}, {"classPingFen", value(r.classPingFen)},
            {"classTeacherName", value(r.classTeacherName)}, {"classTimeLength", value(r.classTimeLength)}};
}

json fields(const QLMyClass& r) {
    return {{"classId", value(r.classId)}, {"classTitle", value(r.classTitle)},
            {"classLearning", value(r.classLearning)}, {"classUserId", value(r.classUserId)},
            {"classUserName", value(r.classUserName)}, {"classTeacher", value(r.classTeacher)},
            {"classTimelength", value(r.classTimelength)}, {"classImageUrl", value(r.classImageUrl)},
            {"classPresent", value(r.classPresent)}};
}

json fields(const QLMyLessonList& r) {
    return {{"downLoadurl", value(r.downLoadurl)}, {"fileurl", value(r.fileurl)}, {"lessionsid", r.lessionsid},
            {"lessionstitle", value(r.lessionstitle)}, {"teacherid", r.teacherid},
            {"teachername", value(r.teachername)}, {"timelength", r.timelength}};
}

json fields(const QLClassDetails& r) {
    return {{"NetclassId", value(r.NetclassId)}, {"Title", value(r.Title)}, {"TypeName", value(r.TypeName)},
            {"SubjectName", value(r.SubjectName)}, {"TimeLength", value(r.TimeLength)}, {"Price", value(r.Price)},
            {"ActualPrice", value(r.ActualPrice)}, {"netclassext", value(r.netclassext)},
            {"netclassext_fw", value(r.netclassext_fw)}, {"teacher", value(r.teacher)}};
}

json fields(const RawEntry& r) { return r; }

const char* className(const Record& r) {
    static constexpr const char* names[] = {"QLLesson", "QLFirstview", "QLMyClass", "QLMyLessonList",
                                            "QLClassDetails", "entry"};
    return names[r.index()];
}
}  // namespace

json toJson(const Record& record) {
    json j = std::visit([](const auto& r) { return fields(r); }, record);
    if (!std::holds_alternative<RawEntry>(record)) j["class"] = className(record);
    return j;
}

json toJson(const RecordList& records) {
    json out = json::array();
    for (const auto& r : records) out.push_back(toJson(r));
    return out;
}

}  // namespace ql
