// The game's module globals and the program's start-up: bbInit sets the
// framework and game globals, bbMain creates the game and hands it to the host.
#include "game/skitterbat.h"
#include "graphics/image.h"
#include "host/bb_app.h"
#include "runtime/random.h"
#include "input/gxtk_input.h"

float bb_Skitterbat_rawscrw = 0;
float bb_Skitterbat_rawscrh = 0;
float bb_Skitterbat_jscrw = 0;
float bb_Skitterbat_jscrh = 0;
int bb_Skitterbat_keys = 0;
int bb_Skitterbat_iCadeControls = 0;

int bbInit() {
    bb_graphics_device = nullptr;
    bb_input_device = nullptr;
    bb_audio_device = nullptr;
    bb_app_device = nullptr;
    bb_graphics_context = new bb_graphics_GraphicsContext();
    bb_graphics_Image::g_DefaultFlags = 0;
    bb_graphics_renderDevice = nullptr;
    bb_Skitterbat_rawscrw = 640.0f;
    bb_Skitterbat_rawscrh = 480.0f;
    bb_Skitterbat_jscrw = 640.0f;
    bb_Skitterbat_jscrh = 480.0f;
    bb_Skitterbat_iCadeControls = 0;
    bb_random_Seed = 1234;
    bb_Skitterbat_keys = 0;
    return 0;
}

int bbMain() {
    // Lives for the whole run, like the host object it creates.
    (new bb_Skitterbat_MyApp())->g_new();
    return 0;
}
