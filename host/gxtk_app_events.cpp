// The host's window-event callbacks: keys, characters, mouse buttons and
// touches go to the input device of the one host application; a lost focus
// goes to the application itself.
#include "host/gxtk_app.h"

#include "runtime/platform.h"

void gxtkApp::OnKey(int code, int action) {
    if (!app || code == 0) return;
    gxtkInput* input = app->ownedInput;
    if (action == gxtkKeyReleased) {
        input->OnKeyUp(code);
    } else if (action == gxtkKeyPressed || action == gxtkKeyRepeated) {
        // A repeat queues its character again; the key is already down, so its hit count stays.
        input->OnKeyDown(code);
        int chr = KeyToChar(code);
        if (chr != 0) input->PutChar(chr);
    }
}

void gxtkApp::OnChar(int chr, int action) {
    if (app && action == gxtkKeyPressed) app->ownedInput->PutChar(chr);
}

void gxtkApp::OnMouseButton(int button, int action) {
    if (!app) return;
    int code;
    switch (button) {
    case gxtkMouseLeft:
        code = 1;
        break;
    case gxtkMouseRight:
        code = 2;
        break;
    case gxtkMouseMiddle:
        code = 3;
        break;
    default:
        return;
    }
    if (action == gxtkKeyReleased)
        app->ownedInput->OnKeyUp(code);
    else if (action == gxtkKeyPressed)
        app->ownedInput->OnKeyDown(code);
}

void gxtkApp::OnTouch(int index, bool down, float x, float y) {
    if (!app || index <= 0 || index >= gxtkInput::kTouchCount) return;
    gxtkInput* input = app->ownedInput;
    input->SetTouchPosition(index, x, y);
    if (down)
        input->OnKeyDown(gxtkInput::kTouch0 + index);
    else
        input->OnKeyUp(gxtkInput::kTouch0 + index);
}

void gxtkApp::OnWindowSize(int, int) {}

void gxtkApp::OnWindowRefresh() {}

// A suspended application has already put itself aside; iconifying also takes
// the focus, and that must not be answered twice.
void gxtkApp::OnWindowFocus(bool focused) {
    if (app && !focused && !app->isSuspended) app->OnFocusLost();
}
