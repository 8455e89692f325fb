// Controls: play keys from the key map (keyboard, joystick) and the iCade
// buttons, the iCade switch and its letter decoding, on-screen buttons and
// touch zones.
#include "game/skitterbat.h"

#include "game/options/options.h"
#include "input/gxtk_input.h"

namespace {
constexpr float kStickThreshold = 0.4f;
constexpr int kBackKey = 99;
// The virtual buttons of the iCade's two back buttons.
constexpr int kICadeBack1 = 16, kICadeBack2 = 17;

// One iCade button: the letter it sends on press, the one on release, and its entry.
struct ICadeButton {
    char press, release;
    int entry;
};
constexpr ICadeButton kICadeButtons[12] = {{'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},
                                           {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'Y', 'T', 13},
                                           {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16}, {'L', 'V', 17}};

bool Letter(int key) {
    return key >= 'A' && key <= 'Z';
}

bool StickHolds(gxtkInput* in, options::Stick stick) {
    switch (stick) {
    case options::Stick::Left:
        return in->JoyX(0) < -kStickThreshold;
    case options::Stick::Right:
        return in->JoyX(0) > kStickThreshold;
    case options::Stick::Up:
        return in->JoyY(0) < -kStickThreshold;
    case options::Stick::Down:
        return in->JoyY(0) > kStickThreshold;
    default:
        return false;
    }
}
} // namespace

bool bb_Skitterbat_MyApp::m_PlayKey(int key) {
    const int row = options::RowOf(key);
    if (row < 0) return false;
    const options::PlayKeyRow& sources = options::Current().play.keys.rows[row];
    gxtkInput* in = bb_input_device;
    // Letter keys only count without the iCade, which types letters itself.
    const bool letters = bb_Skitterbat_iCadeControls == 0;
    for (int i = 0; i < sources.keyCount; ++i)
        if ((letters || !Letter(sources.keys[i])) && in->KeyDown(sources.keys[i])) return true;
    for (int i = 0; i < sources.padCount; ++i)
        if (in->KeyDown(options::kPadKey0 + sources.pads[i])) return true;
    if (StickHolds(in, sources.stick)) return true;
    if (key == kBackKey) return KeyArray[kICadeBack1] > 0 || KeyArray[kICadeBack2] > 0;
    return KeyArray[key] > 0;
}

int bb_Skitterbat_MyApp::m_iCade(int on) {
    if (on == 1) {
        bb_input_device->SetKeyboardEnabled(1);
        bb_Skitterbat_iCadeControls = 1;
        // Letters typed before the switch are not iCade buttons.
        do {
            ICadeChar = bb_input_device->GetChar();
        } while (ICadeChar != 0);
    } else if (on == 0) {
        bb_input_device->SetKeyboardEnabled(0);
        bb_Skitterbat_iCadeControls = 0;
        for (LoopI = 0; LoopI < KeyArray.Length(); ++LoopI) KeyArray[LoopI] = 0;
    }
    return 0;
}

void bb_Skitterbat_MyApp::DecodeICadeChar(int chr) {
    if (chr >= 'a' && chr <= 'z') chr -= 'a' - 'A';
    for (const ICadeButton& button : kICadeButtons) {
        if (chr == button.press) {
            KeyArray[button.entry] = 2;
            return;
        }
        if (chr == button.release) {
            KeyArray[button.entry] = 0;
            return;
        }
    }
}

int bb_Skitterbat_MyApp::m_Button(int image, float x, float y, int frame) {
    m_DrawImg(image, x, y, static_cast<float>(frame));
    return ButtonHit(image, x, y);
}

int bb_Skitterbat_MyApp::ButtonHit(int image, float x, float y) {
    const float halfW = ImageInvScale * static_cast<float>(ImageSizes[3 * image]) * SizeX * 0.5f;
    const float halfH = ImageInvScale * static_cast<float>(ImageSizes[3 * image + 1]) * SizeY * 0.5f;
    int hit = 0;
    for (LoopI = 0; LoopI < 10; ++LoopI) {
        const float tx = static_cast<float>(TouchXArr[LoopI]);
        const float ty = static_cast<float>(TouchYArr[LoopI]);
        if (x - halfW < tx && tx < x + halfW && y - halfH < ty && ty < y + halfH && PointerDown > 0) hit = 1;
    }
    return hit;
}

bool bb_Skitterbat_MyApp::m_Touch(float x, float y, float w, float h) {
    m_Rect(x, y, w, h);
    bool hit = false;
    for (LoopI = 0; LoopI < 10; ++LoopI) {
        const float tx = static_cast<float>(TouchXArr[LoopI]);
        const float ty = static_cast<float>(TouchYArr[LoopI]);
        if (TouchDownArr[LoopI] != 0 && x < tx && tx < x + w && y < ty && ty < y + h) hit = true;
    }
    return hit;
}
