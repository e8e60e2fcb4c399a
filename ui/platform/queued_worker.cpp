#include "ui/platform/queued_worker.h"

#include <QMetaObject>

QueuedCalls::QueuedCalls(std::function<void()> onStep, std::function<void()> onFinish)
    : onStep_(std::move(onStep)), onFinish_(std::move(onFinish))
{
}

void QueuedCalls::PostStep()
{
    QMetaObject::invokeMethod(this, "DeliverStep", Qt::QueuedConnection);
}

void QueuedCalls::PostFinish()
{
    QMetaObject::invokeMethod(this, "DeliverFinish", Qt::QueuedConnection);
}

void QueuedCalls::DeliverStep()
{
    onStep_();
}

void QueuedCalls::DeliverFinish()
{
    onFinish_();
}
