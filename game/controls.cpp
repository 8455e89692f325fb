// Controls: play keys from keyboard, joystick and iCade buttons, the iCade
// switch and its letter decoding, on-screen buttons and touch zones.
#include "game/skitterbat.h"

#include "input/gxtk_input.h"

namespace {
constexpr float kStickThreshold = 0.4f;

// One iCade button: the letter it sends on press, the one on release, and its entry.
struct ICadeButton {
    char press, release;
    int entry;
};
constexpr ICadeButton kICadeButtons[12] = {{'W', 'E', 0},  {'X', 'Z', 8},  {'A', 'Q', 3},  {'D', 'C', 5},
                                           {'H', 'R', 10}, {'J', 'N', 11}, {'K', 'P', 12}, {'Y', 'T', 13},
                                           {'U', 'F', 14}, {'I', 'M', 15}, {'O', 'G', 16}, {'L', 'V', 17}};
} // namespace

bool bb_Skitterbat_MyApp::m_PlayKey(int key) {
    gxtkInput* in = bb_input_device;
    // Letter keys only count without the iCade, which types letters itself.
    const bool letters = bb_Skitterbat_iCadeControls == 0;
    switch (key) {
    case 0:
        return in->KeyDown(38) || (letters && in->KeyDown(87)) || in->KeyDown(265) ||
               in->JoyY(0) < -kStickThreshold || KeyArray[0] > 0;
    case 3:
        return in->KeyDown(37) || (letters && in->KeyDown(65)) || in->KeyDown(264) ||
               in->JoyX(0) < -kStickThreshold || KeyArray[3] > 0;
    case 5:
        return in->KeyDown(39) || (letters && in->KeyDown(68)) || in->KeyDown(266) ||
               in->JoyX(0) > kStickThreshold || KeyArray[5] > 0;
    case 8:
        return in->KeyDown(40) || (letters && in->KeyDown(83)) || in->KeyDown(267) ||
               in->JoyY(0) > kStickThreshold || KeyArray[8] > 0;
    case 10:
        return in->KeyDown(32) || in->KeyDown(13) || (letters && (in->KeyDown(90) || in->KeyDown(74))) ||
               in->KeyDown(256) || KeyArray[10] > 0;
    case 11:
        return in->KeyDown(17) || (letters && (in->KeyDown(88) || in->KeyDown(75))) || in->KeyDown(257) ||
               KeyArray[11] > 0;
    case 12:
        return in->KeyDown(16) || (letters && (in->KeyDown(67) || in->KeyDown(76))) || in->KeyDown(258) ||
               KeyArray[12] > 0;
    case 13:
        return (letters && (in->KeyDown(86) || in->KeyDown(73))) || in->KeyDown(259) || KeyArray[13] > 0;
    case 99:
        return in->KeyDown(27) || in->KeyDown(46) || in->KeyDown(8) || in->KeyDown(263) || KeyArray[16] > 0 ||
               KeyArray[17] > 0;
    default:
        return false;
    }
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
