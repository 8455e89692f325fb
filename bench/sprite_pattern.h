// The sprite benchmarks' one pattern: where sprite i of a frame lands, which
// atlas frame it shows and how it turns, so every contender draws the same.
#pragma once

struct SpritePlace {
    float x, y;    // centre, window pixels
    int frame;     // 0 to 15 of the 8 x 8 atlas
    float degrees; // for the turned variant
};

// Spread over a width x height window with an 8-pixel margin on a fixed pattern.
inline SpritePlace PlaceSprite(int i, int width, int height) {
    const float spanX = static_cast<float>(width - 16);
    const float spanY = static_cast<float>(height - 16);
    return SpritePlace{8 + static_cast<float>((i * 37) % 997) / 997.0f * spanX,
                       8 + static_cast<float>((i * 91) % 991) / 991.0f * spanY, i & 15,
                       static_cast<float>(i % 360)};
}

// The turned variant's scale.
constexpr float kTurnedSpriteScale = 0.75f;
