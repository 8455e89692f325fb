// The host's window-event callbacks: keys, characters and mouse buttons go to
// the input device of the one host application; a lost focus goes to the
// application itself.
#include "host/gxtk_app.h"

#include <GLFW/glfw3.h>

void gxtkApp::OnKey(int key, int action) {
    if (!app) return;
    int code = TransKey(key);
    if (code == 0) return;
    gxtkInput* input = app->ownedInput;
    if (action == GLFW_RELEASE) {
        input->OnKeyUp(code);
    } else if (action == GLFW_PRESS || action == GLFW_REPEAT) {
        // A repeat queues its character again; the key is already down, so its hit count stays.
        input->OnKeyDown(code);
        int chr = KeyToChar(code);
        if (chr != 0) input->PutChar(chr);
    }
}

void gxtkApp::OnChar(int chr, int action) {
    if (app && action == GLFW_PRESS) app->ownedInput->PutChar(chr);
}

void gxtkApp::OnMouseButton(int button, int action) {
    if (!app) return;
    int code;
    switch (button) {
    case GLFW_MOUSE_BUTTON_LEFT:
        code = 1;
        break;
    case GLFW_MOUSE_BUTTON_RIGHT:
        code = 2;
        break;
    case GLFW_MOUSE_BUTTON_MIDDLE:
        code = 3;
        break;
    default:
        return;
    }
    if (action == GLFW_RELEASE)
        app->ownedInput->OnKeyUp(code);
    else if (action == GLFW_PRESS)
        app->ownedInput->OnKeyDown(code);
}

void gxtkApp::OnWindowSize(int, int) {}

void gxtkApp::OnWindowRefresh() {}

// A suspended application has already put itself aside; iconifying also takes
// the focus, and that must not be answered twice.
void gxtkApp::OnWindowFocus(bool focused) {
    if (app && !focused && !app->isSuspended) app->OnFocusLost();
}
