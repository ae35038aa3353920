#pragma once
#include <cmath>
#include <string>
#include <vector>

namespace cxb {

// Header only: the chart module, built apart from the engine, uses it too.
//
// The percentage labels of one bar of a stacked percent chart. Each share
// is labelled in the middle of its own segment, and only where the segment
// is long enough to hold the label with a margin: labels of neighbouring
// segments can then never overlap, however small a share is.
class ShareLabels {
public:
    struct Label {
        std::string text;  // "37%"
        double start = 0;  // the segment along the bar, in the bar's units
        double end = 0;
        double centre = 0; // where the label's middle goes
        bool shown = false;
    };

    // Space kept free on each side of a label inside its segment.
    static constexpr double kMargin = 2;

    // The texts of the shares of `counts`: whole percentages of their sum;
    // all "0%" when the sum is 0.
    static std::vector<std::string> texts(const std::vector<int>& counts);

    // The labels of a bar `length` long and `thickness` thick whose segments
    // hold `counts`, each label `widths[i]` wide and `height` high (same
    // units). A bar thinner than its labels are high shows none: the labels
    // of the bars beside it would run into them.
    static std::vector<Label> place(const std::vector<int>& counts, const std::vector<double>& widths, double length,
                                    double height = 0, double thickness = 0);
};

namespace share_labels_detail {
inline long long sum(const std::vector<int>& counts) {
    long long total = 0;
    for (int c : counts) total += c > 0 ? c : 0;
    return total;
}
} // namespace share_labels_detail

inline std::vector<std::string> ShareLabels::texts(const std::vector<int>& counts) {
    const long long total = share_labels_detail::sum(counts);
    std::vector<std::string> out;
    for (int c : counts) {
        const long long share = total > 0 && c > 0 ? std::llround(100.0 * c / static_cast<double>(total)) : 0;
        out.push_back(std::to_string(share) + "%");
    }
    return out;
}

inline std::vector<ShareLabels::Label> ShareLabels::place(const std::vector<int>& counts, const std::vector<double>& widths,
                                                          double length, double height, double thickness) {
    const bool fits = height <= thickness || thickness <= 0;
    const std::vector<std::string> text = texts(counts);
    const long long total = share_labels_detail::sum(counts);
    std::vector<Label> out;
    double at = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        Label l;
        l.text = text[i];
        const double share = total > 0 && counts[i] > 0 ? static_cast<double>(counts[i]) / static_cast<double>(total) : 0;
        l.start = at;
        l.end = at + share * length;
        at = l.end;
        l.centre = (l.start + l.end) / 2;
        const double width = i < widths.size() ? widths[i] : 0;
        l.shown = fits && share > 0 && width > 0 && l.end - l.start >= width + 2 * kMargin;
        out.push_back(l);
    }
    return out;
}

} // namespace cxb
