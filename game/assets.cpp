// Art and sound effects: the resolution level, the image and font loaders, the
// one-item-per-update loader and the sound effects on 24 rotating channels.
#include "game/skitterbat.h"

#include "audio/gxtk_audio.h"
#include "graphics/image.h"

#include <cstdio>

namespace {
constexpr int kEffectChannels = 24;
} // namespace

void bb_Skitterbat_MyApp::PickResolution() {
    const int width = bb_graphics_device->Width();
    const int height = bb_graphics_device->Height();
    ImageScale = 1;
    ImageInvScale = 1.0f;
    if (width > 630 || height > 630) {
        ImageScale = 2;
        ImageInvScale = 0.5f;
    }
    if (width > 1230 || height > 1230) {
        ImageScale = 4;
        ImageInvScale = 0.25f;
    }
}

String bb_Skitterbat_MyApp::ArtSuffix() const {
    if (ImageScale == 2) return String("-hd");
    if (ImageScale == 4) return String("-hd2");
    return String();
}

int bb_Skitterbat_MyApp::m_LoadImg(int image, const String& path, int frameW, int frameH, int frames,
                                   int flags) {
    // Drop the old art first so both levels are never held at once.
    Images[image] = nullptr;
    const int width = frameW * ImageScale;
    const int height = frameH * ImageScale;
    Images[image] = bb_graphics_LoadImage2(path + ArtSuffix() + ".png", width, height, frames, flags);
    ImageSizes[3 * image] = width;
    ImageSizes[3 * image + 1] = height;
    ImageSizes[3 * image + 2] = frames;
    return 0;
}

int bb_Skitterbat_MyApp::m_LoadFont(int image, const String& path, int glyphW, int glyphH) {
    Images[image] =
        bb_graphics_LoadImage2(path + ArtSuffix() + ".png", 16 * ImageScale, 16 * ImageScale, 128, 1);
    // The advance and line height are in game units, whatever the art level.
    ImageSizes[3 * image] = glyphW;
    ImageSizes[3 * image + 1] = glyphH;
    ImageSizes[3 * image + 2] = 128;
    FontImage = image;
    return 0;
}

int bb_Skitterbat_MyApp::m_Reload() {
    ClsRed = 0;
    ClsGreen = 0;
    ClsBlue = 0;
    ClsAlpha = 1.0f;
    PickResolution();
    // The logo first, so the loading screen shows it from its first frame.
    m_LoadImg(93, "common/TarnLogo", 256, 256, 1, 1);
    LoaderStage = 1;
    return 0;
}

int bb_Skitterbat_MyApp::m_Loader() {
    PickResolution();
    const int step = LoaderStage;
    if (step >= 16 && step <= 35) {
        m_LoadSFX(step - 14);
    } else if (step >= 36 && step <= 42) {
        m_LoadSFX(step - 5);
    } else {
        switch (step) {
        case 1:
            m_LoadImg(97, "common/icons", 32, 32, 16, 1);
            break;
        case 2:
            m_LoadImg(95, "common/Buttons", 64, 64, 16, 1);
            break;
        case 3:
            m_LoadImg(94, "common/dpad", 32, 32, 16, 1);
            break;
        case 4:
            m_LoadImg(92, "common/icade", 64, 64, 2, 1);
            break;
        case 5:
            m_LoadImg(93, "common/TarnLogo", 256, 256, 1, 1);
            break;
        case 6:
            m_LoadFont(90, "fonts/editundo", 7, 10);
            break;
        case 7:
            m_LoadSFX(1);
            break;
        case 8:
            m_LoadSFX(95);
            break;
        case 9:
            m_LoadSFX(98);
            break;
        case 10:
            m_LoadSFX(99);
            break;
        case 11:
            m_LoadImg(99, "menu", 256, 256, 4, 1);
            break;
        case 12:
            m_LoadImg(98, "logo", 256, 128, 1, 1);
            break;
        case 13:
            m_LoadImg(96, "parts", 8, 8, 16, 1);
            break;
        case 14:
            m_LoadImg(80, "BadgesA", 64, 64, 64, 1);
            break;
        case 15:
            m_LoadImg(1, "gfx", 32, 32, 16, 1);
            break;
        case 43:
            m_LoadImg(2, "bg", 256, 256, 2, 1);
            break;
        default:
            LoaderStage = 0;
            break;
        }
    }
    if (LoaderStage > 0) {
        Mode = ModeMenu;
        LoaderStage += 1;
    }
    m_WaitStart(1);
    return 0;
}

String bb_Skitterbat_MyApp::SfxFileName(int n) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", n);
    return String("sfx/") + String(digits) + ".wav";
}

int bb_Skitterbat_MyApp::m_LoadSFX(int n) {
    bb_audio_SoundRef sound = bb_audio_LoadSound(SfxFileName(n));
    // Effects outside the table are read but have nowhere to be kept.
    if (n >= 0 && n < Sounds.Length()) Sounds[n] = sound;
    return 0;
}

int bb_Skitterbat_MyApp::m_PlaySFX(int n, float rate, float volume, float pan) {
    if (Settings[5] != 1 && Settings[5] != 2) return 0;
    ChannelCursor = (ChannelCursor + 1) % kEffectChannels;
    const int channel = Channels[ChannelCursor];
    gxtkAudio* audio = bb_audio_device;
    audio->StopChannel(channel);
    if (n >= 0 && n < Sounds.Length() && Sounds[n] != nullptr && Sounds[n]->m_sample != nullptr)
        audio->PlaySample(Sounds[n]->m_sample, channel, 0);
    audio->SetRate(channel, rate);
    audio->SetVolume(channel, volume);
    audio->SetPan(channel, pan);
    return 0;
}
