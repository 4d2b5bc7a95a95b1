#pragma once

#include "app/parameditmodel.h"
#include "params/paramlistreader.h"
#include "params/paramwriter.h"

#include <QDialog>

class FcSession;
class HeartbeatWatch;
class ParameterStore;
class WriteTurns;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

// Every parameter the FC has, filtered by name as one types, sortable, the
// values edited in place and written through the confirmed writer; the
// list read again; differences to a backup file taken over.
class AllParametersWindow : public QDialog
{
    Q_OBJECT

public:
    AllParametersWindow(FcSession &session, QWidget *parent);

    // Shows the window; the whole list is read when the store lacks some.
    void open() override;
    void compareWithFile(const QString &path);
    // Without a link nothing is read or written: what runs stops.
    void setLinked(bool open);

private slots:
    void writeChanges();
    void refresh();
    void chooseFileToCompare();
    void listProgress(int received, int total);
    void listRead(bool complete);
    void writeProgress(int done, int total);
    void writesEnded(ParamWriter::Ending ending);

private:
    void buildLayout();
    void setBusy(bool isBusy);
    bool linked = false;
    void showStatus(const QString &text);

    ParameterStore &store;
    HeartbeatWatch &heartbeat;
    ParamListReader reader;
    WriteTurns &turns;
    ParamWriter &writer;
    ParamEditModel model;
    QSortFilterProxyModel *filtered;
    QLineEdit *filter;
    QTableView *table;
    QPushButton *writeButton;
    QPushButton *refreshButton;
    QPushButton *compareButton;
    QLabel *status;
};
