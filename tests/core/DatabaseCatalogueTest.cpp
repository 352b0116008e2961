#include "TestSupport.h"
#include "Data/DBConnection.h"
#include "Data/QLClassDAO.h"
#include "HTTP/Endpoints.h"
#include "platform/AppConfig.h"
#include "platform/HttpTransport.h"
#include "protocol/Envelope.h"

#include <gtest/gtest.h>

using namespace ql;

// The shipped catalogue is only useful when each of its choices finds courses: every category and
// region id it sends must be known to the course search of the service.
TEST(DatabaseCatalogue, EveryRegionFindsCoursesInTheServiceSearch) {
    qltest::ServiceProcess service;
    ASSERT_TRUE(service.ok());
    AppConfig::setCurrent(service.config());
    DBConnection::closeSharedDatabase();

    QLClassDAO dao;
    auto categories = dao.searchFirstCatetory();
    ASSERT_FALSE(categories.empty());
    for (const auto& category : categories) {
        for (const auto& region : dao.searchSecondCatetory(category.nextTable)) {
            SCOPED_TRACE(category.fullName + " / " + region.fullName);
            HttpRequestSpec options;
            options.url = Endpoints::apiUrl(Host::Main, "Classification_Search.php",
                                         Endpoints::classificationSearchParams(category.C_or_P_id, region.C_or_P_id, "0"));
            options.useResponseCache = false;
            auto result = httpLoadSync(options);
            ASSERT_FALSE(result.error) << result.error->message;
            auto text = Envelope::open(result.response.body);
            ASSERT_TRUE(text);
            auto answer = nlohmann::json::parse(*text, nullptr, false);
            ASSERT_TRUE(answer.is_object()) << *text;
            EXPECT_TRUE(answer["Market_classlist"].is_array() && !answer["Market_classlist"].empty()) << *text;
        }
    }
    DBConnection::closeSharedDatabase();
    AppConfig::setCurrent({});
}
