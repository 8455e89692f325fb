// What the asset loader reads, by step: the art (images and the font) and the
// sound effects. The late loader of a platform that fetches data while the
// game runs reads the same items.
#pragma once

// An image the loader reads, its frame size at the smallest art level, and
// whether the first menu (or the loading screen before it) shows it.
struct LoaderArt {
    int step;
    int image;
    const char* path;
    int frameW, frameH, frames;
    bool firstMenu;
};
inline constexpr LoaderArt kLoaderArt[] = {
    {1, 97, "common/icons", 32, 32, 16, true},
    {2, 95, "common/Buttons", 64, 64, 16, true},
    {3, 94, "common/dpad", 32, 32, 16, true},
    {4, 92, "common/icade", 64, 64, 2, true},
    {5, 93, "common/TarnLogo", 256, 256, 1, true},
    {11, 99, "menu", 256, 256, 4, true},
    {12, 98, "logo", 256, 128, 1, true},
    {13, 96, "parts", 8, 8, 16, false},
    {14, 80, "BadgesA", 64, 64, 64, false},
    {15, 1, "gfx", 32, 32, 16, false},
    {43, 2, "bg", 256, 256, 2, false},
};

// The font: 128 glyph frames of 16 x 16 units; advance and line height in units.
inline constexpr int kFontStep = 6;
inline constexpr int kFontImage = 90, kGlyphAdvance = 7, kLineHeight = 10;
inline constexpr char kFontPath[] = "fonts/editundo";

inline constexpr int kLogoImage = 93;
inline constexpr char kLogoPath[] = "common/TarnLogo";

inline const LoaderArt* ArtAtStep(int step) {
    for (const LoaderArt& art : kLoaderArt)
        if (art.step == step) return &art;
    return nullptr;
}

// The sound effect a step loads, or 0.
inline int EffectAtStep(int step) {
    constexpr int kMenuEffects[] = {1, 95, 98, 99}; // steps 7 to 10
    if (step >= 7 && step <= 10) return kMenuEffects[step - 7];
    if (step >= 16 && step <= 35) return step - 14;
    if (step >= 36 && step <= 42) return step - 5;
    return 0;
}
