#pragma once

#include <QObject>
#include <QQueue>

#include <functional>

class ParamWriter;

// The FC's one writer, one feature at a time. A feature asks for a turn and
// writes when it is given; the turn lasts until the feature ends it. Turns
// go in the order asked for, so the writes of two features (a Save and a
// restore, say) never interleave on the line.
class WriteTurns : public QObject
{
    Q_OBJECT

public:
    explicit WriteTurns(ParamWriter &writer, QObject *parent = nullptr);

    ParamWriter &writer() const { return paramWriter; }
    // Runs begin when the turns asked for before have ended: at once while
    // nobody writes. A feature holds or waits for one turn at a time.
    void request(const QObject *feature, std::function<void()> begin);
    // Ends the feature's turn, stopping whatever the writer still does for
    // it, or withdraws its request.
    void release(const QObject *feature);
    bool holds(const QObject *feature) const { return holder == feature; }
    bool isWaiting(const QObject *feature) const;
    // The link closed: no turn goes on, none is given.
    void clear();

private:
    struct Request
    {
        const QObject *feature;
        std::function<void()> begin;
    };

    void giveNext();

    ParamWriter &paramWriter;
    const QObject *holder = nullptr;
    QQueue<Request> waiting;
};
