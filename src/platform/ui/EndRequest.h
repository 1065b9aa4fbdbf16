#pragma once
// Being told to end: by a signal (SIGTERM, SIGINT, SIGHUP) or by the desktop
// session ending. Either way the program should end as if the user had
// closed its window, so that the window's close handler still runs.
class QWidget;

namespace platform {

// From now on, a request to end closes `window` on the event loop, as its
// close box would. A signal the program was started to ignore (nohup)
// stays ignored. Once a request has come, a second signal ends the program
// at once, in case closing hangs.
void CloseWhenAskedToEnd(QWidget* window);

} // namespace platform
