// The main window's file commands: project files, import, export, printing and
// the clipboard. They arrive with the file commands' own work; until then each
// menu item is bound and does nothing.

#include "windows/main_window.h"

void TForm1::Open1Click()
{}

void TForm1::SaveAs1Click()
{}

void TForm1::Import1Click()
{}

void TForm1::AsHTML1Click()
{}

void TForm1::AsText1Click()
{}

void TForm1::Print1Click()
{}

void TForm1::Exit1Click()
{}

void TForm1::CopyToClipboard1Click()
{}
