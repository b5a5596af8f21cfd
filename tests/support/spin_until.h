// Runs the event loop until `done` holds or five seconds have passed; answers done().
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

template <typename Done>
bool spinUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}
