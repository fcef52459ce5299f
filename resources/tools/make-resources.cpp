// Draws and synthesises every picture and sound the program ships, so that
// nothing is taken from elsewhere:
//   make-resources icons  <dir>   the interface pictures of the Qt resource file
//                                 (committed under resources/images; rerun after
//                                 changing a drawing)
//   make-resources shipped <dir>  the introduction slides Slide1_<lang>.jpg to
//                                 Slide5_<lang>.jpg for en, de and ru, and bell.wav
//                                 (written at build time into bin/Resources)
// Run with QT_QPA_PLATFORM=offscreen; only Qt Gui is used.

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>

namespace {

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

bool save(const QImage& image, const QString& dir, const QString& name, int quality = -1)
{
    const bool ok = image.save(dir + QLatin1Char('/') + name, nullptr, quality);
    if (!ok)
        QTextStream(stderr) << "cannot write " << name << '\n';
    return ok;
}

// A round dark button face with a light rim.
void drawDisc(QPainter& p, const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(QColor(200, 200, 200, 180), r.width() / 40.0));
    p.drawEllipse(r);
}

QImage popupButton()
{
    QImage image = canvas(100, 100);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawDisc(p, QRectF(6, 6, 88, 88), QColor(110, 110, 110), QColor(40, 40, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = -1; i <= 1; ++i)
        p.drawEllipse(QPointF(50 + i * 22, 50), 8, 8);
    return image;
}

QImage previewSymbol()
{
    QImage image = canvas(130, 130);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 12, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(QPointF(55, 55), 36, 36);
    p.drawLine(QPointF(82, 82), QPointF(116, 116));
    return image;
}

QImage closeSymbol()
{
    QImage image = canvas(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(230, 60, 60), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
    return image;
}

QImage gear(int size, const QColor& colour)
{
    QImage image = canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0);
    const double outer = size * 0.46;
    const double inner = size * 0.34;
    QPainterPath path;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double a = i * M_PI * 2 / (teeth * 4);
        const double r = (i % 4 < 2) ? outer : inner;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    path.addEllipse(c, size * 0.14, size * 0.14);
    path.setFillRule(Qt::OddEvenFill);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
    return image;
}

QImage folder(int size, const QColor& colour, bool checked)
{
    QImage image = canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 24.0;
    QPainterPath path;
    path.moveTo(2 * s, 5 * s);
    path.lineTo(9 * s, 5 * s);
    path.lineTo(11 * s, 7 * s);
    path.lineTo(22 * s, 7 * s);
    path.lineTo(22 * s, 20 * s);
    path.lineTo(2 * s, 20 * s);
    path.closeSubpath();
    p.setPen(QPen(colour.darker(160), s));
    p.setBrush(colour);
    p.drawPath(path);
    if (checked) {
        p.setPen(QPen(Qt::white, 2 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7 * s, 13 * s), QPointF(11 * s, 17 * s));
        p.drawLine(QPointF(11 * s, 17 * s), QPointF(17 * s, 10 * s));
    }
    return image;
}

QImage panelBackground()
{
    // Tiles without seams: a flat ground with diagonal lines whose period
    // divides the tile.
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(QColor(40, 40, 40));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if ((x + y) % 8 == 0)
                image.setPixelColor(x, y, QColor(47, 47, 47));
    return image;
}

QImage downArrow()
{
    QImage image = canvas(14, 14);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(QPolygonF({QPointF(1, 4), QPointF(13, 4), QPointF(7, 11)}));
    return image;
}

// The application picture: a PNG "sheet" squeezed by two arrows.
QImage appPicture(int size)
{
    QImage image = canvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 256.0;
    QRadialGradient bg(QPointF(90 * s, 70 * s), 220 * s);
    bg.setColorAt(0, QColor(60, 200, 60));
    bg.setColorAt(1, QColor(0, 90, 0));
    p.setPen(QPen(QColor(20, 40, 20), 6 * s));
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(12 * s, 12 * s, 232 * s, 232 * s), 44 * s, 44 * s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(QRectF(78 * s, 58 * s, 100 * s, 140 * s), 10 * s, 10 * s);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(int(34 * s));
    p.setFont(font);
    p.setPen(QColor(0, 110, 0));
    p.drawText(QRectF(78 * s, 58 * s, 100 * s, 140 * s), Qt::AlignCenter, QStringLiteral("PNG"));
    p.setBrush(Qt::white);
    for (int side : {-1, 1}) {
        const double x = 128 * s + side * 96 * s;
        const double tip = 128 * s + side * 60 * s;
        p.drawPolygon(QPolygonF({QPointF(x, 100 * s), QPointF(tip, 128 * s), QPointF(x, 156 * s)}));
    }
    return image;
}

// Top-bar pictures: 60 x 32, a symbol on a faint plate.
QImage barButton(const QString& symbol, bool hover)
{
    QImage image = canvas(60, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (hover) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawRoundedRect(QRectF(1, 1, 58, 30), 6, 6);
    }
    const QColor ink = hover ? QColor(140, 255, 140) : QColor(225, 225, 225);
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    if (symbol == QLatin1String("intro")) {
        p.drawEllipse(QPointF(30, 16), 11, 11);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(15);
        p.setFont(f);
        p.drawText(QRectF(19, 5, 22, 22), Qt::AlignCenter, QStringLiteral("?"));
    } else if (symbol == QLatin1String("more")) {
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 2; ++col)
                p.drawRoundedRect(QRectF(21 + col * 10, 7 + row * 10, 7, 7), 2, 2);
    } else if (symbol == QLatin1String("share")) {
        p.drawLine(QPointF(24, 16), QPointF(36, 9));
        p.drawLine(QPointF(24, 16), QPointF(36, 23));
        p.setBrush(ink);
        p.drawEllipse(QPointF(23, 16), 3.5, 3.5);
        p.drawEllipse(QPointF(37, 9), 3.5, 3.5);
        p.drawEllipse(QPointF(37, 23), 3.5, 3.5);
    } else if (symbol == QLatin1String("join")) {
        p.drawEllipse(QPointF(26, 11), 4, 4);
        p.drawEllipse(QPointF(35, 11), 4, 4);
        p.drawArc(QRectF(18, 17, 16, 14), 0, 180 * 16);
        p.drawArc(QRectF(27, 17, 16, 14), 0, 180 * 16);
    } else if (symbol == QLatin1String("rate")) {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = (i % 2) ? 5 : 11;
            const double a = -M_PI / 2 + i * M_PI / 5;
            star << QPointF(30 + r * std::cos(a), 17 + r * std::sin(a));
        }
        p.drawPolygon(star);
    } else if (symbol == QLatin1String("moreapps")) {
        p.drawRoundedRect(QRectF(21, 6, 18, 20), 3, 3);
        p.drawLine(QPointF(30, 11), QPointF(30, 21));
        p.drawLine(QPointF(25, 16), QPointF(35, 16));
    } else { // app menu
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(21, 9 + i * 7), QPointF(39, 9 + i * 7));
    }
    return image;
}

