// The page's maskable icons: opaque to every edge, with the scene inside the
// centred circle of 80 % of the width that every launcher's mask keeps;
// outside it, only the background's rows, one colour each.
#include <gtest/gtest.h>

#include <stb_image.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

TEST(WebIcons, MaskableIconsKeepTheSceneInTheSafeZone) {
    for (auto [name, size] :
         {std::pair{"icon-maskable-512.png", 512}, std::pair{"apple-touch-icon.png", 180}}) {
        SCOPED_TRACE(name);
        int w = 0, h = 0, n = 0;
        unsigned char* rgba =
            stbi_load((std::string(SKITTERBAT_WEB_ICONS) + "/" + name).c_str(), &w, &h, &n, 4);
        ASSERT_NE(rgba, nullptr);
        EXPECT_TRUE(w == size && h == size) << w << "x" << h;
        const float c = w / 2.0f, safe = 0.4f * w;
        int transparent = 0, outside = 0;
        for (int y = 0; y < h; ++y) {
            const unsigned char* row = rgba + size_t(y) * w * 4;
            for (int x = 0; x < w; ++x) {
                const unsigned char* p = row + x * 4;
                if (p[3] != 255) ++transparent;
                bool inside = std::hypot(x + 0.5f - c, y + 0.5f - c) <= safe;
                if (!inside && (std::abs(p[0] - row[0]) > 3 || std::abs(p[1] - row[1]) > 3 ||
                                std::abs(p[2] - row[2]) > 3))
                    ++outside;
            }
        }
        EXPECT_EQ(transparent, 0) << "pixels a mask would show through";
        EXPECT_EQ(outside, 0) << "scene pixels outside the safe circle";
        stbi_image_free(rgba);
    }
}

} // namespace
