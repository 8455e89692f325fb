// Badges: the table of names and details, awarding a badge once, and the stack
// of notifications that slide in from the left over every screen.
#include "game/options/motion.h"
#include "game/options/options.h"
#include "game/options/pod_marks.h"
#include "game/skitterbat.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int BadgeCount = 20;
constexpr int NoteSlots = 13;
constexpr int NoteLife = 240; // updates a notification stays
constexpr int NoteWidth = 160;
constexpr int NoteRowStep = 34;
constexpr int BadgeImage = 80;
constexpr int BadgeSound = 95;

// Name, "|", detail; "\n" inside a detail is a line break of m_Text.
constexpr const char* BadgeTable[BadgeCount] = {
    "Red Pod|Bounced a Red Pod\\noff your Paddle.",
    "Orange Pod|Bounced an Orange Pod\\noff your Paddle.",
    "Yellow Pod|Bounced a Yellow Pod\\noff your Paddle.",
    "Green Pod|Bounced a Green Pod\\noff your Paddle.",
    "Cyan Pod|Bounced a Cyan Pod\\noff your Paddle.",
    "Blue Pod|Bounced a Blue Pod\\noff your Paddle.",
    "Pink Pod|Bounced a Pink Pod\\noff your Paddle.",
    "White Pod|Bounced a White Pod\\noff your Paddle.",
    "Red Destruction|Bounced a Red Pod\\noff your Paddle\\nuntil it burst.",
    "Orange Destruction|Bounced an Orange Pod\\noff your Paddle\\nuntil it burst.",
    "Yellow Destruction|Bounced a Yellow Pod\\noff your Paddle\\nuntil it burst.",
    "Green Destruction|Bounced a Green Pod\\noff your Paddle\\nuntil it burst.",
    "Cyan Destruction|Bounced a Cyan Pod\\noff your Paddle\\nuntil it burst.",
    "Blue Destruction|Bounced a Blue Pod\\noff your Paddle\\nuntil it burst.",
    "Pink Destruction|Bounced a Pink Pod\\noff your Paddle\\nuntil it burst.",
    "White Destruction|Bounced a White Pod\\noff your Paddle\\nuntil it burst.",
    "Ball Bonus|Carried a ball through to\\nthe next round.",
    "Ball Double Bonus|Carried a ball through\\ntwo rounds.",
    "Ball Triple Bonus|Carried the same ball through\\nthree rounds!",
    "Skill Shot|Avoided all Mushrooms,\\nand hit a Centipede first.",
};

} // namespace

String bb_Skitterbat_MyApp::m_BadgeID(int n) {
    if (n < 0 || n >= BadgeCount) return String();
    return String(BadgeTable[n]);
}

// Name and detail come straight from the table entry, split at its "|": the
// notifications draw a name every update, and no temporary list is needed.
String bb_Skitterbat_MyApp::m_BadgeName(int n) {
    if (n < 0 || n >= BadgeCount) return String();
    const char* entry = BadgeTable[n];
    return String(entry, static_cast<int>(std::strcspn(entry, "|")));
}

String bb_Skitterbat_MyApp::m_BadgeDetail(int n) {
    if (n < 0 || n >= BadgeCount) return String();
    const char* bar = std::strchr(BadgeTable[n], '|');
    if (bar == nullptr) return String();
    return String(bar + 1, static_cast<int>(std::strcspn(bar + 1, "|")));
}

int bb_Skitterbat_MyApp::m_GiveBadge(int n) {
    if (n < 0 || n >= Badges.Length() || Badges[n]) return 0;
    Badges[n] = true;
    SaveWanted = 1;
    m_PlaySFX(BadgeSound, 1, 1, 0);
    // With every slot busy the badge is still earned, just not announced.
    for (int k = 0; k < NoteSlots; ++k) {
        if (BadgeQueueB[k] == 0) {
            BadgeQueueB[k] = 1;
            BadgeQueueA[k] = n;
            break;
        }
    }
    return 0;
}

int bb_Skitterbat_MyApp::m_ShowBadges() {
    m_ResetDraw();
    NotePanelW = NoteWidth;
    for (int k = 0; k < NoteSlots; ++k) {
        int age = BadgeQueueB[k];
        if (age < 1) continue;
        BadgeQueueB[k] = ++age;

        // Slide in over the first 10 updates, out over the last 10; under
        // reduced motion fade in and out where it stands.
        NoteX = 16 * age - NoteWidth;
        if (age > NoteLife - NoteWidth / 16) NoteX = (NoteLife - age) * 16 - NoteWidth;
        if (NoteX > 0) NoteX = 0;
        if (age > NoteLife) BadgeQueueB[k] = 0;
        const bool still = options::ReducedMotion();
        const int from = DrawCount;
        if (still) NoteX = 0;

        const int badge = BadgeQueueA[k];
        const float x = static_cast<float>(NoteX);
        const float y = bb_Skitterbat_jscrh - static_cast<float>((k + 1) * NoteRowStep);
        m_SetCol(0, 0, 80, 0.8f);
        m_Rect(x, y, static_cast<float>(NoteWidth), 32);
        m_SetCol(255, 255, 255, 1);
        m_Text(x + 16, y + 4, m_BadgeName(badge), 0, 0);
        if (badge <= 63) {
            m_SetSize(0.5f);
            m_DrawImg(BadgeImage, static_cast<float>(NotePanelW + NoteX - 16), y + 16,
                      static_cast<float>(badge));
            options::DrawBadgeMark(*this, badge, static_cast<float>(NotePanelW + NoteX - 16), y + 16, 0.5f);
            m_SetSize(1);
        }
        if (still) {
            const float edge = static_cast<float>(NoteWidth / 16);
            options::FadeSince(*this, from, std::clamp(std::min(age, NoteLife - age) / edge, 0.0f, 1.0f));
        }
    }
    return 0;
}
