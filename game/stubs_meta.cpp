// Placeholder bodies until these methods are built; delete each as it lands.
#include "game/skitterbat.h"

int bb_Skitterbat_MyApp::m_Load() { return 0; }
int bb_Skitterbat_MyApp::m_Save() { return 0; }
int bb_Skitterbat_MyApp::m_Menu() { return 0; }
int bb_Skitterbat_MyApp::m_LoadMenu() { return 0; }
int bb_Skitterbat_MyApp::m_GiveBadge(int) { return 0; }
int bb_Skitterbat_MyApp::m_GameOver() { return 0; }
int bb_Skitterbat_MyApp::m_CreditBox() { return 0; }
String bb_Skitterbat_MyApp::m_BadgeID(int) { return String(); }
String bb_Skitterbat_MyApp::m_BadgeName(int) { return String(); }
String bb_Skitterbat_MyApp::m_BadgeDetail(int) { return String(); }
int bb_Skitterbat_MyApp::m_BadgesBox() { return 0; }
int bb_Skitterbat_MyApp::m_ShowBadges() { return 0; }
