// The replay screen: a kept game played again at the shape it was played,
// letterboxed in today's window, under "REPLAY", its clock and a progress
// bar, with restart, pause, speed and back by keys, pointer, finger and pad;
// or, as the menu's demo, under "DEMO" and without sound until any input.
#pragma once

#include "game/replay/replay_player.h"

#include <cstdint>
#include <string>
#include <vector>

class bb_Skitterbat_MyApp;
class gxtkInput;

// Whether the player did anything since the last look: a key, button or
// character, a move of the pointer, a touch or a stick pushed.
class InputActivity {
  public:
    bool Changed(const gxtkInput& input);

  private:
    bool seen_ = false;
    float mouseX_ = 0, mouseY_ = 0;
};

class ReplayWatch {
  public:
    enum class Kind { Watch, Demo };

    bool Active() const { return active_; }
    Kind kind() const { return kind_; }
    // `file`: the replay's own bytes, which Export hands over as they are.
    void Start(Replay replay, std::vector<uint8_t> file, bb_Skitterbat_MyApp& shown, Kind kind);
    // Back to the menu, the press that ended it spent.
    void Stop(bb_Skitterbat_MyApp& shown);
    // One update of the screen: the replay's updates at the chosen speed and
    // the controls, drawn into the shown game's draw list.
    void Update(bb_Skitterbat_MyApp& shown);
    // The replayed game, then the controls over it.
    void Render(bb_Skitterbat_MyApp& shown);

    const ReplayPlayer& player() const { return player_; }
    bool Paused() const { return paused_; }
    int Speed() const { return speed_; }

    // "skitterbat-normal-2466.replay": what an exported replay is called.
    static std::string ExportName(const ReplayHeader& header);

  private:
    enum Control { kRestart, kPlayPause, kSpeed, kExport, kBack };
    static constexpr int kMaxControls = 5;

    ReplayPlayer player_;
    Replay original_;
    std::vector<uint8_t> file_;
    // The control row, left to right: Export only where the platform can
    // hand the player a file.
    Control controls_[kMaxControls] = {};
    int controlCount_ = 0;
    InputActivity activity_;
    Kind kind_ = Kind::Watch;
    bool active_ = false;
    bool paused_ = false;
    int speed_ = 1;
    int focus_ = 0; // an index into controls_
    // Updates of the replay owed to the screen: a game played slower or
    // faster than the game on screen runs plays back at its own speed.
    double stepCredit_ = 0;

    void Act(bb_Skitterbat_MyApp& shown, Control control);
    // Steps the replay by the updates due this update; false once it ended.
    bool StepDue();
    void Restart(bb_Skitterbat_MyApp& shown);
    void DrawControls(bb_Skitterbat_MyApp& shown);
};
