#pragma once
// Turns one complete answer body into records and calls the delegate back. The procedure does
// not know the endpoint: it recognises top-level keys in a fixed order, with early exits.

#include "HTTP/GetArrayDelegate.h"

#include <string>
#include <string_view>

namespace ql {

// The notification the media player posts when playback ends; the decoder posts it too, to hand
// the play-mode flag back to a waiting lesson player.
inline constexpr const char* kMoviePlayerPlaybackDidFinishNotification = "MoviePlayerPlaybackDidFinishNotification";

// Larger answers are refused before deciphering: no real answer comes near it.
inline constexpr size_t kMaxAnswerBytes = 8 * 1024 * 1024;

class ResponseDecoder {
public:
    // `classItems` receives the decoded records (empty optional: "nothing"); `sender` is the
    // object of the playback-finished notification.
    static void decode(std::string_view body, const std::string& identify, const DelegateRef& delegate,
                       std::optional<RecordList>& classItems, const void* sender);

    // The record builders, one per answer key (entries that are not objects are skipped).
    static QLLesson lessonFromOpenClass(const nlohmann::json& entry);
    static QLLesson lessonFromCourseSummary(const nlohmann::json& entry);
    static QLClassDetails classDetails(const nlohmann::json& entry);
    static QLLesson lessonFromAccount(const nlohmann::json& entry);
    static QLLesson lessonFromOrderSummary(const nlohmann::json& entry);
    static QLFirstview newsItem(const nlohmann::json& entry);
    static QLFirstview headline(const nlohmann::json& entry);
    static QLFirstview article(const nlohmann::json& entry);
    static QLMyClass myClass(const nlohmann::json& entry);
    static QLMyClass packageClass(const nlohmann::json& entry);
    static QLMyLessonList lesson(const nlohmann::json& entry);
};

}  // namespace ql
