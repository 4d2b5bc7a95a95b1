#pragma once

class QApplication;
class QFont;
class QTranslator;

// Before the application object exists: the window scales as a whole with
// the desktop's scale factor, fractional ones such as 1.5 included, and
// pictures are drawn at the screen's resolution.
void enableHighDpiScaling();

// The interface's font, the same whatever the desktop's font settings are:
// the fixed layout of the pages is measured against it.
QFont interfaceFont();

// What the program does before it builds the window: identity, font, the
// catalogue of the system's language, the window icon. The translator must
// live as long as the application.
void setUpApplication(QApplication &app, QTranslator &translator);
