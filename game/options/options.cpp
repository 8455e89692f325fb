// The options' values in and out of the settings, what follows from them
// for play, the sound device and the loop, the steering latch of keys
// without holding, and the options a replay carries.
#include "game/options/options.h"

#include "audio/gxtk_audio.h"
#include "game/skitterbat.h"
#include "host/bb_app.h"
#include "runtime/platform.h"

#include <algorithm>

namespace options {
namespace {

GameOptions& LiveOptions() {
    static GameOptions live;
    return live;
}

GameOptions* current = &LiveOptions();
int appliedRate = 0;
// What the platform asks for now, for what the game on screen shows.
bool platformWishNow = false;

// Numbers of the options a replay carries (docs/replay-format.md).
constexpr int32_t kRecordedBindings = 1; // 1 to 6: Up, Down, Left, Right, Launch, Back, packed
constexpr int32_t kRecordedHold = 7;
constexpr int32_t kRecordedSpeed = 8;
constexpr int32_t kRecordedFewerParticles = 9;
constexpr int32_t kRecordedPlatformMotion = 10;

// A stepped setting: 0 is the most, each step 10 % less.
int StepsBelowFull(int percent) {
    return (100 - percent) / 10;
}

int PercentFromSteps(int steps, int maxSteps) {
    return steps >= 0 && steps <= maxSteps ? 100 - 10 * steps : 100;
}

bool InAGame(const bb_Skitterbat_MyApp& game) {
    return game.Mode >= ModePlaying || game.Mode == ModeReturnToMenu || game.ModeBehindReload != 0;
}

void ApplyToDevices(const GameOptions& options) {
    if (!options.live) return;
    if (bb_audio_device)
        bb_audio_device->SetMasterVolume(static_cast<float>(options.values.volumePercent) / 100);
    const int rate = kFullRate * options.values.speedPercent / 100;
    if (rate != appliedRate && bb_app_device) {
        appliedRate = rate;
        bb_app_SetUpdateRate(rate);
    }
}

} // namespace

GameOptions& Current() {
    return *current;
}

void SetCurrent(GameOptions* options) {
    current = options;
}

GameOptions& Live() {
    return LiveOptions();
}

Values ReadValues(const Array<int>& settings) {
    Values values;
    values.bindings = DefaultBindings();
    for (int a = 0; a < kActionCount; ++a) {
        const int packed = settings[kBindingSettings + a];
        Binding binding;
        if (packed != 0 && UnpackBinding(packed, &binding)) values.bindings.actions[a] = binding;
    }
    // A map that a damaged file makes ambiguous is no map: the defaults stand.
    if (!Valid(values.bindings)) values.bindings = DefaultBindings();
    values.speedPercent = PercentFromSteps(settings[kSpeedSetting], StepsBelowFull(kSlowestSpeed));
    values.volumePercent = PercentFromSteps(settings[kVolumeSetting], 10);
    values.podMarks = settings[kMarksSetting] != 1;
    const int motion = settings[kMotionSetting];
    values.motion = motion == kMotionFull || motion == kMotionReduced ? motion : kMotionAsPlatform;
    values.keysWithoutHolding = settings[kHoldSetting] == 1;
    return values;
}

void WriteValues(const Values& values, Array<int>& settings) {
    const KeyBindings defaults = DefaultBindings();
    for (int a = 0; a < kActionCount; ++a) {
        const Binding& binding = values.bindings.actions[a];
        settings[kBindingSettings + a] = binding == defaults.actions[a] ? 0 : PackBinding(binding);
    }
    settings[kSpeedSetting] = StepsBelowFull(values.speedPercent);
    settings[kVolumeSetting] = StepsBelowFull(values.volumePercent);
    settings[kMarksSetting] = values.podMarks ? 0 : 1;
    settings[kMotionSetting] = values.motion;
    settings[kHoldSetting] = values.keysWithoutHolding ? 1 : 0;
}

void Adopt(GameOptions& options, const Values& values) {
    options.values = values;
    options.play.keys = BuildKeyMap(values.bindings);
    options.play.keysWithoutHolding = values.keysWithoutHolding;
    options.play.speedPercent = values.speedPercent;
    options.play.fewerParticles = values.motion == kMotionReduced ||
                                  (values.motion == kMotionAsPlatform && options.platformReducedMotion);
    if (!values.keysWithoutHolding) options.steer.direction = 0;
    ApplyToDevices(options);
}

void Change(bb_Skitterbat_MyApp& game, const Values& values) {
    WriteValues(values, game.Settings);
    Adopt(Current(), values);
    game.SaveWanted = 1;
}

void Attach(bb_Skitterbat_MyApp& game) {
    GameOptions& live = LiveOptions();
    live = GameOptions();
    live.live = true;
    platformWishNow = gxtk_platform && gxtk_platform->PrefersReducedMotion();
    live.platformReducedMotion = platformWishNow;
    appliedRate = 0;
    current = &live;
    Adopt(live, ReadValues(game.Settings));
}

void BeforeUpdate(bb_Skitterbat_MyApp& game) {
    GameOptions& live = LiveOptions();
    if (current != &live) return;
    platformWishNow = gxtk_platform && gxtk_platform->PrefersReducedMotion();
    // A game keeps the particles it began with: its replay knows no other.
    if (platformWishNow == live.platformReducedMotion || InAGame(game)) return;
    live.platformReducedMotion = platformWishNow;
    Adopt(live, live.values);
}

int UpdateRate() {
    return kFullRate * LiveOptions().values.speedPercent / 100;
}

bool PodMarks() {
    return LiveOptions().values.podMarks;
}

bool ReducedMotion() {
    const int motion = LiveOptions().values.motion;
    return motion == kMotionReduced || (motion == kMotionAsPlatform && platformWishNow);
}

int Burst(int count) {
    return Current().play.fewerParticles ? std::min(count, 1) : count;
}

void LatchSteering(bool left, bool right, bool paused) {
    SteerLatch& s = Current().steer;
    if (!Current().play.keysWithoutHolding) {
        s.left = left;
        s.right = right;
    } else {
        // A tap starts the paddle, the next tap of either stops it; taps that
        // work the pause panel steer nothing.
        const bool tapLeft = left && !s.leftWas, tapRight = right && !s.rightWas;
        if (!paused && (tapLeft || tapRight)) {
            if (s.direction != 0)
                s.direction = 0;
            else if (tapLeft != tapRight)
                s.direction = tapLeft ? -1 : 1;
        }
        s.left = s.direction < 0;
        s.right = s.direction > 0;
    }
    s.leftWas = left;
    s.rightWas = right;
}

const SteerLatch& Steer() {
    return Current().steer;
}

void StopSteering() {
    SteerLatch& s = Current().steer;
    s.direction = 0;
    s.left = false;
    s.right = false;
}

void ResetSteering() {
    Current().steer = SteerLatch();
}

std::vector<std::pair<int32_t, int32_t>> RecordedOptions() {
    const GameOptions& options = Current();
    std::vector<std::pair<int32_t, int32_t>> recorded;
    for (int a = 0; a < kActionCount; ++a)
        recorded.emplace_back(kRecordedBindings + a, PackBinding(options.values.bindings.actions[a]));
    recorded.emplace_back(kRecordedHold, options.play.keysWithoutHolding ? 1 : 0);
    recorded.emplace_back(kRecordedSpeed, options.play.speedPercent);
    recorded.emplace_back(kRecordedFewerParticles, options.play.fewerParticles ? 1 : 0);
    recorded.emplace_back(kRecordedPlatformMotion, options.platformReducedMotion ? 1 : 0);
    return recorded;
}

void ReplayedOptions(const std::vector<std::pair<int32_t, int32_t>>& recorded, const Array<int>& settings,
                     GameOptions* options) {
    *options = GameOptions();
    for (const auto& [id, value] : recorded)
        if (id == kRecordedPlatformMotion) options->platformReducedMotion = value != 0;
    Values values = ReadValues(settings);
    // What the game played with, where the replay says: its settings may
    // come from a build that kept them otherwise.
    KeyBindings bindings = values.bindings;
    for (const auto& [id, value] : recorded) {
        if (id >= kRecordedBindings && id < kRecordedBindings + kActionCount)
            UnpackBinding(value, &bindings.actions[id - kRecordedBindings]);
        else if (id == kRecordedHold)
            values.keysWithoutHolding = value != 0;
        else if (id == kRecordedSpeed && value >= kSlowestSpeed && value <= 100)
            values.speedPercent = value;
    }
    if (Valid(bindings)) values.bindings = bindings;
    Adopt(*options, values);
    for (const auto& [id, value] : recorded)
        if (id == kRecordedFewerParticles) options->play.fewerParticles = value != 0;
}

} // namespace options
