// Picture box: JPEG decoding through libjpeg (colour, grayscale, Adobe CMYK),
// broken data of every kind giving no picture without ending the program or
// writing to stderr, other formats through Qt, and the box stretching its
// picture over its whole rectangle.
#include "picture_box.h"

#include "form_name.h"

#include <QBuffer>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <jpeglib.h>
#include <unistd.h>

namespace {

struct Rgb
{
    int r, g, b;
};

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

// Encodes width x height pixels given by `pixel(x, y, sample)`, which fills
// `components` samples, as a JPEG in memory.
std::string encodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                       const std::function<void(int, int, JSAMPLE*)>& pixel)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::string row(size_t(width * components), '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixel(x, y, reinterpret_cast<JSAMPLE*>(&row[size_t(x * components)]));
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPLE*>(row.data())};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

// Red, green / blue, white quadrants; 32-pixel blocks keep chroma from
// bleeding into the quadrants' middles.
Rgb quadrant(int x, int y, int width, int height)
{
    const bool right = x >= width / 2, bottom = y >= height / 2;
    return bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed);
}

std::string quadrantsJpeg(int width = 64, int height = 64)
{
    return encodeJpeg(width, height, 3, JCS_RGB, [=](int x, int y, JSAMPLE* s) {
        const Rgb c = quadrant(x, y, width, height);
        s[0] = JSAMPLE(c.r);
        s[1] = JSAMPLE(c.g);
        s[2] = JSAMPLE(c.b);
    });
}

bool near(QRgb pixel, Rgb want, int tolerance = 24)
{
    return std::abs(qRed(pixel) - want.r) <= tolerance
           && std::abs(qGreen(pixel) - want.g) <= tolerance
           && std::abs(qBlue(pixel) - want.b) <= tolerance;
}

QString describe(QRgb p)
{
    return QStringLiteral("(%1, %2, %3)").arg(qRed(p)).arg(qGreen(p)).arg(qBlue(p));
}

#define VERIFY_PIXEL(image, x, y, want)                                                    \
    QVERIFY2(near((image).pixel((x), (y)), (want)),                                        \
             qPrintable(QStringLiteral("pixel %1,%2 is ").arg(x).arg(y)                    \
                        + describe((image).pixel((x), (y)))))

std::string fileBytes(const QImage& image, const char* format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data.toStdString();
}

// What `run` writes to the process's stderr (fd 2), C library and Qt alike.
QByteArray stderrOf(const std::function<void()>& run)
{
    QTemporaryFile capture;
    if (!capture.open())
        return "cannot capture";
    std::fflush(stderr);
    const int saved = dup(2);
    dup2(capture.handle(), 2);
    run();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}

}  // namespace

class tst_PictureBox : public QObject
{
    Q_OBJECT

private slots:
    void decodesColourJpeg();
    void decodesGrayscaleJpeg();
    void decodesAdobeCmykJpeg();
    void ignoresBytesAfterTheEnd();
    void decodesHugeJpegSmaller();
    void brokenData_data();
    void brokenData();
    void otherFormats_data();
    void otherFormats();
    void boxStretchesPicture();
    void boxWithoutPictureIsBlack();
};

void tst_PictureBox::decodesColourJpeg()
{
    const QImage image = ui::decodePicture(quadrantsJpeg(64, 48 + 16));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(64, 64));
    VERIFY_PIXEL(image, 16, 16, kRed);
    VERIFY_PIXEL(image, 48, 16, kGreen);
    VERIFY_PIXEL(image, 16, 48, kBlue);
    VERIFY_PIXEL(image, 48, 48, kWhite);

    // An odd size, not a multiple of the 16-pixel blocks.
    const QImage odd = ui::decodePicture(quadrantsJpeg(99, 37));
    QCOMPARE(odd.size(), QSize(99, 37));
    VERIFY_PIXEL(odd, 5, 3, kRed);
    VERIFY_PIXEL(odd, 95, 34, kWhite);
}

void tst_PictureBox::decodesGrayscaleJpeg()
{
    const std::string jpeg = encodeJpeg(32, 16, 1, JCS_GRAYSCALE, [](int x, int, JSAMPLE* s) {
        s[0] = x < 16 ? 0 : 200;
    });
    const QImage image = ui::decodePicture(jpeg);
    QCOMPARE(image.size(), QSize(32, 16));
    VERIFY_PIXEL(image, 4, 8, (Rgb{0, 0, 0}));
    VERIFY_PIXEL(image, 28, 8, (Rgb{200, 200, 200}));
}

// Adobe writes CMYK inverted: 255 is no ink.
void tst_PictureBox::decodesAdobeCmykJpeg()
{
    const std::string jpeg = encodeJpeg(32, 16, 4, JCS_CMYK, [](int x, int, JSAMPLE* s) {
        const bool red = x < 16;
        s[0] = red ? 255 : 0;    // cyan: none for red, full for blue
        s[1] = red ? 0 : 0;      // magenta: full for both
        s[2] = red ? 0 : 255;    // yellow: full for red, none for blue
        s[3] = 255;              // no black
    });
    const QImage image = ui::decodePicture(jpeg);
    QCOMPARE(image.size(), QSize(32, 16));
    VERIFY_PIXEL(image, 4, 8, kRed);
    VERIFY_PIXEL(image, 28, 8, (Rgb{0, 0, 255}));
}

void tst_PictureBox::ignoresBytesAfterTheEnd()
{
    const QImage image = ui::decodePicture(quadrantsJpeg() + "trailing bytes");
    QCOMPARE(image.size(), QSize(64, 64));
    VERIFY_PIXEL(image, 16, 16, kRed);
}

