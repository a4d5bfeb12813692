#pragma once

#include <QObject>
#include <functional>

// Runs `work` on a worker thread and returns when it is done; meanwhile the window keeps painting
// and its buttons (an "Interrompe") keep working. The work must not touch widgets or the database
// connection of the user-interface thread; it reaches the screen through onScreen().
void runWhilePainting(const std::function<void()>& work);

// Runs `update` on the thread of `receiver` (the screen), whichever thread calls it; dropped when
// the receiver is gone.
void onScreen(QObject* receiver, std::function<void()> update);
