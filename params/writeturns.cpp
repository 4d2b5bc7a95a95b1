#include "writeturns.h"

#include "paramwriter.h"

#include <algorithm>

WriteTurns::WriteTurns(ParamWriter &writer, QObject *parent) : QObject(parent), paramWriter(writer)
{
}

void WriteTurns::request(const QObject *feature, std::function<void()> begin)
{
    if (holds(feature) || isWaiting(feature))
        return;
    waiting.enqueue({feature, std::move(begin)});
    if (!holder)
        giveNext();
}

bool WriteTurns::isWaiting(const QObject *feature) const
{
    return std::any_of(waiting.begin(), waiting.end(),
                       [feature](const Request &r) { return r.feature == feature; });
}

// The next turn starts from the event loop: a feature often ends its turn
// while the writer reports its end.
void WriteTurns::release(const QObject *feature)
{
    waiting.erase(std::remove_if(waiting.begin(), waiting.end(),
                                 [feature](const Request &r) { return r.feature == feature; }),
                  waiting.end());
    if (!holds(feature))
        return;
    paramWriter.stop();
    holder = nullptr;
    QMetaObject::invokeMethod(this, &WriteTurns::giveNext, Qt::QueuedConnection);
}

void WriteTurns::clear()
{
    waiting.clear();
    if (holder)
        paramWriter.stop();
    holder = nullptr;
}

void WriteTurns::giveNext()
{
    if (holder || waiting.isEmpty())
        return;
    const Request next = waiting.dequeue();
    holder = next.feature;
    next.begin();
}
