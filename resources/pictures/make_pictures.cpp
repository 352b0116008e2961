// Renders the app's pictures from their SVG sources at build time, so that the repository holds
// reviewable drawings and never the PNG files.
//
//   make_pictures MANIFEST SOURCE_DIR OUTPUT_DIR
//
// Every manifest line is "NAME WIDTH HEIGHT SOURCE [swap=FROM:TO ...]": the picture NAME is the
// drawing SOURCE rendered at WIDTH x HEIGHT points, two pixels to the point. A swap replaces one
// colour text of the drawing by another before rendering (how highlighted variants share their
// drawing). Anything doubtful fails the build: a drawing that does not parse or uses something the
// renderer ignores, a swap that matches nothing, a size that is not a whole number of pixels, a
// picture that comes out as one flat colour. Each PNG is written under a temporary name and renamed
// into place.

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kPixelsPerPoint = 2;

struct Entry {
    int line = 0;
    std::string name;
    double width = 0;
    double height = 0;
    std::string source;
    std::vector<std::pair<std::string, std::string>> swaps;
};

// Renderer warnings (unsupported elements, bad attributes) are counted: a drawing that the renderer
// only half understands would ship a picture that differs from its source.
int g_rendererWarnings = 0;

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool fromRenderer = context.category && std::string_view(context.category).starts_with("qt.svg");
    const bool serious = type == QtCriticalMsg || type == QtFatalMsg;
    if (!fromRenderer && !serious) return;  // start-up chatter of the offscreen platform
    if (type != QtDebugMsg && type != QtInfoMsg) ++g_rendererWarnings;
    std::cerr << message.toStdString() << "\n";
}

bool parseManifest(const std::string& path, std::vector<Entry>* entries) {
    std::ifstream in(path);
    if (!in) {
        std::cerr << path << ": cannot read\n";
        return false;
    }
    std::set<std::string> names;
    std::string text;
    int number = 0;
    bool ok = true;
    while (std::getline(in, text)) {
        ++number;
        // A comment starts with a '#' at the start of a field ('#' inside a field is a colour).
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '#' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t')) {
                text.erase(i);
                break;
            }
        std::istringstream fields(text);
        Entry e;
        e.line = number;
        if (!(fields >> e.name)) continue;  // blank or comment line
        if (!(fields >> e.width >> e.height >> e.source)) {
            std::cerr << path << ":" << number << ": expected NAME WIDTH HEIGHT SOURCE\n";
            ok = false;
            continue;
        }
        std::string option;
        while (fields >> option) {
            const auto colon = option.find(':');
            if (option.rfind("swap=", 0) != 0 || colon == std::string::npos) {
                std::cerr << path << ":" << number << ": unknown option " << option << "\n";
                ok = false;
                continue;
            }
            e.swaps.emplace_back(option.substr(5, colon - 5), option.substr(colon + 1));
        }
        const auto whole = [](double points) {
            const double pixels = points * kPixelsPerPoint;
            return pixels >= 1 && pixels <= 4096 && std::floor(pixels) == pixels;
        };
        if (!whole(e.width) || !whole(e.height)) {
            std::cerr << path << ":" << number << ": " << e.name
                      << ": the size must be a positive whole number of pixels at 2x\n";
            ok = false;
        }
        if (e.name.find('/') != std::string::npos || e.name.size() < 5 ||
            e.name.compare(e.name.size() - 4, 4, ".png") != 0) {
            std::cerr << path << ":" << number << ": " << e.name << ": not a plain .png file name\n";
            ok = false;
        }
        if (!names.insert(e.name).second) {
            std::cerr << path << ":" << number << ": " << e.name << " listed twice\n";
            ok = false;
        }
        entries->push_back(std::move(e));
    }
    if (entries->empty()) {
        std::cerr << path << ": no pictures listed\n";
        ok = false;
    }
    return ok;
}

