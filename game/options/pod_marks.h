// Pods told apart without colour: each of the eight pod colours has a mark
// of its own (frames 8 to 15 of the sprite sheet), drawn untinted over the
// pod, over the pod on its badges' icons and so in the gallery too.
#pragma once

class bb_Skitterbat_MyApp;

namespace options {

// Over a pod of colour 1..8 just drawn at (x, y), turned with it.
void DrawPodMark(bb_Skitterbat_MyApp& game, int colour, float x, float y);
// Over the icon of badge `badge` just drawn at (x, y) at pen size `size`;
// only the pod badges (0 to 15) have one.
void DrawBadgeMark(bb_Skitterbat_MyApp& game, int badge, float x, float y, float size);

} // namespace options
