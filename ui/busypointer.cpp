// SPDX-License-Identifier: GPL-2.0-or-later
#include "busypointer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QWidget>

namespace cvarden {

BusyPointer::BusyPointer(QWidget *window, AfterRestore afterRestore) : window_(window), afterRestore_(afterRestore)
{
    window_->setCursor(Qt::WaitCursor);
    // Only the drawing: a click waiting in the queue would start a second
    // command inside this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

BusyPointer::~BusyPointer()
{
    window_->unsetCursor();
    if (afterRestore_ == AfterRestore::RunPendingEvents)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace cvarden
