#include "platform/FileUtil.h"

#include <atomic>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sstream>
#include <unistd.h>

namespace ql {

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream out;
    out << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(out).str();
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view data, unsigned mode) {
    static std::atomic<unsigned> counter{0};
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    auto temp = path;
    temp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return false;
    const char* p = data.data();
    size_t left = data.size();
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    ok = ok && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    int dir = ::open(path.has_parent_path() ? path.parent_path().c_str() : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace ql
