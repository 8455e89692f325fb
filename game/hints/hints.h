// First-game hints: from the first round's announcement until its ball is
// launched, a note above the paddle names the controls of the input the
// player last used and where the pause button is, and fades once the ball
// flies. A finger (or mouse button) kept down more than two seconds while
// the ball waits is told to lift and tap. Once the player has launched a
// ball by themselves in three games the note shows no more; that count is
// kept with the settings.
//
// Only the game on screen, the one attached, shows and counts: a replayed
// game runs through these calls untouched, and none of them changes how a
// game plays.
#pragma once

class bb_Skitterbat_MyApp;

namespace hints {

// The Settings entry holding how many games had a ball launched by the
// player, up to kGamesToLearn.
constexpr int kLaunchedGamesSetting = 24;
constexpr int kGamesToLearn = 3;

// The game on screen, from its m_OnCreate to its end.
void Attach(const bb_Skitterbat_MyApp& game);
void Detach(const bb_Skitterbat_MyApp& game);

// Every update, after the input is sampled: which input the player used last.
void SeeInput(const bb_Skitterbat_MyApp& game);
// A new game is set up.
void GameBegins(const bb_Skitterbat_MyApp& game);
// Held balls were launched, by the player's press or by the launch timer.
void BallLaunched(bb_Skitterbat_MyApp& game, bool byPlayer);

// Drawn in the play frame: over everything while the ball waits, and under
// the play once it is launched, so the ball flies over the fading note.
enum class Layer { UnderPlay, OverPlay };
void Draw(bb_Skitterbat_MyApp& game, Layer layer);

// How many games the settings say had a ball launched by the player; a
// value no build writes reads as none.
int LaunchedGames(const bb_Skitterbat_MyApp& game);

} // namespace hints
