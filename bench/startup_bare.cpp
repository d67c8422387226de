// SPDX-License-Identifier: GPL-2.0-or-later
// The floor of start-up: a bare window of the main window's size that paints
// once and quits; with "--text", it also shows one line of text, so that the
// floor pays for loading the fonts as every window with words does.
#include <QLabel>

#include "firstpaint.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(401, 425);
    if (argc == 2 && QByteArray(argv[1]) == "--text")
        new QLabel(QStringLiteral("Cvarden"), &window);
    new QuitAfterFirstPaint(&window);
    window.show();
    return app.exec();
}
