// Playfield set-up: filling the object and particle tables (always the highest
// free slot), preparing rounds, starting a game, and the per-frame pause entry.
#include "game/hints/hints.h"
#include "game/options/options.h"
#include "game/options/options_screen.h"
#include "game/skitterbat.h"
#include "runtime/random.h"

namespace {
constexpr int PauseCorner = 50; // game units from the top left that press the pause button

void FillObject(float* record, float colour, float x, float y, float dx, float dy, int kind, float phase) {
    record[ObjColour] = colour;
    record[ObjX] = x;
    record[ObjY] = y;
    record[ObjDX] = dx;
    record[ObjDY] = dy;
    record[ObjKind] = static_cast<float>(kind);
    record[ObjPhase] = phase;
}
} // namespace

int bb_Skitterbat_MyApp::FreeObjectSlot() const {
    // Later records are drawn on top and the round logic depends on the order.
    for (int r = ObjectRecords - 1; r >= 0; --r) {
        if (Objects[10 * r + ObjColour] == 0.0f) return r;
    }
    return -1;
}

int bb_Skitterbat_MyApp::FreeParticleSlot() const {
    for (int r = ParticleRecords - 1; r >= 0; --r) {
        if (Parts[10 * r + PartLife] == 0.0f) return r;
    }
    return -1;
}

int bb_Skitterbat_MyApp::m_AddPede(int count, int colour, int speed) {
    // The round logic of this frame must not see an empty field.
    SegmentCount = 1;
    if (bb_random_Rnd2(0.0f, 100.0f) < 1.0f) colour = 8;
    PedesToCome -= 1;
    int slot = -1;
    for (int k = 1; k <= count; ++k) {
        slot = FreeObjectSlot();
        if (slot < 0) continue;
        FillObject(Objects.Data() + 10 * slot, static_cast<float>(colour),
                   bb_Skitterbat_jscrw - static_cast<float>(24 * k), -16.0f, static_cast<float>(speed), 0.0f,
                   KindSegment, static_cast<float>(32 * k));
    }
    NewSlot = slot;
    return 0;
}

int bb_Skitterbat_MyApp::m_AddBall() {
    NewSlot = -1;
    // The press that brought the new ball must not launch it.
    NeedRelease = 1;
    ButtonLock = 1;
    LaunchTimer = 600;
    const int slot = FreeObjectSlot();
    if (slot < 0) return 0;
    FillObject(Objects.Data() + 10 * slot, 4.0f, bb_Skitterbat_jscrw / 2.0f, static_cast<float>(PaddleY - 16),
               4.0f, -4.0f, KindBallHeld, 0.0f);
    NewSlot = slot;
    return 0;
}

int bb_Skitterbat_MyApp::m_AddShroom(int x, int y) {
    NewSlot = -1;
    const int slot = FreeObjectSlot();
    if (slot < 0) return 0;
    const float colour = static_cast<float>(static_cast<int>(bb_random_Rnd2(1.0f, 8.0f)));
    FillObject(Objects.Data() + 10 * slot, colour, static_cast<float>(x), static_cast<float>(y), 0.0f, 0.0f,
               KindShroom, 0.0f);
    NewSlot = slot;
    return 0;
}

int bb_Skitterbat_MyApp::m_AddPart(float x, float y) {
    NewSlot = -1;
    const int slot = FreeParticleSlot();
    if (slot < 0) return 0;
    const int p = 10 * slot;
    NewSlot = p;
    Parts[p + PartLife] = 120.0f;
    Parts[p + PartX] = x;
    Parts[p + PartY] = y;
    Parts[p + PartDX] = bb_random_Rnd2(-4.0f, 4.0f);
    Parts[p + PartDY] = bb_random_Rnd2(-4.0f, 4.0f);
    Parts[p + PartAngle] = bb_random_Rnd2(0.0f, 360.0f);
    Parts[p + PartFrame] = bb_random_Rnd2(0.0f, 2.0f);
    return 0;
}

int bb_Skitterbat_MyApp::m_NewRound() {
    SkillShotArmed = 1;
    // Every third round is a focus round with a single one-segment centipede.
    if (Round % 3 == 0) {
        PedesToCome = 1;
    } else {
        PedesToCome = Round + 2 * Difficulty;
    }
    return 0;
}

int bb_Skitterbat_MyApp::m_LoadGame() {
    Score = 0;
    GameEnded = 0;
    OverTimer = 0;
    Mode = ModePlaying;
    // A pause opened while the last game was ending must not carry over.
    Paused = 0;
    PauseSlide = -1;
    PauseSlideY = -64;
    for (float& f : Objects) f = 0.0f;
    PaddleX = bb_Skitterbat_jscrw / 2.0f;
    PaddleSize = 2;
    PaddleTargetX = bb_Skitterbat_jscrw / 2.0f;
    PaddleSpeed = 0.0f;
    Lives = 3;
    Round = 1;
    RoundPhase = 0;
    PhaseTimer = 30;
    m_NewRound();
    NeedRelease = 1;
    BallBonusRounds = 1;
    PedesToCome = Difficulty == 3 ? 4 : Difficulty;
    PedeReleaseTimer = 250;
    PlacePaddleLine();
    m_AddBall();
    options::ResetSteering();
    hints::GameBegins(*this);
    return 0;
}

void bb_Skitterbat_MyApp::PlacePaddleLine() {
    PaddleY = static_cast<int>(bb_Skitterbat_jscrh - 48.0f);
    if (Landscape == 0) {
        // Portrait: lift the paddle for the thumb, but never above a square field.
        PaddleY -= 32;
        if (bb_Skitterbat_jscrw > static_cast<float>(PaddleY))
            PaddleY = static_cast<int>(bb_Skitterbat_jscrw);
    }
}

int bb_Skitterbat_MyApp::m_InGame() {
    m_ResetDraw();
    MenuSlide = -32;
    // The press that closed the panel must be released before one opens it again.
    const bool back = m_PlayKey(99);
    // The Options screen, opened from the pause panel, stands in for it.
    if (options::ScreenOpen()) {
        BackHeld = back ? 1 : 0;
        options::RunScreen(*this);
        return 0;
    }
    if (back && BackHeld == 0 && Paused == 0) {
        ButtonLock = 1;
        Paused = 1;
        PauseSlide = 1;
        PauseSelection = 0;
        m_PlaySFX(98, 1.0f, 0.5f, 0.0f);
    }
    BackHeld = back ? 1 : 0;
    // The button is drawn 32 units across in the corner, but a finger on a
    // phone needs more: the corner's 50 units take it, 44 CSS pixels or more
    // on any screen at least 320 pixels high (the virtual screen is at least
    // 360 units high).
    bool pauseTouched = m_Button(97, 16.0f, 16.0f, 0) != 0;
    for (int t = 0; t < 10; ++t)
        if (TouchDownArr[t] != 0 && TouchXArr[t] < PauseCorner && TouchYArr[t] < PauseCorner)
            pauseTouched = true;
    if (pauseTouched && Paused == 0) {
        Paused = 1;
        PauseSlide = 1;
        NeedRelease = 1;
        PauseSelection = 0;
        m_PlaySFX(98, 1.0f, 0.5f, 0.0f);
    }
    if (Paused == 1) m_PauseMenu();
    return 0;
}
