#pragma once

#include <QObject>

class QSocketNotifier;

namespace tintavo {

// Turns SIGTERM, SIGINT and SIGHUP (a log-out, kill, Ctrl+C, a closed
// terminal) into a Qt signal the event loop delivers, so the program can end
// through its normal close instead of dying mid-run. One per process.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace tintavo
