// Placeholder until mouse editing lands.
#include "app/form1.h"
namespace app {
void Form1::picDraw_MouseDown(int, int, float, float) {}
void Form1::picDraw_MouseMove(int, int, float, float) {}
void Form1::picDraw_MouseUp(int, int, float, float) {}
void Form1::DrawFocus() {}
void Form1::mnuEdit_Click() {}
void Form1::mnuPattern_Click() {}
bool Form1::SelectionHasLiveCell() const { return false; }
}  // namespace app
