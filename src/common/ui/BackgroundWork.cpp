#include "BackgroundWork.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <exception>

void runWhilePainting(const std::function<void()>& work) {
    QEventLoop loop;
    std::exception_ptr failure;
    QThread* worker = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    if (!worker->isFinished())
        loop.exec(QEventLoop::ExcludeSocketNotifiers);
    worker->wait();
    delete worker;
    if (failure)
        std::rethrow_exception(failure);
}

void onScreen(QObject* receiver, std::function<void()> update) {
    QPointer<QObject> guard(receiver);
    QMetaObject::invokeMethod(
        receiver,
        [guard, update = std::move(update)] {
            if (guard)
                update();
        },
        Qt::QueuedConnection);
}
