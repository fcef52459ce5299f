#include "ReferenceReducer.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

struct Box
{
    int lower = 0;
    int upper = -1;
    qint64 count = 0;
    int level = 0;
    int rMin = 255, rMax = 0, gMin = 255, gMax = 0, bMin = 255, bMax = 0;
};

int keyOf(QRgb p)
{
    return (qRed(p) >> 3) | ((qGreen(p) >> 3) << 5) | ((qBlue(p) >> 3) << 10);
}
int redOf(int k) { return (k << 3) & 0xFF; }
int greenOf(int k) { return (k >> 2) & 0xF8; }
int blueOf(int k) { return (k >> 7) & 0xF8; }

float distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return std::sqrt(float(dr * dr + dg * dg + db * db));
}

QRgb nearest(QRgb c, const QVector<QRgb>& list)
{
    float best = distance(c, list[0]);
    int bestIndex = 0;
    for (int i = 0; i < list.size(); ++i) {
        const float d = distance(c, list[i]);
        if (d < best) {
            best = d;
            bestIndex = i;
        }
    }
    return list[bestIndex];
}

int clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

QImage dither(const QImage& s, const QVector<QRgb>& list, QVector<int>& progress)
{
    QImage w = s.copy();
    QImage r = s.copy();
    const int width = s.width(), height = s.height();
    for (int x = 0; x < width; ++x) {
        progress.append(int(10 + 90.0 * x / width));
        for (int y = 0; y < height; ++y) {
            const QRgb old = w.pixel(x, y);
            const QRgb neu = nearest(old, list);
            r.setPixel(x, y, neu);
            const int er = qRed(old) - qRed(neu);
            const int eg = qGreen(old) - qGreen(neu);
            const int eb = qBlue(old) - qBlue(neu);
            auto share = [&](int nx, int ny, int num) {
                if (nx >= width || ny >= height)
                    return;
                const QRgb p = w.pixel(nx, ny);
                w.setPixel(nx, ny, qRgba(clamp255(qRed(p) + num * er / 16),
                                         clamp255(qGreen(p) + num * eg / 16),
                                         clamp255(qBlue(p) + num * eb / 16), 255));
            };
            share(x + 1, y, 7);
            share(x, y + 1, 5);
            share(x + 1, y + 1, 1);
        }
    }
    return r;
}

ReferenceResult grayPath(const QImage& source, const QImage& work, int colorCount, bool dithering,
                         QVector<int>& progress)
{
    const int d = std::max(colorCount / 2, 2);
    const int e = 255 - d;
    int compress[256], expand[256];
    for (int v = 0; v < 256; ++v)
        compress[v] = e + v * d / 255;
    for (int i = 0; i < 256; ++i)
        expand[i] = i < e ? 0 : 255 * (i - e) / d;
    QImage g(work.size(), QImage::Format_ARGB32);
    for (int y = 0; y < work.height(); ++y)
        for (int x = 0; x < work.width(); ++x) {
            const QRgb p = work.pixel(x, y);
            g.setPixel(x, y, qRgba(expand[compress[qRed(p)]], expand[compress[qGreen(p)]],
                                   expand[compress[qBlue(p)]], 255));
        }
    QVector<QRgb> table(256, 0xFFFFFFFFu);
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x) {
            const int r = qRed(g.pixel(x, y));
            table[r] = 0xFF000000u | (r << 16) | (r << 8) | r;
        }
    std::sort(table.begin(), table.end());
    if (dithering)
        g = dither(work, table, progress);
    if (source.hasAlphaChannel())
        table[255] = 0;
    QImage result(g.size(), QImage::Format_Indexed8);
    result.setColorTable(table);
    for (int x = 0; x < g.width(); ++x)
        for (int y = 0; y < g.height(); ++y) {
            int index = 255;
            if (qAlpha(source.pixel(x, y)) > 126) {
                const QRgb p = g.pixel(x, y);
                for (int i = 0; i < 256; ++i)
                    if (table[i] == p) {
                        index = i;
                        break;
                    }
            }
            result.setPixel(x, y, uint(index));
        }
    return {result, progress};
}

} // namespace

