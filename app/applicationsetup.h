#pragma once

class QApplication;
class QCoreApplication;
class QTranslator;

// What a run without a window needs before it starts: identity and the
// catalogue of the system's language. The translator must live as long as
// the application.
void setUpCoreApplication(QCoreApplication &app, QTranslator &translator);

// What the program does before it builds the window: the above and the
// window icon.
void setUpApplication(QApplication &app, QTranslator &translator);
