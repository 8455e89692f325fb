// Data that arrives while the game runs, on a platform that fetches it then
// (a page on a slow link): the game starts on the smallest art, which such a
// platform has at hand, and once its first menu is up it takes each sound
// effect and the rest of that art as its file arrives (an effect played
// before that is silent) and decodes the art level the window needs beside
// the art in use, a file or a few a frame, swapping it in whole between two
// updates. Nothing here touches what play reads: no mode, pause, loader stage
// or object, and the art's size in game units is the same at every level.
#pragma once

class bb_Skitterbat_MyApp;

namespace late_assets {

// Whether the platform brings data in while the game runs. Elsewhere every
// file is at hand and the loader reads them all, as always.
bool Active();

// The game on screen, whose art and sounds these are. Set by its m_OnCreate.
void Attach(bb_Skitterbat_MyApp& game);
void Detach(bb_Skitterbat_MyApp& game);

// On such a platform the effects and the art the first menu does not show
// come after it: true for a loader step of those, which is then taken up here
// (an effect's entry is a sound without a sample until its file has arrived).
bool StepComesLater(bb_Skitterbat_MyApp& game, int step);

// Once a render, before the window fit: asks for what the game still lacks
// and takes up what has arrived. Waits for the loader to finish first.
void Step(bb_Skitterbat_MyApp& game);

} // namespace late_assets
