// A game in progress across a change of window size: the playfield follows
// the virtual screen to its new size while the art reloads, and the game
// comes back paused where it was once the loader is done.
#include "game/skitterbat.h"

#include <algorithm>

namespace {
// Maps the span between the side walls of the old screen onto the new one, so
// nothing that was inside the walls lands outside them.
float MapBetweenWalls(float x, float oldW, float newW) {
    return 16.0f + (x - 16.0f) * (newW - 32.0f) / (oldW - 32.0f);
}
} // namespace

void bb_Skitterbat_MyApp::FitGameToScreen(float oldW, float oldH) {
    const float newW = bb_Skitterbat_jscrw;
    if (!(oldW > 32.0f && oldH > 0.0f && newW > 32.0f && bb_Skitterbat_jscrh > 0.0f)) return;
    // Heights follow the paddle line, so the field above it keeps its share.
    const int oldPaddleY = PaddleY;
    PlacePaddleLine();
    const float yScale = oldPaddleY > 0 ? static_cast<float>(PaddleY) / static_cast<float>(oldPaddleY) : 1.0f;

    for (int r = 0; r < ObjectRecords; ++r) {
        float* record = Objects.Data() + 10 * r;
        if (!(record[ObjColour] > 0.0f)) continue;
        record[ObjX] = MapBetweenWalls(record[ObjX], oldW, newW);
        record[ObjY] *= yScale;
        // A segment past a wall has already dropped and turned for it; kept
        // outside, the new wall would drop it again.
        if (record[ObjKind] == static_cast<float>(KindSegment))
            record[ObjX] = std::clamp(record[ObjX], 16.0f, newW - 16.0f);
    }
    for (int r = 0; r < ParticleRecords; ++r) {
        float* record = Parts.Data() + 10 * r;
        if (record[PartLife] == 0.0f) continue;
        record[PartX] = MapBetweenWalls(record[PartX], oldW, newW);
        record[PartY] *= yScale;
    }
    PaddleX = std::clamp(MapBetweenWalls(PaddleX, oldW, newW), 16.0f, newW - 16.0f);
    PaddleTargetX = std::clamp(MapBetweenWalls(PaddleTargetX, oldW, newW), 16.0f, newW - 16.0f);
}

void bb_Skitterbat_MyApp::ReturnAfterReload() {
    if (ModeBehindReload == 0) return;
    Mode = ModeBehindReload;
    ModeBehindReload = 0;
    // A round that was running waits for the player; an ended game just
    // finishes its build-up.
    if (Mode == ModePlaying && GameEnded == 0) {
        Paused = 1;
        PauseSlide = 1;
        PauseSlideY = static_cast<int>(bb_Skitterbat_jscrh / 2);
        PauseSelection = 0;
    }
}
