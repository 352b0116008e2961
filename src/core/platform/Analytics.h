#pragma once
// Usage analytics: page-view start and end events, posted in the background to the analytics
// address of the main host. Failures are dropped; nothing waits for an answer.

#include <string>

namespace ql::Analytics {

void start(const std::string& appKey, const std::string& channel);
void beginLogPageView(const std::string& page);
void endLogPageView(const std::string& page);

}  // namespace ql::Analytics
