// Glyph atlas of the browser board: the desktop board's letters, drawn by Qt with the board's
// own font (Liberation Sans for "Arial", no antialiasing, the same hinting), as one-bit masks
// with their places and advances, for each device pixel ratio the page draws with an atlas.
// The page lays a text out from these numbers exactly as Qt does, so that at those ratios the
// canvas shows the desktop board's pixels. It checks that itself before writing anything.
//
//   make_glyph_atlas OUT_DIR     writes OUT_DIR/atlas-1.json and OUT_DIR/atlas-2.json
#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "util/text_encoding.h"
#include "window/qt/board_font.h"
#include "window/window_measures.h"

namespace {

using lumera::util::Cp1252ToUnicode;

// At three times and more Qt fills the status text's outlines instead of drawing hinted glyphs
// (its glyph cache stops at 64 pixels), which no fixed mask can copy; the page draws there with
// the browser's font instead.
constexpr int kRatios[] = {1, 2};
// Qt places a glyph of a non-antialiased text at the whole device pixel left of its pen.
constexpr double kPlacementDelta = 0;

struct Glyph {
    double advance = 0;        // logical pixels
    int left = 0, top = 0;     // device pixels from the pen at the baseline to the mask's corner
    int width = 0, height = 0;
    std::vector<bool> bits;    // row by row
};

QImage NewImage(int width, int height, int ratio) {
    QImage image(width * ratio, height * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

void DrawText(QImage& image, const QFont& font, QPointF at, const QString& text) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(at, text);
}

// One glyph drawn alone at an integer pen position, as a board cell draws its letter.
Glyph MakeGlyph(const QFont& font, char32_t character, int ratio) {
    const int pixels = font.pixelSize();
    const int margin = 2 * pixels;
    QImage image = NewImage(4 * pixels + margin, 3 * pixels, ratio);
    const QString text = QString::fromUcs4(&character, 1);
    DrawText(image, font, QPointF(margin, 2 * pixels), text);
    int minX = image.width(), minY = image.height(), maxX = -1, maxY = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) < 128) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    Glyph glyph;
    glyph.advance = QFontMetricsF(font).horizontalAdvance(text);
    if (maxX < 0) return glyph;
    glyph.left = minX - margin * ratio;
    glyph.top = minY - 2 * pixels * ratio;
    glyph.width = maxX - minX + 1;
    glyph.height = maxY - minY + 1;
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) glyph.bits.push_back(qRed(image.pixel(x, y)) < 128);
    return glyph;
}

// The pen positions Qt gives the characters of a line, in logical pixels from its start.
std::vector<double> PenPositions(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::vector<double> positions;
    for (const QGlyphRun& run : layout.glyphRuns())
        for (const QPointF& p : run.positions()) positions.push_back(p.x());
    return positions;
}

struct Face {
    int pixels = 0;
    int ascent = 0;
    std::map<char32_t, Glyph> glyphs;
    std::map<std::pair<char32_t, char32_t>, double> kerning;  // pen step minus the first's advance
};

// The page's layout of a text, the way it does it: pen steps of advance plus kerning, each
// glyph at floor(device x + kPlacementDelta).
void Compose(const Face& face, QImage& image, int ratio, int penX, int baseline, const std::u32string& text) {
    double pen = penX;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const Glyph& glyph = face.glyphs.at(text[i]);
        const int x0 = int(std::floor(pen * ratio + kPlacementDelta)) + glyph.left;
        const int y0 = baseline * ratio + glyph.top;
        for (int y = 0; y < glyph.height; ++y)
            for (int x = 0; x < glyph.width; ++x)
                if (glyph.bits[std::size_t(y * glyph.width + x)]) image.setPixel(x0 + x, y0 + y, qRgb(0, 0, 0));
        pen += glyph.advance;
        if (i + 1 < text.size()) {
            const auto k = face.kerning.find({text[i], text[i + 1]});
            if (k != face.kerning.end()) pen += k->second;
        }
    }
}