QImage smallClose(bool hover)
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(hover ? QColor(255, 120, 120) : QColor(200, 200, 200), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
    return image;
}

bool writeIcons(const QString& dir)
{
    bool ok = true;
    ok &= save(popupButton(), dir, QStringLiteral("PopupButton.png"));
    ok &= save(previewSymbol(), dir, QStringLiteral("preview.png"));
    ok &= save(closeSymbol(), dir, QStringLiteral("close.png"));
    ok &= save(gear(35, QColor(200, 200, 200)), dir, QStringLiteral("exportsettingsbutton.png"));
    ok &= save(gear(35, QColor(120, 240, 120)), dir, QStringLiteral("exportsettingsbutton_hover.png"));
    ok &= save(folder(24, QColor(200, 170, 80), false), dir, QStringLiteral("BrowseButton.png"));
    ok &= save(folder(24, QColor(240, 210, 110), false), dir, QStringLiteral("BrowseButton_hvr.png"));
    ok &= save(folder(24, QColor(90, 170, 90), true), dir, QStringLiteral("BrowseButton_chk.png"));
    ok &= save(folder(24, QColor(120, 210, 120), true), dir, QStringLiteral("BrowseButton_chk_hvr.png"));
    ok &= save(panelBackground(), dir, QStringLiteral("panelbackground.png"));
    ok &= save(downArrow(), dir, QStringLiteral("spinbox_button2.png"));
    ok &= save(appPicture(256), dir, QStringLiteral("zintrop.png"));
    for (const char* name : {"intro", "more", "share", "join", "rate", "moreapps", "app"}) {
        const QString base = QString::fromLatin1(name);
        ok &= save(barButton(base, false), dir, QStringLiteral("bar_%1.png").arg(base));
        ok &= save(barButton(base, true), dir, QStringLiteral("bar_%1_hover.png").arg(base));
    }
    ok &= save(smallClose(false), dir, QStringLiteral("adsclose.png"));
    ok &= save(smallClose(true), dir, QStringLiteral("adsclose_hover.png"));
    return ok;
}

struct SlideText {
    const char* title;
    const char* line;
};

