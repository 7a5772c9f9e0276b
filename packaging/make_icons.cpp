// Writes the program's icon in the sizes and forms a desktop and Windows ask for, all from the
// one 32 x 32 picture: PNGs for the hicolor theme, a scalable SVG, and a 24-bit Windows icon.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTextStream>
#include <cstdio>

#include "form1_icon.xpm"

namespace {

bool WriteSvg(const QImage& icon, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QTextStream out(&file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 32 32\" width=\"256\" height=\"256\""
        << " shape-rendering=\"crispEdges\">\n"
        << "<rect width=\"32\" height=\"32\" fill=\"#ffffff\"/>\n";
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const QColor c = icon.pixelColor(x, y);
            if (c != Qt::white) {
                out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"1\" height=\"1\" fill=\""
                    << c.name() << "\"/>\n";
            }
        }
    }
    out << "</svg>\n";
    return out.status() == QTextStream::Ok;
}

struct LittleEndian {
    QByteArray data;
    void byte(int v) { data.append(char(v & 0xff)); }
    void u16(quint16 v)
    {
        byte(v);
        byte(v >> 8);
    }
    void u32(quint32 v)
    {
        u16(quint16(v & 0xffff));
        u16(quint16(v >> 16));
    }
};

constexpr int Side = 32;
constexpr quint16 IconImageId = 30001;

// The image as Windows keeps it: 24 bits per pixel, bottom-up, with an all-opaque mask.
QByteArray IconImage(const QImage& icon)
{
    const int xorBytes = Side * Side * 3;
    const int andBytes = Side * 4; // one bit a pixel, rows padded to 32 bits
    LittleEndian out;
    out.u32(40);
    out.u32(Side);
    out.u32(Side * 2); // the mask doubles the height
    out.u16(1);
    out.u16(24);
    out.u32(0);
    out.u32(xorBytes + andBytes);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    out.u32(0);
    for (int y = Side - 1; y >= 0; --y) {
        for (int x = 0; x < Side; ++x) {
            const QRgb p = icon.pixel(x, y);
            out.byte(qBlue(p));
            out.byte(qGreen(p));
            out.byte(qRed(p));
        }
    }
    out.data.append(QByteArray(andBytes, '\0'));
    return out.data;
}

// The icon directory entry common to the .ico file and the resource's icon group.
void DirectoryEntry(LittleEndian& out, int imageBytes)
{
    out.byte(Side);
    out.byte(Side);
    out.byte(0);
    out.byte(0);
    out.u16(1);
    out.u16(24);
    out.u32(quint32(imageBytes));
}

bool Write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

// A .ico file, and the two resources of the program file: the image (icon 30001) and the icon
// group that names it (group 1 in the resource script).
bool WriteWindowsIcons(const QImage& icon, const QDir& out)
{
    const QByteArray image = IconImage(icon);
    LittleEndian ico;
    ico.u16(0);
    ico.u16(1);
    ico.u16(1);
    DirectoryEntry(ico, image.size());
    ico.u32(6 + 16);
    ico.data.append(image);
    LittleEndian group;
    group.u16(0);
    group.u16(1);
    group.u16(1);
    DirectoryEntry(group, image.size());
    group.u16(IconImageId);
    return Write(out.filePath(QStringLiteral("icon.ico")), ico.data)
        && Write(out.filePath(QStringLiteral("icon-image.bin")), image)
        && Write(out.filePath(QStringLiteral("icon-group.bin")), group.data);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icons FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QImage icon = QImage(form1_icon_xpm).convertToFormat(QImage::Format_RGB32);
    bool ok = icon.size() == QSize(32, 32);
    for (const int size : {32, 64, 128, 256}) { // whole multiples keep every pixel square
        ok = ok
            && icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                   .save(out.filePath(QStringLiteral("icon-%1.png").arg(size)));
    }
    // 48 is one and a half times 32: drawn at three times, then halved smoothly.
    ok = ok
        && icon.scaled(96, 96, Qt::IgnoreAspectRatio, Qt::FastTransformation)
               .scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
               .save(out.filePath(QStringLiteral("icon-48.png")));
    ok = ok && WriteSvg(icon, out.filePath(QStringLiteral("icon.svg")));
    ok = ok && WriteWindowsIcons(icon, out);
    if (!ok) {
        std::fprintf(stderr, "make-icons: could not write the icons into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