std::string Base64(const std::vector<bool>& bits) {
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::vector<unsigned char> bytes((bits.size() + 7) / 8, 0);
    for (std::size_t i = 0; i < bits.size(); ++i)
        if (bits[i]) bytes[i / 8] |= static_cast<unsigned char>(0x80 >> (i % 8));
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const unsigned v = bytes[i] << 16 | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                           (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        out += table[v >> 18 & 63];
        out += table[v >> 12 & 63];
        out += i + 1 < bytes.size() ? table[v >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? table[v & 63] : '=';
    }
    return out;
}

std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_glyph_atlas OUT_DIR\n");
        return 2;
    }
    // Every character a puzzle byte can show at the letters' size; the status texts are ASCII.
    std::u32string letterSet, statusSet;
    for (int byte = 32; byte < 256; ++byte) letterSet += Cp1252ToUnicode(static_cast<unsigned char>(byte));
    for (char32_t c = 32; c < 127; ++c) statusSet += c;

    QFont font = lumera::MakeBoardFont();
    int failures = 0;
    for (int ratio : kRatios) {
        std::vector<Face> faces;
        for (const auto& [pixels, set] : {std::pair{lumera::kLetterPixels, letterSet}, std::pair{lumera::kStatusPixels, statusSet}}) {
            lumera::SetBoardFontPixels(font, pixels);
            Face face;
            face.pixels = pixels;
            face.ascent = QFontMetrics(font).ascent();
            for (char32_t c : set) face.glyphs[c] = MakeGlyph(font, c, ratio);
            if (pixels == lumera::kStatusPixels)
                for (char32_t a : set)
                    for (char32_t b : set) {
                        const QString pair = QString::fromUcs4(&a, 1) + QString::fromUcs4(&b, 1);
                        const std::vector<double> pen = PenPositions(font, pair);
                        if (pen.size() != 2) continue;
                        const double k = pen[1] - face.glyphs[a].advance;
                        if (std::abs(k) > 1e-3) face.kerning[{a, b}] = k;
                    }
            // The check: texts as the board shows them, drawn by Qt and by the page's rule.
            std::vector<std::u32string> samples;
            if (pixels == lumera::kStatusPixels) {
                samples.push_back(U"Click here to return to game.");
                for (int n : {1, 9, 10, 12, 99, 100, 123, 999, 1000, 4567, 9999, 10000, 65535, 65536})
                    samples.push_back(U"Puzzle # " + QString::number(n).toStdU32String());
            } else {
                for (char32_t c : letterSet) samples.push_back(std::u32string(1, c));
            }
            for (const std::u32string& sample : samples) {
                QImage byQt = NewImage(340, 40, ratio), byPage = NewImage(340, 40, ratio);
                DrawText(byQt, font, QPointF(2, 2 + face.ascent), QString::fromStdU32String(sample));
                Compose(face, byPage, ratio, 2, 2 + face.ascent, sample);
                if (byQt != byPage) {
                    ++failures;
                    std::fprintf(stderr, "ratio %d, %d px: \"%s\" differs\n", ratio, pixels,
                                 QString::fromStdU32String(sample).toUtf8().constData());
                }
            }
            faces.push_back(std::move(face));
        }
        std::string json = "{\"ratio\":" + std::to_string(ratio) + ",\"placementDelta\":" + Number(kPlacementDelta) + ",\"faces\":{";
        for (std::size_t f = 0; f < faces.size(); ++f) {
            const Face& face = faces[f];
            json += (f ? ",\n" : "\n") + std::string("\"") + std::to_string(face.pixels) + "\":{\"ascent\":" +
                    std::to_string(face.ascent) + ",\"glyphs\":{";
            bool first = true;
            for (const auto& [c, g] : face.glyphs) {
                json += std::string(first ? "\n" : ",\n") + "\"" + std::to_string(unsigned(c)) + "\":[" + Number(g.advance) + "," +
                        std::to_string(g.left) + "," + std::to_string(g.top) + "," + std::to_string(g.width) + "," +
                        std::to_string(g.height) + ",\"" + Base64(g.bits) + "\"]";
                first = false;
            }
            json += "},\"kerning\":{";
            first = true;
            for (const auto& [pair, k] : face.kerning) {
                json += std::string(first ? "\n" : ",\n") + "\"" + std::to_string(unsigned(pair.first)) + "," +
                        std::to_string(unsigned(pair.second)) + "\":" + Number(k);
                first = false;
            }
            json += "}}";
        }
        json += "}}\n";
        if (failures) continue;
        QFile out(QString::fromLocal8Bit(argv[1]) + "/atlas-" + QString::number(ratio) + ".json");
        if (!out.open(QIODevice::WriteOnly) || out.write(json.data(), qint64(json.size())) != qint64(json.size())) {
            std::fprintf(stderr, "cannot write %s\n", out.fileName().toLocal8Bit().constData());
            return 1;
        }
    }
    if (failures) std::fprintf(stderr, "%d texts are laid out differently from Qt; no atlas written\n", failures);
    return failures ? 1 : 0;
}
