// The game's replays as the game sees them: every game it plays is recorded
// and kept with its score, a kept game can be watched, and an idle menu
// plays a demo. The game calls these at the few points where play meets
// the world outside it; everything else is in the replay module.
#pragma once

#include "game/replay/replay_events.h"

#include <cstdint>
#include <string>
#include <vector>

class bb_Skitterbat_MyApp;

namespace replays {

// The game on screen: the one recorded and shown. Set by its m_OnCreate.
void Attach(bb_Skitterbat_MyApp& game);
void Detach(bb_Skitterbat_MyApp& game);

// At the start of every update. True when the update belongs to a replay on
// screen, so the game's own update does not run.
bool BeforeUpdate(bb_Skitterbat_MyApp& game);
void AfterUpdate(bb_Skitterbat_MyApp& game);
// A render fitted the game to a new window size.
void WindowFitted(bb_Skitterbat_MyApp& game, int width, int height, bool reload);
// Suspend, Resume or FocusLost.
void Happened(bb_Skitterbat_MyApp& game, ReplayEvent event);
// Inside a render, after the window fit: true when a replay drew the frame.
bool Render(bb_Skitterbat_MyApp& game);
// Whether a replay is on screen instead of the game's own screens.
bool Showing(const bb_Skitterbat_MyApp& game);

// The menu's score rows: whether the row of the best (or recent) list of the
// chosen difficulty has a kept replay, and watching it.
bool RowHasReplay(const bb_Skitterbat_MyApp& game, bool recent, int row);
void WatchRow(bb_Skitterbat_MyApp& game, bool recent, int row);
// The score panel's rows as a way to their games, drawn over the lists whose
// first lines start at bestTop and recentTop: a mark on each row with a kept
// game, a tap on it, and a key focus. True when it took this update's keys.
bool ScorePanel(bb_Skitterbat_MyApp& game, float panelX, float bestTop, float recentTop);

// A replay file to show as soon as the game is on its menu (the command
// line, a file dropped on the page, a link). `name` is for messages.
void WatchWhenReady(std::vector<uint8_t> file, std::string name);
// What the last refused file was refused for ("" when none).
const std::string& LastRefusal();

} // namespace replays
