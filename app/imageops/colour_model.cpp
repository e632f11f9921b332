#include "app/imageops/colour_model.h"

#include <algorithm>

namespace {

constexpr int kRgbMax = 255;
constexpr int kHueTurn = 360;
constexpr int kPercentMax = 100;
// Hue sextants, in degrees.
constexpr int kSextant = 60;
// Halves the divisor so that V and the HSV-to-RGB scaling round.
constexpr int kValueRounding = 128;
constexpr int kHsvScale = 600000; // 60 (sextant) x 100 (S) x 100 (V)
constexpr int kHsvRounding = kHsvScale / 2;

ModelColour to_hsv(const Rgb& c) {
    const int mx = std::max({c.red, c.green, c.blue});
    const int mn = std::min({c.red, c.green, c.blue});
    const int d = mx - mn;
    const int v = (kPercentMax * mx + kValueRounding) / kRgbMax;
    if (d == 0) return {{0, 0, v}};
    const int s = (2 * kPercentMax * d + mx) / (2 * mx);
    int h;
    if (c.red == mx)
        h = kSextant * (c.green - c.blue) / d;
    else if (c.green == mx)
        h = kSextant * (c.blue - c.red) / d + 2 * kSextant;
    else
        h = kSextant * (c.red - c.green) / d + 4 * kSextant;
    if (h < 0) h += kHueTurn;
    return {{h, s, v}};
}

// Each base component c (0..60) mixed with 60 by saturation and scaled by
// value to 0..255, rounded.
int hsv_component(int c, int s, int v) {
    return (((kSextant - c) * (kPercentMax - s) + kPercentMax * c) * v * kRgbMax + kHsvRounding) /
           kHsvScale;
}

Rgb from_hsv(const ModelColour& colour) {
    const int h = ((colour.c[0] % kHueTurn) + kHueTurn) % kHueTurn;
    const int s = std::clamp(colour.c[1], 0, kPercentMax);
    const int v = std::clamp(colour.c[2], 0, kPercentMax);
    int base[3];
    if (h <= kSextant)
        base[0] = kSextant, base[1] = h, base[2] = 0;
    else if (h <= 2 * kSextant)
        base[0] = 2 * kSextant - h, base[1] = kSextant, base[2] = 0;
    else if (h <= 3 * kSextant)
        base[0] = 0, base[1] = kSextant, base[2] = h - 2 * kSextant;
    else if (h <= 4 * kSextant)
        base[0] = 0, base[1] = 4 * kSextant - h, base[2] = kSextant;
    else if (h <= 5 * kSextant)
        base[0] = h - 4 * kSextant, base[1] = 0, base[2] = kSextant;
    else
        base[0] = kSextant, base[1] = 0, base[2] = kHueTurn - h;
    return {hsv_component(base[0], s, v), hsv_component(base[1], s, v),
            hsv_component(base[2], s, v)};
}

int clamp_rgb(int value) {
    return std::clamp(value, 0, kRgbMax);
}

} // namespace

int component_max(ColourModel model, int component) {
    if (model != ColourModel::Hsv) return kRgbMax;
    return component == 0 ? kHueTurn : kPercentMax;
}

bool in_model_range(ColourModel model, const ModelColour& colour) {
    for (int i = 0; i < kModelComponents; ++i)
        if (colour.c[i] < 0 || colour.c[i] > component_max(model, i)) return false;
    return true;
}

ColourModel colour_model_from_setting(int value) {
    switch (value) {
    case int(ColourModel::Hsv):
        return ColourModel::Hsv;
    case int(ColourModel::Ymc):
        return ColourModel::Ymc;
    default:
        return ColourModel::Rgb;
    }
}

ModelColour to_model(ColourModel model, const Rgb& rgb) {
    switch (model) {
    case ColourModel::Hsv:
        return to_hsv(rgb);
    case ColourModel::Ymc:
        return {{kRgbMax - rgb.blue, kRgbMax - rgb.green, kRgbMax - rgb.red}};
    case ColourModel::Rgb:
        break;
    }
    return {{rgb.red, rgb.green, rgb.blue}};
}

Rgb from_model(ColourModel model, const ModelColour& colour) {
    switch (model) {
    case ColourModel::Hsv:
        return from_hsv(colour);
    case ColourModel::Ymc:
        return {kRgbMax - clamp_rgb(colour.c[2]), kRgbMax - clamp_rgb(colour.c[1]),
                kRgbMax - clamp_rgb(colour.c[0])};
    case ColourModel::Rgb:
        break;
    }
    return {clamp_rgb(colour.c[0]), clamp_rgb(colour.c[1]), clamp_rgb(colour.c[2])};
}
