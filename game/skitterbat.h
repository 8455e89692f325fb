// bb_Skitterbat_MyApp: the whole game in one object. All state is plain fields
// and fixed arrays; all logic and drawing run in m_OnUpdate, which appends
// records to DrawList; m_OnRender replays them onto the virtual screen.
// The methods live in files named after what they do.
#pragma once

#include "audio/gxtk_audio.h"
#include "graphics/image.h"
#include "host/bb_app.h"
#include "runtime/runtime.h"

// Marker for an omitted float argument, and the rectangle record kind.
constexpr float NoValue = -3717.0f;
constexpr float DrawKindRect = -3717.0f;
constexpr float DrawKindOval = -3716.0f;

// Game modes.
constexpr int ModeMenu = 1;
constexpr int ModeReturnToMenu = 2;
constexpr int ModePlaying = 10;
constexpr int ModeStartGame = 11;

// Object record fields (Objects[10 * r + field]).
constexpr int ObjColour = 0, ObjX = 1, ObjY = 2, ObjDX = 3, ObjDY = 4, ObjKind = 5, ObjPhase = 6,
              ObjCooldown = 8;
constexpr int ObjectRecords = 200;
// Particle record fields (Parts[10 * r + field]).
constexpr int PartLife = 0, PartX = 1, PartY = 2, PartDX = 3, PartDY = 4, PartAngle = 5, PartFrame = 6;
constexpr int ParticleRecords = 100;
// Object kinds.
constexpr int KindSegment = 0, KindPod = 1, KindShroom = 5, KindBallFlying = 17, KindBallHeld = 18;

constexpr int DrawRecordSize = 15;
constexpr int DrawListSize = 37500;

extern float bb_Skitterbat_rawscrw;
extern float bb_Skitterbat_rawscrh;
extern float bb_Skitterbat_jscrw;
extern float bb_Skitterbat_jscrh;
extern int bb_Skitterbat_keys;
extern int bb_Skitterbat_iCadeControls;

class bb_Skitterbat_MyApp : public bb_app_App {
  public:
    // Arrays created by the constructor.
    Array<bb_graphics_ImageRef> Images{100};
    Array<int> ImageSizes{300};
    Array<int> BadgeQueueA{15};
    Array<int> BadgeQueueB{15};
    Array<bool> Badges{256};
    Array<int> KeyArray{20};
    Array<int> Settings{25};
    Array<int> Highscores{60};
    Array<int> Channels{33};
    Array<float> DrawList{DrawListSize};
    Array<int> TouchDownArr{10};
    Array<int> TouchXArr{10};
    Array<int> TouchYArr{10};
    Array<bb_audio_SoundRef> Sounds{100};
    Array<float> Objects{2000};
    Array<float> Parts{1000};

    // Shared working variables.
    int LoopI = 0, LoopJ = 0, LoopK = 0, FrameNo = 0, ScratchX = 0, ScratchY = 0, Scratch80 = 0;

    // Mode, screen and timing.
    int Mode = 0;
    int DeviceW = 0, DeviceH = 0;
    float ScreenScale = 0, ScreenScale2 = 0;
    int ScaleAxis = 0;
    int Landscape = 0;
    int UpdateCountdown = 0;
    int LoaderStage = 0;
    // The mode a reload took the game out of (a game in progress, or one whose
    // score is still to be recorded); 0 when the reload interrupted nothing.
    int ModeBehindReload = 0;
    int ImageScale = 0;
    float ImageInvScale = 0;
    int SpinAngle = 0;

    // Drawing state: the pen starts as m_ResetDraw leaves it.
    float ClsRed = 0, ClsGreen = 0, ClsBlue = 0, ClsAlpha = 0;
    float SizeX = 1, SizeY = 1;
    float Rot = 0;
    float ColRed = 255, ColGreen = 255, ColBlue = 255;
    float ColAlpha = 1;
    int DrawBlend = 1;
    int DrawCount = 0;
    int FontImage = 0;

    // Input.
    int MouseX = 0, MouseY = 0, PrevMouseX = 0, PrevMouseY = 0;
    int MouseDown = 0, PointerDown = 0, PointerHit = 0;
    int ICadeChar = 0;
    int NeedRelease = 0;
    int ButtonLock = 0;
    // The back key was held at the last play frame: it opens the pause panel
    // only on a new press.
    int BackHeld = 0;
    // A setting took a new value or a badge was earned this update: the state
    // file is written at the update's end, once however many there were.
    int SaveWanted = 0;