// The renderer skips elements it does not know (patterns, filters, clip paths, masks, ...) without a
// word, so the drawings keep to the elements it draws.
bool usesOnlyDrawnElements(const QByteArray& svg, std::string* unknown) {
    static const std::set<std::string> drawn = {
        "svg",  "g",        "defs",     "title", "desc",           "rect",           "circle", "ellipse",
        "line", "polyline", "polygon",  "path",  "text",           "tspan",          "use",    "stop",
        "linearGradient", "radialGradient"};
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            !drawn.count(xml.name().toString().toStdString())) {
            *unknown = xml.name().toString().toStdString();
            return false;
        }
    }
    if (xml.hasError()) {
        *unknown = xml.errorString().toStdString();
        return false;
    }
    return true;
}

bool isFlat(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (row[x] != first) return false;
    }
    return true;
}

bool render(const Entry& e, const QString& sourceDir, const QString& outputDir) {
    const auto fail = [&](const std::string& why) {
        std::cerr << e.source << " -> " << e.name << " (manifest line " << e.line << "): " << why << "\n";
        return false;
    };
    QFile file(sourceDir + "/" + QString::fromStdString(e.source));
    if (!file.open(QIODevice::ReadOnly)) return fail("cannot read the drawing");
    QByteArray svg = file.readAll();
    for (const auto& [from, to] : e.swaps) {
        const QByteArray needle = QByteArray::fromStdString(from);
        if (!svg.contains(needle)) return fail("swap " + from + " matches nothing");
        svg.replace(needle, QByteArray::fromStdString(to));
    }

    if (std::string unknown; !usesOnlyDrawnElements(svg, &unknown))
        return fail("the renderer would skip <" + unknown + ">");

    const int warningsBefore = g_rendererWarnings;
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return fail("the drawing does not parse");

    const int width = static_cast<int>(e.width * kPixelsPerPoint);
    const int height = static_cast<int>(e.height * kPixelsPerPoint);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, width, height));
    }
    if (g_rendererWarnings != warningsBefore) return fail("the renderer did not understand all of the drawing");
    if (isFlat(image)) return fail("renders as one flat colour");

    const QString target = outputDir + "/" + QString::fromStdString(e.name);
    const QString temporary = target + ".part";
    image.setDotsPerMeterX(static_cast<int>(std::lround(72 * kPixelsPerPoint / 0.0254)));
    image.setDotsPerMeterY(image.dotsPerMeterX());
    if (!image.save(temporary, "PNG")) return fail("cannot write " + temporary.toStdString());
    QFile::remove(target);
    if (!QFile::rename(temporary, target)) return fail("cannot rename into " + target.toStdString());

    // The same drawing at one pixel to the point, for screens that show one: a quarter of the
    // pixels to decode at start-up, and no downscaling when drawn.
    QImage single(std::max(1, static_cast<int>(std::ceil(e.width))), std::max(1, static_cast<int>(std::ceil(e.height))),
                  QImage::Format_ARGB32_Premultiplied);
    single.fill(Qt::transparent);
    {
        QPainter painter(&single);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(0, 0, single.width(), single.height()));
    }
    const QString singleTarget = outputDir + "/1x/" + QString::fromStdString(e.name);
    QDir().mkpath(outputDir + "/1x");
    if (!single.save(singleTarget + ".part", "PNG")) return fail("cannot write " + singleTarget.toStdString());
    QFile::remove(singleTarget);
    if (!QFile::rename(singleTarget + ".part", singleTarget)) return fail("cannot rename into " + singleTarget.toStdString());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_pictures MANIFEST SOURCE_DIR OUTPUT_DIR\n";
        return 2;
    }
    // Text in the drawings needs the font database, hence an application, and the build machine may
    // have no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(messageHandler);
    QGuiApplication app(argc, argv);

    std::vector<Entry> entries;
    if (!parseManifest(argv[1], &entries)) return 1;
    const QString sourceDir = QString::fromLocal8Bit(argv[2]);
    const QString outputDir = QString::fromLocal8Bit(argv[3]);

    int failures = 0;
    for (const Entry& e : entries)
        if (!render(e, sourceDir, outputDir)) ++failures;
    if (failures) {
        std::cerr << failures << " of " << entries.size() << " pictures failed\n";
        return 1;
    }
    return 0;
}
