#include "busypointer.h"

#include <QCoreApplication>
#include <QWidget>

namespace cvarden {

BusyPointer::BusyPointer(QWidget *window, AfterRestore afterRestore)
    : window_(window), afterRestore_(afterRestore)
{
    window_->setCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
}

BusyPointer::~BusyPointer()
{
    window_->unsetCursor();
    if (afterRestore_ == AfterRestore::RunPendingEvents)
        QCoreApplication::processEvents();
}

} // namespace cvarden
