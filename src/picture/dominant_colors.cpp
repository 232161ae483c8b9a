#include "picture/dominant_colors.h"

#include "color/color_space.h"

#include <QtGlobal>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>

namespace tintavo {

namespace {

// Pixels are first counted in boxes of 8 × 8 × 8 channel values: clusters
// are then sought among at most 32768 weighted colours, whatever the size of
// the picture, and a box still knows the exact mean of what fell in it.
constexpr int kBoxBits = 5;
constexpr int kBoxes = 1 << (3 * kBoxBits);
constexpr int kRounds = 40;

struct Box
{
    quint64 red = 0, green = 0, blue = 0, count = 0;
};

struct Weighted
{
    OkLab lab;
    double weight = 0;
};

double distance(const OkLab &a, const OkLab &b)
{
    const double dL = a.L - b.L, da = a.a - b.a, db = a.b - b.b;
    return dL * dL + da * da + db * db;
}

std::vector<Weighted> countColors(const QImage &picture, const QRect &region)
{
    std::vector<Box> boxes(kBoxes);
    constexpr int shift = 8 - kBoxBits;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb pixel = row[x];
            const int red = qRed(pixel), green = qGreen(pixel), blue = qBlue(pixel);
            Box &box = boxes[std::size_t((red >> shift) << (2 * kBoxBits) |
                                         (green >> shift) << kBoxBits | (blue >> shift))];
            box.red += quint64(red);
            box.green += quint64(green);
            box.blue += quint64(blue);
            ++box.count;
        }
    }
    std::vector<Weighted> colors;
    for (const Box &box : boxes) {
        if (box.count == 0)
            continue;
        const auto mean = [&box](quint64 sum) {
            return int((2 * sum + box.count) / (2 * box.count));
        };
        const Rgb c = rgb(mean(box.red), mean(box.green), mean(box.blue));
        colors.push_back({toOkLab(toLinear(c)), double(box.count)});
    }
    return colors;
}

// k-means++ seeding from a fixed seed: far-apart starts, the same each time.
std::vector<OkLab> seedCentres(const std::vector<Weighted> &colors, std::size_t count)
{
    std::mt19937 random(0x7107a0);
    const auto uniform = [&random] { return double(random()) / 4294967296.0; };
    std::vector<OkLab> centres;
    // The heaviest colour starts.
    centres.push_back(std::ranges::max_element(colors, {}, &Weighted::weight)->lab);
    std::vector<double> nearest(colors.size(), std::numeric_limits<double>::max());
    while (centres.size() < count) {
        double total = 0;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            nearest[i] = std::min(nearest[i], distance(colors[i].lab, centres.back()));
            total += nearest[i] * colors[i].weight;
        }
        if (total <= 0)
            break; // every colour is a centre already
        double at = uniform() * total;
        std::size_t chosen = 0;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            at -= nearest[i] * colors[i].weight;
            if (nearest[i] > 0)
                chosen = i;
            if (at < 0 && nearest[i] > 0)
                break;
        }
        centres.push_back(colors[chosen].lab);
    }
    return centres;
}

} // namespace

std::vector<ColorShare> extractColors(const QImage &picture, const QRect &region, int count)
{
    const QRect area = region & picture.rect();
    if (area.isEmpty() || count < 1 || picture.depth() != 32)
        return {};
    const std::vector<Weighted> colors = countColors(picture, area);
    std::vector<OkLab> centres = seedCentres(colors, std::min(colors.size(), std::size_t(count)));

    std::vector<std::size_t> cluster(colors.size(), 0);
    std::vector<Weighted> sums(centres.size());
    for (int round = 0; round < kRounds; ++round) {
        bool moved = round == 0;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            std::size_t best = 0;
            for (std::size_t c = 1; c < centres.size(); ++c) {
                if (distance(colors[i].lab, centres[c]) < distance(colors[i].lab, centres[best]))
                    best = c;
            }
            moved = moved || best != cluster[i];
            cluster[i] = best;
        }
        if (!moved)
            break;
        std::ranges::fill(sums, Weighted{});
        for (std::size_t i = 0; i < colors.size(); ++i) {
            Weighted &sum = sums[cluster[i]];
            sum.lab.L += colors[i].lab.L * colors[i].weight;
            sum.lab.a += colors[i].lab.a * colors[i].weight;
            sum.lab.b += colors[i].lab.b * colors[i].weight;
            sum.weight += colors[i].weight;
        }
        for (std::size_t c = 0; c < centres.size(); ++c) {
            if (sums[c].weight > 0)
                centres[c] = {sums[c].lab.L / sums[c].weight, sums[c].lab.a / sums[c].weight,
                              sums[c].lab.b / sums[c].weight};
        }
    }

    std::vector<double> weights(centres.size(), 0);
    for (std::size_t i = 0; i < colors.size(); ++i)
        weights[cluster[i]] += colors[i].weight;
    const double total = double(area.width()) * double(area.height());
    std::vector<ColorShare> result;
    for (std::size_t c = 0; c < centres.size(); ++c) {
        if (weights[c] <= 0)
            continue;
        const Rgb color = fromLinear(fromOkLab(centres[c]));
        // Two clusters whose means round to one colour are one colour.
        const auto same = std::ranges::find(result, color, &ColorShare::color);
        if (same != result.end())
            same->share += weights[c] / total;
        else
            result.push_back({color, weights[c] / total});
    }
    // Equal shares in a fixed order too: by the colour's value.
    const auto value = [](Rgb c) { return c.red << 16 | c.green << 8 | c.blue; };
    std::ranges::sort(result, [&value](const ColorShare &a, const ColorShare &b) {
        return a.share != b.share ? a.share > b.share : value(a.color) < value(b.color);
    });
    return result;
}

std::vector<int> wholePercents(const std::vector<ColorShare> &colors)
{
    std::vector<int> percents;
    std::vector<std::pair<double, std::size_t>> cut;
    int left = 100;
    for (std::size_t i = 0; i < colors.size(); ++i) {
        const double exact = colors[i].share * 100;
        percents.push_back(int(std::floor(exact + 1e-9)));
        left -= percents.back();
        cut.emplace_back(exact - percents.back(), i);
    }
    // Largest remainder first; on a tie, the larger share (listed first).
    std::ranges::stable_sort(cut, std::greater{}, &std::pair<double, std::size_t>::first);
    for (std::size_t i = 0; i < cut.size() && left > 0; ++i, --left)
        ++percents[cut[i].second];
    return percents;
}

} // namespace tintavo
