// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class QWidget;

namespace cvarden {

// Shows the busy pointer over a window while a long file command runs, and
// lets pending window events run once so that it is drawn before the work
// starts. The normal pointer comes back however the command ends; a save
// also lets the window redraw once it is back, an open needs not.
class BusyPointer {
public:
    enum class AfterRestore { Nothing, RunPendingEvents };

    BusyPointer(QWidget *window, AfterRestore afterRestore);
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    QWidget *window_;
    AfterRestore afterRestore_;
};

} // namespace cvarden
