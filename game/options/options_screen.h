// The Options screen: over the main menu (its gear button, or back) and over
// a paused game (the pause panel's gear). Game speed, volume, pod marks,
// reduced motion, keys without holding and the controls, by keys, pad,
// pointer and finger; every change is in force and saved at once.
#pragma once

class bb_Skitterbat_MyApp;

namespace options {

bool ScreenOpen();
void OpenScreen(bb_Skitterbat_MyApp& game, bool fromPause);
// One update of the screen: draws it and acts on the input.
void RunScreen(bb_Skitterbat_MyApp& game);

// The pause panel's item that opens the screen (PauseSelection).
constexpr int kPauseOptionsItem = 2;
// The icon of the gear (image 97).
constexpr int kGearFrame = 11;

} // namespace options
