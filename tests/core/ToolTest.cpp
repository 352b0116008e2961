// qinglan-tool as a user runs it.

#include "TestSupport.h"
#include "protocol/Envelope.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

using qltest::runProgram;

TEST(Tool, SealAndOpen) {
    auto sealed = runProgram({QINGLAN_TOOL_BIN, "seal", "keyword=申论"});
    ASSERT_EQ(sealed.status, 0);
    auto p = sealed.out.substr(0, sealed.out.find('\n'));
    EXPECT_EQ(ql::Envelope::TripleDES(p, ql::Envelope::kDecrypt), "keyword=%E7%94%B3%E8%AE%BA");

    auto raw = runProgram({QINGLAN_TOOL_BIN, "seal", "--raw", "{\"t\":\"%C4%E3\"}"});
    auto opened = runProgram({QINGLAN_TOOL_BIN, "open"}, raw.out);
    EXPECT_EQ(opened.status, 0);
    EXPECT_EQ(opened.out, "{\"t\":\"你\"}\n");

    auto bad = runProgram({QINGLAN_TOOL_BIN, "open", "not an answer"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_FALSE(bad.err.empty());
}

TEST(Tool, BadArgumentsExitWithTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"seal"}, {"seal", "--nope", "x"}, {"call", "consult.php"},
             {"call", "--host", "video", "consult.php", "typeid=1"}, {"time", "since"}, {"time", "pub", "x1"}}) {
        std::vector<std::string> argv = {QINGLAN_TOOL_BIN};
        argv.insert(argv.end(), args.begin(), args.end());
        auto r = runProgram(argv);
        EXPECT_EQ(r.status, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_FALSE(r.err.empty());
    }
    for (const char* command : {"seal", "open", "call", "time"})
        EXPECT_EQ(runProgram({QINGLAN_TOOL_BIN, command, "--help"}).status, 0) << command;
}

TEST(Tool, CallPrintsEachCallbackAsAJsonLine) {
    qltest::ServiceProcess service;
    ASSERT_TRUE(service.ok());
    qltest::TempDir data;
    auto config = service.config().toJson();
    config["dataDir"] = data.path().string();
    auto configFile = data.path() / "client.json";
    std::ofstream(configFile) << config.dump();

    auto r = runProgram({QINGLAN_TOOL_BIN, "call", "--config", configFile.string(), "consult.php", "typeid=189"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::vector<nlohmann::json> callbacks;
    for (std::string line; std::getline(lines, line);) callbacks.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(callbacks.size(), 2u);
    EXPECT_EQ(callbacks[0]["callback"], "getJson");
    EXPECT_EQ(callbacks[1]["callback"], "getArray");
    ASSERT_FALSE(callbacks[1]["records"].empty());
    EXPECT_EQ(callbacks[1]["records"][0]["class"], "QLFirstview");
    EXPECT_TRUE(callbacks[1]["records"][0]["classTitle"].is_string());

    auto tagged = runProgram({QINGLAN_TOOL_BIN, "call", "--config", configFile.string(), "--identify", "guokao",
                              "consult.php", "typeid=189"});
    EXPECT_NE(tagged.out.find("\"callback\":\"getArrayGuokao\""), std::string::npos);

    service.stop();
    auto down = runProgram({QINGLAN_TOOL_BIN, "call", "--config", configFile.string(), "headline.php", "typeid=2000"});
    EXPECT_EQ(down.status, 1);
    EXPECT_NE(down.out.find("getDidFailWithError"), std::string::npos);
}
