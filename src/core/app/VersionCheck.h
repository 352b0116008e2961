#pragma once
// The version check: the installed version (the shipped "VersionCheck" resource) against the
// version file on the update host. The automatic check at start stays silent unless there is an
// update and knows a forced one; the manual check (settings) also says when there is nothing new.

#include "platform/HttpTransport.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ql {

struct VersionResource {
    float installed = 0;
    bool enabled = false;  // "NeverShowVersionCheck" is "YES"

    // Reads the property-list dictionary file; a missing or unreadable file disables the check.
    static VersionResource load(const std::filesystem::path& plist);
    // The resource shipped with the app.
    static VersionResource shipped();
};

struct VersionFile {
    bool hasResponse = false;  // a "VerResponse" object was there
    float ver = 0;
    std::string details, url, url2;

    // Parses the version file body; anything unreadable gives an empty file.
    static VersionFile parse(std::string_view body);
};

struct VersionAlert {
    std::string title, message;
    std::vector<std::string> buttons;  // the cancel button first, when there is one
    int tag = 0;
    std::string url;                   // opened by "现在更新"
    bool operator==(const VersionAlert&) const = default;
};

class VersionCheck {
public:
    static std::optional<VersionAlert> automaticDecision(const VersionResource& resource, const VersionFile& file);
    static std::optional<VersionAlert> manualDecision(const VersionResource& resource, const VersionFile& file);

    // Fetches the version file in the background; `done` gets the alert to show (if any) on the
    // main queue. Turns the network activity indicator on and off.
    static HttpCallPtr checkAutomatically(std::function<void(std::optional<VersionAlert>)> done);
    // Fetches the version file and answers at once; blocks for at most the request time-out.
    static std::optional<VersionAlert> checkManually();

    // Whether the button at `index` of `alert` opens the download address.
    static bool opensDownload(const VersionAlert& alert, int index);
};

}  // namespace ql