ReferenceResult referenceReduce(const QImage& source, int nColors, bool dithering, bool grayAlgorithm)
{
    QVector<int> progress;
    progress.append(0);
    int colorCount = std::min(std::max(nColors, 1), 256);
    if (source.hasAlphaChannel() && (colorCount == 255 || colorCount == 256))
        colorCount = 254;
    if (source.isNull())
        return {QImage(), progress};
    const QImage work = source.convertToFormat(QImage::Format_RGB32);
    if (grayAlgorithm && source.allGray())
        return grayPath(source, work, colorCount, dithering, progress);

    QVector<qint64> histogram(32768, 0);
    for (int y = 0; y < work.height(); ++y)
        for (int x = 0; x < work.width(); ++x)
            ++histogram[keyOf(work.pixel(x, y))];

    QVector<int> list;
    qint64 total = 0;
    for (int k = 0; k < 32768; ++k)
        if (histogram[k]) {
            list.append(k);
            total += histogram[k];
        }
    std::vector<Box> boxes(256);
    auto bounds = [&](Box& b) {
        b.rMin = b.gMin = b.bMin = 255;
        b.rMax = b.gMax = b.bMax = 0;
        for (int i = b.lower; i <= b.upper; ++i) {
            const int k = list[i];
            b.rMin = std::min(b.rMin, redOf(k));
            b.rMax = std::max(b.rMax, redOf(k));
            b.gMin = std::min(b.gMin, greenOf(k));
            b.gMax = std::max(b.gMax, greenOf(k));
            b.bMin = std::min(b.bMin, blueOf(k));
            b.bMax = std::max(b.bMax, blueOf(k));
        }
    };
    boxes[0].lower = 0;
    boxes[0].upper = list.size() - 1;
    boxes[0].count = total;
    bounds(boxes[0]);
    int n = 1;
    if (colorCount > 1) {
        while (n < colorCount) {
            progress.append(n * 10 / colorCount);
            int choice = -1, bound = 255;
            for (int i = 0; i < n; ++i)
                if (boxes[i].lower != boxes[i].upper && boxes[i].level < bound) {
                    bound = boxes[i].level;
                    choice = i;
                }
            if (choice < 0)
                break;
            const Box p = boxes[choice];
            const int rr = p.rMax - p.rMin, gr = p.gMax - p.gMin, br = p.bMax - p.bMin;
            std::function<int(int)> sortKey;
            if (br >= rr && br >= gr)
                sortKey = [](int k) { return k; };
            else if (gr >= rr)
                sortKey = [](int k) { return (k & 0x1F) | (((k >> 10) & 0x1F) << 5) | (((k >> 5) & 0x1F) << 10); };
            else
                sortKey = [](int k) { return (k >> 5) | ((k & 0x1F) << 10); };
            std::sort(list.begin() + p.lower, list.begin() + p.upper + 1,
                      [&](int a, int b) { return sortKey(a) < sortKey(b); });
            qint64 sum = 0;
            int x = p.lower;
            while (true) {
                sum += histogram[list[x]];
                ++x;
                if (x == p.upper || sum >= p.count / 2)
                    break;
            }
            Box a = p, b = p;
            a.upper = x - 1;
            a.count = sum;
            a.level = p.level + 1;
            b.lower = x;
            b.count = p.count - sum;
            b.level = p.level + 1;
            bounds(a);
            bounds(b);
            boxes[choice] = a;
            boxes[n] = b;
            ++n;
        }
    }

    QVector<QRgb> palette;
    QVector<int> keyMap(32768, 0);
    for (int i = 0; i < n; ++i) {
        qint64 sr = 0, sg = 0, sb = 0;
        for (int j = boxes[i].lower; j <= boxes[i].upper; ++j) {
            const int k = list[j];
            sr += redOf(k) * histogram[k];
            sg += greenOf(k) * histogram[k];
            sb += blueOf(k) * histogram[k];
            keyMap[k] = i;
        }
        int r = int(sr / boxes[i].count), g = int(sg / boxes[i].count), b = int(sb / boxes[i].count);
        if (r == 248 && g == 248 && b == 248)
            r = g = b = 255;
        palette.append(qRgb(r, g, b));
    }

    QImage mapped;
    if (dithering) {
        mapped = dither(work, palette, progress);
    } else {
        mapped = QImage(work.size(), QImage::Format_RGB32);
        for (int y = 0; y < work.height(); ++y)
            for (int x = 0; x < work.width(); ++x)
                mapped.setPixel(x, y, palette[keyMap[keyOf(work.pixel(x, y))]]);
    }
    QImage result = mapped.convertToFormat(QImage::Format_Indexed8);
    if (source.hasAlphaChannel()) {
        QVector<QRgb> table(256, 0);
        const QVector<QRgb> old = result.colorTable();
        std::copy(old.begin(), old.end(), table.begin());
        table[255] = 0;
        result.setColorTable(table);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                if (uint(source.pixel(x, y)) <= 0x7EFFFFFFu)
                    result.setPixel(x, y, 255);
    }
    return {result, progress};
}

QImage referenceStretch(const QImage& source, int nLevels)
{
    const int b = std::min(std::max(nLevels, 1), 255);
    const int c = 255 - b;
    const QImage work = source.convertToFormat(QImage::Format_RGB32);
    int compress[256], expand[256];
    for (int v = 0; v < 256; ++v)
        compress[v] = c + v * b / 255;
    for (int i = 0; i < 256; ++i)
        expand[i] = i < c ? 0 : 255 * (i - c) / b;
    QImage result(work.size(), QImage::Format_ARGB32);
    for (int y = 0; y < work.height(); ++y)
        for (int x = 0; x < work.width(); ++x) {
            const QRgb p = work.pixel(x, y);
            result.setPixel(x, y, qRgba(expand[compress[qRed(p)]], expand[compress[qGreen(p)]],
                                        expand[compress[qBlue(p)]], 255));
        }
    return result;
}
