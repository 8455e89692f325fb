// The player: a game of its own, apart from the one on screen, fed update by
// update from a replay. It writes nothing, loads nothing, holds no wake lock,
// and plays sound only when told; it stops at the first checksum that
// differs from the recorded one.
#pragma once

#include "game/replay/replay_file.h"

#include <cstdint>
#include <memory>

class bb_Skitterbat_MyApp;

class ReplayPlayer {
  public:
    enum class Status { Playing, Ended, Desynced };

    ReplayPlayer();
    ~ReplayPlayer();
    ReplayPlayer(const ReplayPlayer&) = delete;
    ReplayPlayer& operator=(const ReplayPlayer&) = delete;

    // Sets the replay's game at its first update. `shown`: the game on screen,
    // whose art sizes and sounds the replay shares; null to replay with
    // neither (headless, as the verifier does).
    void Start(Replay replay, const bb_Skitterbat_MyApp* shown);
    void SetSound(bool on);
    // Lets the replayed game go.
    void Clear();
    // One update of the replayed game.
    Status Step();

    Status status() const { return status_; }
    uint32_t Played() const { return played_; }
    uint32_t Length() const { return replay_.header.updates; }
    // The update whose checksum differed.
    uint32_t DesyncedAt() const { return desyncedAt_; }
    const Replay& replay() const { return replay_; }
    // The replayed game, as its last update left it.
    const bb_Skitterbat_MyApp& Game() const;
    // The game speed it plays at now, as its player chose it.
    int SpeedPercent() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
    Replay replay_;
    Status status_ = Status::Ended;
    uint32_t played_ = 0;
    uint32_t desyncedAt_ = 0;

    void ReadToNextUpdate();
};
