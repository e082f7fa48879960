// Writes a demo map data file SANGO7.MPC and its one-eighth-size picture
// SANGO7.0.125.jpg into a folder, so Quarnet can run without the game. The
// terrain is made up but looks like a map: seas and coasts, plains, hills,
// mountains, snow in the north, desert in the west, forests, marshes, rivers,
// and roads between the 103 cities, every city on land. Existing files are
// never overwritten.

#include "DemoTerrain.h"

#include "mapfile/MapGeometry.h"
#include "mapfile/TerrainRaster.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

namespace g = quarnet::geometry;

constexpr int columns = g::columns;
constexpr int rows = g::rows;
constexpr int headerSize = 68;

bool writeMapFile(const QString& path, const std::vector<std::uint8_t>& codes)
{
    QByteArray bytes(headerSize + g::recordsSize, '\0');
    const QByteArray title("QUARNET DEMO MAP");
    std::copy(title.begin(), title.end(), bytes.begin());
    for (int block = 0; block < g::blockCount; ++block) {
        const int at = headerSize + block * g::recordSize;
        bytes[at] = static_cast<char>(codes[static_cast<std::size_t>(block)]);
        bytes[at + 1] = static_cast<char>(block % 251); // other fields of the record, left as they are
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    return file.write(bytes) == bytes.size() && file.flush();
}

bool writePicture(const QString& path, const std::vector<std::uint8_t>& codes)
{
    // The program's own terrain colours, 4 x 4 picture pixels a block.
    const quarnet::RgbImage pixels = quarnet::terrain::rasterize(codes, columns, rows, g::pictureBlockSize);
    static_assert(sizeof(quarnet::Rgb) == 3);
    const QImage image(reinterpret_cast<const uchar*>(pixels.pixels.data()), pixels.width, pixels.height,
                       pixels.width * 3, QImage::Format_RGB888);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(90);
    return writer.write(image);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication::setAttribute(Qt::AA_PluginApplication); // no platform window needed
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString mapPath = folder.filePath(QStringLiteral("SANGO7.MPC"));
    const QString picturePath = folder.filePath(QStringLiteral("SANGO7.0.125.jpg"));
    const bool needMap = !QFile::exists(mapPath);
    const bool needPicture = !QFile::exists(picturePath);
    if (!needMap && !needPicture)
        return 0;

    const std::vector<std::uint8_t> codes = quarnet::demo::terrainCodes();
    if (needMap && !writeMapFile(mapPath, codes)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(mapPath));
        return 1;
    }
    if (needPicture && !writePicture(picturePath, codes)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(picturePath));
        return 1;
    }
    std::printf("demo map written to %s\n", qPrintable(folder.absolutePath()));
    return 0;
}
