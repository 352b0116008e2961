#pragma once
// Records as JSON objects keyed by their field names (empty fields as null), for the tool and logs.

#include "HTTP/Records.h"

namespace ql {

nlohmann::json toJson(const Record& record);
nlohmann::json toJson(const RecordList& records);

}  // namespace ql
