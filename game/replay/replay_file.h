// A replay file: the start of a finished game and what the game read every
// update until its score was stored, behind a small header that says which
// build and which rules recorded it. docs/replay-format.md gives the layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The rules of play this build follows. Any change to how a game plays (a
// speed, a timer, the order of random draws) bumps it, and the recorded
// games under tests/replays/ are recorded again on purpose.
constexpr int kReplayRulesVersion = 1;
// The layout of the file itself.
constexpr int kReplayFormatVersion = 1;

// Longer games are not kept: four hours of play, paused or not.
constexpr uint32_t kReplayMaxUpdates = 4u * 60u * 60u * 60u;
// No replay of the longest game comes near these; a file beyond them is damaged.
constexpr size_t kReplayMaxBodyBytes = 16u << 20;
constexpr size_t kReplayMaxBuildChars = 64;
// A whole file: the body deflated, with room to spare for the header.
constexpr size_t kReplayMaxFileBytes = kReplayMaxBodyBytes + 1024;

// What a file may claim before it is refused unread: how long a game it
// plays and how large its body inflates. The defaults are the limits above; a
// fuzzer narrows them so that no one input plays for minutes.
struct ReplayLimits {
    uint32_t maxUpdates = kReplayMaxUpdates;
    size_t maxBodyBytes = kReplayMaxBodyBytes;
};
void SetReplayLimits(const ReplayLimits& limits);

// A particle alive when the game began: how many are alive decides where
// the next one goes and whether it draws random numbers at all.
struct ReplayParticle {
    uint8_t slot = 0;
    float fields[7] = {}; // life, x, y, dx, dy, angle, frame
};

// Everything a game carries into its first update that play (or the picture
// of play) can depend on; the rest the first update sets itself.
struct ReplayStart {
    uint32_t seed = 0;
    int32_t difficulty = 0;
    // The window and the virtual screen fitted to it.
    int32_t windowWidth = 0, windowHeight = 0;
    float screenWidth = 0, screenHeight = 0, scale = 0, scale2 = 0;
    int32_t scaleAxis = 0, landscape = 0;
    // Which input steered last (0 pointer, 1 keys) and the iCade switch.
    int32_t steerByKeys = 0, iCade = 0;
    int32_t settings[25] = {};
    int32_t keyArray[20] = {};
    // The pointer and the latches as the menu left them.
    int32_t mouseX = 0, mouseY = 0, prevMouseX = 0, prevMouseY = 0, mouseDown = 0;
    int32_t needRelease = 0, buttonLock = 0, backHeld = 0, pauseSelection = 0;
    float tilt = 0;
    int32_t shownScore = 0, prevBallCount = 0;
    float backdropAngle = 0;
    // Earned badges and the notes still on screen: which badges a game
    // announces, and where.
    uint32_t badgeWords[8] = {};
    int32_t noteBadges[15] = {}, noteAges[15] = {};
    // The best list of the difficulty: the game-over overlay names the place.
    int32_t bestScores[10] = {};
    std::vector<ReplayParticle> particles;
    // Options of the player that change play, by number.
    std::vector<std::pair<int32_t, int32_t>> options;
};

struct ReplayHeader {
    int formatVersion = kReplayFormatVersion;
    int rulesVersion = kReplayRulesVersion;
    std::string build;
    int difficulty = 0;
    int32_t score = 0;
    uint32_t updates = 0;
    int64_t recordedAt = 0; // seconds since 1970, UTC; 0 when unknown
};

struct Replay {
    ReplayHeader header;
    ReplayStart start;
    std::vector<uint8_t> events; // replay_events.h
};

enum class ReplayReadStatus {
    Ok,
    NotAReplay,  // another kind of file, or too short to say
    NewerFormat, // a later build's layout
    OlderRules,  // plays a game this build no longer plays
    NewerRules,
    Damaged, // ours, but cut short, changed or claiming what no game has
};

struct ReplayReadResult {
    ReplayReadStatus status = ReplayReadStatus::NotAReplay;
    std::string why; // one line, for a person
    bool ok() const { return status == ReplayReadStatus::Ok; }
};

// The whole file, its body deflated. Empty when the body cannot be compressed.
std::vector<uint8_t> WriteReplay(const Replay& replay);
// The header alone, as lists of kept games need it; the body stays unread.
ReplayReadResult ReadReplayHeader(const uint8_t* bytes, size_t size, ReplayHeader* header);
// The whole file. Bounded whatever the bytes claim: nothing is allocated
// beyond the limits above.
ReplayReadResult ReadReplay(const uint8_t* bytes, size_t size, Replay* replay);

// "5:12" for a number of updates at 60 a second.
std::string ReplayClock(uint32_t updates);