// Above 32 M pixels a picture is decoded at half (or a quarter, an eighth)
// of its size: still far more than a screen needs.
void tst_PictureBox::decodesHugeJpegSmaller()
{
    const QImage image = ui::decodePicture(quadrantsJpeg(6400, 6000));
    QCOMPARE(image.size(), QSize(3200, 3000));
    VERIFY_PIXEL(image, 10, 10, kRed);
    VERIFY_PIXEL(image, 3190, 10, kGreen);
    VERIFY_PIXEL(image, 10, 2990, kBlue);
    VERIFY_PIXEL(image, 3190, 2990, kWhite);
}

void tst_PictureBox::brokenData_data()
{
    QTest::addColumn<QByteArray>("data");
    const QByteArray jpeg = QByteArray::fromStdString(quadrantsJpeg());

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("\xFF");
    QTest::newRow("start marker only") << QByteArray("\xFF\xD8");
    QTest::newRow("start marker and garbage")
        << QByteArray("\xFF\xD8") + QByteArray(500, '\x5A');
    QTest::newRow("cut in the header") << jpeg.left(40);
    QTest::newRow("cut in the picture") << jpeg.left(jpeg.size() / 2);
    QTest::newRow("cut before the end marker") << jpeg.left(jpeg.size() - 2);
    QTest::newRow("text") << QByteArray("this is not a picture\r\n");
    QTest::newRow("zero bytes") << QByteArray(64, '\0');

    // A header claiming 65500 x 65500 pixels over a small body: refused
    // without trying to allocate gigabytes.
    QByteArray giant = jpeg;
    const qsizetype sof = giant.indexOf("\xFF\xC0");
    QVERIFY(sof > 0);
    giant[sof + 5] = '\xFF';
    giant[sof + 6] = '\xDC';
    giant[sof + 7] = '\xFF';
    giant[sof + 8] = '\xDC';
    QTest::newRow("giant dimensions") << giant;

    QByteArray scrambled = jpeg;
    for (qsizetype i = scrambled.size() / 3; i < scrambled.size() - 2; i += 7)
        scrambled[i] = char(scrambled[i] ^ 0xA5);
    QTest::newRow("scrambled body") << scrambled;
}

void tst_PictureBox::brokenData()
{
    QFETCH(QByteArray, data);
    QImage image;
    const QByteArray noise = stderrOf([&] { image = ui::decodePicture(data.toStdString()); });
    if (QByteArray(QTest::currentDataTag()) == "scrambled body") {
        // Damage inside the entropy-coded data may still decode to some
        // picture; what matters is that it ends quietly.
        QVERIFY(image.isNull() || image.size() == QSize(64, 64));
    } else {
        QVERIFY(image.isNull());
    }
    QCOMPARE(noise, QByteArray());

    ui::PictureBox box("图片框1", nullptr);
    box.setPicture(data.toStdString());
    QCOMPARE(box.hasPicture(), !image.isNull());
}

void tst_PictureBox::otherFormats_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("PNG") << QByteArray("PNG");
    QTest::newRow("BMP") << QByteArray("BMP");
}

void tst_PictureBox::otherFormats()
{
    QFETCH(QByteArray, format);
    QImage source(3, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 255, 0));
    source.setPixel(2, 0, qRgb(0, 0, 255));
    source.setPixel(0, 1, qRgb(10, 20, 30));
    source.setPixel(1, 1, qRgb(255, 255, 255));
    source.setPixel(2, 1, qRgb(0, 0, 0));
    const QImage image = ui::decodePicture(fileBytes(source, format.constData()));
    QCOMPARE(image.size(), QSize(3, 2));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(image.pixel(x, y), source.pixel(x, y));
}

// The picture fills the box whatever the box's proportions, and follows
// the box when it is resized.
void tst_PictureBox::boxStretchesPicture()
{
    ui::PictureBox box("图片框1", nullptr);
    QCOMPARE(box.objectName(), ui::formName("图片框1"));
    box.setPicture(quadrantsJpeg());
    QVERIFY(box.hasPicture());

    for (const QSize size : {QSize(300, 100), QSize(90, 400), QSize(1920, 1080)}) {
        box.resize(size);
        const QImage shot = box.grab().toImage();
        QCOMPARE(shot.size(), size);
        const int w = size.width(), h = size.height();
        VERIFY_PIXEL(shot, 2, 2, kRed);
        VERIFY_PIXEL(shot, w - 3, 2, kGreen);
        VERIFY_PIXEL(shot, 2, h - 3, kBlue);
        VERIFY_PIXEL(shot, w - 3, h - 3, kWhite);
        // The quadrants meet in the middle of the box, not of the picture.
        VERIFY_PIXEL(shot, w / 2 - w / 8, h / 2 - h / 8, kRed);
        VERIFY_PIXEL(shot, w / 2 + w / 8, h / 2 + h / 8, kWhite);
    }

    // Broken data takes the picture away.
    box.setPicture("\xFF\xD8garbage");
    QVERIFY(!box.hasPicture());
    const QImage shot = box.grab().toImage();
    VERIFY_PIXEL(shot, 2, 2, (Rgb{0, 0, 0}));
}

void tst_PictureBox::boxWithoutPictureIsBlack()
{
    ui::PictureBox box("图片框1", nullptr);
    box.resize(120, 100);
    QVERIFY(!box.hasPicture());
    const QImage shot = box.grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(60, 50), QPoint(119, 99)})
        QCOMPARE(shot.pixel(p), qRgb(0, 0, 0));
}

QTEST_MAIN(tst_PictureBox)
#include "tst_picture_box.moc"
