// Pods told apart without colour. Over the pod art as the build draws it and
// the game tints it, seen through the Machado, Oliveira and Fernandes (2009)
// simulations of protanopia, deuteranopia and tritanopia at full severity:
// every pair of pod colours differs by a CIEDE2000 of 10 or more, or by its
// mark, and every mark stands out from its pod. And the game draws the marks.
#include "game/options/options.h"
#include "harness.h"

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<double, 3>; // 0..1, gamma-encoded sRGB

constexpr int kFrame = 32, kColumns = 4;
constexpr int kPodFrame = 1, kFirstMark = 8, kColours = 8;

// The simulations act on linear RGB.
constexpr double kSimulations[3][3][3] = {
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}},
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}},
    {{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}},
};
constexpr const char* kSimulationNames[3] = {"protanopia", "deuteranopia", "tritanopia"};

double Linear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Encoded(double c) {
    c = std::clamp(c, 0.0, 1.0);
    return c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

Rgb Simulate(const Rgb& colour, int simulation) {
    Rgb out{};
    for (int i = 0; i < 3; ++i) {
        double sum = 0;
        for (int j = 0; j < 3; ++j) sum += kSimulations[simulation][i][j] * Linear(colour[j]);
        out[i] = Encoded(sum);
    }
    return out;
}

double Luminance(const Rgb& c) {
    return 0.2126 * Linear(c[0]) + 0.7152 * Linear(c[1]) + 0.0722 * Linear(c[2]);
}

std::array<double, 3> Lab(const Rgb& c) {
    const double r = Linear(c[0]), g = Linear(c[1]), b = Linear(c[2]);
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double Ciede2000(const Rgb& first, const Rgb& second) {
    constexpr double kDeg = 3.14159265358979323846 / 180;
    const auto [l1, a1, b1] = Lab(first);
    const auto [l2, a2, b2] = Lab(second);
    const double cBar = (std::hypot(a1, b1) + std::hypot(a2, b2)) / 2;
    const double g = 0.5 * (1 - std::sqrt(std::pow(cBar, 7) / (std::pow(cBar, 7) + std::pow(25.0, 7))));
    const double a1p = (1 + g) * a1, a2p = (1 + g) * a2;
    const double c1 = std::hypot(a1p, b1), c2 = std::hypot(a2p, b2);
    auto hue = [](double b, double a) {
        return a == 0 && b == 0 ? 0 : std::fmod(std::atan2(b, a) / kDeg + 360, 360);
    };
    const double h1 = hue(b1, a1p), h2 = hue(b2, a2p);
    double dh = c1 * c2 == 0 ? 0 : h2 - h1;
    if (dh > 180) dh -= 360;
    if (dh < -180) dh += 360;
    const double dL = l2 - l1, dC = c2 - c1, dH = 2 * std::sqrt(c1 * c2) * std::sin(dh / 2 * kDeg);
    const double lBar = (l1 + l2) / 2, cpBar = (c1 + c2) / 2;
    double hBar = h1 + h2;
    if (c1 * c2 != 0)
        hBar = std::fabs(h1 - h2) > 180 ? (h1 + h2 + (h1 + h2 < 360 ? 360 : -360)) / 2 : (h1 + h2) / 2;
    const double t = 1 - 0.17 * std::cos((hBar - 30) * kDeg) + 0.24 * std::cos(2 * hBar * kDeg) +
                     0.32 * std::cos((3 * hBar + 6) * kDeg) - 0.20 * std::cos((4 * hBar - 63) * kDeg);
    const double rc = 2 * std::sqrt(std::pow(cpBar, 7) / (std::pow(cpBar, 7) + std::pow(25.0, 7)));
    const double rt = -std::sin(2 * 30 * std::exp(-std::pow((hBar - 275) / 25, 2)) * kDeg) * rc;
    const double sl = 1 + 0.015 * std::pow(lBar - 50, 2) / std::sqrt(20 + std::pow(lBar - 50, 2));
    const double sc = 1 + 0.045 * cpBar, sh = 1 + 0.015 * cpBar * t;
    return std::sqrt(std::pow(dL / sl, 2) + std::pow(dC / sc, 2) + std::pow(dH / sh, 2) +
                     rt * (dC / sc) * (dH / sh));
}

// One 32 x 32 frame of the sprite sheet as the build drew it.
struct Frame {
    std::vector<Rgb> colour;
    std::vector<double> alpha;
};

class Sheet {
  public:
    Sheet() {
        pixels_ = stbi_load((GameHarness::BuildDataDir() + "/gfx.png").c_str(), &width_, &height_, &n_, 4);
    }
    ~Sheet() { stbi_image_free(pixels_); }
    bool Loaded() const { return pixels_ != nullptr; }
    Frame At(int frame) const {
        Frame out;
        const int x0 = frame % kColumns * kFrame, y0 = frame / kColumns * kFrame;
        for (int y = 0; y < kFrame; ++y)
            for (int x = 0; x < kFrame; ++x) {
                const unsigned char* p = pixels_ + (static_cast<size_t>(y0 + y) * width_ + x0 + x) * 4;
                out.colour.push_back({p[0] / 255.0, p[1] / 255.0, p[2] / 255.0});
                out.alpha.push_back(p[3] / 255.0);
            }
        return out;
    }

  private:
    unsigned char* pixels_ = nullptr;
    int width_ = 0, height_ = 0, n_ = 0;
};

// The mean colour of a mark's opaque pixels that are dark (its ink) or light (its rim).
Rgb Tone(const Frame& mark, bool dark) {
    Rgb sum{};
    int count = 0;
    for (size_t i = 0; i < mark.alpha.size(); ++i) {
        const double luminance = Luminance(mark.colour[i]);
        if (mark.alpha[i] < 0.5 || (dark ? luminance > 0.1 : luminance < 0.7)) continue;
        for (int k = 0; k < 3; ++k) sum[k] += mark.colour[i][k];
        ++count;
    }
    for (double& c : sum) c /= std::max(count, 1);
    return sum;
}

double Contrast(const Rgb& a, const Rgb& b) {
    const double la = Luminance(a) + 0.05, lb = Luminance(b) + 0.05;
    return std::max(la, lb) / std::min(la, lb);
}

// Where a mark's ink is (dark and opaque), turned by `degrees` about the centre.
std::vector<bool> Ink(const Frame& mark, double degrees) {
    std::vector<bool> ink(kFrame * kFrame, false);
    const double c = std::cos(degrees * 3.14159265358979 / 180),
                 s = std::sin(degrees * 3.14159265358979 / 180);
    for (int y = 0; y < kFrame; ++y)
        for (int x = 0; x < kFrame; ++x) {
            const double dx = x + 0.5 - 16, dy = y + 0.5 - 16;
            const int sx = static_cast<int>(std::floor(16 + c * dx + s * dy));
            const int sy = static_cast<int>(std::floor(16 - s * dx + c * dy));
            if (sx < 0 || sy < 0 || sx >= kFrame || sy >= kFrame) continue;
            const size_t at = static_cast<size_t>(sy * kFrame + sx);
            ink[static_cast<size_t>(y * kFrame + x)] =
                mark.alpha[at] > 0.5 && Luminance(mark.colour[at]) < 0.1;
        }
    return ink;
}

// How much two marks cover alike at the turn that matches them best: pods spin.
double BestOverlap(const Frame& a, const Frame& b) {
    const std::vector<bool> first = Ink(a, 0);
    double best = 0;
    for (int degrees = 0; degrees < 360; degrees += 3) {
        const std::vector<bool> second = Ink(b, degrees);
        int both = 0, either = 0;
        for (size_t i = 0; i < first.size(); ++i) {
            both += first[i] && second[i];
            either += first[i] || second[i];
        }
        best = std::max(best, either ? static_cast<double>(both) / either : 1.0);
    }
    return best;
}

} // namespace

TEST(PodMarks, EveryPairOfPodColoursDiffersInMarkOrByTenUnderEachColourBlindness) {
    const Sheet sheet;
    ASSERT_TRUE(sheet.Loaded()) << GameHarness::BuildDataDir() + "/gfx.png";
    GameHarness h;
    // The pod's shell, tinted as the game tints it, where no mark covers it.
    const Frame pod = sheet.At(kPodFrame);
    std::vector<Frame> marks;
    std::array<Rgb, kColours + 1> shells{};
    for (int colour = 1; colour <= kColours; ++colour) {
        h.game.m_Ink(colour);
        const Rgb tint{h.game.ColRed / 255, h.game.ColGreen / 255, h.game.ColBlue / 255};
        marks.push_back(sheet.At(kFirstMark + colour - 1));
        Rgb sum{};
        int count = 0;
        for (size_t i = 0; i < pod.alpha.size(); ++i) {
            if (pod.alpha[i] < 0.99 || marks.back().alpha[i] > 0.01) continue;
            for (int k = 0; k < 3; ++k) sum[k] += pod.colour[i][k] * tint[k];
            ++count;
        }
        ASSERT_GT(count, 100) << "the mark leaves most of pod " << colour << " to see";
        for (int k = 0; k < 3; ++k) shells[colour][k] = sum[k] / count;
    }

    // Marks no more alike than this, at the turn that matches them best, are
    // told apart; from 0.65 on, one is nearly the other turned.
    constexpr double kToldApart = 0.5, kOwnMark = 0.65;
    double overlaps[kColours + 1][kColours + 1] = {};
    for (int a = 1; a <= kColours; ++a)
        for (int b = a + 1; b <= kColours; ++b) {
            overlaps[a][b] =
                BestOverlap(marks[static_cast<size_t>(a - 1)], marks[static_cast<size_t>(b - 1)]);
            EXPECT_LT(overlaps[a][b], kOwnMark) << "colours " << a << " and " << b << " share a mark";
        }
    int nearPairs = 0;
    for (int simulation = 0; simulation < 3; ++simulation) {
        SCOPED_TRACE(kSimulationNames[simulation]);
        for (int a = 1; a <= kColours; ++a) {
            const Rgb shell = Simulate(shells[a], simulation);
            // A mark in two tones stands out from any pod by one of them: 3:1 at least.
            const Frame& mark = marks[static_cast<size_t>(a - 1)];
            const double standsOut = std::max(Contrast(Simulate(Tone(mark, true), simulation), shell),
                                              Contrast(Simulate(Tone(mark, false), simulation), shell));
            EXPECT_GE(standsOut, 3.0) << "the mark of colour " << a;
            for (int b = a + 1; b <= kColours; ++b) {
                const double difference = Ciede2000(shell, Simulate(shells[b], simulation));
                if (difference >= 10) continue;
                ++nearPairs;
                EXPECT_LT(overlaps[a][b], kToldApart)
                    << "colours " << a << " and " << b << " differ by " << difference
                    << " and by their marks " << overlaps[a][b];
            }
        }
    }
    // The simulations do make some tints fall together: the check has teeth.
    EXPECT_GE(nearPairs, 7);
}

// On by default over pods, their badges' icons and the gallery; the option
// takes them off.
TEST(PodMarks, DrawnOverPodsAndTheirBadgesUntilSwitchedOff) {
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        GameHarness h;
        bb_Skitterbat_MyApp& g = h.game;
        if (!on) {
            options::Values values = options::Live().values;
            values.podMarks = false;
            options::Change(g, values);
        }
        h.StartGame(2);
        h.Frames(3);
        g.Paused = 1; // the pod stays where it is put
        const int o = g.FreeObjectSlot() * 10;
        g.Objects[o + ObjColour] = 5;
        g.Objects[o + ObjKind] = 2;
        g.Objects[o + ObjX] = 200;
        g.Objects[o + ObjY] = 150;
        h.Frames();
        int marks = 0;
        for (const DrawRecord& r : h.RecordsOfImage(1))
            if (r.frame == 12 && r.x == 200 && r.y == 150 && r.red == 255 && r.blue == 255) ++marks;
        EXPECT_EQ(marks, on ? 1 : 0);

        // Cyan's pod badge in the gallery, its burst badge just earned.
        g.Mode = ModeMenu;
        g.Badges[4] = true;
        g.BadgesOpen = 1;
        g.m_GiveBadge(12);
        h.Frames(2);
        int badgeMarks = 0;
        for (const DrawRecord& r : h.RecordsOfImage(1)) badgeMarks += r.frame == 12 ? 1 : 0;
        EXPECT_EQ(badgeMarks, on ? 2 : 0);
    }
}
