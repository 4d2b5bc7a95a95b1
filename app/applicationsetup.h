#pragma once

#include <QVector>

class QApplication;
class QCoreApplication;
class QFont;
class QTranslator;

// Before anything is written: a write to a pipe whose reader has gone or
// beyond the file-size limit fails with its error, which the program
// reports, instead of killing it halfway (SIGPIPE, SIGXFSZ; POSIX only).
void ignoreWriteSignals();

// Before the application object exists: the window scales as a whole with
// the desktop's scale factor, fractional ones such as 1.5 included, and
// pictures are drawn at the screen's resolution.
void enableHighDpiScaling();

// The program's own copies of the interface's faces, for systems that lack
// them (Windows): the family each holds and where it is in the resources.
struct EmbeddedFont
{
    const char *family;
    const char *resource;
};
QVector<EmbeddedFont> embeddedInterfaceFonts();

// The interface's font, the same whatever the desktop's font settings are:
// the fixed layout of the pages is measured against it.
QFont interfaceFont();

// What a run without a window needs before it starts: identity and the
// catalogue of the system's language. The translator must live as long as
// the application.
void setUpCoreApplication(QCoreApplication &app, QTranslator &translator);

// What the program does before it builds the window: the above, the font
// (registering the program's own copies of its faces where the system lacks
// them) and the window icon.
void setUpApplication(QApplication &app, QTranslator &translator);
