#pragma once
// The one connection of the process to Documents/vidora_new_v14.sqlite. It is opened on first use
// and kept for the life of the process. The application ships a prepared copy of the database
// among its resources; the first open copies it into Documents, and a copy that cannot be opened
// is replaced by a fresh one for the next attempt.

#include "Data/Statement.h"

#include <filesystem>
#include <string>

struct sqlite3;

namespace ql {

class DBConnection {
public:
    static constexpr const char* kDatabaseName = "vidora_new_v14.sqlite";

    // The open shared handle. If none, opens the database; when that fails, renews the Documents
    // copy from the resources and gives back nothing: the next call opens the fresh copy.
    static sqlite3* getSharedDatabase();
    // Opens Documents/<fileName>, copying the resource database there first when it is missing.
    // Nothing when the file cannot be opened or is not our database.
    static sqlite3* openDatabase(const std::string& fileName);
    // With force, removes the Documents copy first; then copies the resource database into
    // Documents if no file is there.
    static void createEditableCopyOfDatabaseIfNeeded(bool force);
    // A statement prepared on the shared handle (unprepared when there is no handle or the SQL fails).
    static Statement statementWithQuery(const std::string& sql);

    // Closes the shared handle; the next getSharedDatabase() opens the database again. For a change
    // of data folder, for tests, and before fork().
    static void closeSharedDatabase();

    // The folder that holds the resource database: the one set here, else $QINGLAN_RESOURCES, else
    // the resources folder of the build.
    static void setResourcePath(std::filesystem::path folder);
    static std::filesystem::path resourcePath();
    static std::filesystem::path databasePath();  // the Documents copy
};

}  // namespace ql
