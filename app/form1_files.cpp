// Placeholder until the file commands land.
#include "app/form1.h"
namespace app {
void Form1::SaveData() {}
bool Form1::OpenFile(const std::string&) { return false; }
void Form1::mnuFileOpen_Click() {}
void Form1::mnuFileSave_Click() {}
std::string Form1::GetOpenFileName(int) { return ""; }
std::string Form1::GetSaveFileName(int) { return ""; }
std::string Form1::GetFileTitle(const std::string& s) { return s; }
std::string Form1::TrimNull(const std::string& s) { return s; }
void Form1::CreatePatternFile() {}
void Form1::ReadPatternFile(const std::string&) {}
void Form1::SetFileCaption() {}
}  // namespace app
