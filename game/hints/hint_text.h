// What the first-game hint says: the controls of the input the player last
// used, named from the key map in force (the keys actually bound), and
// where the pause button is.
#pragma once

#include "game/options/key_map.h"

#include <string>

namespace hints {

enum class InputKind { Finger, Mouse, Keys, Pad };

// The keys and pad buttons the hint names, as key codes and button numbers
// (0 and kNoPadButton for none); compared to know when the wording changes.
struct ControlNames {
    int left = 0, right = 0, launch = 0, back = 0;
    int padLaunch = options::kNoPadButton, padBack = options::kNoPadButton;
    bool operator==(const ControlNames& other) const;
};

// The first key (and pad button) of each row that steers, launches and
// pauses; letter keys are skipped while the iCade has them.
ControlNames NamesOf(const options::KeyMap& keys, bool letters);

struct HintLines {
    std::string controls; // how to steer and launch
    std::string pause;    // where the pause button is
};

// `lift`: a finger (or the mouse button) has stayed down with the ball
// waiting, and only a new press launches it.
HintLines Wording(InputKind kind, bool lift, const ControlNames& names);

} // namespace hints
