// Pictures under /uploads/: small PNG files drawn on first request from a hash of their path
// (a colour gradient with a few shapes), so that no picture has to be stored.

#include "ServiceContext.h"

#include <zlib.h>

#include <map>
#include <mutex>

namespace qlsvc {

namespace {

struct Rgb {
    unsigned char r, g, b;
};

std::uint64_t hashOf(const std::string& text) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    return h;
}

// Calm colours of the school's palette: greens, blues, oranges.
Rgb paletteColour(std::uint64_t h) {
    static const Rgb palette[] = {{46, 139, 87},  {32, 108, 168}, {240, 130, 40}, {72, 160, 150},
                                  {120, 90, 170}, {200, 70, 60},  {60, 120, 200}, {230, 170, 50}};
    return palette[h % (sizeof palette / sizeof palette[0])];
}

void appendChunk(std::string& png, const char* type, const std::string& data) {
    auto be32 = [&](std::uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) png.push_back(static_cast<char>((v >> s) & 0xFF));
    };
    be32(static_cast<std::uint32_t>(data.size()));
    std::string typed = std::string(type, 4) + data;
    png += typed;
    be32(static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

std::string encodePng(int width, int height, const std::vector<Rgb>& pixels) {
    std::string raw;
    raw.reserve(static_cast<size_t>(height) * (1 + 3 * width));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const Rgb& p = pixels[static_cast<size_t>(y) * width + x];
            raw.push_back(static_cast<char>(p.r));
            raw.push_back(static_cast<char>(p.g));
            raw.push_back(static_cast<char>(p.b));
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 6);
    packed.resize(size);
    std::string header;
    for (int v : {width, height})
        for (int s = 24; s >= 0; s -= 8) header.push_back(static_cast<char>((v >> s) & 0xFF));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace
    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packed);
    appendChunk(png, "IEND", "");
    return png;
}

std::string drawPicture(const std::string& path) {
    int width = 320, height = 200;
    if (path.find("/allimg/") != std::string::npos) width = 640, height = 300;       // headline slider
    else if (path.find("/course/") != std::string::npos) width = 240, height = 180;  // course covers
    else if (path.find("/openclass/") != std::string::npos) width = 200, height = 150;
    else if (path.find("/face/") != std::string::npos) width = 120, height = 120;
    else if (path.find("/news/") != std::string::npos) width = 600, height = 340;
    std::uint64_t h = hashOf(path);
    Rgb top = paletteColour(h), bottom = paletteColour(h >> 8);
    std::vector<Rgb> px(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        double t = static_cast<double>(y) / (height - 1);
        Rgb c{static_cast<unsigned char>(top.r + (bottom.r - top.r) * t * 0.6),
              static_cast<unsigned char>(top.g + (bottom.g - top.g) * t * 0.6),
              static_cast<unsigned char>(top.b + (bottom.b - top.b) * t * 0.6)};
        for (int x = 0; x < width; ++x) px[static_cast<size_t>(y) * width + x] = c;
    }
    // A few light discs and a bar, placed from the hash.
    for (int i = 0; i < 4; ++i) {
        std::uint64_t s = h >> (i * 12);
        int cx = static_cast<int>(s % width), cy = static_cast<int>((s >> 5) % height);
        int radius = height / 6 + static_cast<int>((s >> 9) % (height / 4));
        for (int y = std::max(0, cy - radius); y < std::min(height, cy + radius); ++y)
            for (int x = std::max(0, cx - radius); x < std::min(width, cx + radius); ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) {
                    Rgb& p = px[static_cast<size_t>(y) * width + x];
                    p = {static_cast<unsigned char>((p.r + 255) / 2), static_cast<unsigned char>((p.g + 255) / 2),
                         static_cast<unsigned char>((p.b + 255) / 2)};
                }
    }
    for (int y = height * 3 / 4; y < height * 3 / 4 + height / 10; ++y)
        for (int x = width / 10; x < width * 7 / 10; ++x) px[static_cast<size_t>(y) * width + x] = {250, 250, 245};
    return encodePng(width, height, px);
}

}  // namespace

void registerPictureRoutes(httplib::Server& server, HostKind host, ServiceContext& ctx) {
    if (host != HostKind::Main && host != HostKind::Content && host != HostKind::Site) return;
    server.Get(R"(/uploads/[A-Za-z0-9_/\-]+\.(png|jpg|jpeg|gif))",
               withFaults(ctx, host, [](const httplib::Request& req, httplib::Response& res, const auto& fault) {
                   static std::mutex mutex;
                   static std::map<std::string, std::string> cache;
                   std::string png;
                   {
                       std::lock_guard lock(mutex);
                       auto& entry = cache[req.path];
                       if (entry.empty()) entry = drawPicture(req.path);
                       png = entry;
                   }
                   deliverBody(res, std::move(png), "image/png", fault);
               }));
}

}  // namespace qlsvc
