// The page's icons: each at the size its name says, and the maskable ones
// opaque to every edge with the scene inside the centred circle of 80 % of
// the width that every launcher's mask keeps: outside it, only the
// background's rows, one colour each.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

const std::string kIcons = SKITTERBAT_WEB_ICONS;

struct Icon {
    const char* name;
    int size;
    bool maskable;
};

TEST(WebIcons, SizesAndTheMaskableSafeZone) {
    for (Icon icon : {Icon{"icon-192.png", 192, false}, Icon{"icon-512.png", 512, false},
                      Icon{"icon-maskable-512.png", 512, true}, Icon{"apple-touch-icon.png", 180, true}}) {
        SCOPED_TRACE(icon.name);
        int w = 0, h = 0, n = 0;
        unsigned char* rgba = stbi_load((kIcons + "/" + icon.name).c_str(), &w, &h, &n, 4);
        ASSERT_NE(rgba, nullptr);
        EXPECT_EQ(w, icon.size);
        EXPECT_EQ(h, icon.size);
        if (icon.maskable && w == icon.size && h == icon.size) {
            const float c = icon.size / 2.0f, safe = 0.4f * icon.size;
            int transparent = 0, outside = 0;
            for (int y = 0; y < h; ++y) {
                const unsigned char* row = rgba + size_t(y) * w * 4;
                for (int x = 0; x < w; ++x) {
                    const unsigned char* p = row + x * 4;
                    if (p[3] != 255) ++transparent;
                    if (std::hypot(x + 0.5f - c, y + 0.5f - c) <= safe) continue;
                    for (int k = 0; k < 3; ++k)
                        if (std::abs(p[k] - row[k]) > 3) {
                            ++outside;
                            break;
                        }
                }
            }
            EXPECT_EQ(transparent, 0) << "pixels a mask would show through";
            EXPECT_EQ(outside, 0) << "scene pixels outside the safe circle";
        }
        stbi_image_free(rgba);
    }
}

} // namespace
