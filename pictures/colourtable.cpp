#include "pictures/colourtable.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>
#include <vector>

namespace brimwell::pictures {
namespace {

struct ColourCount {
    QRgb rgb;
    qint64 count;
};

int channel(QRgb rgb, int axis) {
    return axis == 0 ? qRed(rgb) : axis == 1 ? qGreen(rgb) : qBlue(rgb);
}

// A set of neighbouring colours that will share one entry of the colour table.
class ColourBox {
public:
    ColourBox(std::vector<ColourCount>::iterator begin, std::vector<ColourCount>::iterator end)
        : begin_(begin), end_(end) {
        for (auto it = begin_; it != end_; ++it) {
            weight_ += it->count;
            for (int axis = 0; axis < 3; ++axis)
                sum_[axis] += static_cast<double>(channel(it->rgb, axis) * it->count);
        }
        for (auto it = begin_; it != end_; ++it) {
            for (int axis = 0; axis < 3; ++axis) {
                const double d = channel(it->rgb, axis) - mean(axis);
                variance_[axis] += d * d * static_cast<double>(it->count);
            }
        }
    }

    bool splittable() const { return end_ - begin_ > 1; }
    double error() const { return variance_[0] + variance_[1] + variance_[2]; }

    // Splits at the weighted median of the channel that varies most.
    std::pair<ColourBox, ColourBox> split() {
        const int axis = static_cast<int>(std::max_element(variance_.begin(), variance_.end()) -
                                          variance_.begin());
        std::sort(begin_, end_, [axis](const ColourCount& a, const ColourCount& b) {
            return channel(a.rgb, axis) < channel(b.rgb, axis);
        });
        qint64 running = 0;
        auto middle = begin_ + 1;
        for (auto it = begin_; it != end_ - 1; ++it) {
            running += it->count;
            middle = it + 1;
            if (running * 2 >= weight_)
                break;
        }
        return {ColourBox(begin_, middle), ColourBox(middle, end_)};
    }

    // A colour that dominates the box is kept exactly, so flat areas keep their true colour;
    // otherwise the box's average stands for it.
    QRgb representative() const {
        const auto top = std::max_element(
            begin_, end_, [](const auto& a, const auto& b) { return a.count < b.count; });
        if (top->count * 2 >= weight_)
            return top->rgb;
        return qRgb(qRound(mean(0)), qRound(mean(1)), qRound(mean(2)));
    }

private:
    double mean(int axis) const { return sum_[axis] / static_cast<double>(weight_); }

    std::vector<ColourCount>::iterator begin_, end_;
    qint64 weight_ = 0;
    std::array<double, 3> sum_{};
    std::array<double, 3> variance_{};
};

}  // namespace

QList<QRgb> colourTableFor(const QImage& image) {
    std::map<QRgb, qint64> histogram;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) ++histogram[line[x] | 0xff000000u];
    }
    std::vector<ColourCount> colours;
    for (const auto& [rgb, count] : histogram) colours.push_back({rgb, count});

    std::vector<ColourBox> boxes{ColourBox(colours.begin(), colours.end())};
    while (boxes.size() < 256) {
        auto worst = boxes.end();
        for (auto it = boxes.begin(); it != boxes.end(); ++it)
            if (it->splittable() && (worst == boxes.end() || it->error() > worst->error()))
                worst = it;
        if (worst == boxes.end())
            break;
        auto [low, high] = worst->split();
        *worst = low;
        boxes.push_back(high);
    }

    QList<QRgb> table;
    for (const auto& box : boxes) table.append(box.representative());
    return table;
}

}  // namespace brimwell::pictures
