// Placeholder until the clipboard commands land.
#include "app/form1.h"
namespace app {
void Form1::CopyToClipboard() {}
void Form1::PasteFromClipboard() {}
void Form1::mnuEditCopy_Click() {}
void Form1::mnuEditCut_Click() {}
void Form1::mnuEditPaste_Click() {}
}  // namespace app
