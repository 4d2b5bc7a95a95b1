#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QQueue>
#include <QTimer>

class QSerialPort;

// Frames on their way to the FC, written in order and at least 20 ms apart,
// the pace the FC's receiver keeps up with. The spacing is a timer, so the
// event loop runs on while a batch goes out; a frame on an idle line goes at
// once.
class OutboundQueue : public QObject
{
    Q_OBJECT

public:
    explicit OutboundQueue(QSerialPort &port, QObject *parent = nullptr);

    bool isEmpty() const { return pending.isEmpty(); }
    // Writes everything still waiting before returning, spaced as always,
    // and returns with the line free: for a close, whose last frames must be
    // on the line before the port goes.
    void flush();
    // Forgets the frames not yet written.
    void discardPending();

public slots:
    void send(const QByteArray &frame);

signals:
    void frameSent(const QByteArray &frame);

private slots:
    void writeNext();

private:
    qint64 msUntilLineFree() const;
    void waitUntilLineFree() const;
    void write(const QByteArray &frame);

    QSerialPort &port;
    QQueue<QByteArray> pending;
    QTimer spacing;
    QElapsedTimer sinceLastWrite;
};
