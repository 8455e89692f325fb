// Taking a game's start apart into a ReplayStart and putting it back, field
// by field in one place, and the checksum of a game in play.
#include "game/replay/replay_state.h"

#include "game/options/options.h"
#include "game/skitterbat.h"
#include "input/gxtk_input.h"
#include "runtime/platform.h"
#include "runtime/random.h"

#include <cstring>

GameGlobals GameGlobals::Current() {
    GameGlobals globals;
    globals.screenWidth = bb_Skitterbat_jscrw;
    globals.screenHeight = bb_Skitterbat_jscrh;
    globals.steerByKeys = bb_Skitterbat_keys;
    globals.iCade = bb_Skitterbat_iCadeControls;
    globals.seed = bb_random_Seed;
    globals.input = bb_input_device;
    globals.platform = gxtk_platform;
    globals.options = &options::Current();
    return globals;
}

void GameGlobals::Install() const {
    bb_Skitterbat_jscrw = screenWidth;
    bb_Skitterbat_jscrh = screenHeight;
    bb_Skitterbat_keys = steerByKeys;
    bb_Skitterbat_iCadeControls = iCade;
    bb_random_Seed = seed;
    bb_input_device = input;
    gxtk_platform = platform;
    if (options) options::SetCurrent(options);
}

void CaptureStart(const bb_Skitterbat_MyApp& game, ReplayStart* s) {
    s->seed = static_cast<uint32_t>(bb_random_Seed);
    s->difficulty = game.Difficulty;
    s->windowWidth = game.DeviceW;
    s->windowHeight = game.DeviceH;
    s->screenWidth = bb_Skitterbat_jscrw;
    s->screenHeight = bb_Skitterbat_jscrh;
    s->scale = game.ScreenScale;
    s->scale2 = game.ScreenScale2;
    s->scaleAxis = game.ScaleAxis;
    s->landscape = game.Landscape;
    s->steerByKeys = bb_Skitterbat_keys;
    s->iCade = bb_Skitterbat_iCadeControls;
    for (int i = 0; i < 25; ++i) s->settings[i] = game.Settings[i];
    for (int i = 0; i < 20; ++i) s->keyArray[i] = game.KeyArray[i];
    s->mouseX = game.MouseX;
    s->mouseY = game.MouseY;
    s->prevMouseX = game.PrevMouseX;
    s->prevMouseY = game.PrevMouseY;
    s->mouseDown = game.MouseDown;
    s->needRelease = game.NeedRelease;
    s->buttonLock = game.ButtonLock;
    s->backHeld = game.BackHeld;
    s->pauseSelection = game.PauseSelection;
    s->tilt = game.TiltSensitivity;
    s->shownScore = game.ShownScore;
    s->prevBallCount = game.PrevBallCount;
    s->backdropAngle = game.BackdropAngle;
    for (int word = 0; word < 8; ++word) {
        uint32_t bits = 0;
        for (int b = 0; b < 32; ++b)
            if (game.Badges[32 * word + b]) bits |= 1u << b;
        s->badgeWords[word] = bits;
    }
    for (int k = 0; k < 15; ++k) {
        s->noteBadges[k] = game.BadgeQueueA[k];
        s->noteAges[k] = game.BadgeQueueB[k];
    }
    const int row = (game.Difficulty >= 1 && game.Difficulty <= 3 ? game.Difficulty - 1 : 0) * 10;
    for (int k = 0; k < 10; ++k) s->bestScores[k] = game.Highscores[row + k];
    s->particles.clear();
    for (int r = 0; r < ParticleRecords; ++r) {
        const float* record = game.Parts.Data() + 10 * r;
        if (record[PartLife] == 0.0f) continue;
        ReplayParticle particle;
        particle.slot = static_cast<uint8_t>(r);
        std::memcpy(particle.fields, record, sizeof particle.fields);
        s->particles.push_back(particle);
    }
    s->options = options::RecordedOptions();
}

void ApplyStart(const ReplayStart& s, bb_Skitterbat_MyApp* game, GameGlobals* globals) {
    game->Mode = ModeStartGame;
    game->LoaderStage = 0;
    game->Difficulty = s.difficulty;
    game->DeviceW = s.windowWidth;
    game->DeviceH = s.windowHeight;
    game->ScreenScale = s.scale;
    game->ScreenScale2 = s.scale2;
    game->ScaleAxis = s.scaleAxis;
    game->Landscape = s.landscape;
    for (int i = 0; i < 25; ++i) game->Settings[i] = s.settings[i];
    for (int i = 0; i < 20; ++i) game->KeyArray[i] = s.keyArray[i];
    game->MouseX = s.mouseX;
    game->MouseY = s.mouseY;
    game->PrevMouseX = s.prevMouseX;
    game->PrevMouseY = s.prevMouseY;
    game->MouseDown = s.mouseDown;
    game->NeedRelease = s.needRelease;
    game->ButtonLock = s.buttonLock;
    game->BackHeld = s.backHeld;
    game->PauseSelection = s.pauseSelection;
    game->TiltSensitivity = s.tilt;
    game->ShownScore = s.shownScore;
    game->PrevBallCount = s.prevBallCount;
    game->BackdropAngle = s.backdropAngle;
    for (int word = 0; word < 8; ++word)
        for (int b = 0; b < 32; ++b) game->Badges[32 * word + b] = (s.badgeWords[word] >> b) & 1;
    for (int k = 0; k < 15; ++k) {
        game->BadgeQueueA[k] = s.noteBadges[k];
        game->BadgeQueueB[k] = s.noteAges[k];
    }
    const int row = (s.difficulty - 1) * 10;
    for (int k = 0; k < 10; ++k) game->Highscores[row + k] = s.bestScores[k];
    for (float& f : game->Parts) f = 0.0f;
    for (const ReplayParticle& particle : s.particles)
        std::memcpy(game->Parts.Data() + 10 * particle.slot, particle.fields, sizeof particle.fields);
    for (int i = 0; i < game->Channels.Length(); ++i) game->Channels[i] = i;
    // The menu's slide-in and boxes are not the game's: they start as play has them.
    game->MenuSlide = -32;

    globals->screenWidth = s.screenWidth;
    globals->screenHeight = s.screenHeight;
    globals->steerByKeys = s.steerByKeys;
    globals->iCade = s.iCade;
    globals->seed = static_cast<int>(s.seed);
    if (globals->options) options::ReplayedOptions(s.options, game->Settings, globals->options);
}

uint32_t ReplayChecksum(const bb_Skitterbat_MyApp& game) {
    uint32_t hash = 2166136261u;
    auto mix = [&hash](uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (value >> shift) & 0xFF;
            hash *= 16777619u;
        }
    };
    for (float f : game.Objects) {
        uint32_t bits;
        std::memcpy(&bits, &f, sizeof bits);
        mix(bits);
    }
    uint32_t paddle;
    std::memcpy(&paddle, &game.PaddleX, sizeof paddle);
    mix(static_cast<uint32_t>(game.Score));
    mix(static_cast<uint32_t>(game.Lives));
    mix(static_cast<uint32_t>(game.Round));
    mix(paddle);
    mix(static_cast<uint32_t>(bb_random_Seed));
    return hash;
}
