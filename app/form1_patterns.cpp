// Placeholder until the pattern commands land.
#include "app/form1.h"
namespace app {
void Form1::mnuPatternCommonItem_Click(int) {}
void Form1::mnuPatternReverseRL_Click() {}
void Form1::mnuPatternReverseTB_Click() {}
void Form1::mnuPatternRotate_Click() {}
void Form1::ReverseRL() {}
void Form1::ReverseTB() {}
void Form1::Rotate() {}
void Form1::mnuPatternRandom_Click() {}
void Form1::mnuPatternClear_Click() {}
void Form1::mnuPatternColor_Click() {}
bool Form1::ChooseColor(int32_t, int32_t&) { return false; }
void Form1::mnuPatternExpand_Click() {}
void Form1::mnuPatternReduction_Click() {}
void Form1::ApplySizeRule() {}
}  // namespace app