// Five slides per language: what the program does and how a batch goes.
const SlideText kSlides[3][5] = {
    {{"Zintrop Lite", "Make PNG images up to 80% smaller"},
     {"Drop", "Drop PNG files and folders on the window"},
     {"Destination", "Choose where the compressed files go"},
     {"Settings", "Pick colours, scaling, grey and dithering"},
     {"Compress", "Press Compress and watch the bytes you save"}},
    {{"Zintrop Lite", "PNG-Bilder um bis zu 80% verkleinern"},
     {"Ablegen", "PNG-Dateien und Ordner auf das Fenster ziehen"},
     {"Ziel", "Ordner für die komprimierten Dateien wählen"},
     {"Einstellungen", "Farben, Skalierung, Grau und Dithering wählen"},
     {"Komprimieren", "Auf Compress drücken und die Ersparnis sehen"}},
    {{"Zintrop Lite", "Уменьшайте PNG-изображения до 80%"},
     {"Перетащите", "Перетащите PNG-файлы и папки в окно"},
     {"Назначение", "Выберите папку для сжатых файлов"},
     {"Настройки", "Цвета, масштаб, серый цвет и дизеринг"},
     {"Сжатие", "Нажмите Compress и смотрите на экономию"}},
};

QImage slide(int number, const SlideText& text)
{
    const int w = 800;
    const int h = 500;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, QColor(70, 70, 70));
    g.setColorAt(1, QColor(20, 20, 20));
    p.fillRect(image.rect(), g);
    // A band of shrinking squares: the theme of the program.
    for (int i = 0; i < 5; ++i) {
        const int side = 90 - i * 15;
        const QColor c = (i + 1 == number) ? QColor(0, 190, 0) : QColor(90, 90, 90);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(60 + i * 110, 300 + (90 - side) / 2.0, side, side), 8, 8);
    }
    p.drawImage(QRectF(w - 220, 40, 160, 160), appPicture(160));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setBold(true);
    title.setPixelSize(54);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(60, 60, w - 300, 80), Qt::AlignLeft | Qt::AlignVCenter, QString::fromUtf8(text.title));
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPixelSize(26);
    p.setFont(body);
    p.setPen(QColor(210, 210, 210));
    p.drawText(QRectF(60, 150, w - 300, 120), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QString::fromUtf8(text.line));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(18);
    p.setFont(small);
    p.setPen(QColor(150, 150, 150));
    p.drawText(QRectF(0, h - 50, w - 40, 30), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("%1 / 5").arg(number));
    return image;
}

// A struck bell: a few inharmonic partials, each dying away on its own.
QByteArray bellWave()
{
    const int rate = 44100;
    const int frames = rate * 3 / 2;
    const double base = 880.0;
    const double ratios[] = {1.0, 2.0, 2.76, 5.4, 8.93};
    const double levels[] = {1.0, 0.6, 0.4, 0.25, 0.12};
    const double decays[] = {2.2, 3.0, 4.0, 6.0, 9.0};
    QByteArray pcm;
    QDataStream out(&pcm, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        double v = 0;
        for (int k = 0; k < 5; ++k)
            v += levels[k] * std::exp(-decays[k] * t) * std::sin(2 * M_PI * base * ratios[k] * t);
        // A 5 ms attack keeps the start from clicking.
        const double attack = std::min(1.0, t / 0.005);
        out << qint16(std::lround(v / 2.4 * attack * 30000));
    }
    QByteArray wav;
    QDataStream header(&wav, QIODevice::WriteOnly);
    header.setByteOrder(QDataStream::LittleEndian);
    header.writeRawData("RIFF", 4);
    header << quint32(36 + pcm.size());
    header.writeRawData("WAVEfmt ", 8);
    header << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2)
           << quint16(16);
    header.writeRawData("data", 4);
    header << quint32(pcm.size());
    return wav + pcm;
}

bool writeShipped(const QString& dir)
{
    bool ok = true;
    const char* languages[] = {"en", "de", "ru"};
    for (int l = 0; l < 3; ++l)
        for (int n = 1; n <= 5; ++n)
            ok &= save(slide(n, kSlides[l][n - 1]), dir,
                       QStringLiteral("Slide%1_%2.jpg").arg(n).arg(QLatin1String(languages[l])), 88);
    QFile file(dir + QStringLiteral("/bell.wav"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bellWave()) < 0 || !file.flush()) {
        QTextStream(stderr) << "cannot write bell.wav\n";
        ok = false;
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || (args.at(1) != QLatin1String("icons") && args.at(1) != QLatin1String("shipped"))) {
        QTextStream(stderr) << "usage: make-resources icons|shipped <folder>\n";
        return 2;
    }
    const QString dir = args.at(2);
    QDir().mkpath(dir);
    const bool ok = args.at(1) == QLatin1String("icons") ? writeIcons(dir) : writeShipped(dir);
    return ok ? 0 : 1;
}
