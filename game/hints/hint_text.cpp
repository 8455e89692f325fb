// The hint's wording for each kind of input.
#include "game/hints/hint_text.h"

namespace hints {
namespace {

constexpr int kLeft = 3, kRight = 5, kBack = 99;
// Play keys that launch a waiting ball, the launch action's first.
constexpr int kLaunchKeys[] = {10, 11, 12, 13};

bool IsLetter(int key) {
    return key >= 'A' && key <= 'Z';
}

int FirstKey(const options::KeyMap& keys, int playKey, bool letters) {
    const options::PlayKeyRow& row = keys.rows[options::RowOf(playKey)];
    for (int i = 0; i < row.keyCount; ++i)
        if (letters || !IsLetter(row.keys[i])) return row.keys[i];
    return 0;
}

int FirstPad(const options::KeyMap& keys, int playKey) {
    const options::PlayKeyRow& row = keys.rows[options::RowOf(playKey)];
    return row.padCount > 0 ? row.pads[0] : options::kNoPadButton;
}

std::string KeyText(int key) {
    const char* name = key != 0 ? options::KeyName(key) : nullptr;
    return name ? name : "";
}

} // namespace

bool ControlNames::operator==(const ControlNames& other) const {
    return left == other.left && right == other.right && launch == other.launch && back == other.back &&
           padLaunch == other.padLaunch && padBack == other.padBack;
}

ControlNames NamesOf(const options::KeyMap& keys, bool letters) {
    ControlNames names;
    names.left = FirstKey(keys, kLeft, letters);
    names.right = FirstKey(keys, kRight, letters);
    names.back = FirstKey(keys, kBack, letters);
    for (int playKey : kLaunchKeys) {
        if (names.launch == 0) names.launch = FirstKey(keys, playKey, letters);
        if (names.padLaunch == options::kNoPadButton) names.padLaunch = FirstPad(keys, playKey);
    }
    names.padBack = FirstPad(keys, kBack);
    return names;
}

HintLines Wording(InputKind kind, bool lift, const ControlNames& names) {
    HintLines lines;
    switch (kind) {
    case InputKind::Finger:
        lines.controls = lift ? "Lift, then tap to launch" : "Drag to steer, tap to launch";
        lines.pause = "Pause: top left button";
        break;
    case InputKind::Mouse:
        lines.controls = lift ? "Let go, then click to launch" : "Move to steer, click to launch";
        lines.pause = "Pause: top left button";
        break;
    case InputKind::Keys: {
        // A side or launch with no key of its own is left unsaid, not named wrongly.
        const std::string left = KeyText(names.left), right = KeyText(names.right);
        const std::string launch = KeyText(names.launch), back = KeyText(names.back);
        if (!left.empty() && !right.empty()) lines.controls = left + "/" + right + " to steer";
        if (!launch.empty()) lines.controls += (lines.controls.empty() ? "" : ", ") + launch + " to launch";
        lines.pause = back.empty() ? "Pause: top left button" : "Pause: " + back + " or top left button";
        break;
    }
    case InputKind::Pad: {
        lines.controls = "Stick to steer";
        if (names.padLaunch != options::kNoPadButton)
            lines.controls += std::string(", ") + options::PadButtonName(names.padLaunch) + " to launch";
        lines.pause =
            names.padBack == options::kNoPadButton
                ? "Pause: top left button"
                : std::string("Pause: ") + options::PadButtonName(names.padBack) + " or top left button";
        break;
    }
    }
    return lines;
}

} // namespace hints
