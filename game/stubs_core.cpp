// Placeholder bodies until these methods are built; delete each as it lands.
#include "game/skitterbat.h"

bb_Skitterbat_MyApp* bb_Skitterbat_MyApp::g_new() { bb_app_App::g_new(); return this; }
int bb_Skitterbat_MyApp::m_OnCreate() { return 0; }
int bb_Skitterbat_MyApp::m_OnUpdate() { return 0; }
int bb_Skitterbat_MyApp::m_OnSuspend() { return 0; }
int bb_Skitterbat_MyApp::m_OnResume() { return 0; }
int bb_Skitterbat_MyApp::m_OnRender() { return 0; }
int bb_Skitterbat_MyApp::m_LoadImg(int, const String&, int, int, int, int) { return 0; }
int bb_Skitterbat_MyApp::m_Reload() { return 0; }
int bb_Skitterbat_MyApp::m_iCade(int) { return 0; }
bool bb_Skitterbat_MyApp::m_PlayKey(int) { return false; }
int bb_Skitterbat_MyApp::m_ResetDraw() { return 0; }
int bb_Skitterbat_MyApp::m_CLS2D(float, float, float, float) { return 0; }
int bb_Skitterbat_MyApp::m_SetSize(float, float) { return 0; }
int bb_Skitterbat_MyApp::m_DrawImg(int, float, float, float) { return 0; }
int bb_Skitterbat_MyApp::m_Alpha(float) { return 0; }
int bb_Skitterbat_MyApp::m_SetCol(float, float, float, float) { return 0; }
int bb_Skitterbat_MyApp::m_Rect(float, float, float, float) { return 0; }
int bb_Skitterbat_MyApp::m_Button(int, float, float, int) { return 0; }
int bb_Skitterbat_MyApp::m_PlaySFX(int, float, float, float) { return 0; }
String bb_Skitterbat_MyApp::m_rstr(int, int, const String&) { return String(); }
int bb_Skitterbat_MyApp::m_Text(float, float, const String&, float, float) { return 0; }
int bb_Skitterbat_MyApp::m_Oval(float, float, float, float) { return 0; }
int bb_Skitterbat_MyApp::m_WaitStart(int) { return 0; }
int bb_Skitterbat_MyApp::m_SetRot(float) { return 0; }
int bb_Skitterbat_MyApp::m_Ink(int) { return 0; }
bool bb_Skitterbat_MyApp::m_Touch(float, float, float, float) { return false; }
String bb_Skitterbat_MyApp::m_MyNth() { return String(); }
int bb_Skitterbat_MyApp::m_LoadFont(int, const String&, int, int) { return 0; }
int bb_Skitterbat_MyApp::m_LoadSFX(int) { return 0; }
int bb_Skitterbat_MyApp::m_Loader() { return 0; }
