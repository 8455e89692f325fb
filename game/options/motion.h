// Reduced motion: fades in place of slides. Panels that would slide are
// drawn where they rest and faded in and out over the same updates, so what
// a press hits (and so how a game plays) is the same with and without.
#pragma once

class bb_Skitterbat_MyApp;

namespace options {

// Multiplies the alpha of every record drawn since `from` (a DrawCount).
void FadeSince(bb_Skitterbat_MyApp& game, int from, float alpha);

// Where the pause panel is drawn and how opaque, its centre standing at
// `y` on its way in (slide 1) or out (-1) of a screen `h` high.
struct PanelPlace {
    float y;
    float alpha;
};
PanelPlace PausePanelPlace(float y, int slide, float h);

} // namespace options
