// Writes the program's icon files from its artwork (qt/AppIcon): PNGs for
// the hicolor theme, and for Windows an .ico with nine images, 48, 32 and 16
// pixels each in 16 colours, 256 colours and 32-bit colour. The results are
// kept in qt/resources; run this after changing the artwork:
//   quarnet-make-icons qt/resources

#include "qt/AppIcon.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void put16(QByteArray& out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

void put32(QByteArray& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// The 16 colours of the standard Windows palette.
QList<QRgb> standardPalette16()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

// One icon image as a device-independent bitmap: header, palette, colour
// rows bottom-up, then the transparency mask (all opaque).
QByteArray iconImage(const QImage& artwork, int bits)
{
    const int size = artwork.width();
    QImage image;
    QList<QRgb> palette;
    if (bits == 4) {
        palette = standardPalette16();
        image = artwork.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
    } else if (bits == 8) {
        image = artwork.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        palette = image.colorTable();
        while (palette.size() < 256)
            palette.append(qRgb(0, 0, 0));
    } else {
        image = artwork.convertToFormat(QImage::Format_ARGB32);
    }

    QByteArray out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, static_cast<std::uint32_t>(size * 2)); // colour rows and mask rows
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);
    const int rowBytes = ((size * bits + 31) / 32) * 4;
    const int maskRowBytes = ((size + 31) / 32) * 4;
    put32(out, static_cast<std::uint32_t>((rowBytes + maskRowBytes) * size));
    put32(out, 0);
    put32(out, 0);
    put32(out, bits <= 8 ? static_cast<std::uint32_t>(palette.size()) : 0);
    put32(out, 0);
    for (const QRgb colour : palette) {
        out.append(char(qBlue(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qRed(colour)));
        out.append('\0');
    }
    for (int y = size - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < size; ++x) {
            if (bits == 32) {
                const QRgb c = image.pixel(x, y);
                row[x * 4] = char(qBlue(c));
                row[x * 4 + 1] = char(qGreen(c));
                row[x * 4 + 2] = char(qRed(c));
                row[x * 4 + 3] = char(qAlpha(c));
            } else if (bits == 8) {
                row[x] = char(image.pixelIndex(x, y));
            } else {
                const int index = image.pixelIndex(x, y) & 0x0F;
                row[x / 2] = char(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
            }
        }
        out.append(row);
    }
    out.append(QByteArray(maskRowBytes * size, '\0'));
    return out;
}

bool writeIco(const QString& path)
{
    struct Entry {
        int size;
        int bits;
        QByteArray data;
    };
    std::vector<Entry> entries;
    for (const int size : {48, 32, 16})
        for (const int bits : {4, 8, 32})
            entries.push_back({size, bits, iconImage(quarnet::qt::drawAppIcon(size), bits)});

    QByteArray out;
    put16(out, 0);
    put16(out, 1); // icon
    put16(out, static_cast<int>(entries.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
    for (const Entry& entry : entries) {
        out.append(char(entry.size));
        out.append(char(entry.size));
        out.append(char(entry.bits == 4 ? 16 : 0));
        out.append('\0');
        put16(out, 1);
        put16(out, entry.bits);
        put32(out, static_cast<std::uint32_t>(entry.data.size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(entry.data.size());
    }
    for (const Entry& entry : entries)
        out.append(entry.data);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString name = QStringLiteral("quarnet-%1.png").arg(size);
        if (!quarnet::qt::drawAppIcon(size).save(folder.filePath(name))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    if (!writeIco(folder.filePath(QStringLiteral("quarnet.ico")))) {
        std::fprintf(stderr, "cannot write quarnet.ico\n");
        return 1;
    }
    return 0;
}
