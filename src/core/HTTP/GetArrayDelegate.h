#pragma once
// The getArray protocol: how an API client calls its screen back. Every callback is optional (a
// screen overrides what it handles). A delegate that is destroyed is never called again: requests
// hold a weak reference to it (DelegateRef).

#include "HTTP/Records.h"
#include "platform/HttpTransport.h"
#include "platform/WeakRef.h"

#include <optional>

namespace ql {

class GetArrayDelegate : public Trackable {
public:
    virtual ~GetArrayDelegate() = default;

    // The whole answer object, or nothing.
    virtual void getJson(const std::optional<nlohmann::json>& /*answer*/) {}
    // Records or raw entries, or nothing.
    virtual void getArray(const std::optional<RecordList>& /*items*/) {}
    virtual void getArrayClass(const RecordList& /*items*/) {}
    virtual void getArrayHeadline(const RecordList& /*items*/) {}
    virtual void getArrayGuokao(const RecordList& /*items*/) {}
    virtual void getArrayXingce(const RecordList& /*items*/) {}
    virtual void getArrayShenglun(const RecordList& /*items*/) {}
    virtual void getArrayMianshi(const RecordList& /*items*/) {}
    virtual void getArrayOrdernum(const RecordList& /*items*/) {}
    virtual void getArrayUserInfo(const RecordList& /*items*/) {}
    // A transport failure, or nothing when the answer could not be opened.
    virtual void getDidFailWithError(const std::optional<HttpError>& /*error*/) {}
};

using DelegateRef = WeakRef<GetArrayDelegate>;

}  // namespace ql
