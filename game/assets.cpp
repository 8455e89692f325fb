// Art and sound effects: the resolution level, the image and font loaders, the
// one-item-per-update loader and the sound effects on 24 rotating channels.
#include "game/skitterbat.h"

#include "audio/gxtk_audio.h"
#include "game/late_assets.h"
#include "game/loader_items.h"
#include "graphics/image.h"

#include <cstdio>

namespace {
constexpr int kEffectChannels = 24;
} // namespace

int bb_Skitterbat_MyApp::ArtLevelFor(int width, int height) {
    if (width > 1230 || height > 1230) return 4;
    if (width > 630 || height > 630) return 2;
    return 1;
}

void bb_Skitterbat_MyApp::PickResolution() {
    // A game replayed without a window keeps the level it was given.
    if (bb_graphics_device == nullptr) return;
    // Where art arrives while the game runs, the loader takes the smallest,
    // which is at hand, and the level the window needs is swapped in later.
    ImageScale =
        late_assets::Active() ? 1 : ArtLevelFor(bb_graphics_device->Width(), bb_graphics_device->Height());
    ImageInvScale = 1.0f / static_cast<float>(ImageScale);
}

String bb_Skitterbat_MyApp::ArtSuffix() const {
    return ArtSuffixOf(ImageScale);
}

String bb_Skitterbat_MyApp::ArtSuffixOf(int level) {
    if (level == 2) return String("-hd");
    if (level == 4) return String("-hd2");
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

void bb_Skitterbat_MyApp::SetArtSizesWithoutLoading() {
    if (ImageScale < 1) ImageScale = 1;
    ImageInvScale = 1.0f / static_cast<float>(ImageScale);
    for (const LoaderArt& art : kLoaderArt) {
        ImageSizes[3 * art.image] = art.frameW * ImageScale;
        ImageSizes[3 * art.image + 1] = art.frameH * ImageScale;
        ImageSizes[3 * art.image + 2] = art.frames;
    }
    ImageSizes[3 * kFontImage] = kGlyphAdvance;
    ImageSizes[3 * kFontImage + 1] = kLineHeight;
    ImageSizes[3 * kFontImage + 2] = 128;
    FontImage = kFontImage;
}

String bb_Skitterbat_MyApp::LoaderFile(int step) const {
    if (const LoaderArt* art = ArtAtStep(step)) return String(art->path) + ArtSuffix() + ".png";
    if (step == kFontStep) return String(kFontPath) + ArtSuffix() + ".png";
    if (const int effect = EffectAtStep(step)) return SfxFileName(effect);
    return String();
}

int bb_Skitterbat_MyApp::m_Reload() {
    ClsRed = 0;
    ClsGreen = 0;
    ClsBlue = 0;
    ClsAlpha = 1.0f;
    PickResolution();
    // The logo first, so the loading screen shows it from its first frame;
    // logo art still on its way comes with the loader's own logo step.
    if (bb_app_DataReady(String(kLogoPath) + ArtSuffix() + ".png"))
        m_LoadImg(kLogoImage, kLogoPath, 256, 256, 1, 1);
    LoaderStage = 1;
    return 0;
}

int bb_Skitterbat_MyApp::m_Loader() {
    PickResolution();
    // Where data arrives while the game runs, what the first menu does not
    // show comes after it: those steps take no update of their own.
    while (late_assets::StepComesLater(*this, LoaderStage)) LoaderStage += 1;
    const int step = LoaderStage;
    // A step whose file is still on its way waits for it; the spinner goes on.
    const String file = LoaderFile(step);
    if (file.Length() > 0 && !bb_app_DataReady(file)) {
        m_WaitStart(1);
        return 0;
    }
    if (const LoaderArt* art = ArtAtStep(step)) {
        m_LoadImg(art->image, art->path, art->frameW, art->frameH, art->frames, 1);
    } else if (step == kFontStep) {
        m_LoadFont(kFontImage, kFontPath, kGlyphAdvance, kLineHeight);
    } else if (const int effect = EffectAtStep(step)) {
        m_LoadSFX(effect);
    } else {
        LoaderStage = 0;
        ReturnAfterReload();
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
    return String("sfx/") + String(digits) + "." + bb_app_SoundFileExtension();
}

int bb_Skitterbat_MyApp::m_LoadSFX(int n) {
    bb_audio_SoundRef sound = bb_audio_LoadSound(SfxFileName(n));
    // Effects outside the table are read but have nowhere to be kept.
    if (n >= 0 && n < Sounds.Length()) Sounds[n] = sound;
    return 0;
}

int bb_Skitterbat_MyApp::m_PlaySFX(int n, float rate, float volume, float pan) {
    if (Settings[5] != 1 && Settings[5] != 2) return 0;
    PlayEffect(n, rate, volume, pan);
    return 0;
}

void bb_Skitterbat_MyApp::PlayEffect(int n, float rate, float volume, float pan) {
    ChannelCursor = (ChannelCursor + 1) % kEffectChannels;
    const int channel = Channels[ChannelCursor];
    gxtkAudio* audio = bb_audio_device;
    audio->StopChannel(channel);
    if (n >= 0 && n < Sounds.Length() && Sounds[n] != nullptr && Sounds[n]->m_sample != nullptr)
        audio->PlaySample(Sounds[n]->m_sample, channel, 0);
    audio->SetRate(channel, rate);
    audio->SetVolume(channel, volume);
    audio->SetPan(channel, pan);
}
