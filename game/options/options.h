// The player's options: the key map, keys without holding, game speed,
// volume, pod marks and reduced motion. They are kept in entries of the
// game's Settings that the game never used, with the rest of the saved state.
//
// Every game object has its own GameOptions, reached through Current(),
// which the replay module swaps in around a replayed game's updates like the
// other module globals: what changes how a game plays (the key map, keys
// without holding, the speed, fewer particles) is the played game's. What is
// only seen or heard (pod marks, still backdrop and fades, volume) follows
// the game on screen, Live().
#pragma once

#include "game/options/key_map.h"
#include "runtime/runtime.h"

#include <cstdint>
#include <utility>
#include <vector>

class bb_Skitterbat_MyApp;

namespace options {

// The entries of Settings the options keep; 0 everywhere is the default set,
// so a state file from before the options reads as the defaults.
constexpr int kBindingSettings = 13; // 13 to 18: Up, Down, Left, Right, Launch, Back
constexpr int kSpeedSetting = 19;    // 100 % less 10 % a step, 0 to 5
constexpr int kVolumeSetting = 20;   // 100 % less 10 % a step, 0 to 10
constexpr int kMarksSetting = 21;    // 1: pod marks off
constexpr int kMotionSetting = 22;   // 0: as the platform asks, 1: full motion, 2: reduced
constexpr int kHoldSetting = 23;     // 1: keys without holding

constexpr int kMotionAsPlatform = 0, kMotionFull = 1, kMotionReduced = 2;
constexpr int kSlowestSpeed = 50;
constexpr int kFullRate = 60;

struct Values {
    KeyBindings bindings = DefaultBindings();
    int speedPercent = 100;  // 50 to 100
    int volumePercent = 100; // 0 to 100
    bool podMarks = true;
    int motion = kMotionAsPlatform;
    bool keysWithoutHolding = false;
};

// What changes how a game plays.
struct PlayOptions {
    KeyMap keys;
    bool keysWithoutHolding = false;
    int speedPercent = 100;
    bool fewerParticles = false;
};

// Keys without holding: the direction a tap set the paddle moving in.
struct SteerLatch {
    int direction = 0; // -1 left, 1 right
    bool leftWas = false, rightWas = false;
    // What steers this play frame, latched or held.
    bool left = false, right = false;
};

// The Options screen, open over the menu or over a paused game.
struct ScreenState {
    bool open = false;
    bool fromPause = false;
    int row = 0, column = 0;
    // A cell waiting for a key or pad button: its column, or -1.
    int capture = -1;
    bool captureArmed = false;
    int captureUpdates = 0;
    // Where the pause panel rests while it fades (reduced motion).
    float panelRestY = 0;
};

struct GameOptions {
    Values values;
    PlayOptions play;
    // Whether the platform asked for reduced motion, as the game began for
    // a game in play; it counts while the player has not chosen.
    bool platformReducedMotion = false;
    SteerLatch steer;
    ScreenState screen;
    // The game on screen's: its options reach the sound device and the loop.
    bool live = false;
};

GameOptions& Current();
void SetCurrent(GameOptions* options);
GameOptions& Live();

// At the end of the game on screen's m_OnCreate, its settings loaded: takes
// them up and applies volume and speed.
void Attach(bb_Skitterbat_MyApp& game);
// At the start of each of its updates: follows the platform's wish for
// reduced motion between games.
void BeforeUpdate(bb_Skitterbat_MyApp& game);

// The values the settings hold, and the settings for the values.
Values ReadValues(const Array<int>& settings);
void WriteValues(const Values& values, Array<int>& settings);
// Sets the values and what follows from them; the game on screen's also
// reach the sound device and the loop.
void Adopt(GameOptions& options, const Values& values);
// A change made on the Options screen: into the settings, in force, saved.
void Change(bb_Skitterbat_MyApp& game, const Values& values);

// Updates a second at the game speed on screen.
int UpdateRate();
bool PodMarks();
bool ReducedMotion();

// A burst of `count` particles, or one under reduced motion.
int Burst(int count);
// The play frame's steering: from held keys, or from taps with keys without
// holding. Run once a play frame; Steer() reads the result.
void LatchSteering(bool left, bool right, bool paused);
const SteerLatch& Steer();
// The latch let go: the pointer taking over, or the wall.
void StopSteering();
// A new game: no latch, no key seen before.
void ResetSteering();

// Replays: the options that change play, by number, as a game begins; and a
// replayed game's own options from them and its recorded settings.
std::vector<std::pair<int32_t, int32_t>> RecordedOptions();
void ReplayedOptions(const std::vector<std::pair<int32_t, int32_t>>& recorded, const Array<int>& settings,
                     GameOptions* options);

} // namespace options
