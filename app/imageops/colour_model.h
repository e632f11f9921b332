// The colour models the colour editor shows a palette entry in: RGB, HSV
// (hue 0 to 360, saturation and value 0 to 100) and YMC, all in integer
// arithmetic whose divisions truncate toward zero.
#pragma once

enum class ColourModel : int { Rgb = 1, Hsv = 2, Ymc = 3 };

inline constexpr int kModelComponents = 3;

struct Rgb {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb&) const = default;
};

// A colour in one model, components in the order the editor shows them:
// red, green, blue; hue, saturation, value; yellow, magenta, cyan.
struct ModelColour {
    int c[kModelComponents];
    bool operator==(const ModelColour&) const = default;
};

// The largest value component i (0..2) takes in the model; the smallest is 0.
int component_max(ColourModel model, int component);
// True when every component lies in 0..component_max.
bool in_model_range(ColourModel model, const ModelColour& colour);
// The model stored in the settings, or RGB for a value no model has.
ColourModel colour_model_from_setting(int value);

// RGB (each 0..255) in the model.
ModelColour to_model(ColourModel model, const Rgb& rgb);
// The model's colour as RGB. Hue is taken modulo 360, so 360 is red again;
// other components outside their range are clamped first.
Rgb from_model(ColourModel model, const ModelColour& colour);
