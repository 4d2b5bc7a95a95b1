#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Starting points for the fuzz targets: valid frames as the FC sends them,
// so the fuzzer begins where the interesting code is.
struct Seed
{
    QString name; // file name inside the corpus folder
    QByteArray bytes;
};

// One frame of every message id the assistant decodes, a PARAM_VALUE for
// every parameter name it recognises (plain and hostile values), and status
// texts carrying every accelerometer and pre-arm key.
QList<Seed> receivePathSeeds();

// Status texts as the FC sends them: the accelerometer calibration's six
// face prompts and its two endings, and one pre-arm report for every key the
// self-test knows.
QList<QByteArray> accelCalibrationTexts();
QList<QByteArray> preArmReports();

// Framing cases for the parser alone: one frame per handled id, frames
// back to back, frames broken by noise or hidden behind a garbled length.
QList<Seed> parserSeeds();
