#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;

struct SeenBox
{
    QString title;
    QString text;
    QString informativeText;
};

// Watches for modal boxes from a timer, records their title and text, runs
// an optional action while each box is still open (its nested event loop is
// running), then closes it with OK.
class ModalBoxCloser : public QObject
{
    Q_OBJECT

public:
    using WhileOpen = std::function<void(int boxIndex)>;

    explicit ModalBoxCloser(WhileOpen whileOpen = {});

    const QList<SeenBox> &boxes() const { return seen; }
    QStringList titles() const;

private:
    void check();

    QTimer timer;
    WhileOpen action;
    QList<SeenBox> seen;
    QList<QPointer<QWidget>> handled;
    bool busy = false;
};
