// Placeholder bodies until these methods are built; delete each as it lands.
#include "game/skitterbat.h"

int bb_Skitterbat_MyApp::m_AddPart(float, float) { return 0; }
int bb_Skitterbat_MyApp::m_AddShroom(int, int) { return 0; }
int bb_Skitterbat_MyApp::m_AddPede(int, int, int) { return 0; }
int bb_Skitterbat_MyApp::m_AddBall() { return 0; }
int bb_Skitterbat_MyApp::m_NewRound() { return 0; }
int bb_Skitterbat_MyApp::m_Game() { return 0; }
int bb_Skitterbat_MyApp::m_PauseMenu() { return 0; }
int bb_Skitterbat_MyApp::m_InGame() { return 0; }
int bb_Skitterbat_MyApp::m_LoadGame() { return 0; }