    // Menus and boxes.
    int Difficulty = 0;
    int MenuSlide = 0;
    int MenuValue50 = 0;
    int CreditsOpen = 0, BadgesOpen = 0;
    int Paused = 0;
    int PauseSlide = 0;
    int PauseSlideY = 0;
    int PauseSelection = 0;
    int ChannelCursor = 0;
    float TiltSensitivity = 0;
    float MenuPanelWidth = 0;
    int MenuLineHeight = 0, MenuRows = 0;
    int BoxExtent = 0;
    int ScoreRow = 0, ScorePlace = 0;
    int NotePanelW = 0, NoteX = 0;
    float GalleryScroll = 0, GalleryTarget = 0;
    // The badge whose description the gallery shows, -1 for none.
    int GallerySel = -1;
    // A press on the gallery's list: a tap when it lifts having hardly moved,
    // a scroll of the list otherwise.
    struct GalleryPress {
        bool pending = false;
        int row = -1; // the badge row it began on, -1 for none
        float travel = 0;
    } GalleryTap;

    // Round play.
    int Score = 0;
    int ShownScore = 0;
    int Lives = 0;
    int Round = 0;
    int RoundPhase = 0;
    int PhaseTimer = 0;
    int PedesToCome = 0;
    int PedeReleaseTimer = 0;
    int SegmentCount = 0;
    int MoverCount = 0;
    int BallCount = 0;
    int FlyingCount = 0;
    int IntactShrooms = 0;
    int PrevBallCount = 0;
    int BallBonusRounds = 0;
    int ShroomBonusCount = 0;
    int BonusStepDone = 0;
    int SkillShotArmed = 0;
    int GameEnded = 0;
    int OverTimer = 0;
    int LaunchTimer = 0;
    float PaddleX = 0;
    int PaddleY = 0;
    int PaddleSize = 0;
    float PaddleTargetX = 0;
    float PaddleSpeed = 0;
    float BackdropAngle = 0;
    int NewSlot = 0;
    int BurstCount = 0;

    bb_Skitterbat_MyApp* g_new();
    ~bb_Skitterbat_MyApp() override;

    // Callbacks (game_flow.cpp).
    int m_OnCreate() override;
    int m_OnUpdate() override;
    int m_OnSuspend() override;
    int m_OnResume() override;
    int m_OnRender() override;
    int m_OnFocusLost() override;

    // Assets (assets.cpp).
    virtual int m_LoadImg(int image, const String& path, int frameW, int frameH, int frames, int flags);
    virtual int m_Reload();
    // Saved state (saved_state.cpp).
    virtual int m_Load();
    // Controls (controls.cpp).
    virtual int m_iCade(int on);
    virtual int m_Save();
    virtual bool m_PlayKey(int key);
    // Drawing helpers (draw_list.cpp, text.cpp).
    virtual int m_ResetDraw();
    virtual int m_CLS2D(float r, float g, float b, float a);
    virtual int m_SetSize(float sx, float sy = NoValue);
    virtual int m_DrawImg(int image, float x, float y, float frame);
    virtual int m_Alpha(float a);
    virtual int m_SetCol(float r, float g, float b, float a = NoValue);
    virtual int m_Rect(float x, float y, float w, float h);
    virtual int m_Button(int image, float x, float y, int frame);
    virtual int m_PlaySFX(int n, float rate, float volume, float pan);
    virtual String m_rstr(int value, int width, const String& pad);
    virtual int m_Text(float x, float y, const String& text, float alignX, float alignY);
    // Main menu (menu.cpp) and game over (game_over.cpp).
    virtual int m_Menu();
    virtual int m_LoadMenu();
    virtual int m_Oval(float x, float y, float rx, float ry);
    // Loading screen (loading_screen.cpp).
    virtual int m_WaitStart(int mode);
    virtual int m_SetRot(float a);
    virtual int m_Ink(int i);
    // Badges (badges.cpp).
    virtual int m_GiveBadge(int n);
    // Playfield set-up (playfield.cpp).
    virtual int m_AddPart(float x, float y);
    virtual int m_AddShroom(int x, int y);
    virtual int m_AddPede(int count, int colour, int speed);
    virtual int m_AddBall();
    virtual int m_NewRound();
    // Round play (play_*.cpp).
    virtual int m_Game();
    virtual bool m_Touch(float x, float y, float w, float h);
    virtual int m_PauseMenu();
    virtual int m_InGame();
    virtual int m_LoadGame();
    virtual String m_MyNth();
    virtual int m_GameOver();
    virtual int m_CreditBox();
    virtual String m_BadgeID(int n);
    virtual String m_BadgeName(int n);
    virtual String m_BadgeDetail(int n);
    virtual int m_BadgesBox();
    virtual int m_LoadFont(int image, const String& path, int glyphW, int glyphH);
    virtual int m_LoadSFX(int n);
    virtual int m_Loader();
    virtual int m_ShowBadges();

