#pragma once

class QApplication;
class QTranslator;

// What the program does before it builds the window: identity, the
// catalogue of the system's language, the window icon. The translator must
// live as long as the application.
void setUpApplication(QApplication &app, QTranslator &translator);
