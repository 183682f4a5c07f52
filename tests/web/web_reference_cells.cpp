// The Qt board's cells, for the browser's end-to-end run to compare its canvas with: every
// character a puzzle byte can show, drawn by the desktop's own board widget in white, red and
// silver, and the status box with the texts the run meets. Written as JSON: per fill colour and
// character, the cell's 19 x 21 pixels (times the device ratio) as base64 RGB; and the board's
// geometry (its size, every cell's rectangle), so that the run finds the cells where the game
// puts them.
//
//   web_reference_cells OUT.json        (QT_QPA_PLATFORM=offscreen; QT_SCALE_FACTOR=2 for ratio 2)
#include <QApplication>
#include <QFile>

#include "util/text_encoding.h"
#include "window/window_measures.h"
#include "window/window_rig.h"

namespace {

using namespace lumera;

// The cell's pixels at the image's device ratio (QT_SCALE_FACTOR=2 gives the board at twice
// the density).
std::string Pixels(const QImage& image, const CellRect& rect) {
    const int ratio = int(image.devicePixelRatio());
    QByteArray rgb;
    for (int y = rect.Top * ratio; y < (rect.Bottom + 1) * ratio; ++y)
        for (int x = rect.Left * ratio; x < (rect.Right + 1) * ratio; ++x) {
            const QRgb pixel = image.pixel(x, y);
            rgb.append(char(qRed(pixel))).append(char(qGreen(pixel))).append(char(qBlue(pixel)));
        }
    return rgb.toBase64().toStdString();
}

std::string RectJson(const CellRect& rect) {
    return "[" + std::to_string(rect.Left) + "," + std::to_string(rect.Top) + "," + std::to_string(rect.Right) + "," +
           std::to_string(rect.Bottom) + "]";
}

// The board's size and its cells' rectangles (left, top, right, bottom; right and bottom belong
// to the cell).
std::string GeometryJson() {
    std::string json = "\"geometry\":{\"board\":[" + std::to_string(kBoardWidth) + "," + std::to_string(kBoardHeight) +
                       "],\"status\":" + RectJson(kStatusRect) + ",\n\"alphabet\":[";
    for (int n = 1; n <= 26; ++n) json += (n > 1 ? "," : "") + RectJson(AlphabetCellRect(n));
    json += "],\n\"grid\":[";
    for (int n = 1; n <= kGridCells; ++n) json += (n > 1 ? "," : "") + RectJson(PuzzleCellRect(n));
    return json + "]}";
}

std::string Hex(Colour colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%06x", (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: web_reference_cells OUT.json\n");
        return 2;
    }
    testing::WindowRig rig;
    rig.form->show();  // the board takes the screen's device ratio once it is shown
    QApplication::processEvents();
    BoardWidget& board = rig.form->Board();
    std::string json = "{\"letters\":{";
    bool firstFill = true;
    for (const Colour fill : {clWhite, clRed, clSilver}) {
        json += std::string(firstFill ? "" : ",") + "\n\"" + Hex(fill) + "\":{";
        firstFill = false;
        for (int byte = 32; byte < 256; ++byte) {
            const CellRect rect = PuzzleCellRect(1);
            board.DrawCell(CellLook{rect, std::string(1, char(byte)), kLetterPixels, clWindowText, fill, clBlack});
            json += std::string(byte == 32 ? "" : ",") + "\n\"" +
                    std::to_string(unsigned(util::Cp1252ToUnicode(static_cast<unsigned char>(byte)))) + "\":\"" +
                    Pixels(board.Image(), rect) + "\"";
        }
        json += "}";
    }
    json += "},\n\"status\":{";
    std::vector<std::pair<std::string, Colour>> texts{{"Click here to return to game.", clYellow}};
    for (int n = 1; n <= 60; ++n) texts.emplace_back("Puzzle # " + std::to_string(n), clRed);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        board.DrawCell(CellLook{kStatusRect, texts[i].first, kStatusPixels, clWindowText, texts[i].second, clBlack});
        json += std::string(i ? "," : "") + "\n\"" + texts[i].first + "\":\"" + Pixels(board.Image(), kStatusRect) + "\"";
    }
    json += "},\n" + GeometryJson() + "}\n";
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(json.data(), qint64(json.size())) != qint64(json.size())) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
