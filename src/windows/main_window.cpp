#include "windows/main_window.h"

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Quillmark v2.0"));
}