    // Non-virtual helpers of the core files (drawing, flow, controls, assets).
    // Appends one 15-float record with the current pen; dropped when the list is full.
    void AppendRecord(float kind, float x, float y, float w, float h, float frame);
    // The non-drawing half of a render: takes up data that has arrived while
    // the game runs, restarts loading when the window needs another art level
    // (where art does not arrive later), fits the virtual screen to the
    // window, sets Landscape and moves a game on screen along.
    void FitVirtualScreen(int width, int height);
    // The same for a window size and reload decided elsewhere (a replay's).
    void FitWindow(int width, int height, bool reload);
    // Draws every record of the list onto the window (inside a render only).
    void ReplayDrawList();
    // Draws `count` floats of records from `list` with this game's art, `scale`
    // window pixels a unit and the virtual screen's origin at (originX, originY).
    void DrawRecords(const float* list, int count, float scale, float originX, float originY);
    // A game in progress follows the virtual screen from the old size to the
    // current one, and comes back paused once the reload is done.
    void FitGameToScreen(float oldW, float oldH);
    void ReturnAfterReload();
    // The paddle's line for the current virtual screen.
    void PlacePaddleLine();
    // Picks ImageScale and ImageInvScale from the window size.
    void PickResolution();
    // The art level (1, 2 or 4) a window of that size needs.
    static int ArtLevelFor(int width, int height);
    // File name suffix of the current art level: "", "-hd" or "-hd2".
    String ArtSuffix() const;
    // The same for any art level.
    static String ArtSuffixOf(int level);
    // Image sizes and the font as the loader leaves them at the current art
    // level, for a game that plays without art of its own.
    void SetArtSizesWithoutLoading();
    // Plays effect n on the next effect channel, whatever the sound switch says.
    void PlayEffect(int n, float rate, float volume, float pan);
    // The first step of an update: the pointer and touches in game units, and
    // the latches (a back press closes the menu's boxes).
    void SampleInput();
    // What a suspend and a resume do to play, apart from the host's rate and the save.
    void SuspendPlay();
    void ResumePlay();
    // Whether a held touch lies on the button m_Button would draw there.
    int ButtonHit(int image, float x, float y);
    // Sets or clears the virtual button of one iCade letter.
    void DecodeICadeChar(int chr);
    // "sfx/" + three digits + the platform's sound extension (".wav" on the desktop).
    static String SfxFileName(int n);
    // The data file a loader step reads at the current art level, or "".
    String LoaderFile(int step) const;

    // Non-virtual helpers of round play (playfield.cpp, play_*.cpp, pause_menu.cpp).
    int FreeObjectSlot() const;
    int FreeParticleSlot() const;
    void DrawBackdrop();
    void ObjectPass();
    void GameOverTest();
    void StepSegment(int o);
    void ReleasePede();
    void ReleaseFocusPede();
    void StepHeldBall(int o);
    void StepFlyer(int o);
    void StrikeMushrooms(int o);
    void BouncePod(int o);
    void SteerAndLaunch();
    void MovePaddle();
    void SteerPaddle();
    void StepParticles();
    void DrawHud();
    void StepRoundPhase();
    void StepPlanting();
    void StepIntro();
    void StepPlay();
    void StepRoundEnd();
    void StepDropPods();
    void StepBonusCount();
    void StartNextRound();
    void ResumeFromPause(bool byKey);
    void QuitFromPause(bool byKey);
    void AdvanceSoundSetting();
    void MovePauseSelection(int selection, float pitch);
    void DrawFocusRing(float x, float y);

    // The pen size, at most `size`, at which the text's longest line fits `width`.
    float TextSizeToFit(const String& text, float width, float size) const;

    // Non-virtual helpers of menu, game over, badges, saved state and credits.
    // A score panel text: the heading (or `single` when one row fits) and
    // MenuRows scores from Highscores[first] on, one per line.
    String MenuScoreText(const char* heading, const char* single, int first);
};
